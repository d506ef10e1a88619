// `korvale --play NAME` from the start of its process until the game is started, beside the
// start-up of the program until its main window is up: the same program, five identities, the
// real-size profile, Qt's offscreen platform, measured in turn under the same load. The program is
// this one, started again with "--probe <window|play> <folder>", which does what src/main.cpp
// does and then says "ready".
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include <QApplication>
#include <QWidget>

#include "BenchFiles.h"
#include "platform/files/FileSystem.h"
#include "platform/host/NativeFileOps.h"
#include "platform/host/NativeHostEnvironment.h"
#include "platform/host/NativeLauncher.h"
#include "windows/CommandLine.h"
#include "windows/PlayByName.h"
#include "windows/QtUiServices.h"
#include "windows/WindowManager.h"

namespace korvale {
namespace {

std::string g_self;

int Probe(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvale"));
    NativeFileOps ops;
    const FileSystem files(ops, argv[3]);
    QtUiServices ui;
    NativeLauncher launcher;
    if (std::strcmp(argv[2], "play") == 0) {
        const CommandLine line =
            parseCommandLine({QStringLiteral("korvale"), QStringLiteral("--play"),
                              QStringLiteral("Player 3")});
        const NativeHostEnvironment host;
        if (!playByName(line.name, files, ui, launcher, host)) {
            return 1;
        }
    } else {
        WindowManager windows(files, ui, launcher);
        windows.showMainWindow();
        QCoreApplication::processEvents();
        const QWidget* main = nullptr;
        for (const QWidget* window : QApplication::topLevelWidgets()) {
            main = window->objectName() == QStringLiteral("frmUT") ? window : main;
        }
        if (main == nullptr || !main->isVisible()) {
            return 1;
        }
    }
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    return 0;
}

void BM_Program(benchmark::State& state, const char* what) {
    const BenchFolder folder;
    const std::filesystem::path system = folder.Path() / "game" / "System";
    std::filesystem::create_directories(system);
    std::filesystem::copy_file("/bin/true", system / "UnrealTournament.exe");
    WriteBytes(system / "User.ini", RealisticProfile("Name=\xC9"));
    WriteBytes(folder.Path() / "UTDir.ini", (folder.Path() / "game").string());
    WriteBytes(folder.Path() / "User.ini", PlayerList(5));
    std::string probe = "--probe";
    std::string kind = what;
    std::string where = folder.Path().string();
    char* arguments[] = {g_self.data(), probe.data(), kind.data(), where.data(), nullptr};
    for (auto _ : state) {
        int ready[2];
        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        bool started = ::pipe(ready) == 0;
        ::posix_spawn_file_actions_adddup2(&actions, ready[1], STDOUT_FILENO);
        ::posix_spawn_file_actions_addclose(&actions, ready[0]);
        pid_t child = 0;
        started = started &&
                  ::posix_spawn(&child, g_self.c_str(), &actions, nullptr, arguments, environ) == 0;
        ::posix_spawn_file_actions_destroy(&actions);
        ::close(ready[1]);
        char word[6] = {};  // timed up to the word: what follows is the program's end
        const bool up = started && ::read(ready[0], word, sizeof word) == sizeof word;
        state.PauseTiming();
        ::close(ready[0]);
        int status = 0;
        if (!up || ::waitpid(child, &status, 0) != child || status != 0) {
            state.SkipWithError("the program did not get as far");
            break;
        }
        state.ResumeTiming();
    }
}
BENCHMARK_CAPTURE(BM_Program, main_window, "window")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Program, play_by_name, "play")->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace korvale

int main(int argc, char** argv) {
    // The offscreen platform warns about what it cannot do (raise a window); only failures count.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) {
            std::fprintf(stderr, "%s\n", qPrintable(message));
        }
    });
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 4 && std::strcmp(argv[1], "--probe") == 0) {
        return korvale::Probe(argc, argv);
    }
    korvale::g_self = argv[0];
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
