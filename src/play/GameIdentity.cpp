#include "play/GameIdentity.h"

#include <string_view>

#include "platform/files/FileError.h"
#include "platform/files/Text.h"
#include "play/ProfileEncoding.h"
#include "play/ProfileKeys.h"

namespace korvale {

namespace {

void appendUtf8(std::string& utf8, char32_t point) {
    constexpr unsigned char kLead[] = {0x00, 0xC0, 0xE0, 0xF0};
    const int more = point < 0x80 ? 0 : point < 0x800 ? 1 : point < 0x10000 ? 2 : 3;
    utf8 += static_cast<char>(kLead[more] | (point >> (6 * more)));
    for (int shift = 6 * (more - 1); shift >= 0; shift -= 6) {
        utf8 += static_cast<char>(0x80 | ((point >> shift) & 0x3F));
    }
}

// The profile as UTF-8. Its encoding is found as the rewrite finds it, the profile standing for
// the identity: of bytes beyond ASCII, only strict UTF-8 is taken for UTF-8.
std::string profileText(std::string_view bytes) {
    const ProfileEncoding encoding = profileEncoding(bytes, bytes, {});
    const std::string_view text = bytes.substr(byteOrderMark(encoding).size());
    if (encoding != ProfileEncoding::Utf16Le) {
        return encoding == ProfileEncoding::Latin1 ? latin1ToUtf8(text) : std::string(text);
    }
    std::string utf8;
    const auto unit = [&](std::size_t at) -> char32_t {
        return char32_t(static_cast<unsigned char>(text[at])) |
               char32_t(static_cast<unsigned char>(text[at + 1])) << 8;
    };
    for (std::size_t at = 0; at + 1 < text.size(); at += 2) {
        char32_t point = unit(at);
        if (point >= 0xD800 && point < 0xDC00 && at + 3 < text.size() && unit(at + 2) >= 0xDC00 &&
            unit(at + 2) < 0xE000) {
            at += 2;
            point = 0x10000 + ((point - 0xD800) << 10) + (unit(at) - 0xDC00);
        }
        appendUtf8(utf8, point);  // a lone surrogate stays invalid, and is shown as such
    }
    return utf8;
}

GameIdentity identityIn(std::string_view text) {
    GameIdentity identity;
    std::optional<std::string> firstName;
    bool inPlayerSection = false;
    forEachLine(text, [&](std::string_view line, std::string_view) {
        line = trim(line);
        inPlayerSection = line.starts_with('[') ? line == "[DefaultPlayer]" : inPlayerSection;
        const ProfileKey key = profileKey(line);
        const std::string value(key == ProfileKey::Other ? "" : line.substr(line.find('=') + 1));
        if (key == ProfileKey::Name) {
            identity.name = inPlayerSection && !identity.name ? value : identity.name;
            firstName = firstName.value_or(value);
        } else if (key == ProfileKey::Secret && !identity.secret) {
            identity.secret = value;
        }
    });
    if (!identity.name) {
        identity.name = firstName;
    }
    return identity;
}

}  // namespace

bool GameIdentity::holds(const Player& player) const {
    return name && trim(*name) == trim(latin1ToUtf8(player.name)) &&
           (!secret || trim(*secret) == trim(latin1ToUtf8(player.password)));
}

std::optional<GameIdentity> readGameIdentity(const FileSystem& files, const GameFolder& folder,
                                             const HostEnvironment& host) {
    try {
        // As a Play finds it: the folder UTDir.ini holds now, when it holds one.
        const std::string game = folder.ReadUTDirLine().value_or(folder.gUTDir());
        if (trim(game).empty()) {
            return std::nullopt;
        }
        return identityIn(
            profileText(files.GetFile(locateGamePaths(game, files, host).profile).ReadAll()));
    } catch (const FileError&) {
        return std::nullopt;
    }
}

}  // namespace korvale
