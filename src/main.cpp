// Korvale: switches the Unreal Tournament profile between identities and starts the game.
#include <cstdio>

#include <QApplication>

#include "korvale_version.h"

#include "platform/files/FileSystem.h"
#include "platform/host/NativeFileOps.h"
#include "platform/host/NativeLauncher.h"
#include "windows/QtUiServices.h"
#include "windows/WindowManager.h"

namespace {

// On X11 and Wayland desktops Qt needs a display to talk to; without one it would only abort.
bool hasDisplay() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!hasDisplay()) {
        std::fputs(
            "Korvale is a desktop program and needs a display, but none was found (DISPLAY and\n"
            "WAYLAND_DISPLAY are not set). Start it from a desktop session, or on a machine\n"
            "without a screen run it under a virtual X server (Debian package xvfb):\n"
            "    xvfb-run ./korvale\n",
            stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvale"));
    QApplication::setApplicationVersion(QStringLiteral(KORVALE_VERSION));

    korvale::NativeFileOps ops;
    const korvale::FileSystem files(ops, korvale::NativeFileOps::programFolder());
    korvale::QtUiServices ui;
    korvale::NativeLauncher launcher;
    korvale::WindowManager windows(files, ui, launcher);
    windows.showMainWindow();
    return QApplication::exec();
}
