// The game search on a Linux home with ten Steam libraries (the root's list names them; the usual
// links to the root lead to it twice more) and five Wine prefixes, each holding the game, and the
// OldUnreal installer's folder: sixteen folders found, each through every path that leads to it.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "BenchFiles.h"
#include "FakeHost.h"
#include "gamesearch/GameSearch.h"
#include "platform/files/FileSystem.h"
#include "platform/host/NativeFileOps.h"

namespace korvale {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kFound = 16;

void Program(const fs::path& file) {
    fs::create_directories(file.parent_path());
    WriteBytes(file, "");
}

void BM_GameSearch(benchmark::State& state) {
    const BenchFolder folder;
    const fs::path home = folder.Path() / "home";
    const fs::path steam = home / ".local/share/Steam";
    std::string listed = "\"libraryfolders\"\n{\n";
    for (int library = 0; library < 10; ++library) {
        const fs::path root =
            library == 0 ? steam : folder.Path() / ("library" + std::to_string(library));
        listed += "\t\"" + std::to_string(library) + "\"\n\t{\n\t\t\"path\"\t\t\"" + root.string() +
                  "\"\n\t\t\"label\"\t\t\"\"\n\t}\n";
        Program(root / "steamapps/common/Unreal Tournament/System/UnrealTournament.exe");
    }
    WriteBytes(steam / "steamapps/libraryfolders.vdf", listed + "}\n");
    fs::create_directories(home / ".steam");
    fs::create_directory_symlink("../.local/share/Steam", home / ".steam/steam");
    fs::create_directory_symlink("steam", home / ".steam/root");
    for (const char* prefix : {".wine", "Games/a", "Games/b", "Games/c", "Games/d"}) {
        Program(home / prefix / "drive_c/UnrealTournament/System/UnrealTournament.exe");
    }
    Program(home / ".local/share/OldUnreal/UnrealTournament/System64/ut-bin-amd64");

    NativeFileOps ops;
    const FileSystem files(ops, folder.Path().string());
    const test::FakeHost host(HostEnvironment::System::Linux, HostEnvironment::Architecture::X86_64,
                              home.string());
    for (auto _ : state) {
        const std::vector<std::string> found = findGameFolders(files, host);
        if (found.size() != kFound) {
            state.SkipWithError("the search did not find each game folder once");
            break;
        }
    }
}
BENCHMARK(BM_GameSearch)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvale
