// Renders Korvale's four windows into PNG files for the documentation:
//   korvale_screenshots <folder>
// Run on the offscreen platform (docs/make_screenshots.sh does); the windows work on a scratch
// program folder with a few players, so nothing of the user's is read or written.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPixmap>

#include "RecordingQtUi.h"
#include "TopLevelWindows.h"
#include "platform/files/FileSystem.h"
#include "platform/host/NativeFileOps.h"
#include "platform/ports/ProgramLauncher.h"
#include "windows/FormLayout.h"
#include "windows/WindowManager.h"

namespace fs = std::filesystem;

namespace {

// The screenshots never play.
class NoLauncher final : public korvale::ProgramLauncher {
public:
    void start(const std::string& /*path*/) override {}
    bool isRunning(const std::string& /*path*/) override { return false; }
};

void Write(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool Save(QWidget* window, const QString& folder) {
    const QString file = QDir(folder).filePath(window->objectName() + QStringLiteral(".png"));
    const bool saved = window->grab().save(file);
    std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "wrote" : "could not write",
                 qPrintable(QDir::toNativeSeparators(file)));
    return saved;
}

QtMessageHandler g_standardHandler = nullptr;

// The offscreen platform cannot raise a window; saying so for every window is only noise.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (!message.contains(QStringLiteral("does not support raise()"))) {
        g_standardHandler(type, context, message);
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    g_standardHandler = qInstallMessageHandler(QuietHandler);
    if (argc != 2) {
        std::fputs("usage: korvale_screenshots <folder>\n", stderr);
        return 2;
    }
    QApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);

    std::random_device random;
    const fs::path scratch =
        fs::temp_directory_path() / ("korvale-shots-" + std::to_string(random()));
    fs::create_directories(scratch);
    Write(scratch / "UTDir.ini", "C:\\Games\\UnrealTournament");
    Write(scratch / "User.ini",
          "Xan the Destroyer,hunter2\r\nSlithSlayer,clanwar99\r\n"
          "[ARENA]Commander,f4st");

    bool saved = true;
    {
        korvale::NativeFileOps ops;
        const korvale::FileSystem files(ops, scratch.string());
        korvale::test::RecordingQtUi ui;
        NoLauncher launcher;
        korvale::Identities identities(files);
        korvale::WindowManager windows(files, identities, ui, launcher);

        windows.showMainWindow();
        QWidget* main = korvale::test::TopLevelWindow("frmUT");
        main->findChild<QComboBox*>(QStringLiteral("cboUsers"))->setCurrentIndex(0);
        saved = Save(main, folder) && saved;

        windows.showNewPlayer();
        saved = Save(korvale::test::TopLevelWindow("frmuserpass"), folder) && saved;
        windows.showGameFolder();
        saved = Save(korvale::test::TopLevelWindow("frmSetDir"), folder) && saved;
        windows.showAbout();
        saved = Save(korvale::test::TopLevelWindow("frmAbout"), folder) && saved;
    }
    std::error_code ignored;
    fs::remove_all(scratch, ignored);
    return saved ? 0 : 1;
}
