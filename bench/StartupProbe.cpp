// Korvale's start-up as the program does it (src/main.cpp), from a given program folder: says
// "shown" on its standard output once the main window is up, then ends. The start-up benchmark
// times it from its start to that word.
// Usage: korvale_startup_probe <program folder> <identities expected>
#include <cstdio>
#include <string>

#include <QApplication>
#include <QComboBox>

#include "platform/files/FileSystem.h"
#include "platform/host/NativeFileOps.h"
#include "platform/host/NativeLauncher.h"
#include "windows/FormLayout.h"
#include "windows/FrmUT.h"
#include "windows/QtUiServices.h"
#include "windows/WindowManager.h"

int main(int argc, char* argv[]) {
    // The offscreen platform warns about what it cannot do (raise a window); only failures count.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) {
            std::fprintf(stderr, "%s\n", qPrintable(message));
        }
    });
    if (argc != 3) {
        std::fputs("usage: korvale_startup_probe <program folder> <identities expected>\n", stderr);
        return 2;
    }
    const std::string folder = argv[1];
    const std::size_t expected = std::stoul(argv[2]);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvale"));

    korvale::NativeFileOps ops;
    const korvale::FileSystem files(ops, folder);
    korvale::QtUiServices ui;
    korvale::NativeLauncher launcher;
    korvale::WindowManager windows(files, ui, launcher);
    windows.showMainWindow();
    QCoreApplication::processEvents();
    const korvale::FrmUT* main = windows.mainWindow();
    if (main == nullptr || !main->isVisible() ||
        static_cast<std::size_t>(korvale::control<QComboBox>(*main, "cboUsers").count()) !=
            expected) {
        std::fputs("the main window did not come up with every identity\n", stderr);
        return 1;
    }
    std::fputs("shown\n", stdout);
    std::fflush(stdout);
    return 0;
}
