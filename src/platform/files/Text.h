#pragma once

#include <string>
#include <string_view>

namespace korvale {

// Korvale's files hold single-byte text in Latin-1 (ISO-8859-1): the game reads each byte of its
// ini files as the character of the same number, so a name written in Latin-1 shows as typed.

// Removes leading and trailing spaces; tabs and everything else stay. For bytes and for UTF-16
// code units alike.
template <typename Char>
std::basic_string_view<Char> trim(std::basic_string_view<Char> text) noexcept {
    const auto first = text.find_first_not_of(Char(' '));
    if (first == std::basic_string_view<Char>::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(Char(' ')) - first + 1);
}

inline std::string_view trim(std::string_view text) noexcept {
    return trim<char>(text);
}

inline std::string latin1ToUtf8(std::string_view latin1) {
    std::string utf8;
    for (const char c : latin1) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | (byte >> 6));
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}

// The UTF-8 byte-order mark.
inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// The text without a UTF-8 byte-order mark at its start. An editor may put one before Korvale's
// own Latin-1 files; it is no part of their first line.
inline std::string_view skipByteOrderMark(std::string_view text) noexcept {
    return text.starts_with(kUtf8Mark) ? text.substr(kUtf8Mark.size()) : text;
}

}  // namespace korvale
