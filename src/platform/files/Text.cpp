#include "platform/files/Text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace korvale {

std::string_view trim(std::string_view text) noexcept {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::size_t countLineBreaks(std::string_view text) noexcept {
    // Eight bytes at a time: a line feed turns into a zero byte, and each zero byte adds one to
    // its own byte-wide tally, which is summed before it can overflow.
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kLow7 = kOnes * 0x7F;
    constexpr std::uint64_t kEvenBytes = 0x00FF00FF00FF00FF;
    std::size_t count = 0;
    const char* next = text.data();
    std::size_t left = text.size();
    while (left >= 8) {
        std::uint64_t tallies = 0;
        for (std::size_t words = std::min<std::size_t>(left / 8, 255); words > 0; --words) {
            std::uint64_t word = 0;
            std::memcpy(&word, next, sizeof word);
            word ^= kOnes * '\n';
            tallies += (~(((word & kLow7) + kLow7) | word) >> 7) & kOnes;
            next += 8;
            left -= 8;
        }
        const std::uint64_t pairs = (tallies & kEvenBytes) + ((tallies >> 8) & kEvenBytes);
        count += static_cast<std::size_t>((pairs * 0x0001000100010001) >> 48);
    }
    for (; left > 0; --left) {
        count += *next++ == '\n' ? 1u : 0u;
    }
    return count;
}

std::string_view skipByteOrderMark(std::string_view text) noexcept {
    constexpr std::string_view kMark = "\xEF\xBB\xBF";
    return text.starts_with(kMark) ? text.substr(kMark.size()) : text;
}

std::string latin1ToUtf8(std::string_view latin1) {
    std::string utf8;
    utf8.reserve(latin1.size());
    for (const char c : latin1) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8.push_back(c);
        } else {
            utf8.push_back(static_cast<char>(0xC0 | (byte >> 6)));
            utf8.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
        }
    }
    return utf8;
}

}  // namespace korvale
