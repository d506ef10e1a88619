#include "windows/PlayerListModel.h"

#include <algorithm>
#include <utility>

#include <QFont>

#include "windows/QtText.h"

namespace korvale {

int PlayerListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_players.count());
}

QVariant PlayerListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const Player& player = m_players.at(static_cast<std::size_t>(index.row()));
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return latin1ToQString(player.name);
        case Qt::FontRole:
            if (inGame(player)) {
                QFont bold;
                bold.setBold(true);
                return bold;
            }
            break;
        case Qt::AccessibleDescriptionRole:
            if (inGame(player)) {
                return QStringLiteral("In the game now");
            }
            break;
        default:
            break;
    }
    return {};
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

void PlayerListModel::replace(std::size_t index, const Player& player) {
    m_players.replace(index, player);
    const QModelIndex changed = this->index(static_cast<int>(index));
    emit dataChanged(changed, changed);
}

void PlayerListModel::remove(std::size_t index) {
    const auto row = static_cast<int>(index);
    beginRemoveRows({}, row, row);
    m_players.remove(index);
    endRemoveRows();
}

void PlayerListModel::swapWithNext(std::size_t index) {
    const auto row = static_cast<int>(index);
    if (!beginMoveRows({}, row + 1, row + 1, {}, row)) {
        return;
    }
    m_players.swapWithNext(index);
    endMoveRows();
}

void PlayerListModel::setGameIdentity(std::optional<GameIdentity> identity) {
    std::vector<bool> before;
    before.reserve(m_players.count());
    for (const Player& player : m_players) {
        before.push_back(inGame(player));
    }
    m_inGame = std::move(identity);
    // Only the rows whose mark changed: a change reaches the name list's text box too.
    for (std::size_t row = 0; row < before.size(); ++row) {
        if (before[row] != inGame(m_players.at(row))) {
            const QModelIndex changed = index(static_cast<int>(row));
            emit dataChanged(changed, changed, {Qt::FontRole, Qt::AccessibleDescriptionRole});
        }
    }
}

}  // namespace korvale
