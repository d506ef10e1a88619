#pragma once

#include <optional>
#include <string>

#include "platform/files/FileSystem.h"
#include "platform/ports/HostEnvironment.h"
#include "settings/GameFolder.h"
#include "settings/Identities.h"

namespace korvale {

// The identity the game holds now, as its profile says: the player name of [DefaultPlayer] (else
// of the first whole-key Name= line) and the ngWorldSecret= value, each UTF-8 whatever the
// profile's own encoding; a key the profile lacks has no value.
struct GameIdentity {
    std::optional<std::string> name;
    std::optional<std::string> secret;

    // Whether the player is this identity: the same name and, when the profile has one, the same
    // password. Spaces around either do not count, as the game's reading drops them.
    bool holds(const Player& player) const;
};

// The identity in the profile a Play would switch (the folder UTDir.ini holds now, on this host);
// none when no game folder is set or the profile cannot be read.
std::optional<GameIdentity> readGameIdentity(const FileSystem& files, const GameFolder& folder,
                                             const HostEnvironment& host);

}  // namespace korvale
