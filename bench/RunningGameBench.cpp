// The check Play makes first: whether the game runs, whoever started it, among a few hundred
// processes (sleeping children, some named after the game as Wine names its processes), for the
// native game and the Windows game under Wine. The game does not run: the whole list is read.
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "BenchFiles.h"
#include "platform/host/NativeLauncher.h"

namespace fs = std::filesystem;

namespace korvale {
namespace {

// Children that sleep until killed and reaped when the object goes; the first `named` of them
// carry the name the kernel gives a process of "UnrealTournament.exe".
class SleepingChildren {
public:
    SleepingChildren(int count, int named) {
        for (int i = 0; i < count; ++i) {
            const pid_t child = ::fork();
            if (child == 0) {
                if (i < named) {
                    ::prctl(PR_SET_NAME, "UnrealTournamen");
                }
                ::pause();
                ::_exit(0);
            }
            if (child > 0) {
                m_children.push_back(child);
            }
        }
    }
    SleepingChildren(const SleepingChildren&) = delete;
    SleepingChildren& operator=(const SleepingChildren&) = delete;
    ~SleepingChildren() {
        for (const pid_t child : m_children) {
            ::kill(child, SIGKILL);
        }
        for (const pid_t child : m_children) {
            int status = 0;
            ::waitpid(child, &status, 0);
        }
    }

private:
    std::vector<pid_t> m_children;
};

// Arguments: the children alive, and whether the game is a Windows program (1) or native (0).
void BM_GameRunningCheck(benchmark::State& state) {
    const BenchFolder folder;
    const fs::path program = folder.Path() / "UnrealTournament.exe";
    // Only the program's first bytes tell the two apart; no process runs this file.
    WriteBytes(program, state.range(1) != 0 ? "MZ" : "\x7F" "ELF");
    const SleepingChildren children(static_cast<int>(state.range(0)), 10);
    NativeLauncher launcher;
    for (auto _ : state) {
        if (launcher.isRunning(program.string())) {
            state.SkipWithError("the game runs");
            break;
        }
    }
}
BENCHMARK(BM_GameRunningCheck)
    ->ArgNames({"children", "wine"})
    ->Args({300, 0})
    ->Args({300, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvale
