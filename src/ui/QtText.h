#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <QString>

namespace korvale {

// Korvale's files hold Latin-1 bytes and its own texts are UTF-8; the windows hold QString. Every
// Latin-1 byte has its character, but not the other way round, so the way back is checked.

QString toQString(std::string_view utf8);
QString latin1ToQString(std::string_view bytes);
// No value when the text holds a character beyond U+00FF.
std::optional<std::string> qStringToLatin1(const QString& text);

}  // namespace korvale
