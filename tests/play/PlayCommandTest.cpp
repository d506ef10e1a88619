#include <string>
#include <system_error>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <set>
#include <thread>

#include "FixedPick.h"
#include "OutsideProgram.h"
#include "RawFiles.h"
#include "RecordingLauncher.h"
#include "RecordingUi.h"
#include "TempFolders.h"
#include "platform/host/NativeFileOps.h"
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
    bool Play(UiServices& ui, ProgramLauncher& launcher) {
        return PlayCommand(Files(), m_folder, ui, launcher, Host()).PlayUT(m_pick);
    }
    bool Play(ProgramLauncher& launcher) { return Play(m_ui, launcher); }
    bool Play() { return m_play.PlayUT(m_pick); }
    std::string Profile() const { return ReadBytes(SystemPath("User.ini")); }
    bool HasBackup() const { return fs::exists(SystemPath("UserKorvale.old")); }
    static std::set<std::string> FilesIn(const fs::path& folder) {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }
    std::string GameProgram() const {
        return Native(GameFolderText() + "\\System\\UnrealTournament.exe");
    }
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
        EXPECT_TRUE(Play(ui, launcher));
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
        EXPECT_FALSE(PlayCommand(Files(), folder, ui, m_launcher, Host()).PlayUT(m_pick));
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
    m_launcher.Finish();
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
        {"game profile", SystemPath("User.ini"), GameFolderText(),
         PathText(SystemPath("User.ini"))},
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
        EXPECT_FALSE(Play(ui, m_launcher));
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

TEST_F(PlayTest, ARefusedStartSaysErrorAndKeepsTheRewrite) {
    m_launcher.Refuse("No such file or directory");
    EXPECT_FALSE(Play());
    EXPECT_THAT(m_ui.Messages(),
                ElementsAre(Message{"Error", GameProgram() + ": No such file or directory"}));
    EXPECT_EQ(Profile(), Rewritten("Bob", "pb"));
}

TEST_F(PlayTest, TwoPlaysInARowBackUpTheFirstRewriteOnceTheGameHasEnded) {
    Play();
    m_pick = {0, "Alice", "pa"};
    EXPECT_FALSE(Play());
    EXPECT_THAT(m_ui.Messages(), ElementsAre(Message{"Unreal Tournament is already running", ""}));
    EXPECT_EQ(m_ui.EventRuns(), 1u);
    EXPECT_EQ(ReadBytes(SystemPath("UserKorvale.old")), kProfile);
    EXPECT_EQ(Profile(), Rewritten("Bob", "pb"));

    m_launcher.Finish();
    Play();
    EXPECT_EQ(m_ui.Messages().size(), 1u);
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
            EXPECT_FALSE(Play());  // a second click, queued while the first Play runs
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
    m_launcher.Finish();
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
    EXPECT_FALSE(Play());
    EXPECT_THAT(m_ui.Messages(), IsEmpty());
    EXPECT_EQ(m_ui.EventRuns(), 1u);
    EXPECT_EQ(Profile(), kProfile);
    EXPECT_THAT(m_launcher.Started(), IsEmpty());
}

TEST_F(PlayTest, ASymbolicLinkToTheProfileStaysALinkAndItsTargetKeepsModeAndOwner) {
    KORVALE_POSIX_ONLY();
    const fs::path profiles = Root() / "profiles";
    const fs::path real = profiles / "User.ini";
    fs::create_directory(profiles);
    fs::rename(SystemPath("User.ini"), real);
    fs::create_symlink("../../profiles/User.ini", SystemPath("User.ini"));
    fs::permissions(real, fs::perms(0640));
#ifndef _WIN32
    // Another user's profile, where the test may give files away (as root).
    const bool owned = ::geteuid() == 0 && ::chown(real.c_str(), 4321, 4322) == 0;
#endif
    Play();
    EXPECT_THAT(m_ui.Messages(), IsEmpty());
    ASSERT_TRUE(fs::is_symlink(SystemPath("User.ini")));
    EXPECT_EQ(fs::read_symlink(SystemPath("User.ini")), "../../profiles/User.ini");
    EXPECT_EQ(ReadBytes(real), Rewritten("Bob", "pb"));
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::mask, fs::perms(0640));
#ifndef _WIN32
    struct stat status {};
    ASSERT_EQ(::stat(real.c_str(), &status), 0);
    if (owned) {
        EXPECT_EQ(status.st_uid, 4321u);
        EXPECT_EQ(status.st_gid, 4322u);
    }
#endif
    EXPECT_FALSE(fs::is_symlink(SystemPath("UserKorvale.old")));
    EXPECT_EQ(ReadBytes(SystemPath("UserKorvale.old")), kProfile);
    EXPECT_EQ(fs::status(SystemPath("UserKorvale.old")).permissions() & fs::perms::mask,
              fs::perms(0640))
        << "the backup holds the password too";
    EXPECT_THAT(FilesIn(profiles), ElementsAre("User.ini", "User.ini.korvale-lock"));
}

TEST_F(PlayTest, AProfileWithOtherHardLinksIsReplacedAndTheOtherNamesKeepThePreviousOne) {
    fs::create_hard_link(SystemPath("User.ini"), Root() / "Clan.ini");
    Play();
    EXPECT_THAT(m_ui.Messages(), IsEmpty());
    EXPECT_EQ(Profile(), Rewritten("Bob", "pb"));
    EXPECT_EQ(ReadBytes(Root() / "Clan.ini"), kProfile);
    EXPECT_EQ(ReadBytes(SystemPath("UserKorvale.old")), kProfile);
}

TEST_F(PlayTest, APlayOfAProfileAnotherProcessIsPlayingChangesNothing) {
    KORVALE_POSIX_ONLY();
#ifndef _WIN32
    // Another Korvale holds the lock of this profile, as a Play of its own does.
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t other = ::fork();
    ASSERT_GE(other, 0);
    if (other == 0) {
        NativeFileOps host;
        const auto held = host.lock(PathText(SystemPath("User.ini.korvale-lock")));
        const char answer = held ? 'y' : 'n';
        [[maybe_unused]] const auto written = ::write(ready[1], &answer, 1);
        ::pause();  // until killed
        ::_exit(0);
    }
    ::close(ready[1]);
    char answer = 0;
    ASSERT_EQ(::read(ready[0], &answer, 1), 1);
    ::close(ready[0]);
    ASSERT_EQ(answer, 'y');

    EXPECT_FALSE(Play());
    EXPECT_THAT(m_ui.Messages(),
                ElementsAre(Message{"Another Play of this game folder is running", ""}));
    EXPECT_EQ(m_ui.EventRuns(), 0u);
    EXPECT_EQ(Profile(), kProfile);
    EXPECT_FALSE(HasBackup());
    EXPECT_THAT(m_launcher.Started(), IsEmpty());

    // Killed, it holds nothing: the host let the lock go.
    ::kill(other, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(other, &status, 0), other);
    Play();
    EXPECT_EQ(m_ui.Messages().size(), 1u);
    EXPECT_EQ(Profile(), Rewritten("Bob", "pb"));
    EXPECT_THAT(m_launcher.Started(), ElementsAre(GameProgram()));
#endif
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
    // While it runs, a Play changes nothing; once it has ended, Play runs again.
    const std::string game = PathText(system / "UnrealTournament.exe");
    EXPECT_TRUE(launcher.isRunning(game));
    Play(launcher);
    EXPECT_THAT(m_ui.Messages(), ElementsAre(Message{"Unreal Tournament is already running", ""}));
    EXPECT_EQ(ReadBytes(system / "UserKorvale.old"), kProfile);
    WriteBytes(system / "release.txt", "");
    EXPECT_TRUE(WaitForText(system / "started.txt", "done\n", 40));
    for (int tries = 0; tries < 400 && launcher.isRunning(game); ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
#ifndef _WIN32
    // Once it has ended, it is reaped: no zombie is left (WNOWAIT only looks).
    siginfo_t zombie{};
    for (int tries = 0; tries < 400; ++tries) {
        zombie = {};
        if (::waitid(P_ALL, 0, &zombie, WEXITED | WNOHANG | WNOWAIT) != 0 || zombie.si_pid == 0) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(zombie.si_pid, 0) << "the game is a zombie left to reap";
#endif
    fs::remove(system / "hold.txt");
    Play(launcher);
    EXPECT_EQ(m_ui.Messages().size(), 1u);
    EXPECT_EQ(ReadBytes(system / "UserKorvale.old"), Rewritten("Bob", "pb"));
}

// Started by a shortcut or another launcher, the game writes its profile just the same.
TEST_F(PlayTest, AGameStartedElsewhereStopsAPlayUntilItHasEnded) {
    const fs::path system = GameDir() / "System";
    const std::string program = PathText(system / "UnrealTournament.exe");
    fs::copy_file(KORVALE_STANDIN_GAME, system / "UnrealTournament.exe");
    WriteBytes(system / "hold.txt", "");
    NativeLauncher launcher;
    {
        OutsideProgram game({program}, system);
        ASSERT_TRUE(WaitForText(system / "started.txt", "\n")) << "the game did not start";
        const auto before = FolderBytes(Root());
        Play(launcher);
        EXPECT_THAT(m_ui.Messages(),
                    ElementsAre(Message{"Unreal Tournament is already running", ""}));
        EXPECT_EQ(FolderBytes(Root()), before);
        WriteBytes(system / "release.txt", "");
        ASSERT_TRUE(game.WaitForEnd());
    }
    fs::remove(system / "hold.txt");
    Play(launcher);
    EXPECT_EQ(m_ui.Messages().size(), 1u);
    EXPECT_EQ(Profile(), Rewritten("Bob", "pb"));
    // The game started by that Play ends at once: its folder can go only then.
    for (int tries = 0; tries < 400 && launcher.isRunning(program); ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
}

}  // namespace
}  // namespace korvale::test
