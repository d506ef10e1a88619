#pragma once

#include <optional>

#include <QAbstractListModel>

#include "play/GameIdentity.h"
#include "settings/Identities.h"

namespace korvale {

// The identities for the windows, one row a player, following every change the identities make.
// Views and the accessibility layer get the names alone: the passwords stay in the identities,
// and only the password list reads them. Entries become text only when a row is shown: thousands
// go in with one reset, without an item each. The entry the game holds now is bold, and says so
// to screen readers.
class PlayerListModel final : public QAbstractListModel, public Identities::Listener {
    Q_OBJECT

public:
    explicit PlayerListModel(Identities& identities, QObject* parent = nullptr);
    ~PlayerListModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    const Identities& identities() const noexcept { return m_identities; }
    // The identity in the game's profile; none when it cannot be read.
    void setGameIdentity(std::optional<GameIdentity> identity);

private:
    void change(Change change, std::size_t index, const std::function<void()>& apply) override;
    bool inGame(const Player& player) const { return m_inGame && m_inGame->holds(player); }

    Identities& m_identities;
    std::optional<GameIdentity> m_inGame;
};

}  // namespace korvale
