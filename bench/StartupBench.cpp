// Start-up of the program with five identities and with 1,000, on Qt's offscreen platform: from
// the start of its process until its main window is up. The program is this one, started again
// with "--probe <folder> <identities>", which does what src/main.cpp does and then says "shown".
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>

#include <QApplication>
#include <QComboBox>

#include "BenchFiles.h"
#include "platform/files/FileSystem.h"
#include "platform/host/NativeFileOps.h"
#include "platform/host/NativeLauncher.h"
#include "windows/FormLayout.h"
#include "windows/QtUiServices.h"
#include "windows/WindowManager.h"

namespace korvale {
namespace {

std::string g_self;

int Probe(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvale"));
    NativeFileOps ops;
    const FileSystem files(ops, argv[2]);
    QtUiServices ui;
    NativeLauncher launcher;
    WindowManager windows(files, ui, launcher);
    windows.showMainWindow();
    QCoreApplication::processEvents();
    const QWidget* main = nullptr;
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        main = window->objectName() == QStringLiteral("frmUT") ? window : main;
    }
    if (main == nullptr || !main->isVisible() ||
        control<QComboBox>(*main, "cboUsers").count() != std::stoi(argv[3])) {
        return 1;
    }
    std::fputs("shown\n", stdout);
    std::fflush(stdout);
    return 0;
}

void BM_ProgramStartUp(benchmark::State& state) {
    const BenchFolder folder;
    WriteBytes(folder.Path() / "UTDir.ini", "C:\\Games\\UnrealTournament");  // no message box
    WriteBytes(folder.Path() / "User.ini", PlayerList(std::size_t(state.range(0))));
    std::string probe = "--probe";
    std::string where = folder.Path().string();
    std::string count = std::to_string(state.range(0));
    char* arguments[] = {g_self.data(), probe.data(), where.data(), count.data(), nullptr};
    for (auto _ : state) {
        int shown[2];
        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        bool started = ::pipe(shown) == 0;
        ::posix_spawn_file_actions_adddup2(&actions, shown[1], STDOUT_FILENO);
        ::posix_spawn_file_actions_addclose(&actions, shown[0]);
        pid_t child = 0;
        started = started &&
                  ::posix_spawn(&child, g_self.c_str(), &actions, nullptr, arguments, environ) == 0;
        ::posix_spawn_file_actions_destroy(&actions);
        ::close(shown[1]);
        char word[6] = {};  // timed up to the word: what follows is not start-up
        const bool up = started && ::read(shown[0], word, sizeof word) == sizeof word;
        state.PauseTiming();
        ::close(shown[0]);
        int status = 0;
        if (!up || ::waitpid(child, &status, 0) != child || status != 0) {
            state.SkipWithError("the program did not start up with every identity");
            break;
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ProgramStartUp)->Arg(5)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

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
