#include "settings/PlayerFile.h"

#include <vector>

#include "platform/Text.h"

namespace korvale {

void LoadPlayers(const FileSystem& files, PlayerList& users, PlayerList& passwords) {
    const std::string path = files.ProgramFile(kPlayerFileName);
    if (!files.FileExists(path)) {
        return;
    }
    std::vector<std::string> names;
    std::vector<std::string> secrets;
    TextStream stream = files.GetFile(path).OpenAsTextStream(IOMode::ForReading);
    std::string line;
    while (!stream.AtEndOfStream()) {
        stream.ReadLine(line);
        const std::string_view record = Trim(line);
        const auto comma = record.find(',');
        // A line without a comma is no record (blank lines included): skipping it keeps every
        // name paired with its own password.
        if (comma == std::string_view::npos) {
            continue;
        }
        names.emplace_back(record.substr(0, comma));
        secrets.emplace_back(record.substr(comma + 1));
    }
    stream.Close();
    // Filled only once the whole file has been read, so a failed read leaves both lists as they
    // were, still paired.
    users.Insert(0, names);
    passwords.Insert(0, secrets);
}

void AppendPlayer(const FileSystem& files, std::string_view name, std::string_view password,
                  const std::function<void(std::size_t index)>& insert) {
    const std::string path = files.ProgramFile(kPlayerFileName);
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
        stream.Write(Trim(name));
        stream.Write(",");
        stream.Write(Trim(password));
        index = stream.Line() - 1;
        stream.Flush();
        stream.Close();
    } catch (...) {
        // No half record: the file goes back to what it was.
        try {
            if (created) {
                files.Ops().remove(path);
            } else {
                auto handle = files.Ops().open(path, FileOps::OpenMode::Append);
                TextStream restore(files.Ops(), std::move(handle), IOMode::ForAppending);
                restore.Truncate(oldSize);
                restore.Close();
            }
        } catch (...) {
        }
        throw;
    }
    insert(index);
}

}  // namespace korvale
