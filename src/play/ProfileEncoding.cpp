#include "play/ProfileEncoding.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/files/Text.h"

namespace korvale {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";

// Checks bytes as they come for strict UTF-8 (no overlong forms, no surrogates, nothing beyond
// U+10FFFF); a sequence may run across the end of one piece into the next.
class Utf8Check {
public:
    // False once the bytes cannot be UTF-8.
    bool feed(std::string_view bytes) noexcept {
        const auto* next = reinterpret_cast<const unsigned char*>(bytes.data());
        const auto* end = next + bytes.size();
        while (next < end) {
            if (m_needed == 0) {
                next = skipAscii(next, end);
                if (next == end) {
                    break;
                }
                if (!lead(*next++)) {
                    return m_valid = false;
                }
                m_beyondAscii = true;
                continue;
            }
            if (*next < m_low || *next > m_high) {
                return m_valid = false;
            }
            ++next;
            --m_needed;
            m_low = 0x80;
            m_high = 0xBF;
        }
        return true;
    }

    // At the end: the bytes were UTF-8 and some of them were beyond ASCII.
    bool utf8BeyondAscii() const noexcept { return m_valid && m_needed == 0 && m_beyondAscii; }

private:
    static const unsigned char* skipAscii(const unsigned char* next, const unsigned char* end) {
        constexpr std::uint64_t kHighBits = 0x8080808080808080;
        while (end - next >= 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, next, sizeof word);
            if ((word & kHighBits) != 0) {
                break;
            }
            next += 8;
        }
        while (next < end && *next < 0x80) {
            ++next;
        }
        return next;
    }

    // The bytes that may follow a lead byte, by RFC 3629.
    bool lead(unsigned char byte) noexcept {
        m_low = 0x80;
        m_high = 0xBF;
        if (byte >= 0xC2 && byte <= 0xDF) {
            m_needed = 1;
        } else if (byte >= 0xE0 && byte <= 0xEF) {
            m_needed = 2;
            m_low = byte == 0xE0 ? 0xA0 : 0x80;
            m_high = byte == 0xED ? 0x9F : 0xBF;
        } else if (byte >= 0xF0 && byte <= 0xF4) {
            m_needed = 3;
            m_low = byte == 0xF0 ? 0x90 : 0x80;
            m_high = byte == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        return true;
    }

    int m_needed = 0;
    unsigned char m_low = 0x80;
    unsigned char m_high = 0xBF;
    bool m_valid = true;
    bool m_beyondAscii = false;
};

bool isAscii(std::string_view text) noexcept {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

ProfileEncoding detectProfileEncoding(const File& file, std::string_view playerName,
                                      std::string_view password) {
    TextStream profile = file.OpenAsTextStream(IOMode::ForReading);
    const ProfileEncoding encoding = [&] {
        if (profile.skipPrefix(kUtf16LeBom)) {
            return ProfileEncoding::Utf16Le;
        }
        if (profile.skipPrefix(kUtf8Bom)) {
            return ProfileEncoding::Utf8Bom;
        }
        if (isAscii(playerName) && isAscii(password)) {
            return ProfileEncoding::Latin1;
        }
        Utf8Check check;
        for (std::string_view bytes = profile.peekBytes(); !bytes.empty();
             bytes = profile.peekBytes()) {
            if (!check.feed(bytes)) {
                return ProfileEncoding::Latin1;
            }
            profile.skipBytes(bytes.size());
        }
        // Pure ASCII stays single bytes: every version of the game reads a name written so, the
        // 469 patches too, as a file that is not UTF-8 is read in the code page.
        return check.utf8BeyondAscii() ? ProfileEncoding::Utf8 : ProfileEncoding::Latin1;
    }();
    profile.Close();
    return encoding;
}

std::string_view byteOrderMark(ProfileEncoding encoding) noexcept {
    switch (encoding) {
        case ProfileEncoding::Utf8Bom:
            return kUtf8Bom;
        case ProfileEncoding::Utf16Le:
            return kUtf16LeBom;
        case ProfileEncoding::Latin1:
        case ProfileEncoding::Utf8:
            break;
    }
    return {};
}

std::string fromLatin1(std::string_view latin1, ProfileEncoding encoding) {
    switch (encoding) {
        case ProfileEncoding::Latin1:
            break;
        case ProfileEncoding::Utf8:
        case ProfileEncoding::Utf8Bom:
            return latin1ToUtf8(latin1);
        case ProfileEncoding::Utf16Le: {
            // Latin-1 is the first 256 code points: each byte becomes the code unit of its value.
            std::string utf16;
            utf16.reserve(latin1.size() * 2);
            for (const char c : latin1) {
                utf16.push_back(c);
                utf16.push_back('\0');
            }
            return utf16;
        }
    }
    return std::string(latin1);
}

}  // namespace korvale
