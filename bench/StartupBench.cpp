// Start-up with no identities and with a full list of 32,767, on Qt's offscreen platform:
//   BM_ProgramStartUp  the whole program as the user waits for it: process start, Qt, the main
//                      window created, loaded (setting file and player list) and shown;
//   BM_MainWindow      the main window alone, in a running application: created, loaded, shown.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>

#include "BenchFolder.h"
#include "ProfileGenerator.h"
#include "platform/files/FileSystem.h"
#include "platform/host/NativeFileOps.h"
#include "platform/host/NativeLauncher.h"
#include "windows/FormLayout.h"
#include "windows/FrmUT.h"
#include "windows/QtUiServices.h"
#include "windows/WindowManager.h"

namespace korvale::bench {
namespace {

// A program folder with a game folder set (so no message box waits for a click) and
// `identities` players.
void MakeProgramFolder(const BenchFolder& folder, std::size_t identities) {
    WriteBytes(folder.Path() / "UTDir.ini", "C:\\Games\\UnrealTournament");
    if (identities > 0) {
        WritePlayerFile(folder.Path() / "User.ini", identities);
    }
}

void BM_ProgramStartUp(benchmark::State& state) {
    const BenchFolder folder;
    const auto identities = static_cast<std::size_t>(state.range(0));
    MakeProgramFolder(folder, identities);
    std::string probe = KORVALE_STARTUP_PROBE;
    std::string where = folder.Text();
    std::string expected = std::to_string(identities);
    char* arguments[] = {probe.data(), where.data(), expected.data(), nullptr};
    for (auto _ : state) {
        int shown[2];
        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        bool started = ::pipe(shown) == 0;
        ::posix_spawn_file_actions_adddup2(&actions, shown[1], STDOUT_FILENO);
        ::posix_spawn_file_actions_addclose(&actions, shown[0]);
        pid_t child = 0;
        started = started &&
                  ::posix_spawn(&child, probe.c_str(), &actions, nullptr, arguments, environ) == 0;
        ::posix_spawn_file_actions_destroy(&actions);
        ::close(shown[1]);
        // Timed up to the word: what the program does after its window is up is not start-up.
        char word[6] = {};
        const bool up = started && ::read(shown[0], word, sizeof word) == sizeof word;
        state.PauseTiming();
        ::close(shown[0]);
        int status = 0;
        if (!up || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
            WEXITSTATUS(status) != 0) {
            state.SkipWithError("the program did not start up with every identity");
            break;
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ProgramStartUp)->Arg(0)->Arg(32767)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MainWindow(benchmark::State& state) {
    const BenchFolder folder;
    const auto identities = static_cast<std::size_t>(state.range(0));
    MakeProgramFolder(folder, identities);
    NativeFileOps ops;
    const FileSystem files(ops, folder.Text());
    QtUiServices ui;
    NativeLauncher launcher;

    for (auto _ : state) {
        auto windows = std::make_unique<WindowManager>(files, ui, launcher);
        windows->showMainWindow();
        QCoreApplication::processEvents();  // shown: laid out and painted
        state.PauseTiming();
        const FrmUT* main = windows->mainWindow();
        if (main == nullptr || !main->isVisible() ||
            static_cast<std::size_t>(control<QComboBox>(*main, "cboUsers").count()) != identities) {
            state.SkipWithError("the main window did not come up with every identity");
        }
        windows.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MainWindow)->Arg(0)->Arg(32767)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvale::bench

int main(int argc, char** argv) {
    // The offscreen platform warns about what it cannot do (raise a window); only failures count.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) {
            std::fprintf(stderr, "%s\n", qPrintable(message));
        }
    });
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    benchmark::Initialize(&argc, argv);
    QApplication application(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
