#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <QString>

namespace korvale {

// Korvale's files hold Latin-1 bytes and its own texts are UTF-8; the windows hold QString. Every
// Latin-1 byte has its character, but not the other way round, so the way back is checked.

QString toQString(std::string_view utf8);
QString fromLatin1(std::string_view bytes);
// No value when the text holds a character beyond U+00FF.
std::optional<std::string> toLatin1(const QString& text);
// The first character of `text` that Latin-1 cannot hold; empty when there is none.
QString firstNonLatin1(const QString& text);
// The first character below U+0020, or DEL, as "U+000A"; empty when there is none. A line break
// or the like would split the line a text is kept on in a file.
QString firstControl(const QString& text);
// Empty, or spaces only: the emptiness test of every text a user types.
bool isBlank(const QString& text);

}  // namespace korvale
