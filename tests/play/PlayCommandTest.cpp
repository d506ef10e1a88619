#include <string>
#include <system_error>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include "RawFiles.h"
#include "RecordingLauncher.h"
#include "RecordingUi.h"
#include "TempFolders.h"
#include "FixedPick.h"
#include "platform/host/NativeLauncher.h"
#include "play/PlayCommand.h"
#include "settings/GameFolder.h"

namespace korvale::test {
namespace {

namespace fs = std::filesystem;
using Op = FaultyFileOps::Op;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;

const std::string kProfile =
    "[Engine.Input]\r\nNoName=\r\nF1=Name=x\r\n[DefaultPlayer]\r\nName=Player\r\n"
    "[Engine.GameReplicationInfo]\r\n  ngWorldSecret=old  \r\n";

std::string Rewritten(const std::string& name, const std::string& password) {
    return "[Engine.Input]\r\nNoName=\r\nF1=Name=x\r\n[DefaultPlayer]\r\nName=" + name +
           "\r\n[Engine.GameReplicationInfo]\r\nngWorldSecret=" + password + "\r\n";
}

std::string Reason(std::errc error) {
    return std::make_error_code(error).message();
}

class PlayTest : public TempFolders {
protected:
    void SetUp() override {
        TempFolders::SetUp();
        WriteBytes(ProgramPath("UTDir.ini"), GameFolderText());
        WriteBytes(SystemPath("User.ini"), kProfile);
    }
    void Play(UiServices& ui, ProgramLauncher& launcher) {
        PlayCommand(Files(), m_folder, ui, launcher, Host()).PlayUT(m_pick);
    }
    void Play(ProgramLauncher& launcher) { Play(m_ui, launcher); }
    void Play() { m_play.PlayUT(m_pick); }
    std::string Profile() const { return ReadBytes(SystemPath("User.ini")); }
    bool HasBackup() const { return fs::exists(SystemPath("UserKorvale.old")); }
    std::string GameProgram() const { return Native(GameFolderText() + "\\System\\UnrealTournament.exe"); }
    std::string Native(const std::string& path) const { return Files().nativePath(path); }

    FixedPick m_pick{1, "Bob", "pb"};
    RecordingUi m_ui;
    RecordingLauncher m_launcher;
    GameFolder m_folder{Files()};
    PlayCommand m_play{Files(), m_folder, m_ui, m_launcher, Host()};
};

TEST_F(PlayTest, SwitchesTheProfileAndStartsTheGameWhateverTheFolderForm) {
    const std::string root = PathText(Root());
    const struct {
        const char* name;
        std::string folder;   // created under the root, UTF-8
        std::string setting;  // UTDir.ini, Latin-1
        std::string program;  // started, UTF-8
    } cases[] = {
        {"plain", "game", root + "/game", root + "/game\\System\\UnrealTournament.exe"},
        {"final backslash", "game", root + "/game\\", root + "/game\\System\\UnrealTournament.exe"},
        {"spaces in the path", "Unreal Tournament 99", root + "/Unreal Tournament 99",
         root + "/Unreal Tournament 99\\System\\UnrealTournament.exe"},
        {"first of several lines", "game", root + "/game\r\n/elsewhere",
         root + "/game\\System\\UnrealTournament.exe"},
        {"Latin-1 folder name", "Spi\xC3\xA9le", root + "/Spi\xE9le",
         root + "/Spi\xC3\xA9le\\System\\UnrealTournament.exe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path system = MakeGameFolder(c.folder) / "System";
        WriteBytes(system / "User.ini", kProfile);
        fs::remove(system / "UserKorvale.old");
        WriteBytes(ProgramPath("UTDir.ini"), c.setting);
        RecordingUi ui;
        RecordingLauncher launcher;
        Play(ui, launcher);
        EXPECT_THAT(ui.Messages(), IsEmpty());
        EXPECT_EQ(ui.EventRuns(), 1u);
        EXPECT_THAT(launcher.Started(), ElementsAre(Native(c.program)));
        EXPECT_EQ(ReadBytes(system / "User.ini"), Rewritten("Bob", "pb"));
        EXPECT_EQ(ReadBytes(system / "UserKorvale.old"), kProfile);
        EXPECT_EQ(m_folder.gUTDir(), c.setting.substr(0, c.setting.find('\r')));
        EXPECT_EQ(m_folder.gDirIniPath(), PathText(ProgramDir()) + "\\UTDir.ini");
    }
}

TEST_F(PlayTest, NoSelectionOrNoFolderStopsBeforeAnyFileIsTouched) {
    const struct {
        const char* name;
        bool selected;
        std::string setting;
        const char* message;
    } cases[] = {
        {"no selection", false, GameFolderText(), "Please Select a user from the list"},
        {"empty setting file", true, "", "The UT Path Needs to be set"},
        {"spaces only", true, "   ", "The UT Path Needs to be set"},
        {"first line empty", true, "\r\n" + GameFolderText(), "The UT Path Needs to be set"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_pick.index = c.selected ? 1 : -1;
        WriteBytes(ProgramPath("UTDir.ini"), c.setting);
        GameFolder folder(Files());
        RecordingUi ui;
        PlayCommand(Files(), folder, ui, m_launcher, Host()).PlayUT(m_pick);
        EXPECT_THAT(ui.Messages(), ElementsAre(Message{c.message, ""}));
        EXPECT_EQ(ui.EventRuns(), 0u);
        EXPECT_EQ(folder.gDirIniPath(), PathText(ProgramDir()) + "\\UTDir.ini");
        EXPECT_THAT(m_launcher.Started(), IsEmpty());
        EXPECT_EQ(Profile(), kProfile);
        EXPECT_FALSE(HasBackup());
    }
}

TEST_F(PlayTest, AnEmptiedSettingFileLeavesTheFolderInMemory) {
    Play();
    WriteBytes(ProgramPath("UTDir.ini"), "");
    Play();
    EXPECT_THAT(m_ui.Messages(), IsEmpty());
    EXPECT_THAT(m_launcher.Started(), ElementsAre(GameProgram(), GameProgram()));
    EXPECT_EQ(m_folder.gUTDir(), GameFolderText());
}

TEST_F(PlayTest, AMissingFileSaysErrorAndWhich) {
    const struct {
        const char* name;
        fs::path removed;
        std::string setting;
        std::string file;
    } cases[] = {
        {"setting file", ProgramPath("UTDir.ini"), GameFolderText(),
         PathText(ProgramPath("UTDir.ini"))},
        {"game profile", SystemPath("User.ini"), GameFolderText(), PathText(SystemPath("User.ini"))},
        {"wrong game folder", {}, GameFolderText() + "X", GameFolderText() + "X\\System\\User.ini"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(ProgramPath("UTDir.ini"), c.setting);
        WriteBytes(SystemPath("User.ini"), kProfile);
        if (!c.removed.empty()) {
            fs::remove(c.removed);
        }
        RecordingUi ui;
        Play(ui, m_launcher);
        ASSERT_EQ(ui.Messages().size(), 1u);
        EXPECT_EQ(ui.Messages()[0].text, "Error");
        // The file in the host's own form, then the host's reason.
        EXPECT_THAT(ui.Messages()[0].detail, StartsWith(Native(c.file) + ": "));
#ifndef _WIN32
        EXPECT_THAT(ui.Messages()[0].detail,
                    HasSubstr(Reason(std::errc::no_such_file_or_directory)));
#endif
        EXPECT_THAT(m_launcher.Started(), IsEmpty());
        EXPECT_FALSE(HasBackup());
    }
}

TEST_F(PlayTest, ARefusedProfileWriteSaysErrorNamingTheProfile) {
    ops().Inject({.op = Op::Open,
                  .error = std::errc::permission_denied,
                  .pathContains = "System/User.ini",
                  .opened = FaultyFileOps::Opened::ForWriting});
    Play();
    EXPECT_EQ(ops().Injected(), 1u);
    EXPECT_THAT(m_ui.Messages(),
                ElementsAre(Message{"Error", PathText(SystemPath("User.ini")) + ": " +
                                                 Reason(std::errc::permission_denied)}));
    EXPECT_EQ(Profile(), kProfile);
    EXPECT_THAT(m_launcher.Started(), IsEmpty());
}

TEST_F(PlayTest, AFailureMidRewriteLeavesTheOldProfileByteForByte) {
    std::string big;  // several buffers' worth, so that a failure can fall in the middle
    for (int i = 0; big.size() < 1000000; ++i) {
        big += "[Section" + std::to_string(i) + "]\r\n  Key=\xE9\x80 value \r\nName=Old\r\n";
    }
    const struct {
        const char* name;
        FaultyFileOps::Fault fault;
        fs::path failing;
    } cases[] = {
        {"first write",
         {.op = Op::Write, .pathContains = "System/User.ini"},
         SystemPath("User.ini")},
        {"later write",
         {.op = Op::Write, .nth = 3, .pathContains = "System/User.ini"},
         SystemPath("User.ini")},
        {"backup read",
         {.op = Op::Read,
          .nth = 2,
          .error = std::errc::io_error,
          .pathContains = "UserKorvale.old"},
         SystemPath("UserKorvale.old")},
        {"profile close",
         {.op = Op::Close, .nth = 2, .pathContains = "System/User.ini"},
         SystemPath("User.ini")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(SystemPath("User.ini"), big);
        ops().Clear();
        ops().Inject(c.fault);
        const std::size_t injected = ops().Injected();
        RecordingUi ui;
        Play(ui, m_launcher);
        EXPECT_EQ(ops().Injected(), injected + 1);
        ASSERT_EQ(ui.Messages().size(), 1u);
        EXPECT_EQ(ui.Messages()[0].text, "Error");
        EXPECT_THAT(ui.Messages()[0].detail, StartsWith(PathText(c.failing) + ": "));
        EXPECT_THAT(ui.Messages()[0].detail, Not(HasSubstr("previous profile")));
        EXPECT_TRUE(Profile() == big) << "the profile was not restored";
        EXPECT_THAT(m_launcher.Started(), IsEmpty());
    }
}

TEST_F(PlayTest, WhenTheRestoreFailsTooTheMessageSaysWhereThePreviousProfileIs) {
    ops().Inject({.op = Op::Write, .pathContains = "System/User.ini", .times = 0});
    Play();
    EXPECT_THAT(m_ui.Messages(),
                ElementsAre(Message{"Error", PathText(SystemPath("User.ini")) + ": " +
                                                 Reason(std::errc::no_space_on_device) +
                                                 "\nThe previous profile is in " +
                                                 PathText(SystemPath("UserKorvale.old")) + "."}));
    EXPECT_EQ(ReadBytes(SystemPath("UserKorvale.old")), kProfile);
    EXPECT_THAT(m_launcher.Started(), IsEmpty());
}

TEST_F(PlayTest, ARefusedStartSaysErrorAndKeepsTheRewrite) {
    m_launcher.Refuse("No such file or directory");
    Play();
    EXPECT_THAT(m_ui.Messages(),
                ElementsAre(Message{"Error", GameProgram() + ": No such file or directory"}));
    EXPECT_EQ(Profile(), Rewritten("Bob", "pb"));
}

TEST_F(PlayTest, TwoPlaysInARowBackUpTheFirstRewrite) {
    Play();
    m_pick = {0, "Alice", "pa"};
    Play();
    EXPECT_THAT(m_ui.Messages(), IsEmpty());
    EXPECT_EQ(m_launcher.Started().size(), 2u);
    EXPECT_EQ(ReadBytes(SystemPath("UserKorvale.old")), Rewritten("Bob", "pb"));
    EXPECT_EQ(Profile(), Rewritten("Alice", "pa"));
}

TEST_F(PlayTest, TheListTextsAreWrittenAsTheyStand) {
    m_pick.playerName = "  J\xF6rg, the 2nd ";
    m_pick.playerPassword = "";
    Play();
    EXPECT_EQ(Profile(), Rewritten("  J\xF6rg, the 2nd ", ""));
}

TEST_F(PlayTest, APlayRequestedDuringTheEventStepDoesNotRun) {
    m_ui.OnProcessEvents([&] {
        if (m_ui.EventRuns() == 1) {
            Play();  // a second click, queued while the first Play runs
        }
    });
    Play();
    EXPECT_THAT(m_ui.Messages(), IsEmpty());
    EXPECT_EQ(m_ui.EventRuns(), 1u);
    EXPECT_THAT(m_launcher.Started(), ElementsAre(GameProgram()));
    EXPECT_EQ(ReadBytes(SystemPath("UserKorvale.old")), kProfile);
    EXPECT_EQ(Profile(), Rewritten("Bob", "pb"));

    // Once it is over, failed or not, the next Play runs.
    m_ui.OnProcessEvents({});
    fs::remove(SystemPath("User.ini"));
    Play();
    WriteBytes(SystemPath("User.ini"), kProfile);
    Play();
    EXPECT_EQ(m_ui.Messages().size(), 1u);
    EXPECT_EQ(m_launcher.Started().size(), 2u);
}

TEST_F(PlayTest, ASaveDuringTheEventStepDoesNotSplitThePlayAcrossFolders) {
    const fs::path other = MakeGameFolder("other");
    WriteBytes(other / "System" / "User.ini", "Name=Other\r\n");
    m_ui.OnProcessEvents([&] { m_folder.SaveUTDir(PathText(other)); });
    Play();
    EXPECT_THAT(m_ui.Messages(), IsEmpty());
    EXPECT_EQ(Profile(), Rewritten("Bob", "pb"));
    EXPECT_THAT(m_launcher.Started(), ElementsAre(GameProgram()));
    EXPECT_EQ(ReadBytes(other / "System" / "User.ini"), "Name=Other\r\n");
    EXPECT_FALSE(fs::exists(other / "System" / "UserKorvale.old"));
    EXPECT_EQ(m_folder.gUTDir(), PathText(other));
}

TEST_F(PlayTest, WhenTheProgramEndsDuringTheEventStepTheProfileIsLeftAlone) {
    m_ui.EndProgram();
    Play();
    EXPECT_THAT(m_ui.Messages(), IsEmpty());
    EXPECT_EQ(m_ui.EventRuns(), 1u);
    EXPECT_EQ(Profile(), kProfile);
    EXPECT_THAT(m_launcher.Started(), IsEmpty());
}

TEST_F(PlayTest, ALinkedProfileStaysLinkedWithItsMode) {
    KORVALE_POSIX_ONLY();
    fs::create_directory(Root() / "profiles");
    fs::rename(SystemPath("User.ini"), Root() / "profiles" / "User.ini");
    fs::create_symlink("../../profiles/User.ini", SystemPath("User.ini"));
    fs::permissions(Root() / "profiles" / "User.ini", fs::perms(0640));
    fs::create_hard_link(Root() / "profiles" / "User.ini", Root() / "profiles" / "Clan.ini");
    Play();
    EXPECT_THAT(m_ui.Messages(), IsEmpty());
    ASSERT_TRUE(fs::is_symlink(SystemPath("User.ini")));
    EXPECT_EQ(fs::read_symlink(SystemPath("User.ini")), "../../profiles/User.ini");
    EXPECT_EQ(fs::hard_link_count(Root() / "profiles" / "User.ini"), 2u);
    EXPECT_EQ(ReadBytes(Root() / "profiles" / "Clan.ini"), Rewritten("Bob", "pb"));
    EXPECT_EQ(fs::status(SystemPath("User.ini")).permissions() & fs::perms::mask, fs::perms(0640));
    EXPECT_FALSE(fs::is_symlink(SystemPath("UserKorvale.old")));
    EXPECT_EQ(ReadBytes(SystemPath("UserKorvale.old")), kProfile);

    // A failed rewrite puts the old bytes back through the same link.
    ops().Inject({.op = Op::Write, .pathContains = "System/User.ini"});
    Play();
    EXPECT_EQ(m_ui.Messages().size(), 1u);
    EXPECT_TRUE(fs::is_symlink(SystemPath("User.ini")));
    EXPECT_EQ(ReadBytes(Root() / "profiles" / "Clan.ini"), Rewritten("Bob", "pb"));
}

TEST_F(PlayTest, StartsTheRealGameByItsExactPathWithoutWaitingForIt) {
    const fs::path folder = MakeGameFolder("Unreal Tournament");
    const fs::path system = folder / "System";
    fs::copy_file(KORVALE_STANDIN_GAME, system / "UnrealTournament.exe");
    WriteBytes(system / "User.ini", kProfile);
    WriteBytes(system / "hold.txt", "");
    WriteBytes(ProgramPath("UTDir.ini"), PathText(folder));
    NativeLauncher launcher;
    Play(launcher);
    EXPECT_THAT(m_ui.Messages(), IsEmpty());
    ASSERT_TRUE(WaitForText(system / "started.txt", "\n", 20)) << "the game did not start";
    ASSERT_TRUE(WaitForText(system / "started.txt", PathText(fs::current_path()) + "\n", 5));
    EXPECT_EQ(ReadBytes(system / "started.txt"), PathText(system / "UnrealTournament.exe") + "\n" +
                                                     PathText(fs::current_path()) + "\n");
#ifndef _WIN32
    int status = 0;
    EXPECT_EQ(::waitpid(-1, &status, WNOHANG), -1) << "the game is a child left to reap";
#endif
    WriteBytes(system / "release.txt", "");
    EXPECT_TRUE(WaitForText(system / "started.txt", "done\n", 40));
}

}  // namespace
}  // namespace korvale::test
