#include "settings/PlayerFile.h"

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
    const bool created = !files.FileExists(path);
    if (created) {
        // It holds passwords.
        files.CreateTextFile(path, FileSystem::Access::OwnerOnly).Close();
    }
    const File file = files.GetFile(path);
    const std::uint64_t oldSize = file.Size();
    std::size_t index = 0;
    try {
        TextStream stream = file.OpenAsTextStream(IOMode::ForAppending);
        if (oldSize > 0) {
            stream.WriteBlankLines(1);
        }
        stream.Write(trim(player.name));
        stream.Write(",");
        stream.Write(trim(player.password));
        index = stream.Line() - 1;
        stream.flush();
        stream.Close();
    } catch (...) {
        // No half record: the file goes back to what it was.
        try {
            if (created) {
                files.removeFile(path);
            } else {
                file.truncate(oldSize);
            }
        } catch (...) {
        }
        throw;
    }
    return index;
}

}  // namespace korvale
