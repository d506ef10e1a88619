#include "settings/PlayerFile.h"

#include <algorithm>
#include <vector>

#include "platform/files/Text.h"

namespace korvale {

std::vector<Player> LoadPlayers(const FileSystem& files) {
    const std::string path = files.programFile(kPlayerFileName);
    std::vector<Player> players;
    if (!files.FileExists(path)) {
        return players;
    }
    TextStream stream = files.GetFile(path).OpenAsTextStream(IOMode::ForReading);
    bool first = true;
    while (!stream.AtEndOfStream()) {
        const std::string line = stream.ReadLine();
        const std::string_view record = trim(first ? skipByteOrderMark(line) : line);
        first = false;
        const auto comma = record.find(',');
        // A line without a comma is no record (blank lines included): skipping it keeps every
        // name paired with its own password.
        if (comma == std::string_view::npos) {
            continue;
        }
        players.push_back(
            {std::string(record.substr(0, comma)), std::string(record.substr(comma + 1))});
    }
    stream.Close();
    return players;
}

std::size_t AppendPlayer(const FileSystem& files, const Player& player) {
    const std::string path = files.programFile(kPlayerFileName);
    if (!files.FileExists(path)) {
        // It holds passwords; the replacement below takes this file's access.
        files.CreateTextFile(path, FileSystem::Access::OwnerOnly).Close();
    }
    std::string records = files.GetFile(path).ReadAll();
    if (!records.empty()) {
        records += "\r\n";
    }
    // The new player goes in at the line it lands on.
    const auto index = static_cast<std::size_t>(std::ranges::count(records, '\n'));
    records += trim(player.name);
    records += ',';
    records += trim(player.password);
    // No half record: the file holds the old records or all of them with the new one.
    files.replaceWhole(path, records);
    return index;
}

}  // namespace korvale
