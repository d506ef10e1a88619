#pragma once

#include <string>
#include <string_view>

namespace korvale {

// Korvale's files hold single-byte text in Latin-1 (ISO-8859-1): the game reads each byte of its
// ini files as the character of the same number, so a name written in Latin-1 shows as typed.

// Removes leading and trailing spaces; tabs and everything else stay.
std::string_view trim(std::string_view text) noexcept;

std::string latin1ToUtf8(std::string_view latin1);

// The text without a UTF-8 byte-order mark at its start. An editor may put one before Korvale's
// own Latin-1 files; it is no part of their first line.
std::string_view skipByteOrderMark(std::string_view text) noexcept;

}  // namespace korvale
