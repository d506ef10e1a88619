// The profile rewrite alone, file to file: the game's real-size profile and a 200 MB one.
#include <unistd.h>

#include <benchmark/benchmark.h>

#include "BenchFolder.h"
#include "ProfileGenerator.h"
#include "platform/files/FileSystem.h"
#include "platform/host/NativeFileOps.h"
#include "play/ProfileRewrite.h"

namespace fs = std::filesystem;

namespace korvale::bench {
namespace {

void RewriteFile(const FileSystem& files, const std::string& input, const std::string& output) {
    TextStream in = files.GetFile(input).OpenAsTextStream(IOMode::ForReading);
    TextStream out = files.CreateTextFile(output);
    RewriteProfile(in, out, ProfileEncoding::Latin1, "Bench Player", "s3cret");
    in.Close();
    out.Close();
}

void Rewrite(benchmark::State& state, const fs::path& input, const BenchFolder& folder) {
    NativeFileOps ops;
    const FileSystem files(ops, folder.Text());
    const std::string from = input.string();
    const std::string to = folder.Text("rewritten.ini");
    for (auto _ : state) {
        RewriteFile(files, from, to);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(fs::file_size(input)));
}

void BM_RewriteRealSizeProfile(benchmark::State& state) {
    const BenchFolder folder;
    const fs::path profile = folder.Path() / "User.ini";
    WriteBytes(profile, RealisticProfile());
    Rewrite(state, profile, folder);
}
BENCHMARK(BM_RewriteRealSizeProfile)->Unit(benchmark::kMicrosecond);

void BM_Rewrite200MBProfile(benchmark::State& state) {
    const BenchFolder folder;
    Rewrite(state, CachedProfile(200ull << 20), folder);
    // 200 MB still on its way to the disk would slow down the benchmarks that follow.
    fs::remove(folder.Path() / "rewritten.ini");
    ::sync();
}
BENCHMARK(BM_Rewrite200MBProfile)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace korvale::bench
