#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include <QAbstractListModel>

#include "play/GameIdentity.h"
#include "settings/Players.h"

namespace korvale {

// The identities for the windows, one row a player. Views and the accessibility layer get the
// names alone: the passwords stay in the same rows, so they cannot drift from their names, and
// only the password list reads them. Entries stay Latin-1 and become text only when a row is
// shown: thousands go in with one insert, without an item each. The entry the game holds now is
// bold, and says so to screen readers.
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
    void replace(std::size_t index, const Player& player);
    void remove(std::size_t index);
    // The entry trades places with the next one; a selection follows its entry.
    void swapWithNext(std::size_t index);

    // The identity in the game's profile; none when it cannot be read.
    void setGameIdentity(std::optional<GameIdentity> identity);

private:
    bool inGame(const Player& player) const { return m_inGame && m_inGame->holds(player); }

    Players m_players;
    std::optional<GameIdentity> m_inGame;
};

}  // namespace korvale
