#pragma once

#include <QPointer>

#include "platform/files/FileSystem.h"
#include "platform/host/NativeHostEnvironment.h"
#include "platform/ports/ProgramLauncher.h"
#include "play/PlayCommand.h"
#include "settings/GameFolder.h"
#include "settings/Identities.h"
#include "windows/PlayerListModel.h"
#include "ui/QtUiServices.h"

namespace korvale {

class FrmAbout;
class FrmSetDir;
class FrmUT;
class FrmUserPass;

// Korvale's windows, at most one of each, and what they share: the identities, the game folder and
// the Play command. Creates the windows and connects what they ask for. Showing a window creates
// it on first use (running its load step before it is visible) and later only brings it to the
// front; a closed dialog is deleted, so the next show starts afresh. Owns whatever windows are
// left at the end.
class WindowManager {
public:
    WindowManager(const FileSystem& files, Identities& identities, QtUiServices& ui,
                  ProgramLauncher& launcher);
    ~WindowManager();
    WindowManager(const WindowManager&) = delete;
    WindowManager& operator=(const WindowManager&) = delete;

    void showMainWindow();
    void showNewPlayer();
    // The Edit dialog of the entry at `index`; the other windows wait until it closes.
    void showEditPlayer(std::size_t index);
    void showGameFolder();
    void showAbout();
    // Closes every window at once, whatever it holds, and ends the program.
    void endProgram();

private:
    template <typename Window, typename Create>
    void show(QPointer<Window>& window, Create create);

    const FileSystem& m_files;
    QtUiServices& m_ui;
    NativeHostEnvironment m_host;
    GameFolder m_folder;
    PlayCommand m_play;
    Identities& m_identities;
    PlayerListModel m_players;
    QPointer<FrmUT> m_main;
    QPointer<FrmUserPass> m_newPlayer;
    QPointer<FrmUserPass> m_editPlayer;
    QPointer<FrmSetDir> m_gameFolder;
    QPointer<FrmAbout> m_about;
};

}  // namespace korvale
