#pragma once

#include <cstddef>

#include <QMainWindow>

#include "platform/files/FileSystem.h"
#include "platform/ports/HostEnvironment.h"
#include "play/PlayCommand.h"
#include "settings/GameFolder.h"
#include "settings/PlayerFile.h"
#include "windows/PasswordList.h"
#include "windows/PlayerListModel.h"
#include "windows/QtUiServices.h"
#include "windows/Shortcuts.h"

class QMenu;

namespace korvale {

class PlayerCombo;

// The main window: the player names to pick from, the Play button and the buttons that ask for
// the two dialogs. cboUsers shows the names of the players; cboUserPass keeps their passwords,
// unseen. The menu of cboUsers edits, removes and moves the picked entry, makes a shortcut that
// plays as it and adds the player the game holds; the entry the game holds is marked after the
// load and after every Play.
class FrmUT final : public QMainWindow {
    Q_OBJECT

public:
    FrmUT(PlayerListModel& players, PlayerFile& playerFile, PlayCommand& play, GameFolder& folder,
          const FileSystem& files, const HostEnvironment& host, const Shortcuts& shortcuts,
          QtUiServices& ui);

    // The start-up work, before the window is first shown: the game folder setting, then the
    // players.
    void load();

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
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildUserMenu();
    void showUserMenu(const QPoint& position);
    void onUserPicked();
    void onRun();
    void onAddUser();
    void onEditUser();
    void onRemoveUser();
    void onMoveUp();
    void onMoveDown();
    void onAddGamePlayer();
    void onCreateShortcut();
    // The picked entry and the one `step` away trade places.
    void move(int step);
    // Marks the entry the game's profile holds now.
    void showGameIdentity();

    // When each item of the user menu is enabled.
    bool hasPick() const;
    bool pickNotFirst() const;
    bool pickNotLast() const;
    bool gameHasProfile() const;

    PlayerListModel& m_players;
    PlayerFile& m_playerFile;
    PlayCommand& m_play;
    GameFolder& m_folder;
    const FileSystem& m_files;
    const HostEnvironment& m_host;
    const Shortcuts& m_shortcuts;
    QtUiServices& m_ui;
    PlayerCombo* m_cboUsers = nullptr;
    PasswordList* m_cboUserPass = nullptr;
    QMenu* m_userMenu = nullptr;
    bool m_closed = false;
};

}  // namespace korvale
