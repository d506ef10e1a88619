#pragma once

#include <optional>
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

// Latin-1 bytes are the first 256 code points: each byte is the UTF-16 code unit of its value.
inline std::u16string latin1ToUtf16(std::string_view latin1) {
    std::u16string utf16;
    utf16.reserve(latin1.size());
    for (const char c : latin1) {
        utf16 += static_cast<char16_t>(static_cast<unsigned char>(c));
    }
    return utf16;
}

// No value when the text holds a code unit beyond U+00FF.
inline std::optional<std::string> utf16ToLatin1(std::u16string_view utf16) {
    std::string latin1;
    latin1.reserve(utf16.size());
    for (const char16_t unit : utf16) {
        if (unit > 0xFF) {
            return std::nullopt;
        }
        latin1 += static_cast<char>(unit);
    }
    return latin1;
}

// Calls `visit(line, lineBreak)` for each line of `text`, in order: a line ends at LF, a CR
// before it going with the break; the last line has an empty break. No line follows a final
// break. For bytes and for UTF-16 code units alike.
template <typename Char, typename Visit>
void forEachLine(std::basic_string_view<Char> text, Visit visit) {
    using View = std::basic_string_view<Char>;
    static constexpr Char kBreak[] = {Char('\r'), Char('\n')};
    while (!text.empty()) {
        const std::size_t end = text.find(Char('\n'));
        View line = text.substr(0, end);
        const bool crBreak = end != View::npos && line.ends_with(Char('\r'));
        line.remove_suffix(crBreak ? 1 : 0);
        text.remove_prefix(end == View::npos ? text.size() : end + 1);
        visit(line, end == View::npos ? View() : View(kBreak + (crBreak ? 0 : 1), crBreak ? 2 : 1));
    }
}

// The UTF-8 byte-order mark.
inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// The text without a UTF-8 byte-order mark at its start. An editor may put one before Korvale's
// own Latin-1 files; it is no part of their first line.
inline std::string_view skipByteOrderMark(std::string_view text) noexcept {
    return text.starts_with(kUtf8Mark) ? text.substr(kUtf8Mark.size()) : text;
}

}  // namespace korvale
