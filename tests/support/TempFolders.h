#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "FaultyFileOps.h"
#include "RawFiles.h"
#include "platform/files/FileSystem.h"
#include "platform/host/NativeFileOps.h"
#include "platform/host/NativeHostEnvironment.h"

namespace korvale::test {

// A fresh program folder and game folder (with its System folder) for each test, removed after
// it; Korvale's file layer over the host's files through a FaultyFileOps. Every test also checks
// that it left no file open.
class TempFolders : public ::testing::Test {
protected:
    TempFolders();
    void SetUp() override {}
    void TearDown() override;

    const FileSystem& Files() const { return *m_files; }
    FaultyFileOps& ops() { return m_ops; }
    // The host the tests run on.
    const HostEnvironment& Host() const { return m_host; }

    const std::filesystem::path& Root() const noexcept { return m_root; }
    std::filesystem::path ProgramDir() const { return m_root / "program"; }
    std::filesystem::path ProgramPath(std::string_view name) const;
    // The game folder as Korvale keeps it in UTDir.ini.
    std::string GameFolderText() const { return PathText(GameDir()); }
    std::filesystem::path GameDir() const { return m_root / "game"; }
    std::filesystem::path SystemPath(std::string_view name) const;
    // Another game folder `name` (UTF-8) under the test's root, with its System folder.
    std::filesystem::path MakeGameFolder(std::string_view name) const;

private:
    std::filesystem::path m_root;
    NativeFileOps m_native;
    FaultyFileOps m_ops{m_native};
    std::unique_ptr<FileSystem> m_files;
    NativeHostEnvironment m_host;
};

}  // namespace korvale::test

// File modes and links as POSIX has them.
#ifdef _WIN32
#define KORVALE_POSIX_ONLY() GTEST_SKIP() << "POSIX file modes and links"
#else
#define KORVALE_POSIX_ONLY() static_cast<void>(0)
#endif
