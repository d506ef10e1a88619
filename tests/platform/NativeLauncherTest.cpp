#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace korvale::test
