// The whole Play: backup copy, rewrite of the real-size profile, start of a program that exits at
// once.
#include <benchmark/benchmark.h>

#include <string>

#include "BenchFolder.h"
#include "FixedPick.h"
#include "ProfileGenerator.h"
#include "platform/files/FileSystem.h"
#include "platform/host/NativeFileOps.h"
#include "platform/host/NativeHostEnvironment.h"
#include "platform/host/NativeLauncher.h"
#include "platform/ports/UiServices.h"
#include "play/PlayCommand.h"

namespace fs = std::filesystem;

namespace korvale::bench {
namespace {

class SilentUi final : public UiServices {
public:
    void showMessage(std::string_view text, std::string_view detail) override {
        m_last = std::string(text) + " " + std::string(detail);
    }
    bool processEvents() override { return true; }
    const std::string& Last() const noexcept { return m_last; }

private:
    std::string m_last;
};

void BM_PlayRealSizeProfile(benchmark::State& state) {
    const BenchFolder folder;
    fs::create_directories(folder.Path() / "program");
    fs::create_directories(folder.Path() / "game" / "System");
    WriteBytes(folder.Path() / "program" / "UTDir.ini", folder.Text("game"));
    WriteBytes(folder.Path() / "game" / "System" / "User.ini", RealisticProfile());
    fs::copy_file(KORVALE_BENCH_GAME, folder.Path() / "game" / "System" / "UnrealTournament.exe");

    NativeFileOps ops;
    const FileSystem files(ops, folder.Text("program"));
    SilentUi ui;
    NativeLauncher launcher;
    const test::FixedPick pick{0, "Bench Player", "s3cret"};
    GameFolder setting(files);
    const NativeHostEnvironment host;
    PlayCommand play(files, setting, ui, launcher, host);

    for (auto _ : state) {
        play.PlayUT(pick);
    }
    if (!ui.Last().empty()) {
        state.SkipWithError(("Play said: " + ui.Last()).c_str());
    }
}
BENCHMARK(BM_PlayRealSizeProfile)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvale::bench
