#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FakeHost.h"
#include "TempFolders.h"
#include "gamesearch/GameSearch.h"

namespace korvale::test {
namespace {

namespace fs = std::filesystem;
using Root = HostEnvironment::RegistryRoot;
using View = HostEnvironment::RegistryView;

const std::string kGame = "/System/UnrealTournament.exe";
const std::string kInLibrary = "/steamapps/common/Unreal Tournament";

class GameSearchTest : public TempFolders {
protected:
    // An empty file stands in for a game program.
    void Make(const std::string& relative, std::string_view bytes = {}) const {
        fs::create_directories((Root() / relative).parent_path());
        WriteBytes(Root() / relative, bytes);
    }
    std::string At(const std::string& relative, char separator = '/') const {
        std::string path = PathText(Root() / relative);
        std::ranges::replace(path, '/', separator);
        return path;
    }
};

TEST_F(GameSearchTest, FindsTheGameWhereLinuxInstallersAndStoresPutIt) {
    KORVALE_POSIX_ONLY();
    const std::string steam = "home/.local/share/Steam";
    // Programs in the order the search offers their folders, found with the variables unset (1),
    // or set and the lists of libraries unreadable (2).
    const std::pair<std::string, int> programs[] = {
        {"home/.local/share/OldUnreal/UnrealTournament/System64/ut-bin-amd64", 1},
        {"data/OldUnreal/UnrealTournament/System64/ut-bin-amd64", 2},
        {steam + kInLibrary + kGame, 3},
        {"lib1" + kInLibrary + kGame, 1},
        {"lib2" + kInLibrary + "/System/User.ini", 0},  // no program
        {"home/.var/app/com.valvesoftware.Steam/.local/share/Steam" + kInLibrary + kGame, 3},
        {"home/.wine/drive_c/UnrealTournament" + kGame, 1},
        {"prefix/drive_c/UnrealTournament" + kGame, 2},
        {"home/Games/a/drive_c/GOG Games/Unreal Tournament GOTY" + kGame, 3},
        {"home/Games/b/drive_c/UnrealTournament" + kGame, 3},
        {"home/Games/c/drive_c/UnrealTournament" + kGame, 3},
        {"home/.var/app/com.usebottles.bottles/data/bottles/bottles/x/drive_c/UnrealTournament" +
             kGame,
         3},
        {"home/.local/share/bottles/bottles/y/drive_c/GOG Games/Unreal Tournament GOTY" + kGame, 3},
    };
    for (const auto& [program, found] : programs) {
        Make(program);
    }
    Make(steam + "/steamapps/libraryfolders.vdf",
         R"("libraryfolders" { "0" { "path" ")" + At(steam) + R"(" } "1" { "path" ")" + At("lib1") +
             R"(" } "2" { "path" ")" + At("lib2") + R"(" } "3" { "path" ")" + At("lib1") +
             R"(" } })");
    fs::create_directory(Root() / "home/.steam");
    fs::create_directory_symlink("../.local/share/Steam", Root() / "home/.steam/steam");
    fs::create_directory_symlink("steam", Root() / "home/.steam/root");

    for (const int found : {1, 2}) {
        FakeHost host(HostEnvironment::System::Linux, HostEnvironment::Architecture::X86_64,
                      At("home"));
        if (found == 2) {
            host.Set("XDG_DATA_HOME", At("data"));
            host.Set("WINEPREFIX", At("prefix"));
            ops().Inject(
                {.op = FaultyFileOps::Op::Open, .pathContains = "libraryfolders.vdf", .times = 0});
        }
        std::vector<std::string> expected;
        for (const auto& [program, foundIn] : programs) {
            if ((foundIn & found) != 0) {
                expected.push_back(At(program.substr(0, program.find("/System"))));
            }
        }
        EXPECT_EQ(findGameFolders(Files(), host), expected) << "case " << found;
    }
}

TEST_F(GameSearchTest, FindsTheGameWhereWindowsInstallersAndStoresPutIt) {
    // Each holds the game, and the search finds them in this order.
    std::vector<std::string> expected;
    for (const char* folder :
         {"user", "machine", "drive/UnrealTournament", "gog",
          "steam/steamapps/common/Unreal Tournament", "drive/GOG Games/Unreal Tournament GOTY"}) {
        Make(folder + kGame);
        expected.push_back(At(folder, '\\'));
    }
    Make("native/System64/ut-bin-amd64");  // the Linux game, which a Windows Play cannot start

    FakeHost host(HostEnvironment::System::Windows, HostEnvironment::Architecture::X86_64);
    const std::string unreal = "SOFTWARE\\Unreal Technology\\Installed Apps\\UnrealTournament";
    const std::string gog = "SOFTWARE\\GOG.com\\Games\\";
    host.Set({Root::LocalMachine, View::Bits32, unreal, "Folder"}, At("drive/UnrealTournament"));
    host.Set({Root::LocalMachine, View::Bits64, unreal, "Folder"}, At("machine"));
    host.Set({Root::CurrentUser, View::Bits64, unreal, "Folder"}, At("user"));
    host.Set({Root::LocalMachine, View::Bits32, gog + "1207658691", "path"}, At("native"));
    host.Set({Root::LocalMachine, View::Bits32, gog + "1207658692", "path"}, At("gog", '\\'));
    host.Set({Root::CurrentUser, View::Bits64, "Software\\Valve\\Steam", "SteamPath"}, At("steam"));
    host.Set({Root::LocalMachine, View::Bits32, "SOFTWARE\\Valve\\Steam", "InstallPath"},
             At("steam", '\\'));
    host.Set("SystemDrive", At("drive"));
    EXPECT_EQ(findGameFolders(Files(), host), expected);
}

}  // namespace
}  // namespace korvale::test
