// The whole Play: lock, backup, rewrite of the real-size profile into a new file flushed and
// swapped in, start of a program that exits at once; and the same without the flushes, which
// tells what they cost.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <thread>

#include "BenchFolder.h"
#include "BenchPlay.h"
#include "ProfileGenerator.h"
#include "platform/host/NativeFileOps.h"
#include "platform/host/NativeLauncher.h"

namespace fs = std::filesystem;

namespace korvale::bench {
namespace {

// Arguments: flushes (1: as Play runs; 0: left out, which tells what they cost) and game (1: the
// game program is started; 0: a launcher that starts nothing, which leaves the Play's own work).
void BM_PlayRealSizeProfile(benchmark::State& state) {
    const bool flushes = state.range(0) != 0;
    const bool game = state.range(1) != 0;
    const BenchFolder folder;
    WriteBytes(folder.Path() / "profile.ini", RealisticProfile());
    layOutPlay(folder.Path(), folder.Path() / "profile.ini");
    fs::copy_file(KORVALE_BENCH_GAME, folder.Path() / "game" / "System" / "UnrealTournament.exe");
    NativeFileOps host;
    NoFlushFileOps noFlush(host);
    FileOps& ops = flushes ? static_cast<FileOps&>(host) : noFlush;

    const std::string program = folder.Text(fs::path("game") / "System" / "UnrealTournament.exe");
    for (auto _ : state) {
        NativeLauncher native;
        // Play refuses while the last game runs: its end is not the Play's time.
        state.PauseTiming();
        while (game && native.isRunning(program)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        state.ResumeTiming();
        NoLauncher none;
        ProgramLauncher& launcher = game ? static_cast<ProgramLauncher&>(native) : none;
        if (const std::string message = playOnce(folder.Path(), ops, launcher); !message.empty()) {
            state.SkipWithError(("Play said: " + message).c_str());
            break;
        }
    }
}
BENCHMARK(BM_PlayRealSizeProfile)
    ->ArgNames({"flushes", "game"})
    ->Args({1, 1})
    ->Args({1, 0})
    ->Args({0, 0})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvale::bench
