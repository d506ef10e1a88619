#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace korvale {

// One identity: a player name and its ngStats password, Latin-1 bytes as the files hold them.
struct Player {
    std::string name;
    std::string password;
    bool operator==(const Player&) const = default;
};

// The identities in order, each name with its own password: one list, so a name can never drift
// away from its password. Entries never sort; they change, go or move only when asked to.
class Players {
public:
    std::size_t count() const noexcept { return m_players.size(); }
    const Player& at(std::size_t index) const { return m_players.at(index); }
    auto begin() const noexcept { return m_players.begin(); }
    auto end() const noexcept { return m_players.end(); }

    // Inserts at `index` (later entries move up). An index past the end, which a hand-edited
    // User.ini can give, puts the player at the end. Returns the index it went to.
    std::size_t insert(std::size_t index, Player player);
    // Adds the players, in order, at the end.
    void append(std::vector<Player> players);
    void replace(std::size_t index, Player player);
    void remove(std::size_t index);
    // The entry trades places with the next one.
    void swapWithNext(std::size_t index);

private:
    std::vector<Player> m_players;
};

}  // namespace korvale
