#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/PlayerList.h"

namespace korvale {

inline constexpr std::string_view kPlayerFileName = "User.ini";

// Fills both lists from User.ini next to the program: one "name,password" record per line, split
// at the first comma. Lines without a comma are skipped. A missing file loads nothing.
void LoadPlayers(const FileSystem& files, PlayerList& users, PlayerList& passwords);

// Appends the record (each field trimmed) to User.ini, creating it owner-only when missing, and
// then hands `insert` the index at which the new entries go into both lists. A failure leaves the
// file as it was, and `insert` is not called.
void AppendPlayer(const FileSystem& files, std::string_view name, std::string_view password,
                  const std::function<void(std::size_t index)>& insert);

}  // namespace korvale
