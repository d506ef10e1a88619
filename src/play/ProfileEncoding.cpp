#include "play/ProfileEncoding.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/files/Text.h"

namespace korvale {

namespace {

constexpr std::string_view kUtf16LeBom = "\xFF\xFE";

bool beyondAscii(char c) noexcept {
    return static_cast<unsigned char>(c) >= 0x80;
}

// The length of the strict UTF-8 sequence (RFC 3629: no overlong forms, no surrogates, nothing
// beyond U+10FFFF) that starts `text` with a byte beyond ASCII; 0 when there is none.
std::size_t sequenceLength(std::string_view text) noexcept {
    const auto lead = static_cast<unsigned char>(text[0]);
    const std::size_t length = lead >= 0xF5   ? 0
                               : lead >= 0xF0 ? 4
                               : lead >= 0xE0 ? 3
                               : lead >= 0xC2 ? 2
                                              : 0;
    if (length == 0 || text.size() < length) {
        return 0;
    }
    const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if (next < (i == 1 ? low : 0x80) || next > (i == 1 ? high : 0xBF)) {
            return 0;
        }
    }
    return length;
}

// Where the next byte beyond ASCII is from `at`, the end when there is none. A profile is mostly
// ASCII: eight bytes are looked at in one go while they are all ASCII.
std::size_t nextBeyondAscii(std::string_view text, std::size_t at) noexcept {
    for (std::uint64_t eight = 0; at + 8 <= text.size(); at += 8) {
        std::memcpy(&eight, text.data() + at, 8);
        if ((eight & 0x8080808080808080u) != 0) {
            break;
        }
    }
    return std::size_t(std::find_if(text.begin() + std::ptrdiff_t(at), text.end(), beyondAscii) -
                       text.begin());
}

// Strict UTF-8 with at least one character beyond ASCII.
bool isUtf8BeyondAscii(std::string_view text) noexcept {
    bool found = false;
    for (std::size_t at = nextBeyondAscii(text, 0); at < text.size();
         at = nextBeyondAscii(text, at)) {
        const std::size_t length = sequenceLength(text.substr(at));
        if (length == 0) {
            return false;
        }
        at += length;
        found = true;
    }
    return found;
}

}  // namespace

ProfileEncoding profileEncoding(std::string_view profile, std::string_view playerName,
                                std::string_view password) {
    if (profile.starts_with(kUtf16LeBom)) {
        return ProfileEncoding::Utf16Le;
    }
    if (profile.starts_with(kUtf8Mark)) {
        return ProfileEncoding::Utf8Bom;
    }
    // Pure ASCII stays single bytes: every version of the game reads a name written so, the 469
    // patches too, as a file that is not UTF-8 is read in the code page.
    if (std::ranges::none_of(playerName, beyondAscii) &&
        std::ranges::none_of(password, beyondAscii)) {
        return ProfileEncoding::Latin1;
    }
    return isUtf8BeyondAscii(profile) ? ProfileEncoding::Utf8 : ProfileEncoding::Latin1;
}

std::string_view byteOrderMark(ProfileEncoding encoding) noexcept {
    return encoding == ProfileEncoding::Utf8Bom   ? kUtf8Mark
           : encoding == ProfileEncoding::Utf16Le ? kUtf16LeBom
                                                  : std::string_view();
}

std::string latin1ToProfile(std::string_view latin1, ProfileEncoding encoding) {
    switch (encoding) {
        case ProfileEncoding::Latin1:
            break;
        case ProfileEncoding::Utf8:
        case ProfileEncoding::Utf8Bom:
            return latin1ToUtf8(latin1);
        case ProfileEncoding::Utf16Le: {
            const std::u16string utf16 = latin1ToUtf16(latin1);
            return {reinterpret_cast<const char*>(utf16.data()), utf16.size() * sizeof(char16_t)};
        }
    }
    return std::string(latin1);
}

}  // namespace korvale
