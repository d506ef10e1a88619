#pragma once

#include <cstddef>
#include <functional>
#include <string>
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

// User.ini as this run knows it: the bytes it loaded and appended, so that a record is changed,
// removed or moved only in the very file the lists were made from. Records are counted as the
// load counts them; each change rewrites the file whole (beside it, then swapped in) and touches
// only the record's own line: skipped lines and every other record stay byte for byte.
class PlayerFile {
public:
    explicit PlayerFile(const FileSystem& files) : m_files(files) {}

    std::vector<Player> load();
    std::size_t append(const Player& player);

    // Each returns false, having written nothing, when User.ini no longer holds what this run
    // loaded and appended (another program changed it, or is changing it now). A failed write
    // raises FileError and leaves the file as it was.
    [[nodiscard]] bool replace(std::size_t index, const Player& player);
    [[nodiscard]] bool remove(std::size_t index);
    // The record trades places with the next one.
    [[nodiscard]] bool swapWithNext(std::size_t index);

private:
    struct Lines;
    bool rewrite(const std::function<void(Lines&)>& change);

    const FileSystem& m_files;
    std::string m_known;
};

}  // namespace korvale
