#pragma once

#include <QMainWindow>

#include "platform/files/FileSystem.h"
#include "platform/ports/HostEnvironment.h"
#include "play/PlayCommand.h"
#include "settings/GameFolder.h"
#include "settings/Identities.h"
#include "ui/QtUiServices.h"

class QLabel;
class QMenu;
class QPushButton;

namespace korvale {

class PasswordList;
class PlayerCombo;
class PlayerListModel;

// The main window: the player names to pick from, the Play button and the buttons that ask for
// the two dialogs. cboUsers shows the names of the players; cboUserPass keeps their passwords,
// unseen. The menu of cboUsers edits, removes and moves the picked entry, makes a shortcut that
// plays as it and adds the player the game holds.
class FrmUT final : public QMainWindow {
    Q_OBJECT

public:
    FrmUT(PlayerListModel& players, Identities& identities, PlayCommand& play, GameFolder& folder,
          const FileSystem& files, const HostEnvironment& host, QtUiServices& ui);

    // The start-up work, before the window is first shown: the game folder setting, then the
    // players.
    void load();
    // Marks the entry the game's profile holds now: another Korvale, a shortcut or the game may
    // have changed it.
    void showGameIdentity();

    // Closed by the user: Korvale goes on while a dialog is open, but this window does not return.
    bool isClosed() const noexcept { return m_closed; }

signals:
    void newPlayerRequested();
    void gameFolderRequested();
    void aboutRequested();
    void exitRequested();
    // The Edit dialog of the entry at `index`.
    void editPlayerRequested(std::size_t index);
    // The New player dialog, its boxes filled with the game's player.
    void gamePlayerRequested(const QString& name, const QString& password);

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildUserMenu();
    void onUserPicked();
    void onRun();
    void onAddUser();
    void onRemoveUser();
    void onAddGamePlayer();
    void onCreateShortcut();
    // The picked entry and the one `step` away trade places.
    void move(int step);
    // Says why a change of the identities was not made, or that it failed; true when it was made.
    bool report(const std::function<Refusal()>& change);

    // The picked entry, for the items of the user menu; -1 when none.
    int pick() const;

    PlayerListModel& m_players;
    Identities& m_identities;
    PlayCommand& m_play;
    GameFolder& m_folder;
    const FileSystem& m_files;
    const HostEnvironment& m_host;
    QtUiServices& m_ui;
    PlayerCombo* m_cboUsers;
    QPushButton* m_cmdRun;
    QPushButton* m_cmdSetDir;
    QPushButton* m_cmdAddUser;
    QLabel* m_label1;
    PasswordList* m_cboUserPass;
    QMenu* m_userMenu = nullptr;
    bool m_closed = false;
};

}  // namespace korvale
