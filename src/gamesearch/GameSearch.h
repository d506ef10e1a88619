#pragma once

#include <string>
#include <vector>

#include "platform/files/FileSystem.h"
#include "platform/ports/HostEnvironment.h"

namespace korvale {

// The Unreal Tournament installs on this host, for the game folder dialog to offer: the folders
// where the installers and stores put the game, kept when they hold a program a Play would start
// (holdsGame). UTF-8, in the host's own form (backslashes on Windows), in the order the places are
// searched, each folder once however many paths lead to it. A missing or unreadable key, file or
// folder is passed over.
//
// Windows: the Unreal Technology key (the user's, then the machine's in its 64-bit and 32-bit
// views), GOG's games, Steam's libraries, then the two installers' default folders on the system
// drive. Linux: the OldUnreal installer's folder, Steam's libraries, then the Windows game in the
// Wine prefixes (Wine's own, Lutris', Bottles').
std::vector<std::string> findGameFolders(const FileSystem& files, const HostEnvironment& host);

}  // namespace korvale
