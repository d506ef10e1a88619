// Every file operation of each entry point made to fail in turn, and what must hold after each:
// no profile, backup, setting or player record is ever left half written, the player lists stay
// paired, the right message is asked for, and no file is left open.
#include <functional>
#include <optional>
#include <set>
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
#include "platform/host/NativeFileOps.h"
#include "play/PlayCommand.h"
#include "play/ProfileRewrite.h"
#include "settings/GameFolder.h"
#include "settings/Identities.h"

namespace korvale::test {
namespace {

namespace fs = std::filesystem;
using Op = FaultyFileOps::Op;
using List = std::vector<Player>;
using ::testing::AnyOf;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::EndsWith;
using ::testing::Eq;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;

std::string Reason(std::errc error) {
    return std::make_error_code(error).message();
}

// A profile larger than the file layer's buffers, so reads and writes come in several pieces,
// with every kind of line the rewrite treats: keys, near-keys, spaces to trim, bare LF.
std::string LargeProfile() {
    std::string profile = "[DefaultPlayer]\r\nName=Player\r\n  name=lower  \r\n";
    for (int line = 0; profile.size() < 150 * 1024; ++line) {
        profile += line % 7 == 0    ? "  Setting" + std::to_string(line) + "=spaced  \r\n"
                   : line % 11 == 0 ? "NoName=\n"
                                    : "Aliases[" + std::to_string(line) +
                                          "]=(Command=\"Button bFire | Fire\",Alias=Fire)\r\n";
    }
    profile += "[Engine.GameReplicationInfo]\r\nngWorldSecret=old\r\nNAME=kept";
    return profile;
}

// The rewrite the profile must get: what the rewrite makes of it on a file layer that never fails.
std::string Rewritten(const fs::path& folder, const std::string& profile, const std::string& name,
                      const std::string& password) {
    NativeFileOps native;
    const FileSystem files(native, PathText(folder));
    {
        TextStream output = files.CreateTextFile(files.programFile("expected.out"));
        RewriteProfile(profile, output, name, password);
        output.Close();
    }
    return ReadBytes(folder / "expected.out");
}

std::string PlayerRecords(std::size_t count) {
    std::string records;
    for (std::size_t record = 0; record < count; ++record) {
        records += (record > 0 ? "\r\n" : "") + ("Player" + std::to_string(record)) + ",pw" +
                   std::to_string(record);
    }
    return records;
}

// How one run was made to fail, if it was.
struct Injection {
    bool faulted = false;
    std::errc error = std::errc::no_space_on_device;
    bool diskStaysFull = false;  // every write from the failing one on fails too
};

class EveryOperationTest : public TempFolders {
protected:
    // Runs `act` once without a fault, then once for each operation it made with that operation
    // failing (disk full, then access denied); with `writes`, also once for each write with the
    // disk staying full from that write on. `arrange` lays out the files before every run and
    // `check` judges every run.
    void ForEveryOperation(const std::function<void()>& arrange, const std::function<void()>& act,
                           const std::function<void(const Injection&)>& check, bool writes = true) {
        std::size_t operations = 0;  // those of the last `act`
        const auto run = [&](const std::optional<FaultyFileOps::Fault>& fault) {
            Reset();
            arrange();
            if (fault) {
                ops().Inject(*fault);
            }
            const std::size_t injected = ops().Injected();
            const std::size_t before = ops().Operations();
            act();
            operations = ops().Operations() - before;
            ops().Clear();
            EXPECT_EQ(ops().OpenHandles(), 0u) << "a file was left open";
            return ops().Injected() - injected;
        };

        run(std::nullopt);
        const std::size_t total = operations;
        ASSERT_GT(total, 0u);
        check(Injection{});

        for (const std::errc error :
             {std::errc::no_space_on_device, std::errc::permission_denied}) {
            for (std::size_t nth = 1; nth <= total; ++nth) {
                SCOPED_TRACE("operation " + std::to_string(nth) + " of " + std::to_string(total) +
                             " fails: " + Reason(error));
                ASSERT_EQ(run(FaultyFileOps::Fault{.nth = nth, .error = error, .anyOp = true}), 1u)
                    << "the operations differ from run to run";
                check(Injection{.faulted = true, .error = error});
                if (HasFatalFailure()) {
                    return;
                }
            }
        }

        for (std::size_t nth = 1; writes; ++nth) {
            SCOPED_TRACE("disk full from write " + std::to_string(nth) + " on");
            const std::size_t failed =
                run(FaultyFileOps::Fault{.op = Op::Write, .nth = nth, .times = 0});
            if (failed == 0) {
                ASSERT_GT(nth, 1u) << "nothing was written";
                break;  // past the last write: the run succeeded and was checked above
            }
            check(Injection{.faulted = true, .diskStaysFull = true});
            if (HasFatalFailure()) {
                return;
            }
        }
    }

    // The two folders emptied and the program-wide values and the windows' state as at start-up.
    void Reset() {
        for (const fs::path& folder : {ProgramDir(), GameDir() / "System"}) {
            fs::remove_all(folder);
            fs::create_directories(folder);
        }
        m_folder = GameFolder(Files());
        m_players.emplace(Files());
        m_ui = RecordingUi();
        m_launcher = RecordingLauncher();
        m_failure.reset();
        m_insertedAt.reset();
    }

    // Runs a step that passes file failures on, keeping what it raised.
    void Catching(const std::function<void()>& step) {
        try {
            step();
        } catch (const FileError& error) {
            m_failure = error.what();
        }
    }

    std::set<std::string> FilesIn(const fs::path& folder) const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    // The files of the game's System folder but the lock, which stays once made.
    std::set<std::string> GameFiles() const {
        std::set<std::string> names = FilesIn(GameDir() / "System");
        names.erase("User.ini.korvale-lock");
        return names;
    }

    std::string Native(const fs::path& path) { return ops().nativeForm(PathText(path)); }

    // A failure is raised as "<file>: <reason>", naming a file of this test.
    void ExpectFailureText(const std::string& text, const Injection& injection) {
        EXPECT_THAT(text, StartsWith(Native(Root())));
        EXPECT_THAT(text, EndsWith(": " + Reason(injection.error)));
    }

    void ExpectListHolds(const List& players) {
        EXPECT_THAT(List(m_players->begin(), m_players->end()), ElementsAreArray(players));
    }

    // A Play's files: a profile larger than the buffers, and an older backup.
    void ArrangePlay() {
        WriteBytes(ProgramPath("UTDir.ini"), GameFolderText());
        WriteBytes(SystemPath("User.ini"), m_profile);
        WriteBytes(SystemPath("UserKorvale.old"), kOldBackup);
    }
    void PlayBob() {
        PlayCommand(Files(), m_folder, m_ui, m_launcher, Host()).PlayUT(FixedPick{1, "Bob", "pb"});
    }

    static constexpr std::string_view kOldBackup = "[DefaultPlayer]\r\nName=Before\r\n";
    const std::string m_profile = LargeProfile();
    GameFolder m_folder{Files()};
    std::optional<Identities> m_players;
    RecordingUi m_ui;
    RecordingLauncher m_launcher;
    std::optional<std::string> m_failure;
    std::optional<std::size_t> m_insertedAt;
};

TEST_F(EveryOperationTest, PlayLeavesTheProfileOldOrWhollyRewrittenAndTheBackupOldOrWhole) {
    const std::string& profile = m_profile;
    const std::string rewritten = Rewritten(Root(), profile, "Bob", "pb");
    const std::string oldBackup(kOldBackup);
    const auto arrange = [&] { ArrangePlay(); };
    const auto act = [&] { PlayBob(); };
    const auto check = [&](const Injection& injection) {
        const std::string nowProfile = ReadBytes(SystemPath("User.ini"));
        const std::string nowBackup = ReadBytes(SystemPath("UserKorvale.old"));
        EXPECT_THAT(GameFiles(), ElementsAre("User.ini", "UserKorvale.old"))
            << "a temporary file was left behind";
        EXPECT_EQ(ReadBytes(ProgramPath("UTDir.ini")), GameFolderText());
        EXPECT_THAT(nowBackup, AnyOf(Eq(oldBackup), Eq(profile))) << "the backup is not whole";
        // Letting the lock go is the last step; its close can fail with nothing left to report.
        if (!injection.faulted || m_ui.Messages().empty()) {
            EXPECT_EQ(nowProfile, rewritten);
            EXPECT_EQ(nowBackup, profile);
            EXPECT_THAT(m_ui.Messages(), IsEmpty());
            EXPECT_THAT(m_launcher.Started(),
                        ElementsAre(Native(SystemPath("UnrealTournament.exe"))));
            return;
        }
        EXPECT_THAT(m_launcher.Started(), IsEmpty()) << "the game started after a failure";
        ASSERT_EQ(m_ui.Messages().size(), 1u);
        const Message& message = m_ui.Messages().front();
        EXPECT_EQ(message.text, "Error");
        EXPECT_THAT(nowProfile, AnyOf(Eq(profile), Eq(rewritten))) << "the profile is not whole";
        EXPECT_THAT(message.detail, Not(HasSubstr("\n")));
        ExpectFailureText(message.detail, injection);
    };
    ForEveryOperation(arrange, act, check);
}

TEST_F(EveryOperationTest, PlayStoppedDeadAnywhereLeavesWholeFilesAndTheNextPlayFinishesTheSwitch) {
    const std::string& profile = m_profile;
    const std::string rewritten = Rewritten(Root(), profile, "Bob", "pb");
    const std::string oldBackup(kOldBackup);
    // Another name of the profile's file, outside the folder the Play clears.
    const fs::path otherName = GameDir() / "Shared.ini";
    for (const bool linked : {false, true}) {
        SCOPED_TRACE(linked ? "the profile has another hard link" : "the profile has one name");
        const auto arrange = [&] {
            ArrangePlay();
            fs::remove(otherName);
            if (linked) {
                fs::create_hard_link(SystemPath("User.ini"), otherName);
            }
        };
        Reset();
        arrange();
        const std::size_t before = ops().Steps();
        PlayBob();
        const std::size_t steps = ops().Steps() - before;
        ASSERT_EQ(ReadBytes(SystemPath("User.ini")), rewritten);

        for (std::size_t step = 0; step < steps; ++step) {
            SCOPED_TRACE("stopped dead after " + std::to_string(step) + " of " +
                         std::to_string(steps) + " operations");
            Reset();
            arrange();
            ops().KillAfter(step);
            try {
                PlayBob();
            } catch (const Killed&) {
            }
            ASSERT_TRUE(ops().Dead());
            ops().Reap();
            const std::string nowProfile = ReadBytes(SystemPath("User.ini"));
            EXPECT_THAT(nowProfile, AnyOf(Eq(profile), Eq(rewritten)))
                << "the profile is not whole";
            EXPECT_THAT(ReadBytes(SystemPath("UserKorvale.old")), AnyOf(Eq(oldBackup), Eq(profile)))
                << "the backup is not whole";
            if (!m_launcher.Started().empty()) {
                EXPECT_EQ(nowProfile, rewritten) << "the game started on the old profile";
            }

            m_launcher = RecordingLauncher();
            PlayBob();
            EXPECT_THAT(m_ui.Messages(), IsEmpty());
            EXPECT_EQ(ReadBytes(SystemPath("User.ini")), rewritten);
            EXPECT_THAT(ReadBytes(SystemPath("UserKorvale.old")),
                        AnyOf(Eq(profile), Eq(rewritten)));
            EXPECT_THAT(GameFiles(), ElementsAre("User.ini", "UserKorvale.old"))
                << "what the stopped Play left was not cleared";
            EXPECT_EQ(m_launcher.Started().size(), 1u);
            if (linked) {
                EXPECT_EQ(ReadBytes(otherName), profile) << "the other name lost its profile";
            }
            if (HasFailure()) {
                return;
            }
        }
    }
}

TEST_F(EveryOperationTest, SaveUTDirLeavesTheOldOrTheNewFolderInTheFileAndInMemory) {
    const struct {
        const char* name;
        std::optional<std::string> file;  // UTDir.ini before the save; none when missing
    } cases[] = {
        {"folder saved before", "C:\\Games\\Old"},
        {"empty setting file", ""},
        {"no setting file", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string before;  // the folder in memory before the save
        const auto arrange = [&] {
            m_folder.SetDirIniPath();
            if (c.file) {
                WriteBytes(ProgramPath("UTDir.ini"), *c.file);
                m_folder.refresh();
            }
            before = m_folder.gUTDir();
        };
        const auto act = [&] { Catching([&] { m_folder.SaveUTDir("  D:\\Games\\New  "); }); };
        const auto check = [&](const Injection& injection) {
            const bool exists = fs::exists(ProgramPath("UTDir.ini"));
            EXPECT_THAT(FilesIn(ProgramDir()),
                        exists ? std::set<std::string>{"UTDir.ini"} : std::set<std::string>{});
            if (!injection.faulted) {
                EXPECT_FALSE(m_failure);
                EXPECT_EQ(ReadBytes(ProgramPath("UTDir.ini")), "D:\\Games\\New");
                EXPECT_EQ(m_folder.gUTDir(), "D:\\Games\\New");
                return;
            }
            ASSERT_TRUE(m_failure) << "a failed save went unreported";
            ExpectFailureText(*m_failure, injection);
            EXPECT_EQ(m_folder.gUTDir(), before);
            EXPECT_EQ(exists, c.file.has_value());
            if (exists && c.file) {
                EXPECT_EQ(ReadBytes(ProgramPath("UTDir.ini")), *c.file);
            }
        };
        ForEveryOperation(arrange, act, check);
        if (HasFatalFailure()) {
            return;
        }
    }
}

TEST_F(EveryOperationTest, AppendPlayerLeavesTheOldRecordsOrAddsTheWholeNewOne) {
    const struct {
        const char* name;
        std::optional<std::string> file;  // User.ini before; none when missing
        std::string after;                // User.ini after a successful append
        std::size_t index;                // where the new player goes into the list
    } cases[] = {
        {"records before", PlayerRecords(3), PlayerRecords(3) + "\r\nCarol,pc", 3},
        {"a file larger than the buffers", PlayerRecords(9000),
         PlayerRecords(9000) + "\r\nCarol,pc", 9000},
        {"0 bytes", "", "Carol,pc", 0},
        {"no file", std::nullopt, "Carol,pc", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto act = [&] {
            Catching([&] { m_insertedAt = m_players->AppendPlayer({" Carol ", " pc "}); });
        };
        const auto arrange = [&] {
            if (c.file) {
                WriteBytes(ProgramPath("User.ini"), *c.file);
            }
            m_players->LoadPlayers();
        };
        const auto check = [&](const Injection& injection) {
            const bool exists = fs::exists(ProgramPath("User.ini"));
            std::set<std::string> files = FilesIn(ProgramDir());
            files.erase("User.ini.korvale-lock");  // stays once made
            EXPECT_THAT(files,
                        exists ? std::set<std::string>{"User.ini"} : std::set<std::string>{});
            // Only the release of the file's lock may fail unseen, the append being whole then.
            if (!injection.faulted || !m_failure) {
                EXPECT_FALSE(m_failure);
                EXPECT_EQ(ReadBytes(ProgramPath("User.ini")), c.after);
                EXPECT_EQ(m_insertedAt, c.index);
                return;
            }
            ExpectFailureText(*m_failure, injection);
            EXPECT_FALSE(m_insertedAt) << "the list was told of a record that is not there";
            // A missing file may be left created and empty: it holds no record either way.
            EXPECT_EQ(exists ? ReadBytes(ProgramPath("User.ini")) : "", c.file.value_or(""));
        };
        ForEveryOperation(arrange, act, check);
        if (HasFatalFailure()) {
            return;
        }
    }
}

TEST_F(EveryOperationTest, LoadUTDirSetsTheFolderOnlyFromAWholeRead) {
    const struct {
        const char* name;
        std::optional<std::string> file;  // UTDir.ini at start-up; none when missing
        std::string folder;               // the folder in memory after the load
        bool blank;                       // "The Path to UT Needs to be set"
    } cases[] = {
        {"folder and more lines", "C:\\Games\\UT \r\nsecond", "C:\\Games\\UT ", false},
        {"blank folder", "   ", "   ", true},
        {"empty file", "", "", true},
        {"no setting file", std::nullopt, "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto arrange = [&] {
            if (c.file) {
                WriteBytes(ProgramPath("UTDir.ini"), *c.file);
            }
            m_folder.SetDirIniPath();
        };
        const auto act = [&] { Catching([&] { m_folder.LoadUTDir(m_ui); }); };
        const auto check = [&](const Injection& injection) {
            const bool exists = fs::exists(ProgramPath("UTDir.ini"));
            // Start-up only reads the setting file, or creates it empty.
            if (exists) {
                EXPECT_EQ(ReadBytes(ProgramPath("UTDir.ini")), c.file.value_or(""));
            }
            if (!injection.faulted) {
                EXPECT_FALSE(m_failure);
                EXPECT_TRUE(exists);
                EXPECT_EQ(m_folder.gUTDir(), c.folder);
                EXPECT_EQ(m_ui.Messages().size(), c.blank ? 1u : 0u);
                return;
            }
            ASSERT_TRUE(m_failure) << "a failed load went unreported";
            ExpectFailureText(*m_failure, injection);
            EXPECT_EQ(m_folder.gUTDir(), "");
            EXPECT_THAT(m_ui.Messages(), IsEmpty()) << "a message about a folder never read";
        };
        ForEveryOperation(arrange, act, check, /*writes=*/false);
        if (HasFatalFailure()) {
            return;
        }
    }
}

TEST_F(EveryOperationTest, LoadPlayersFillsTheListWhollyOrNotAtAll) {
    // Larger than the buffers, with lines that are no record among the records.
    std::string file = "  Alice , pa \r\n\r\n   \r\nno comma\r\n";
    List players = {{"Alice ", " pa"}};
    for (std::size_t record = 0; record < 9000; ++record) {
        file += "Player" + std::to_string(record) + ",pw," + std::to_string(record) + "\r\n";
        players.push_back({"Player" + std::to_string(record), "pw," + std::to_string(record)});
    }
    const auto arrange = [&] { WriteBytes(ProgramPath("User.ini"), file); };
    const auto act = [&] { Catching([&] { m_players->LoadPlayers(); }); };
    const auto check = [&](const Injection& injection) {
        EXPECT_EQ(ReadBytes(ProgramPath("User.ini")), file);
        if (!injection.faulted) {
            EXPECT_FALSE(m_failure);
            ExpectListHolds(players);
            return;
        }
        ASSERT_TRUE(m_failure) << "a failed load went unreported";
        ExpectFailureText(*m_failure, injection);
        ExpectListHolds({});
    };
    ForEveryOperation(arrange, act, check, /*writes=*/false);
}

}  // namespace
}  // namespace korvale::test
