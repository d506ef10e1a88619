// The native Linux game (469c and later) reads its profile under $HOME, else beside its own
// program, and is started by that program; the test's own HOME stands in for the user's. POSIX
// only.
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FakeHost.h"
#include "FixedPick.h"
#include "RawFiles.h"
#include "RecordingLauncher.h"
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
const std::string kFirstStart =
    "Unreal Tournament makes this profile when it first starts. Start the game once, then Play.";

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

// The game takes the profile under HOME when there is one, else its own folder's, and makes the
// first at its first start: Play switches the one it takes, with the backup, the lock and the
// leftovers beside it, and touches nothing else.
TEST_F(NativeLinuxGameTest, SwitchesTheProfileTheGameFindsFirst) {
    const std::pair<const char*, Architecture> natives[] = {
        {"System64/ut-bin-amd64", Architecture::X86_64},
        {"SystemARM64/ut-bin-arm64", Architecture::Arm64},
        {"System/ut-bin", Architecture::X86}};
    const auto key = [&](const fs::path& file) {
        return PathText(file.lexically_relative(Root()));
    };
    for (const auto& [name, architecture] : natives) {
        for (const auto& [inHome, inOwn] : {std::pair{false, true}, {true, true}, {false, false}}) {
            SCOPED_TRACE(std::string(name) + (inHome ? ", home" : "") + (inOwn ? ", own" : ""));
            fs::remove_all(m_home);
            fs::remove_all(GameDir());
            const fs::path program = MakeGameFolder("game") / name;
            const fs::path own = program.parent_path() / "User.ini";
            fs::create_directories(m_profile.parent_path());
            fs::create_directories(program.parent_path());
            WriteBytes(program, "");
            for (const auto& [present, profile] : {std::pair{inHome, m_profile}, {inOwn, own}}) {
                if (present) {
                    WriteBytes(profile, kProfile);
                    WriteBytes(fs::path(profile) += ".korvale-new-1", "left by a stop");
                }
            }
            WriteBytes(ProgramPath("UTDir.ini"), GameFolderText());
            auto expected = FolderBytes(Root());
            std::vector<Message> messages{{"Error", PathText(m_profile) + ": " + kFirstStart}};
            std::vector<std::string> started;
            if (inHome || inOwn) {
                const fs::path switched = inHome ? m_profile : own;
                expected[key(switched)] = kRewritten;
                expected[key(switched.parent_path() / "UserKorvale.old")] = kProfile;
                expected[key(switched) + ".korvale-lock"] = "";
                expected.erase(key(switched) + ".korvale-new-1");
                messages.clear();
                started.push_back(PathText(program));
            }
            RecordingUi ui;
            RecordingLauncher launcher;
            const FakeHost host(HostEnvironment::System::Linux, architecture, PathText(m_home));

            PlayCommand(Files(), m_folder, ui, launcher, host).PlayUT(m_pick);

            EXPECT_EQ(ui.Messages(), messages);
            EXPECT_EQ(launcher.Started(), started);
            EXPECT_EQ(FolderBytes(Root()), expected);
        }
    }
}

}  // namespace
}  // namespace korvale::test
