#include "windows/PlayerListModel.h"

#include <vector>

#include <QFont>

#include "ui/QtText.h"

namespace korvale {

PlayerListModel::PlayerListModel(Identities& identities, QObject* parent)
    : QAbstractListModel(parent), m_identities(identities) {
    m_identities.setListener(this);
}

PlayerListModel::~PlayerListModel() {
    m_identities.setListener(nullptr);
}

int PlayerListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_identities.count());
}

QVariant PlayerListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const Player& player = m_identities.at(static_cast<std::size_t>(index.row()));
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

void PlayerListModel::change(Change change, std::size_t index, const std::function<void()>& apply) {
    const auto row = static_cast<int>(index);
    switch (change) {
        case Change::Reset:
            beginResetModel();
            apply();
            endResetModel();
            return;
        case Change::Insert:
            beginInsertRows({}, row, row);
            apply();
            endInsertRows();
            return;
        case Change::Replace:
            apply();
            emit dataChanged(this->index(row), this->index(row));
            return;
        case Change::Remove:
            beginRemoveRows({}, row, row);
            apply();
            endRemoveRows();
            return;
        case Change::SwapWithNext:
            // A selection follows its entry.
            beginMoveRows({}, row + 1, row + 1, {}, row);
            apply();
            endMoveRows();
            return;
    }
}

void PlayerListModel::setGameIdentity(std::optional<GameIdentity> identity) {
    std::vector<bool> before;
    before.reserve(m_identities.count());
    for (const Player& player : m_identities) {
        before.push_back(inGame(player));
    }
    m_inGame = std::move(identity);
    // Only the rows whose mark changed: a change reaches the name list's text box too.
    for (std::size_t row = 0; row < before.size(); ++row) {
        if (before[row] != inGame(m_identities.at(row))) {
            const QModelIndex changed = index(static_cast<int>(row));
            emit dataChanged(changed, changed, {Qt::FontRole, Qt::AccessibleDescriptionRole});
        }
    }
}

}  // namespace korvale
