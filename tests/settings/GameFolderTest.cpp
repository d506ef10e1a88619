#include <optional>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "RawFiles.h"
#include "RecordingUi.h"
#include "TempFolders.h"
#include "platform/files/FileError.h"
#include "settings/GameFolder.h"

namespace korvale::test {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using Op = FaultyFileOps::Op;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(UTGamePathTest, JoinsWithOneBackslashUnlessTheFolderEndsWithOne) {
    const struct {
        std::string folder;
        std::string_view relative;
        std::string path;
    } cases[] = {
        {"C:\\Games\\UnrealTournament", "System\\User.ini",
         "C:\\Games\\UnrealTournament\\System\\User.ini"},
        {"C:\\Games\\UnrealTournament\\", "System\\User.ini",
         "C:\\Games\\UnrealTournament\\System\\User.ini"},
        {"C:\\Games\\UnrealTournament", "System\\UserKorvale.old",
         "C:\\Games\\UnrealTournament\\System\\UserKorvale.old"},
        {"C:\\Games\\UnrealTournament\\", "System\\UnrealTournament.exe",
         "C:\\Games\\UnrealTournament\\System\\UnrealTournament.exe"},
        {"D:\\", "System\\User.ini", "D:\\System\\User.ini"},
        {"C:\\UT ", "System\\User.ini", "C:\\UT \\System\\User.ini"},
        {"C:\\UT\\ ", "System\\User.ini", "C:\\UT\\ \\System\\User.ini"},
        {"C:/Games/UT/", "System\\User.ini", "C:/Games/UT/\\System\\User.ini"},
        {"C:\\UT\\\\", "System\\User.ini", "C:\\UT\\\\System\\User.ini"},
        {"/home/me/Spi\xE9le", "System\\UnrealTournament.exe", "/home/me/Spi\xE9le\\System\\UnrealTournament.exe"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UTGamePath(c.folder, c.relative), c.path) << "[" << c.folder << "]";
    }
}

class GameFolderTest : public TempFolders {
protected:
    void SetUp() override {
        TempFolders::SetUp();
        m_folder.SetDirIniPath();
    }
    fs::path SettingFile() const { return ProgramPath("UTDir.ini"); }
    RecordingUi m_ui;
    GameFolder m_folder{Files()};
};

TEST_F(GameFolderTest, StartUpReadsTheFirstLineOrCreatesAnEmptyFile) {
    const Message notSet{"The Path to UT Needs to be set", ""};
    const struct {
        const char* name;
        std::optional<std::string> file;
        std::string folder;  // gUTDir afterwards
        bool warned;
    } cases[] = {
        {"missing: created empty, no message", std::nullopt, "", false},
        {"0 bytes", "", "", true},
        {"spaces only, kept as read", "   ", "   ", true},
        {"a folder", "C:\\Games\\UnrealTournament", "C:\\Games\\UnrealTournament", false},
        {"first line ends with CR LF", "C:\\UT\r\n", "C:\\UT", false},
        {"first line ends with LF", "C:\\UT\n", "C:\\UT", false},
        {"several lines, first counts", "C:\\UT\r\nD:\\Other\r\n", "C:\\UT", false},
        {"first line empty", "\r\nC:\\UT", "", true},
        {"spaces kept untrimmed", " C:\\UT ", " C:\\UT ", false},
        {"tab is no space", "\t", "\t", false},
        {"Latin-1 byte", "C:\\Spi\xE9le", "C:\\Spi\xE9le", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::error_code ignored;
        fs::remove(SettingFile(), ignored);
        if (c.file) {
            WriteBytes(SettingFile(), *c.file);
        }
        GameFolder folder(Files());
        folder.SetDirIniPath();
        RecordingUi ui;
        folder.LoadUTDir(ui);
        EXPECT_EQ(folder.gUTDir(), c.folder);
        EXPECT_EQ(ui.Messages(), c.warned ? std::vector<Message>{notSet} : std::vector<Message>{});
        EXPECT_EQ(ReadBytes(SettingFile()), c.file.value_or(""));
    }
}

TEST_F(GameFolderTest, ReadUTDirLineReadsTheFirstLineUntrimmed) {
    EXPECT_THROW(m_folder.ReadUTDirLine(), FileError);
    WriteBytes(SettingFile(), "");
    EXPECT_EQ(m_folder.ReadUTDirLine(), std::nullopt);
    WriteBytes(SettingFile(), "  D:\\UT  \r\nsecond");
    EXPECT_EQ(m_folder.ReadUTDirLine(), std::optional<std::string>("  D:\\UT  "));
    // An editor's byte-order mark is no part of the folder.
    WriteBytes(SettingFile(), "\357\273\277D:\\Sp\xE9le\r\n");
    EXPECT_EQ(m_folder.ReadUTDirLine(), std::optional<std::string>("D:\\Sp\xE9le"));
}

TEST_F(GameFolderTest, SaveStoresTheTrimmedFolderWithNoLineBreak) {
    const struct {
        const char* name;
        std::optional<std::string> before;
        std::string typed;
        std::string stored;
    } cases[] = {
        {"trimmed", "C:\\Old", "  C:\\Games\\UT  ", "C:\\Games\\UT"},
        {"missing file is created", std::nullopt, "D:\\", "D:\\"},
        {"empty gives 0 bytes", "C:\\Old", "", ""},
        {"spaces give 0 bytes", "C:\\Old", "   ", ""},
        {"tabs stay", "", "\tC:\\UT\t", "\tC:\\UT\t"},
        {"every old line goes", "C:\\Old\r\nmore\r\n", "C:\\UT", "C:\\UT"},
        {"Latin-1 byte", "", "C:\\Spi\xE9le", "C:\\Spi\xE9le"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::error_code ignored;
        fs::remove(SettingFile(), ignored);
        if (c.before) {
            WriteBytes(SettingFile(), *c.before);
        }
        m_folder.SaveUTDir(c.typed);
        EXPECT_EQ(ReadBytes(SettingFile()), c.stored);
        EXPECT_EQ(m_folder.gUTDir(), c.stored);
    }
    // An empty folder saved warns at the next start.
    m_folder.SaveUTDir(" ");
    GameFolder next(Files());
    next.SetDirIniPath();
    next.LoadUTDir(m_ui);
    EXPECT_THAT(m_ui.Messages(), ElementsAre(Message{"The Path to UT Needs to be set", ""}));
}

TEST_F(GameFolderTest, SaveThroughALinkKeepsTheLink) {
    KORVALE_POSIX_ONLY();
    WriteBytes(Root() / "shared.ini", "C:\\Old");
    fs::create_symlink(Root() / "shared.ini", SettingFile());
    m_folder.SaveUTDir("C:\\New");
    EXPECT_TRUE(fs::is_symlink(SettingFile()));
    EXPECT_EQ(ReadBytes(Root() / "shared.ini"), "C:\\New");
}

}  // namespace
}  // namespace korvale::test
