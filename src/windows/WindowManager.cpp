#include "windows/WindowManager.h"

#include <QApplication>
#include <QIcon>

#include "gamesearch/GameSearch.h"
#include "windows/FormLayout.h"
#include "windows/FrmAbout.h"
#include "windows/FrmSetDir.h"
#include "windows/FrmUT.h"
#include "windows/FrmUserPass.h"
#include "ui/QtText.h"

// Resources of a static library are registered by name, from the global namespace.
static void initWindowResources() {
    Q_INIT_RESOURCE(korvale);
}

namespace korvale {

WindowManager::WindowManager(const FileSystem& files, Identities& identities, QtUiServices& ui,
                             ProgramLauncher& launcher)
    : m_files(files),
      m_ui(ui),
      m_folder(files),
      m_play(files, m_folder, ui, launcher, m_host),
      m_identities(identities),
      m_players(identities) {
    initWindowResources();
    QApplication::setWindowIcon(QIcon(toQString(kIconResource)));
}

WindowManager::~WindowManager() {
    delete m_about.data();
    delete m_gameFolder.data();
    delete m_editPlayer.data();
    delete m_newPlayer.data();
    delete m_main.data();
}

template <typename Window, typename Create>
void WindowManager::show(QPointer<Window>& window, Create create) {
    if (window.isNull()) {
        window = create();
        if constexpr (requires { window->load(); }) {
            window->load();
        }
        window->adjustSize();
        centreOnScreen(*window);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void WindowManager::showMainWindow() {
    // Created once, at start-up: once the user has closed it, it stays closed.
    if (!m_main.isNull() && m_main->isClosed()) {
        return;
    }
    show(m_main, [this] {
        auto* window =
            new FrmUT(m_players, m_identities, m_play, m_folder, m_files, m_host, m_ui);
        QObject::connect(window, &FrmUT::newPlayerRequested, window, [this] { showNewPlayer(); });
        QObject::connect(window, &FrmUT::gameFolderRequested, window,
                         [this] { showGameFolder(); });
        QObject::connect(window, &FrmUT::aboutRequested, window, [this] { showAbout(); });
        QObject::connect(window, &FrmUT::exitRequested, window, [this] { endProgram(); });
        QObject::connect(window, &FrmUT::editPlayerRequested, window,
                         [this](std::size_t index) { showEditPlayer(index); });
        QObject::connect(window, &FrmUT::gamePlayerRequested, window,
                         [this](const QString& name, const QString& password) {
                             showNewPlayer();
                             m_newPlayer->fill(name, password);
                         });
        return window;
    });
}

void WindowManager::showNewPlayer() {
    show(m_newPlayer, [this] { return new FrmUserPass(m_identities, m_files, m_ui); });
}

void WindowManager::showEditPlayer(std::size_t index) {
    show(m_editPlayer, [this, index] {
        auto* window = new FrmUserPass(m_identities, m_files, m_ui, index);
        // Nothing changes the lists while it is open, so its index stays that entry's.
        window->setWindowModality(Qt::ApplicationModal);
        return window;
    });
}

void WindowManager::showGameFolder() {
    show(m_gameFolder, [this] {
        auto* window = new FrmSetDir(m_folder, m_files, m_ui,
                                     [this] { return findGameFolders(m_files, m_host); });
        QObject::connect(window, &FrmSetDir::saved, window, [this] {
            if (m_main != nullptr) {
                m_main->showGameIdentity();
            }
        });
        return window;
    });
}

void WindowManager::showAbout() {
    show(m_about, [] { return new FrmAbout(); });
}

void WindowManager::endProgram() {
    m_ui.setEnding();
    for (QWidget* window : {static_cast<QWidget*>(m_about), static_cast<QWidget*>(m_gameFolder),
                            static_cast<QWidget*>(m_newPlayer), static_cast<QWidget*>(m_editPlayer),
                            static_cast<QWidget*>(m_main)}) {
        if (window != nullptr) {
            window->close();
        }
    }
    QCoreApplication::exit(0);
}

}  // namespace korvale
