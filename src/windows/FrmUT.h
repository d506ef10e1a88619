#pragma once

#include <QMainWindow>

#include "platform/files/FileSystem.h"
#include "platform/ports/UiServices.h"
#include "play/PlayCommand.h"
#include "settings/GameFolder.h"
#include "windows/PasswordList.h"
#include "windows/PlayerListModel.h"

class QComboBox;

namespace korvale {

// The main window: the player names to pick from, the Play button and the buttons that ask for
// the two dialogs. cboUsers shows the names of the players; cboUserPass keeps their passwords,
// unseen.
class FrmUT final : public QMainWindow {
    Q_OBJECT

public:
    FrmUT(PlayerListModel& players, PlayCommand& play, GameFolder& folder, const FileSystem& files,
          UiServices& ui);

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

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void onUserPicked();
    void onRun();
    void onAddUser();

    PlayerListModel& m_players;
    PlayCommand& m_play;
    GameFolder& m_folder;
    const FileSystem& m_files;
    UiServices& m_ui;
    QComboBox* m_cboUsers = nullptr;
    PasswordList* m_cboUserPass = nullptr;
    bool m_closed = false;
};

}  // namespace korvale
