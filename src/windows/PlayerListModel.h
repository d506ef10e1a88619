#pragma once

#include <cstddef>
#include <vector>

#include <QAbstractListModel>

#include "settings/Players.h"

namespace korvale {

// The identities for the windows, one row a player. Views and the accessibility layer get the
// names alone: the passwords stay in the same rows, so they cannot drift from their names, and
// only the password list reads them. Entries stay Latin-1 and become text only when a row is
// shown: thousands go in with one insert, without an item each.
class PlayerListModel final : public QAbstractListModel {
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    const Players& players() const noexcept { return m_players; }
    // As Players::insert: an index past the end adds at the end. Returns the row used.
    std::size_t insert(std::size_t index, const Player& player);
    void append(std::vector<Player> players);

private:
    Players m_players;
};

}  // namespace korvale
