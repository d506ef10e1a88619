#include "settings/Identities.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

#include "platform/files/FileError.h"
#include "platform/files/Text.h"

namespace korvale {

namespace {

constexpr std::string_view kChangedOutside =
    "User.ini was changed outside Korvale. Start Korvale again to see it.";

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

// Another Korvale holds the lock only while it swaps the file in: a moment, so it is waited for.
FileLock lockPlayerFile(const FileSystem& files, const std::string& path) {
    using namespace std::chrono_literals;
    const auto giveUp = std::chrono::steady_clock::now() + 10s;
    while (true) {
        if (std::optional<FileLock> lock = files.lockBeside(path)) {
            return std::move(*lock);
        }
        if (std::chrono::steady_clock::now() > giveUp) {
            throw FileError(files.nativePath(path), "another Korvale keeps changing it");
        }
        std::this_thread::sleep_for(20ms);
    }
}

}  // namespace

// The file cut into lines: each line with the break after it. A UTF-8 mark an editor put first
// belongs to no line.
struct Identities::Lines {
    std::string_view mark;
    std::vector<std::string> text;
    std::vector<std::string> breaks;   // after each line; empty after the last
    std::vector<std::size_t> records;  // the line of each record, in order

    explicit Lines(std::string_view bytes) {
        mark = bytes.starts_with(kUtf8Mark) ? kUtf8Mark : std::string_view();
        forEachLine(bytes.substr(mark.size()), [this](std::string_view line, std::string_view end) {
            if (recordOf(line)) {
                records.push_back(text.size());
            }
            text.emplace_back(line);
            breaks.emplace_back(end);
        });
    }

    std::string join() const {
        std::string bytes(mark);
        for (std::size_t i = 0; i < text.size(); ++i) {
            bytes += text[i] + breaks[i];
        }
        return bytes;
    }
};

Identities::Identities(const FileSystem& files, const Shortcuts* shortcuts)
    : m_files(files), m_shortcuts(shortcuts) {}

void Identities::tell(Listener::Change change, std::size_t index,
                      const std::function<void()>& apply) {
    if (m_listener != nullptr) {
        m_listener->change(change, index, apply);
    } else {
        apply();
    }
}

void Identities::LoadPlayers() {
    const std::string path = m_files.programFile(kPlayerFileName);
    std::string known = m_files.FileExists(path) ? m_files.GetFile(path).ReadAll() : std::string();
    const Lines lines(known);
    std::vector<Player> players;
    players.reserve(lines.records.size());
    for (const std::size_t line : lines.records) {
        players.push_back(*recordOf(lines.text[line]));
    }
    tell(Listener::Change::Reset, 0, [&] {
        m_players = std::move(players);
        m_known = std::move(known);
    });
}

std::size_t Identities::AppendPlayer(const Player& typed) {
    const std::string path = m_files.programFile(kPlayerFileName);
    const FileLock lock = lockPlayerFile(m_files, path);
    if (!m_files.FileExists(path)) {
        // It holds passwords; the replacement below takes this file's access.
        m_files.CreateTextFile(path, FileSystem::Access::OwnerOnly).Close();
    }
    const std::string now = m_files.GetFile(path).ReadAll();
    std::string records = now.empty() ? now : now + "\r\n";
    // The new player goes in at the line it lands on.
    const auto line = static_cast<std::size_t>(std::ranges::count(records, '\n'));
    records += recordText(typed);
    m_files.replaceWhole(path, records);
    // Unless the file held what this run knows, the next edit finds the difference.
    if (now == m_known) {
        m_known = std::move(records);
    }
    const std::size_t index = std::min(line, m_players.size());
    tell(Listener::Change::Insert, index, [&] {
        m_players.insert(m_players.begin() + static_cast<std::ptrdiff_t>(index), typed);
    });
    return index;
}

Refusal Identities::edit(std::size_t index, const Player& typed) {
    const std::string before(trim(at(index).name));
    for (const std::size_t other : named(typed.name)) {
        if (other != index) {
            return "Another UT User is named " + latin1ToUtf8(trim(typed.name)) + ".";
        }
    }
    Refusal refused = rewrite(
        [&](Lines& lines) { lines.text.at(lines.records.at(index)) = recordText(typed); });
    if (refused) {
        return refused;
    }
    tell(Listener::Change::Replace, index, [&] { m_players[index] = typed; });
    followName(before, std::string(trim(typed.name)));
    return std::nullopt;
}

Refusal Identities::remove(std::size_t index) {
    const std::string before(trim(at(index).name));
    Refusal refused = rewrite([&](Lines& lines) {
        const std::size_t line = lines.records.at(index);
        // No line break after what is now the last line.
        if (line + 1 == lines.text.size() && line > 0) {
            lines.breaks[line - 1].clear();
        }
        lines.text.erase(lines.text.begin() + std::ptrdiff_t(line));
        lines.breaks.erase(lines.breaks.begin() + std::ptrdiff_t(line));
    });
    if (refused) {
        return refused;
    }
    tell(Listener::Change::Remove, index,
         [&] { m_players.erase(m_players.begin() + std::ptrdiff_t(index)); });
    followName(before, std::nullopt);
    return std::nullopt;
}

Refusal Identities::swapWithNext(std::size_t index) {
    static_cast<void>(at(index + 1));  // both entries must be there
    Refusal refused = rewrite([&](Lines& lines) {
        std::swap(lines.text.at(lines.records.at(index)),
                  lines.text.at(lines.records.at(index + 1)));
    });
    if (!refused) {
        tell(Listener::Change::SwapWithNext, index,
             [&] { std::swap(m_players[index], m_players[index + 1]); });
    }
    return refused;
}

Refusal Identities::makeShortcut(std::size_t index, std::string& where) const {
    // Named as the file holds it, which is what `--play` looks for.
    const std::string_view name = trim(at(index).name);
    if (named(name).size() > 1) {
        return "More than one UT User is named " + latin1ToUtf8(name);
    }
    where = m_shortcuts != nullptr ? m_shortcuts->make(name) : std::string();
    return std::nullopt;
}

std::vector<std::size_t> Identities::named(std::string_view name) const {
    std::vector<std::size_t> found;
    for (std::size_t index = 0; index < m_players.size(); ++index) {
        if (trim(m_players[index].name) == trim(name)) {
            found.push_back(index);
        }
    }
    return found;
}

Refusal Identities::rewrite(const std::function<void(Lines&)>& change) {
    const std::string path = m_files.programFile(kPlayerFileName);
    const FileLock lock = lockPlayerFile(m_files, path);
    const std::string now = m_files.FileExists(path) ? m_files.GetFile(path).ReadAll() : "";
    if (now != m_known) {
        return std::string(kChangedOutside);
    }
    Lines lines(m_known);
    change(lines);
    std::string content = lines.join();
    m_files.replaceWhole(path, content);
    m_known = std::move(content);
    return std::nullopt;
}

void Identities::followName(const std::string& before, const std::optional<std::string>& after) {
    if (m_shortcuts == nullptr || before == after || !named(before).empty()) {
        return;
    }
    if (after) {
        m_shortcuts->rename(before, *after);
    } else {
        m_shortcuts->remove(before);
    }
}

}  // namespace korvale
