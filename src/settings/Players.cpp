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

}  // namespace korvale
