#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "RawFiles.h"
#include "TempFolders.h"
#include "platform/FileError.h"
#include "platform/NativeFileOps.h"
#include "platform/NativeLauncher.h"

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
        {"missing", GameFolder() + "\\System\\UnrealTournament.exe"},
        {"a folder", GameFolder() + "\\System"},
        {"not executable", GameFolder() + "\\System\\readme.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            NativeLauncher().Start(c.path);
            ADD_FAILURE() << "started";
        } catch (const FileError& error) {
            EXPECT_EQ(error.path(), NativeFileOps().nativeForm(c.path));
        }
    }
}

#ifndef _WIN32
// PATH for the length of one test.
class PathVariable {
public:
    explicit PathVariable(const std::string& value) {
        if (const char* old = std::getenv("PATH")) {
            m_old = old;
        }
        ::setenv("PATH", value.c_str(), 1);
    }
    ~PathVariable() {
        if (m_old) {
            ::setenv("PATH", m_old->c_str(), 1);
        } else {
            ::unsetenv("PATH");
        }
    }

private:
    std::optional<std::string> m_old;
};

TEST_F(NativeLauncherTest, AWindowsProgramRunsUnderWineFoundOnPath) {
    const fs::path game = MakeGameFolder("Unreal Tournament") / "System" / "UnrealTournament.exe";
    WriteBytes(game, std::string("MZ\x90\0", 4));
    fs::permissions(game, fs::perms(0644));
    fs::create_directory(Root() / "bin");
    const fs::path record = Root() / "wine-arguments.txt";
    WriteBytes(Root() / "bin" / "wine",
               "#!/bin/sh\nfor a in \"$@\"; do printf '%s|' \"$a\"; done > \"" + record.string() +
                   ".part\"\nmv \"" + record.string() + ".part\" \"" + record.string() + "\"\n");
    fs::permissions(Root() / "bin" / "wine", fs::perms(0755));
    const std::string path = PathText(Root()) + "/Unreal Tournament\\System\\UnrealTournament.exe";

    {
        const PathVariable noWine(PathText(Root() / "empty"));
        try {
            NativeLauncher().Start(path);
            ADD_FAILURE() << "started without Wine";
        } catch (const FileError& error) {
            EXPECT_THAT(error.reason(), HasSubstr("Wine is not installed"));
        }
    }
    const PathVariable withWine(PathText(Root() / "bin") + ":/usr/bin:/bin");
    NativeLauncher().Start(path);
    ASSERT_TRUE(WaitForText(record, "|"));
    EXPECT_EQ(ReadBytes(record), PathText(game) + "|");
}
#endif

}  // namespace
}  // namespace korvale::test
