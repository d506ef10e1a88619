#include "windows/WindowManager.h"

#include <QApplication>
#include <QIcon>

#include "windows/FormLayout.h"
#include "windows/FrmAbout.h"
#include "windows/FrmSetDir.h"
#include "windows/FrmUT.h"
#include "windows/FrmUserPass.h"

// Resources of a static library are registered by name, from the global namespace.
static void InitWindowResources() {
    Q_INIT_RESOURCE(korvale);
}

namespace korvale {

WindowManager::WindowManager(const FileSystem& files, QtUiServices& ui, ProgramLauncher& launcher)
    : m_files(&files), m_ui(&ui), m_launcher(&launcher) {
    InitWindowResources();
    QApplication::setWindowIcon(QIcon(ToQString(kIconResource)));
}

WindowManager::~WindowManager() {
    delete m_about.data();
    delete m_gameFolder.data();
    delete m_newPlayer.data();
    delete m_main.data();
}

template <typename Window>
void WindowManager::Show(QPointer<Window>& window) {
    if (window.isNull()) {
        window = new Window(*this);
        if constexpr (requires { window->Load(); }) {
            window->Load();
        }
        window->adjustSize();
        CentreOnScreen(*window);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void WindowManager::ShowMainWindow() {
    // Created once, at start-up: once the user has closed it, it stays closed.
    if (m_main.isNull() || !m_main->IsClosed()) {
        Show(m_main);
    }
}

void WindowManager::ShowNewPlayer() {
    Show(m_newPlayer);
}

void WindowManager::ShowGameFolder() {
    Show(m_gameFolder);
}

void WindowManager::ShowAbout() {
    Show(m_about);
}

void WindowManager::EndProgram() {
    m_ui->setEnding();
    for (QWidget* window : {static_cast<QWidget*>(m_about), static_cast<QWidget*>(m_gameFolder),
                            static_cast<QWidget*>(m_newPlayer), static_cast<QWidget*>(m_main)}) {
        if (window != nullptr) {
            window->close();
        }
    }
    QCoreApplication::exit(0);
}

FrmUT* WindowManager::MainWindow() const {
    return m_main.isNull() || m_main->IsClosed() ? nullptr : m_main.data();
}

FrmUserPass* WindowManager::NewPlayerWindow() const {
    return m_newPlayer;
}

FrmSetDir* WindowManager::GameFolderWindow() const {
    return m_gameFolder;
}

FrmAbout* WindowManager::AboutWindow() const {
    return m_about;
}

}  // namespace korvale
