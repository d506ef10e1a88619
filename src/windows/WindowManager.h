#pragma once

#include <QPointer>

#include "platform/files/FileSystem.h"
#include "platform/ports/ProgramLauncher.h"
#include "windows/QtUiServices.h"

namespace korvale {

class FrmAbout;
class FrmSetDir;
class FrmUT;
class FrmUserPass;

// Korvale's windows: at most one of each. Showing a window creates it on first use (running its
// load step before it is visible) and later only brings it to the front; a closed dialog is
// deleted, so the next show starts afresh. Owns whatever windows are left at the end.
class WindowManager {
public:
    WindowManager(const FileSystem& files, QtUiServices& ui, ProgramLauncher& launcher);
    ~WindowManager();
    WindowManager(const WindowManager&) = delete;
    WindowManager& operator=(const WindowManager&) = delete;

    void ShowMainWindow();
    void ShowNewPlayer();
    void ShowGameFolder();
    void ShowAbout();
    // Closes every window at once, whatever it holds, and ends the program.
    void EndProgram();

    // The main window while it is open; null once the user has closed it (it is never shown
    // again).
    FrmUT* MainWindow() const;
    FrmUserPass* NewPlayerWindow() const;
    FrmSetDir* GameFolderWindow() const;
    FrmAbout* AboutWindow() const;

    const FileSystem& Files() const noexcept { return *m_files; }
    QtUiServices& Ui() const noexcept { return *m_ui; }
    ProgramLauncher& Launcher() const noexcept { return *m_launcher; }

private:
    template <typename Window>
    void Show(QPointer<Window>& window);

    const FileSystem* m_files;
    QtUiServices* m_ui;
    ProgramLauncher* m_launcher;
    QPointer<FrmUT> m_main;
    QPointer<FrmUserPass> m_newPlayer;
    QPointer<FrmSetDir> m_gameFolder;
    QPointer<FrmAbout> m_about;
};

}  // namespace korvale
