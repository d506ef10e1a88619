#pragma once

#include <cstddef>
#include <vector>

#include <QAbstractTableModel>

#include "settings/Players.h"

namespace korvale {

// The identities for the windows: column 0 the names, column 1 the passwords, one row each, so a
// list of names and a list of passwords over it cannot drift apart. Entries stay Latin-1 and
// become text only when a row is shown: thousands go in with one insert, without an item each.
class PlayerListModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { NameColumn = 0, PasswordColumn = 1 };

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    const Players& players() const noexcept { return m_players; }
    // As Players::insert: an index past the end adds at the end. Returns the row used.
    std::size_t insert(std::size_t index, const Player& player);
    void append(std::vector<Player> players);

private:
    Players m_players;
};

}  // namespace korvale
