// The whole Play: lock, backup, rewrite of the real-size profile into a new file flushed and
// swapped in, start of a program that exits at once; and the same without the flushes, which
// tells what they cost.
#include <benchmark/benchmark.h>

#include <string>

#include "BenchFolder.h"
#include "BenchPlay.h"
#include "ProfileGenerator.h"
#include "platform/host/NativeFileOps.h"
#include "platform/host/NativeLauncher.h"

namespace fs = std::filesystem;

namespace korvale::bench {
namespace {

void PlayRealSizeProfile(benchmark::State& state, bool flushes) {
    const BenchFolder folder;
    WriteBytes(folder.Path() / "profile.ini", RealisticProfile());
    layOutPlay(folder.Path(), folder.Path() / "profile.ini");
    fs::copy_file(KORVALE_BENCH_GAME, folder.Path() / "game" / "System" / "UnrealTournament.exe");
    NativeFileOps host;
    NoFlushFileOps noFlush(host);
    FileOps& ops = flushes ? static_cast<FileOps&>(host) : noFlush;

    for (auto _ : state) {
        // A launcher of its own each time: the last game may not have ended yet.
        NativeLauncher launcher;
        if (const std::string message = playOnce(folder.Path(), ops, launcher); !message.empty()) {
            state.SkipWithError(("Play said: " + message).c_str());
            break;
        }
    }
}

void BM_PlayRealSizeProfile(benchmark::State& state) {
    PlayRealSizeProfile(state, true);
}
BENCHMARK(BM_PlayRealSizeProfile)->Unit(benchmark::kMillisecond);

void BM_PlayRealSizeProfileWithoutFlushes(benchmark::State& state) {
    PlayRealSizeProfile(state, false);
}
BENCHMARK(BM_PlayRealSizeProfileWithoutFlushes)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvale::bench
