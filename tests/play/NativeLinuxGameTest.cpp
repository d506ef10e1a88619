// The native Linux game (469c and later) reads its profile under $HOME and is started by its own
// program; the test's own HOME stands in for the user's. POSIX only.
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FixedPick.h"
#include "RawFiles.h"
#include "RecordingUi.h"
#include "TempFolders.h"
#include "platform/host/NativeLauncher.h"
#include "play/PlayCommand.h"
#include "settings/GameFolder.h"

namespace korvale::test {
namespace {

namespace fs = std::filesystem;
using Architecture = HostEnvironment::Architecture;
using ::testing::IsEmpty;
using ::testing::StartsWith;

// UTF-16LE, as the engine saves a profile that holds a character outside its code page (here
// U+0141 in a server's name).
std::string Utf16Le(std::u16string_view text) {
    return "\xFF\xFE" + Utf16LeBytes(text);
}
const std::string kProfile = Utf16Le(u"[DefaultPlayer]\r\nName=Player\r\nS=\u0141\r\n");
const std::string kRewritten = Utf16Le(u"[DefaultPlayer]\r\nName=Zo\u00E9\u00FF\r\nS=\u0141\r\n");

// HOME set for the test, and put back after it.
class ScopedHome {
public:
    explicit ScopedHome(const std::string& home) {
        if (const char* old = std::getenv("HOME")) {
            m_old = old;
        }
        ::setenv("HOME", home.c_str(), 1);
    }
    ScopedHome(const ScopedHome&) = delete;
    ScopedHome& operator=(const ScopedHome&) = delete;
    ~ScopedHome() {
        if (m_old) {
            ::setenv("HOME", m_old->c_str(), 1);
        } else {
            ::unsetenv("HOME");
        }
    }

private:
    std::optional<std::string> m_old;
};

class NativeLinuxGameTest : public TempFolders {
protected:
    void SetUp() override {
        if (Host().system() != HostEnvironment::System::Linux) {
            GTEST_SKIP() << "the native game of Linux";
        }
    }

    const fs::path m_home = Root() / "home";
    const fs::path m_profile = m_home / ".utpg" / "System" / "User.ini";
    const ScopedHome m_scopedHome{PathText(m_home)};
    RecordingUi m_ui;
    NativeLauncher m_launcher;
    GameFolder m_folder{Files()};
    const FixedPick m_pick{0, "Zo\xE9\xFF", "p\xE9"};
};

TEST_F(NativeLinuxGameTest, ItsProfileUnderHomeIsSwitchedAndItsProgramStarted) {
    const std::map<Architecture, std::vector<std::string>> programs = {
        {Architecture::X86_64, {"System64/ut-bin-amd64", "System64/ut-bin"}},
        {Architecture::Arm64, {"SystemARM64/ut-bin-arm64", "SystemARM64/ut-bin"}},
        {Architecture::X86, {"System/ut-bin"}},
    };
    const auto found = programs.find(Host().architecture());
    if (found == programs.end()) {
        GTEST_SKIP() << "no native game for this machine";
    }
    for (const std::string& name : found->second) {
        SCOPED_TRACE(name);
        const fs::path game = MakeGameFolder("UT " + name.substr(name.rfind('/') + 1));
        const fs::path program = game / name;
        fs::create_directories(program.parent_path());
        fs::copy_file(KORVALE_STANDIN_GAME, program);
        // The game's own System folder holds a profile the native game never reads.
        WriteBytes(game / "System" / "User.ini", "Name=Unread\r\n");
        fs::create_directories(m_profile.parent_path());
        WriteBytes(m_profile, kProfile);
        WriteBytes(ProgramPath("UTDir.ini"), PathText(game));

        PlayCommand(Files(), m_folder, m_ui, m_launcher, Host()).PlayUT(m_pick);

        EXPECT_THAT(m_ui.Messages(), IsEmpty());
        EXPECT_EQ(ReadBytes(m_profile), kRewritten);
        EXPECT_EQ(ReadBytes(m_profile.parent_path() / "UserKorvale.old"), kProfile);
        EXPECT_EQ(ReadBytes(game / "System" / "User.ini"), "Name=Unread\r\n");
        EXPECT_FALSE(fs::exists(game / "System" / "UserKorvale.old"));
        const fs::path started = program.parent_path() / "started.txt";
        ASSERT_TRUE(WaitForText(started, "\n", 20)) << "the game did not start";
        EXPECT_THAT(ReadBytes(started), StartsWith(PathText(program) + "\n"));
    }
}

TEST_F(NativeLinuxGameTest, AMissingProfileUnderHomeSaysErrorAndWhere) {
    if (Host().architecture() == Architecture::Other) {
        GTEST_SKIP() << "no native game for this machine";
    }
    for (const char* name : {"System/ut-bin", "System64/ut-bin", "SystemARM64/ut-bin"}) {
        fs::create_directories((GameDir() / name).parent_path());
        WriteBytes(GameDir() / name, "");
    }
    WriteBytes(ProgramPath("UTDir.ini"), GameFolderText());

    PlayCommand(Files(), m_folder, m_ui, m_launcher, Host()).PlayUT(m_pick);

    ASSERT_EQ(m_ui.Messages().size(), 1u);
    EXPECT_EQ(m_ui.Messages()[0].text, "Error");
    EXPECT_THAT(m_ui.Messages()[0].detail, StartsWith(PathText(m_profile) + ": "));
}

}  // namespace
}  // namespace korvale::test
