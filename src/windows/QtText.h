#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <QString>

namespace korvale {

// Korvale's files hold Latin-1 bytes; the windows hold QString. Every Latin-1 byte has its
// character, but not the other way round, so the way back is checked.

QString FromLatin1(std::string_view bytes);
// No value when the text holds a character beyond U+00FF.
std::optional<std::string> ToLatin1(const QString& text);
// The first character of `text` that Latin-1 cannot hold; empty when there is none.
QString FirstNonLatin1(const QString& text);
// Empty, or spaces only: the emptiness test of every text a user types.
bool IsBlank(const QString& text);

}  // namespace korvale
