#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FakeHost.h"
#include "RawFiles.h"
#include "TempFolders.h"
#include "settings/GamePaths.h"

namespace korvale::test {
namespace {

namespace fs = std::filesystem;
using System = HostEnvironment::System;
using Architecture = HostEnvironment::Architecture;

class GamePathsTest : public TempFolders {};

TEST_F(GamePathsTest, AreTheFilesTheGameReallyUses) {
    const std::string game = GameFolderText();
    const std::string home = PathText(Root() / "home");
    const std::string local = PathText(Root() / "local");
    // The VirtualStore copy of the game folder "X:\Games\UT" (drive and all) for this user.
    const std::string store = local + "\\VirtualStore\\Games\\UT\\System\\";
    const GamePaths specified{game + "\\System\\User.ini", game + "\\System\\UserKorvale.old",
                              game + "\\System\\UnrealTournament.exe"};
    // Found first by the native game; which profile it takes otherwise is a Play's test.
    const std::string kHomeProfile = "home/.utpg/System/User.ini";
    const auto native = [&](const std::string& program) {
        return GamePaths{home + "\\.utpg\\System\\User.ini",
                         home + "\\.utpg\\System\\UserKorvale.old", game + "\\" + program};
    };
    const struct {
        const char* name;
        System system;
        Architecture architecture;
        std::string folder;                // as in UTDir.ini
        std::vector<std::string> present;  // files made, relative to the test's root
        GamePaths expected;
    } cases[] = {
        {"Linux, the Windows game",
         System::Linux,
         Architecture::X86_64,
         game,
         {"game/System/UnrealTournament.exe", "game/System64/ut-bin-amd64"},
         specified},
        {"Linux x86-64, ut-bin-amd64",
         System::Linux,
         Architecture::X86_64,
         game,
         {"game/System64/ut-bin-amd64", "game/System64/ut-bin", kHomeProfile},
         native("System64\\ut-bin-amd64")},
        {"Linux x86-64, ut-bin",
         System::Linux,
         Architecture::X86_64,
         game + "\\",
         {"game/System64/ut-bin", kHomeProfile},
         native("System64\\ut-bin")},
        {"Linux ARM64, ut-bin-arm64",
         System::Linux,
         Architecture::Arm64,
         game,
         {"game/SystemARM64/ut-bin-arm64", kHomeProfile},
         native("SystemARM64\\ut-bin-arm64")},
        {"Linux ARM64, ut-bin",
         System::Linux,
         Architecture::Arm64,
         game,
         {"game/SystemARM64/ut-bin", kHomeProfile},
         native("SystemARM64\\ut-bin")},
        {"Linux x86, ut-bin",
         System::Linux,
         Architecture::X86,
         game,
         {"game/System/ut-bin", kHomeProfile},
         native("System\\ut-bin")},
        {"Linux x86, ut-bin-x86 before ut-bin",
         System::Linux,
         Architecture::X86,
         game,
         {"game/System/ut-bin", "game/System/ut-bin-x86", kHomeProfile},
         native("System\\ut-bin-x86")},
        {"Linux x86-64, only another machine's program",
         System::Linux,
         Architecture::X86_64,
         game,
         {"game/SystemARM64/ut-bin-arm64", "game/System/ut-bin"},
         specified},
        {"Linux, an architecture without a native game",
         System::Linux,
         Architecture::Other,
         game,
         {"game/System64/ut-bin-amd64"},
         specified},
        {"not Linux, a native program",
         System::Other,
         Architecture::X86_64,
         game,
         {"game/System64/ut-bin-amd64"},
         specified},
        {"Windows, a VirtualStore copy",
         System::Windows,
         Architecture::X86_64,
         "X:\\Games\\UT",
         {"local/VirtualStore/Games/UT/System/User.ini"},
         {store + "User.ini", store + "UserKorvale.old",
          "X:\\Games\\UT\\System\\UnrealTournament.exe"}},
        {"Windows, a VirtualStore copy, final backslash",
         System::Windows,
         Architecture::X86_64,
         "X:\\Games\\UT\\",
         {"local/VirtualStore/Games/UT/System/User.ini"},
         {store + "User.ini", store + "UserKorvale.old",
          "X:\\Games\\UT\\System\\UnrealTournament.exe"}},
        {"Windows, no VirtualStore copy",
         System::Windows,
         Architecture::X86_64,
         game,
         {"local/VirtualStore/Games/UT/System/UserKorvale.old"},
         specified},
        {"Windows, a network folder",
         System::Windows,
         Architecture::X86_64,
         "\\\\X\\Games\\UT",
         {"local/VirtualStore/Games/UT/System/User.ini"},
         {"\\\\X\\Games\\UT\\System\\User.ini", "\\\\X\\Games\\UT\\System\\UserKorvale.old",
          "\\\\X\\Games\\UT\\System\\UnrealTournament.exe"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const std::string& file : c.present) {
            fs::create_directories((Root() / file).parent_path());
            WriteBytes(Root() / file, "x");
        }
        const FakeHost host(c.system, c.architecture, home, local);
        const GamePaths paths = locateGamePaths(c.folder, Files(), host);
        EXPECT_EQ(paths.profile, c.expected.profile);
        EXPECT_EQ(paths.backup, c.expected.backup);
        EXPECT_EQ(paths.program, c.expected.program);
        for (const std::string& file : c.present) {
            fs::remove(Root() / file);
        }
    }
}

}  // namespace
}  // namespace korvale::test
