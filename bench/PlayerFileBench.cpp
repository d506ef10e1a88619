// The player list file: the start-up load of a full list and of a huge one, and one append.
#include <benchmark/benchmark.h>

#include "BenchFolder.h"
#include "ProfileGenerator.h"
#include "platform/files/FileSystem.h"
#include "platform/host/NativeFileOps.h"
#include "settings/PlayerFile.h"

namespace korvale::bench {
namespace {

void BM_LoadPlayers(benchmark::State& state) {
    const BenchFolder folder;
    const auto records = static_cast<std::size_t>(state.range(0));
    WritePlayerFile(folder.Path() / "User.ini", records);
    NativeFileOps ops;
    const FileSystem files(ops, folder.Text());
    for (auto _ : state) {
        Players players;
        players.append(LoadPlayers(files));
        if (players.count() != records) {
            state.SkipWithError("the load lost records");
            break;
        }
        state.PauseTiming();  // the list's own clean-up is not the load's
        {
            const Players drop = std::move(players);
        }
        state.ResumeTiming();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_LoadPlayers)->Arg(32767)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_AppendPlayer(benchmark::State& state) {
    const BenchFolder folder;
    const auto records = static_cast<std::size_t>(state.range(0));
    WritePlayerFile(folder.Path() / "User.ini", records);
    NativeFileOps ops;
    const FileSystem files(ops, folder.Text());
    Players players;
    players.append(LoadPlayers(files));
    const Player added{"New Player", "new secret"};
    for (auto _ : state) {
        players.insert(AppendPlayer(files, added), added);
    }
    if (players.count() != records + static_cast<std::size_t>(state.iterations())) {
        state.SkipWithError("an append went astray");
    }
}
BENCHMARK(BM_AppendPlayer)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvale::bench
