#include "windows/PlayerListModel.h"

#include <algorithm>
#include <utility>

#include "windows/QtText.h"

namespace korvale {

int PlayerListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_players.count());
}

QVariant PlayerListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) {
        return {};
    }
    return fromLatin1(m_players.at(static_cast<std::size_t>(index.row())).name);
}

std::size_t PlayerListModel::insert(std::size_t index, const Player& player) {
    const auto row = static_cast<int>(std::min(index, m_players.count()));
    beginInsertRows({}, row, row);
    m_players.insert(static_cast<std::size_t>(row), player);
    endInsertRows();
    return static_cast<std::size_t>(row);
}

void PlayerListModel::append(std::vector<Player> players) {
    if (players.empty()) {
        return;
    }
    const auto first = static_cast<int>(m_players.count());
    beginInsertRows({}, first, first + static_cast<int>(players.size()) - 1);
    m_players.append(std::move(players));
    endInsertRows();
}

}  // namespace korvale
