// The same promises on real file systems that run out of space or refuse writes: small tmpfs
// mounts over the test's folders, full or read-only. Mounting needs root (CAP_SYS_ADMIN); where
// the machine does not allow it the tests are skipped with the reason.
#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FixedPick.h"
#include "RawFiles.h"
#include "RecordingLauncher.h"
#include "RecordingUi.h"
#include "TempFolders.h"
#include "platform/files/FileError.h"
#include "play/PlayCommand.h"
#include "settings/GameFolder.h"
#include "settings/Identities.h"

namespace korvale::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

constexpr std::size_t kPage = 4096;

std::string Reason(std::errc error) {
    return std::make_error_code(error).message();
}

// `pages` pages of profile in lines of 64 bytes ending in a bare LF, so that the rewrite, which
// ends every line with CR LF, needs more room than the profile took.
std::string LfProfile(std::size_t pages) {
    std::string profile = "[DefaultPlayer]\nName=Player" + std::string(64 - 28, 'x') + "\n";
    while (profile.size() < pages * kPage) {
        const std::string key = "Setting" + std::to_string(profile.size() / 64) + "=";
        profile += key + std::string(63 - key.size(), 'v') + "\n";
    }
    return profile;
}

class RealDiskTest : public TempFolders {
protected:
    void TearDown() override {
        for (auto mount = m_mounts.rbegin(); mount != m_mounts.rend(); ++mount) {
            ::umount2(mount->c_str(), MNT_DETACH);
        }
        TempFolders::TearDown();
    }

    // Mounts an empty tmpfs of `pages` pages over `folder`; the reason when that is not allowed.
    std::optional<std::string> MountTmpfs(const fs::path& folder, std::size_t pages) {
        const std::string options = "size=" + std::to_string(pages * kPage) + ",mode=0755";
        if (::mount("tmpfs", folder.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) != 0) {
            return "cannot mount a tmpfs here (" + std::string(std::strerror(errno)) +
                   "): mounting needs root with CAP_SYS_ADMIN";
        }
        m_mounts.push_back(folder);
        return std::nullopt;
    }

    void RemountReadOnly(const fs::path& folder) {
        ASSERT_EQ(::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0)
            << std::strerror(errno);
    }

    // Takes every free page of the file system that holds `folder`.
    static void Fill(const fs::path& folder) {
        std::FILE* filler = std::fopen((folder / "filler").c_str(), "wb");
        ASSERT_NE(filler, nullptr);
        std::setvbuf(filler, nullptr, _IONBF, 0);
        const std::string page(kPage, 'f');
        while (std::fwrite(page.data(), 1, page.size(), filler) == page.size()) {
        }
        std::fclose(filler);
    }

    // Leaves exactly `pages` free pages on the file system that holds `folder`.
    static void LeaveFree(const fs::path& folder, std::size_t pages) {
        WriteBytes(folder / "reserve", std::string(pages * kPage, 'r'));
        Fill(folder);
        fs::remove(folder / "reserve");
    }

    static std::vector<std::string> FileNames(const fs::path& folder) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    void Play() { PlayCommand(Files(), m_folder, m_ui, m_launcher, Host()).PlayUT(m_pick); }

    std::vector<fs::path> m_mounts;
    FixedPick m_pick{0, "Alice", "pa"};
    RecordingUi m_ui;
    RecordingLauncher m_launcher;
    GameFolder m_folder{Files()};
};

TEST_F(RealDiskTest, PlayWithNoRoomForANewFileLeavesEverythingWhole) {
    const fs::path system = GameDir() / "System";
    if (auto reason = MountTmpfs(system, 32)) {
        GTEST_SKIP() << *reason;
    }
    const std::string profile = LfProfile(8);
    WriteBytes(ProgramPath("UTDir.ini"), GameFolderText());
    WriteBytes(SystemPath("User.ini"), profile);
    LeaveFree(system, 4);

    Play();

    ASSERT_EQ(m_ui.Messages().size(), 1u);
    EXPECT_EQ(m_ui.Messages()[0].text, "Error");
    EXPECT_THAT(m_ui.Messages()[0].detail, EndsWith(Reason(std::errc::no_space_on_device)));
    EXPECT_EQ(ReadBytes(SystemPath("User.ini")), profile);
    EXPECT_THAT(FileNames(system),
                UnorderedElementsAre("User.ini", "User.ini.korvale-lock", "filler"))
        << "a partial file was left behind";
    EXPECT_THAT(m_launcher.Started(), IsEmpty());
}

TEST_F(RealDiskTest, PlayThatRunsOutOfRoomForTheRewriteKeepsTheOldProfile) {
    const fs::path system = GameDir() / "System";
    if (auto reason = MountTmpfs(system, 64)) {
        GTEST_SKIP() << *reason;
    }
    // The backup takes the free pages, and the rewrite finds none.
    const std::string profile = LfProfile(8);
    WriteBytes(ProgramPath("UTDir.ini"), GameFolderText());
    WriteBytes(SystemPath("User.ini"), profile);
    LeaveFree(system, 8);
    Play();

    ASSERT_EQ(m_ui.Messages().size(), 1u);
    EXPECT_EQ(m_ui.Messages()[0].text, "Error");
    EXPECT_EQ(m_ui.Messages()[0].detail,
              Files().nativePath(PathText(SystemPath("User.ini"))) + ": " +
                  Reason(std::errc::no_space_on_device));
    EXPECT_EQ(ReadBytes(SystemPath("User.ini")), profile);
    EXPECT_EQ(ReadBytes(SystemPath("UserKorvale.old")), profile);
    EXPECT_THAT(m_launcher.Started(), IsEmpty());
}

TEST_F(RealDiskTest, SavesAndAppendsOnAFullDiskKeepTheOldFiles) {
    if (auto reason = MountTmpfs(ProgramDir(), 16)) {
        GTEST_SKIP() << *reason;
    }
    // A player list that ends exactly at a page, so one more byte needs a page.
    std::string records;
    for (int record = 0; records.size() < kPage; ++record) {
        records += "Player" + std::to_string(record) + ",pw\r\n";
    }
    records.resize(kPage);
    records.back() = 'w';
    WriteBytes(ProgramPath("User.ini"), records);
    WriteBytes(ProgramPath("UTDir.ini"), "C:\\Games\\Old");
    Fill(ProgramDir());
    m_folder.SetDirIniPath();
    m_folder.refresh();

    try {
        m_folder.SaveUTDir("D:\\Games\\New");
        ADD_FAILURE() << "the save reported no failure";
    } catch (const FileError& error) {
        EXPECT_THAT(error.what(), EndsWith(Reason(std::errc::no_space_on_device)));
    }
    EXPECT_EQ(ReadBytes(ProgramPath("UTDir.ini")), "C:\\Games\\Old");
    EXPECT_EQ(m_folder.gUTDir(), "C:\\Games\\Old");

    EXPECT_THROW(Identities(Files()).AppendPlayer({"Carol", "pc"}), FileError);
    EXPECT_EQ(ReadBytes(ProgramPath("User.ini")), records);

    std::vector<std::string> names = FileNames(ProgramDir());
    std::erase(names, "User.ini.korvale-lock");  // made when there was room, and kept
    EXPECT_THAT(names, UnorderedElementsAre("User.ini", "UTDir.ini", "filler"))
        << "a temporary file was left behind";
}

TEST_F(RealDiskTest, ReadOnlyFoldersRefuseEveryWriteAndStillLoad) {
    if (auto reason = MountTmpfs(ProgramDir(), 16)) {
        GTEST_SKIP() << *reason;
    }
    const fs::path system = GameDir() / "System";
    ASSERT_FALSE(MountTmpfs(system, 64).has_value());
    const std::string profile = LfProfile(2);
    WriteBytes(ProgramPath("UTDir.ini"), GameFolderText());
    WriteBytes(ProgramPath("User.ini"), "Alice,pa\r\nBob,pb");
    WriteBytes(SystemPath("User.ini"), profile);
    RemountReadOnly(ProgramDir());
    RemountReadOnly(system);
    const std::string readOnly = Reason(std::errc::read_only_file_system);

    m_folder.SetDirIniPath();
    m_folder.LoadUTDir(m_ui);
    EXPECT_EQ(m_folder.gUTDir(), GameFolderText());
    Identities players(Files());
    players.LoadPlayers();
    EXPECT_THAT(std::vector<Player>(players.begin(), players.end()),
                ElementsAre(Player{"Alice", "pa"}, Player{"Bob", "pb"}));

    m_pick = {1, "Bob", "pb"};
    Play();
    ASSERT_EQ(m_ui.Messages().size(), 1u);
    EXPECT_EQ(m_ui.Messages()[0].text, "Error");
    EXPECT_THAT(m_ui.Messages()[0].detail, EndsWith(readOnly));
    EXPECT_EQ(ReadBytes(SystemPath("User.ini")), profile);
    EXPECT_THAT(m_launcher.Started(), IsEmpty());

    try {
        m_folder.SaveUTDir("D:\\Games\\New");
        ADD_FAILURE() << "the save reported no failure";
    } catch (const FileError& error) {
        EXPECT_THAT(error.what(), EndsWith(readOnly));
    }
    EXPECT_EQ(m_folder.gUTDir(), GameFolderText());
    EXPECT_THROW(Identities(Files()).AppendPlayer({"Carol", "pc"}), FileError);
    EXPECT_EQ(ReadBytes(ProgramPath("UTDir.ini")), GameFolderText());
    EXPECT_EQ(ReadBytes(ProgramPath("User.ini")), "Alice,pa\r\nBob,pb");
}

}  // namespace
}  // namespace korvale::test
