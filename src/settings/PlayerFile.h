#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "platform/files/FileSystem.h"
#include "settings/Players.h"

namespace korvale {

inline constexpr std::string_view kPlayerFileName = "User.ini";

// The records of User.ini next to the program, in file order: one "name,password" per line,
// split at the first comma. Lines without a comma are skipped. A missing file holds none.
std::vector<Player> LoadPlayers(const FileSystem& files);

// Appends the record (each field trimmed) to User.ini, creating it owner-only when missing, and
// returns the index at which the new player goes into the list. A failure leaves the file as it
// was.
std::size_t AppendPlayer(const FileSystem& files, const Player& player);

}  // namespace korvale
