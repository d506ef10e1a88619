#include "settings/Players.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace korvale {

std::size_t Players::insert(std::size_t index, Player player) {
    const std::size_t at = std::min(index, m_players.size());
    m_players.insert(m_players.begin() + static_cast<std::ptrdiff_t>(at), std::move(player));
    return at;
}

void Players::append(std::vector<Player> players) {
    m_players.insert(m_players.end(), std::make_move_iterator(players.begin()),
                     std::make_move_iterator(players.end()));
}

void Players::replace(std::size_t index, Player player) {
    m_players.at(index) = std::move(player);
}

void Players::remove(std::size_t index) {
    static_cast<void>(m_players.at(index));  // an index past the end is refused, not undefined
    m_players.erase(m_players.begin() + static_cast<std::ptrdiff_t>(index));
}

void Players::swapWithNext(std::size_t index) {
    std::swap(m_players.at(index), m_players.at(index + 1));
}

}  // namespace korvale
