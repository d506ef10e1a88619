#include "settings/PlayerFile.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "platform/files/Text.h"

namespace korvale {

namespace {

// The player a line holds: the trimmed line split at its first comma. A line without a comma is
// no record (blank lines included): skipping it keeps every name paired with its own password.
std::optional<Player> recordOf(std::string_view line) {
    const std::string_view record = trim(line);
    const auto comma = record.find(',');
    if (comma == std::string_view::npos) {
        return std::nullopt;
    }
    return Player{std::string(record.substr(0, comma)), std::string(record.substr(comma + 1))};
}

std::string recordText(const Player& player) {
    return std::string(trim(player.name)) + "," + std::string(trim(player.password));
}

}  // namespace

// The file cut into lines as a text stream reads them: a line ends at LF, a CR before it going
// with the break. A UTF-8 mark an editor put first belongs to no line.
struct PlayerFile::Lines {
    std::string_view mark;
    std::vector<std::string> text;
    std::vector<std::string> breaks;   // after each line; empty after the last
    std::vector<std::size_t> records;  // the line of each record, in order

    explicit Lines(std::string_view bytes) {
        mark = bytes.starts_with(kUtf8Mark) ? kUtf8Mark : std::string_view();
        bytes.remove_prefix(mark.size());
        while (!bytes.empty()) {
            const auto end = bytes.find('\n');
            std::string_view line = bytes.substr(0, end);
            bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
            const bool crBreak = end != std::string_view::npos && line.ends_with('\r');
            line.remove_suffix(crBreak ? 1 : 0);
            if (recordOf(line)) {
                records.push_back(text.size());
            }
            text.emplace_back(line);
            breaks.emplace_back(end == std::string_view::npos ? "" : crBreak ? "\r\n" : "\n");
        }
    }

    std::string join() const {
        std::string bytes(mark);
        for (std::size_t i = 0; i < text.size(); ++i) {
            bytes += text[i] + breaks[i];
        }
        return bytes;
    }
};

std::vector<Player> LoadPlayers(const FileSystem& files) {
    return PlayerFile(files).load();
}

std::vector<Player> PlayerFile::load() {
    const std::string path = m_files.programFile(kPlayerFileName);
    m_known = m_files.FileExists(path) ? m_files.GetFile(path).ReadAll() : std::string();
    const Lines lines(m_known);
    std::vector<Player> players;
    players.reserve(lines.records.size());
    for (const std::size_t line : lines.records) {
        players.push_back(*recordOf(lines.text[line]));
    }
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
    records += recordText(player);
    // No half record: the file holds the old records or all of them with the new one.
    files.replaceWhole(path, records);
    return index;
}

std::size_t PlayerFile::append(const Player& player) {
    const std::size_t index = AppendPlayer(m_files, player);
    // What the append wrote, when the file held what this run knows; otherwise the next change
    // finds the difference all the same.
    m_known += (m_known.empty() ? "" : "\r\n") + recordText(player);
    return index;
}

bool PlayerFile::replace(std::size_t index, const Player& player) {
    return rewrite(
        [&](Lines& lines) { lines.text.at(lines.records.at(index)) = recordText(player); });
}

bool PlayerFile::remove(std::size_t index) {
    return rewrite([&](Lines& lines) {
        const std::size_t line = lines.records.at(index);
        // No line break after what is now the last line.
        if (line + 1 == lines.text.size() && line > 0) {
            lines.breaks[line - 1].clear();
        }
        lines.text.erase(lines.text.begin() + std::ptrdiff_t(line));
        lines.breaks.erase(lines.breaks.begin() + std::ptrdiff_t(line));
    });
}

bool PlayerFile::swapWithNext(std::size_t index) {
    return rewrite([&](Lines& lines) {
        std::swap(lines.text.at(lines.records.at(index)),
                  lines.text.at(lines.records.at(index + 1)));
    });
}

bool PlayerFile::rewrite(const std::function<void(Lines&)>& change) {
    const std::string path = m_files.programFile(kPlayerFileName);
    // The same lock as a Play's, here on User.ini: no other Korvale rewrites it meanwhile.
    const std::optional<FileLock> lock = m_files.lockBeside(path);
    if (!lock) {
        return false;
    }
    const std::string now = m_files.FileExists(path) ? m_files.GetFile(path).ReadAll() : "";
    if (now != m_known) {
        return false;
    }
    Lines lines(m_known);
    change(lines);
    std::string content = lines.join();
    m_files.replaceWhole(path, content);
    m_known = std::move(content);
    return true;
}

}  // namespace korvale
