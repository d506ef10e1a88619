#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files/FileSystem.h"
#include "platform/ports/Shortcuts.h"

namespace korvale {

// One identity: a player name and its ngStats password, Latin-1 bytes as the files hold them.
struct Player {
    std::string name;
    std::string password;
    bool operator==(const Player&) const = default;
};

inline constexpr std::string_view kPlayerFileName = "User.ini";

// Why a change was not made, as the user is told; none when it was made.
using Refusal = std::optional<std::string>;

// The identities and User.ini next to the program, kept in step by the one object that changes
// them. The list holds the records in file order (lines without a comma are no record), each name
// with its own password; a player added in this run holds the texts as typed, the file holds them
// trimmed. Every change of the file takes its lock, so two Korvales never swap in a file at the same
// time: an append adds its record to what the file holds then, while edit, remove and move touch
// only the very file this run knows, and only their record's line. A failed write raises FileError
// and leaves the file and the list as they were.
class Identities {
public:
    // Told of each change of the list around it: `apply` makes it, so that a view can be told
    // that it comes and then that it came.
    class Listener {
    public:
        enum class Change { Reset, Insert, Replace, Remove, SwapWithNext };
        virtual ~Listener() = default;
        virtual void change(Change change, std::size_t index, const std::function<void()>& apply) = 0;
    };

    // `shortcuts` follow the names they play as, when given.
    explicit Identities(const FileSystem& files, const Shortcuts* shortcuts = nullptr);
    void setListener(Listener* listener) noexcept { m_listener = listener; }

    // The list from User.ini; a missing file holds none and is not created.
    void LoadPlayers();
    // Appends the record (fields trimmed) and inserts the player as typed at the index it lands
    // on, the end of the list for a file Korvale alone wrote. Returns that index.
    std::size_t AppendPlayer(const Player& typed);
    Refusal edit(std::size_t index, const Player& typed);
    Refusal remove(std::size_t index);
    // The entry trades places with the next one.
    Refusal swapWithNext(std::size_t index);
    // Makes the shortcut that plays as the entry; `where` gets its path.
    Refusal makeShortcut(std::size_t index, std::string& where) const;

    std::size_t count() const noexcept { return m_players.size(); }
    const Player& at(std::size_t index) const { return m_players.at(index); }
    auto begin() const noexcept { return m_players.begin(); }
    auto end() const noexcept { return m_players.end(); }
    // The entries whose name is `name`, spaces around either not counting, letter case counting.
    std::vector<std::size_t> named(std::string_view name) const;

private:
    struct Lines;
    Refusal rewrite(const std::function<void(Lines&)>& change);
    void tell(Listener::Change change, std::size_t index, const std::function<void()>& apply);
    // After an entry was renamed or removed: its shortcut follows unless another entry still
    // answers to the old name.
    void followName(const std::string& before, const std::optional<std::string>& after);

    const FileSystem& m_files;
    const Shortcuts* m_shortcuts;
    Listener* m_listener = nullptr;
    std::vector<Player> m_players;
    std::string m_known;  // User.ini as this run loaded and changed it
};

}  // namespace korvale
