#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "OutsideProgram.h"
#include "RawFiles.h"
#include "TempFolders.h"
#include "platform/files/FileError.h"
#include "platform/host/NativeFileOps.h"
#include "platform/host/NativeLauncher.h"

namespace korvale::test {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

using NativeLauncherTest = TempFolders;

TEST_F(NativeLauncherTest, WhatCannotBeStartedIsAFailureNamingIt) {
    WriteBytes(SystemPath("readme.txt"), "not a program");
    fs::permissions(SystemPath("readme.txt"), fs::perms(0644));
    const struct {
        const char* name;
        std::string path;
    } cases[] = {
        {"missing", GameFolderText() + "\\System\\UnrealTournament.exe"},
        {"a folder", GameFolderText() + "\\System"},
        {"not executable", GameFolderText() + "\\System\\readme.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            NativeLauncher().start(c.path);
            ADD_FAILURE() << "started";
        } catch (const FileError& error) {
            EXPECT_EQ(error.path(), NativeFileOps().nativeForm(c.path));
        }
    }
}

// The game is the program's file, not its name: a copy elsewhere, running under the same name,
// is some other game folder's.
TEST_F(NativeLauncherTest, TheRunningGameIsTheSameFileWhateverItsName) {
    const fs::path running = Root() / "a" / "UnrealTournament.exe";
    const fs::path copy = Root() / "b" / "UnrealTournament.exe";
    for (const fs::path& program : {running, copy}) {
        fs::create_directories(program.parent_path());
        fs::copy_file(KORVALE_STANDIN_GAME, program);
    }
    WriteBytes(running.parent_path() / "hold.txt", "");
    OutsideProgram game({PathText(running)}, running.parent_path());
    ASSERT_TRUE(WaitForText(running.parent_path() / "started.txt", "\n"));
    EXPECT_TRUE(NativeLauncher().isRunning(PathText(running)));
    EXPECT_FALSE(NativeLauncher().isRunning(PathText(copy)));
    WriteBytes(running.parent_path() / "release.txt", "");
    ASSERT_TRUE(game.WaitForEnd());
    EXPECT_FALSE(NativeLauncher().isRunning(PathText(running)));
}

}  // namespace
}  // namespace korvale::test
