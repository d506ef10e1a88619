#include "TempFolders.h"

#include <random>


namespace fs = std::filesystem;

namespace korvale::test {

// Made when the fixture is, so that members of a test's fixture can take the file layer.
TempFolders::TempFolders() {
    std::random_device random;
    do {
        m_root = fs::temp_directory_path() / ("korvale-test-" + std::to_string(random()));
    } while (!fs::create_directory(m_root));
    fs::create_directory(ProgramDir());
    fs::create_directories(GameDir() / "System");
    m_files = std::make_unique<FileSystem>(m_ops, PathText(ProgramDir()));
}

void TempFolders::TearDown() {
    EXPECT_EQ(m_ops.OpenHandles(), 0u) << "a file was left open";
    std::error_code ignored;
    fs::remove_all(m_root, ignored);
}

fs::path TempFolders::ProgramPath(std::string_view name) const {
    return ProgramDir() / name;
}

fs::path TempFolders::SystemPath(std::string_view name) const {
    return GameDir() / "System" / name;
}

fs::path TempFolders::MakeGameFolder(std::string_view name) const {
    const fs::path folder = m_root / fs::path(std::u8string(name.begin(), name.end()));
    fs::create_directories(folder / "System");
    return folder;
}

}  // namespace korvale::test
