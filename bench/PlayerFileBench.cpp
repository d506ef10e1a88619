// The player list file: the start-up load of a full list and of a huge one, and one append.
#include <benchmark/benchmark.h>

#include "BenchFolder.h"
#include "VectorPlayerList.h"
#include "ProfileGenerator.h"
#include "platform/FileSystem.h"
#include "platform/NativeFileOps.h"
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
        test::VectorPlayerList users;
        test::VectorPlayerList passwords;
        LoadPlayers(files, users, passwords);
        if (users.Count() != records || passwords.Count() != records) {
            state.SkipWithError("the load lost records");
            break;
        }
        state.PauseTiming();  // the lists' own clean-up is not the load's
        {
            const test::VectorPlayerList dropUsers = std::move(users);
            const test::VectorPlayerList dropPasswords = std::move(passwords);
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
    test::VectorPlayerList users;
    test::VectorPlayerList passwords;
    LoadPlayers(files, users, passwords);
    for (auto _ : state) {
        AppendPlayer(files, "New Player", "new secret", [&](std::size_t index) {
            InsertPlayer(users, passwords, index, "New Player", "new secret");
        });
    }
    if (users.Count() != records + static_cast<std::size_t>(state.iterations())) {
        state.SkipWithError("an append went astray");
    }
}
BENCHMARK(BM_AppendPlayer)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvale::bench
