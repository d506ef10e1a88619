// The whole Play: backup copy, rewrite of the real-size profile, start of a program that exits at
// once.
#include <benchmark/benchmark.h>

#include <string>

#include "BenchFolder.h"
#include "VectorPlayerList.h"
#include "ProfileGenerator.h"
#include "platform/FileSystem.h"
#include "platform/NativeFileOps.h"
#include "platform/NativeLauncher.h"
#include "platform/UiServices.h"
#include "play/PlayCommand.h"

namespace fs = std::filesystem;

namespace korvale::bench {
namespace {

class SilentUi final : public UiServices {
public:
    void ShowMessage(std::string_view text, std::string_view detail) override {
        m_last = std::string(text) + " " + std::string(detail);
    }
    bool ProcessEvents() override { return true; }
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
    test::VectorPlayerList users;
    test::VectorPlayerList passwords;
    users.Insert(0, "Bench Player");
    passwords.Insert(0, "s3cret");
    users.SetSelectedIndex(0);
    passwords.SetSelectedIndex(0);
    const PlayServices services{files, ui, launcher, users, passwords};

    for (auto _ : state) {
        PlayUT(services);
    }
    if (!ui.Last().empty()) {
        state.SkipWithError(("Play said: " + ui.Last()).c_str());
    }
}
BENCHMARK(BM_PlayRealSizeProfile)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvale::bench
