// Start-up of the program until its main window is up, with five identities and with 1,000, and
// `korvale --play NAME` until the game is started beside start-up with the same five identities
// and the real-size profile: on Qt's offscreen platform, from the start of the process. The
// program is this one, started again with "--probe <window|play> <folder> <identities>", which
// does what src/app/main.cpp does and then says "ready".
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include <QApplication>
#include <QComboBox>

#include "BenchFiles.h"
#include "platform/files/FileSystem.h"
#include "platform/host/NativeFileOps.h"
#include "platform/host/NativeHostEnvironment.h"
#include "platform/host/NativeLauncher.h"
#include "app/CommandLine.h"
#include "windows/FormLayout.h"
#include "app/PlayByName.h"
#include "ui/QtUiServices.h"
#include "windows/WindowManager.h"

namespace korvale {
namespace {

std::string g_self;

// The main window up, with every identity in its list.
bool ShowMainWindow(const FileSystem& files, QtUiServices& ui, NativeLauncher& launcher,
                    int identities) {
    Identities players(files);
    WindowManager windows(files, players, ui, launcher);
    windows.showMainWindow();
    QCoreApplication::processEvents();
    const QWidget* main = nullptr;
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        main = window->objectName() == QStringLiteral("frmUT") ? window : main;
    }
    return main != nullptr && main->isVisible() &&
           main->findChild<QComboBox*>(QStringLiteral("cboUsers"))->count() == identities;
}

int Probe(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvale"));
    NativeFileOps ops;
    const FileSystem files(ops, argv[3]);
    QtUiServices ui;
    NativeLauncher launcher;
    if (std::strcmp(argv[2], "play") == 0) {
        const CommandLine line = parseCommandLine(
            {QStringLiteral("korvale"), QStringLiteral("--play"), QStringLiteral("Player 3")});
        Identities players(files);
        if (!playByName(line.name, files, players, ui, launcher, NativeHostEnvironment())) {
            return 1;
        }
    } else if (!ShowMainWindow(files, ui, launcher, std::stoi(argv[4]))) {
        return 1;
    }
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    return 0;
}

// Times the probe from its start until it says "ready"; what follows is its end.
void TimeProbe(benchmark::State& state, std::string kind, const BenchFolder& folder,
               std::size_t identities) {
    std::string probe = "--probe";
    std::string where = folder.Path().string();
    std::string count = std::to_string(identities);
    char* arguments[] = {g_self.data(), probe.data(), kind.data(), where.data(), count.data(),
                         nullptr};
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
        char word[6] = {};
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

void BM_ProgramStartUp(benchmark::State& state) {
    const BenchFolder folder;
    WriteBytes(folder.Path() / "UTDir.ini", "C:\\Games\\UnrealTournament");  // no message box
    WriteBytes(folder.Path() / "User.ini", PlayerList(std::size_t(state.range(0))));
    TimeProbe(state, "window", folder, std::size_t(state.range(0)));
}
BENCHMARK(BM_ProgramStartUp)->Arg(5)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

// Both with a game to start: the window's start-up reads the profile too, for the player it holds.
void BM_Program(benchmark::State& state, const char* kind) {
    const BenchFolder folder;
    const std::filesystem::path system = folder.Path() / "game" / "System";
    std::filesystem::create_directories(system);
    std::filesystem::copy_file("/bin/true", system / "UnrealTournament.exe");
    WriteBytes(system / "User.ini", RealisticProfile("Name=\xC9"));
    WriteBytes(folder.Path() / "UTDir.ini", (folder.Path() / "game").string());
    WriteBytes(folder.Path() / "User.ini", PlayerList(5));
    TimeProbe(state, kind, folder, 5);
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
    if (argc == 5 && std::strcmp(argv[1], "--probe") == 0) {
        return korvale::Probe(argc, argv);
    }
    korvale::g_self = argv[0];
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
