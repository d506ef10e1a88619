#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace korvale {

// Korvale's files hold single-byte text in Latin-1 (ISO-8859-1): the game reads each byte of its
// ini files as the character of the same number, so a name written in Latin-1 shows as typed.

// Removes leading and trailing spaces; tabs and everything else stay.
std::string_view Trim(std::string_view text) noexcept;

// The number of line feeds in the text, fast on long texts (a file's worth of lines).
std::size_t CountLineBreaks(std::string_view text) noexcept;

std::string Latin1ToUtf8(std::string_view latin1);
// No value when the text is not valid UTF-8 or holds a character beyond U+00FF.
std::optional<std::string> Utf8ToLatin1(std::string_view utf8);

}  // namespace korvale
