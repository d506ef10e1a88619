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

#include "RawFiles.h"
#include "RecordingLauncher.h"
#include "RecordingUi.h"
#include "TempFolders.h"
#include "VectorPlayerList.h"
#include "platform/FileError.h"
#include "play/PlayCommand.h"
#include "play/ProfileRewrite.h"
#include "settings/GameFolder.h"
#include "settings/PlayerFile.h"

namespace korvale::test {
namespace {

namespace fs = std::filesystem;
using Op = FaultyFileOps::Op;
using Entries = std::vector<std::string>;
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

// The rewrite the profile must get, built line by line from the rule for one line.
std::string Rewritten(const std::string& profile, const std::string& name,
                      const std::string& password) {
    std::string out;
    std::size_t start = 0;
    while (start < profile.size()) {
        std::size_t end = profile.find('\n', start);
        std::string line = profile.substr(start, end == std::string::npos ? end : end - start);
        if (end != std::string::npos && !line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        out += RewriteProfileLine(line, name, password) + "\r\n";
        start = end == std::string::npos ? profile.size() : end + 1;
    }
    return out;
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
        const auto run = [&](const std::optional<FaultyFileOps::Fault>& fault) {
            Reset();
            arrange();
            if (fault) {
                Ops().Inject(*fault);
            }
            const std::size_t injected = Ops().Injected();
            act();
            Ops().Clear();
            EXPECT_EQ(Ops().OpenHandles(), 0u) << "a file was left open";
            return Ops().Injected() - injected;
        };

        const std::size_t before = Ops().Operations();
        run(std::nullopt);
        const std::size_t operations = Ops().Operations() - before;
        ASSERT_GT(operations, 0u);
        check(Injection{});

        for (const std::errc error :
             {std::errc::no_space_on_device, std::errc::permission_denied}) {
            for (std::size_t nth = 1; nth <= operations; ++nth) {
                SCOPED_TRACE("operation " + std::to_string(nth) + " of " +
                             std::to_string(operations) + " fails: " + Reason(error));
                ASSERT_EQ(run(FaultyFileOps::Fault{.op = Op::Any, .nth = nth, .error = error}), 1u)
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
        gUTDir.clear();
        gDirIniPath.clear();
        m_users = VectorPlayerList();
        m_passwords = VectorPlayerList();
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

    std::string Native(const fs::path& path) { return Ops().nativeForm(PathText(path)); }

    // A failure is raised as "<file>: <reason>", naming a file of this test.
    void ExpectFailureText(const std::string& text, const Injection& injection) {
        EXPECT_THAT(text, StartsWith(Native(Root())));
        EXPECT_THAT(text, EndsWith(": " + Reason(injection.error)));
    }

    void ExpectListsHold(const Entries& users, const Entries& passwords) {
        EXPECT_THAT(m_users.Entries(), ElementsAreArray(users));
        EXPECT_THAT(m_passwords.Entries(), ElementsAreArray(passwords));
    }

    VectorPlayerList m_users;
    VectorPlayerList m_passwords;
    RecordingUi m_ui;
    RecordingLauncher m_launcher;
    std::optional<std::string> m_failure;
    std::optional<std::size_t> m_insertedAt;
};

TEST_F(EveryOperationTest, PlayLeavesTheProfileOldOrWhollyRewrittenAndTheBackupOldOrWhole) {
    const std::string profile = LargeProfile();
    const std::string rewritten = Rewritten(profile, "Bob", "pb");
    const std::string oldBackup = "[DefaultPlayer]\r\nName=Before\r\n";
    const Entries users = {"Alice", "Bob"};
    const Entries passwords = {"pa", "pb"};
    const auto arrange = [&] {
        WriteBytes(ProgramPath("UTDir.ini"), GameFolder());
        WriteBytes(SystemPath("User.ini"), profile);
        WriteBytes(SystemPath("UserKorvale.old"), oldBackup);
        m_users = VectorPlayerList(users);
        m_passwords = VectorPlayerList(passwords);
        m_users.SetSelectedIndex(1);
        m_passwords.SetSelectedIndex(1);
    };
    const auto act = [&] { PlayUT({Files(), m_ui, m_launcher, m_users, m_passwords}); };
    const auto check = [&](const Injection& injection) {
        const std::string nowProfile = ReadBytes(SystemPath("User.ini"));
        const std::string nowBackup = ReadBytes(SystemPath("UserKorvale.old"));
        EXPECT_THAT(FilesIn(GameDir() / "System"), ElementsAre("User.ini", "UserKorvale.old"))
            << "a temporary file was left behind";
        EXPECT_EQ(ReadBytes(ProgramPath("UTDir.ini")), GameFolder());
        ExpectListsHold(users, passwords);
        EXPECT_THAT(nowBackup, AnyOf(Eq(oldBackup), Eq(profile))) << "the backup is not whole";
        if (!injection.faulted) {
            EXPECT_EQ(nowProfile, rewritten);
            EXPECT_EQ(nowBackup, profile);
            EXPECT_THAT(m_ui.Messages(), IsEmpty());
            EXPECT_THAT(m_launcher.Started(),
                        ElementsAre(GameFolder() + "\\System\\UnrealTournament.exe"));
            return;
        }
        EXPECT_THAT(m_launcher.Started(), IsEmpty()) << "the game started after a failure";
        ASSERT_EQ(m_ui.Messages().size(), 1u);
        const Message& message = m_ui.Messages().front();
        EXPECT_EQ(message.text, "Error");
        const std::string lost =
            "\nThe previous profile is in " + Native(SystemPath("UserKorvale.old")) + ".";
        if (nowProfile == profile || nowProfile == rewritten) {
            EXPECT_THAT(message.detail, Not(HasSubstr("\n")));
            ExpectFailureText(message.detail, injection);
            return;
        }
        // The disk stayed full, so the old bytes could not be written back either: they are whole
        // in the backup, and the message says where.
        EXPECT_TRUE(injection.diskStaysFull) << "the profile is neither old nor rewritten";
        EXPECT_EQ(nowBackup, profile);
        EXPECT_THAT(message.detail, EndsWith(lost));
        ExpectFailureText(message.detail.substr(0, message.detail.size() - lost.size()), injection);
    };
    ForEveryOperation(arrange, act, check);
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
        const std::string before = "in memory";
        const auto arrange = [&] {
            if (c.file) {
                WriteBytes(ProgramPath("UTDir.ini"), *c.file);
            }
            SetDirIniPath(Files());
            gUTDir = before;
        };
        const auto act = [&] { Catching([&] { SaveUTDir(Files(), "  D:\\Games\\New  "); }); };
        const auto check = [&](const Injection& injection) {
            const bool exists = fs::exists(ProgramPath("UTDir.ini"));
            EXPECT_THAT(FilesIn(ProgramDir()),
                        exists ? std::set<std::string>{"UTDir.ini"} : std::set<std::string>{});
            if (!injection.faulted) {
                EXPECT_FALSE(m_failure);
                EXPECT_EQ(ReadBytes(ProgramPath("UTDir.ini")), "D:\\Games\\New");
                EXPECT_EQ(gUTDir, "D:\\Games\\New");
                return;
            }
            ASSERT_TRUE(m_failure) << "a failed save went unreported";
            ExpectFailureText(*m_failure, injection);
            EXPECT_EQ(gUTDir, before);
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
        std::size_t index;                // handed to the insert step
    } cases[] = {
        {"records before", PlayerRecords(3), PlayerRecords(3) + "\r\nCarol,pc", 3},
        {"a file larger than the buffers", PlayerRecords(9000),
         PlayerRecords(9000) + "\r\nCarol,pc", 9000},
        {"0 bytes", "", "Carol,pc", 0},
        {"no file", std::nullopt, "Carol,pc", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Entries users;
        Entries passwords;
        for (std::size_t record = 0; record < c.index; ++record) {
            users.push_back("Player" + std::to_string(record));
            passwords.push_back("pw" + std::to_string(record));
        }
        const auto arrange = [&] {
            if (c.file) {
                WriteBytes(ProgramPath("User.ini"), *c.file);
            }
            m_users = VectorPlayerList(users);
            m_passwords = VectorPlayerList(passwords);
        };
        const auto act = [&] {
            Catching([&] {
                AppendPlayer(Files(), " Carol ", " pc ", [&](std::size_t index) {
                    m_insertedAt = index;
                    InsertPlayer(m_users, m_passwords, index, "Carol", "pc");
                });
            });
        };
        const auto check = [&](const Injection& injection) {
            const bool exists = fs::exists(ProgramPath("User.ini"));
            EXPECT_THAT(FilesIn(ProgramDir()),
                        exists ? std::set<std::string>{"User.ini"} : std::set<std::string>{});
            if (!injection.faulted) {
                EXPECT_FALSE(m_failure);
                EXPECT_EQ(ReadBytes(ProgramPath("User.ini")), c.after);
                EXPECT_EQ(m_insertedAt, c.index);
                Entries moreUsers = users;
                Entries morePasswords = passwords;
                moreUsers.push_back("Carol");
                morePasswords.push_back("pc");
                ExpectListsHold(moreUsers, morePasswords);
                return;
            }
            ASSERT_TRUE(m_failure) << "a failed append went unreported";
            ExpectFailureText(*m_failure, injection);
            EXPECT_FALSE(m_insertedAt) << "the lists were told of a record that is not there";
            ExpectListsHold(users, passwords);
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
        std::string folder;               // gUTDir after the load
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
            SetDirIniPath(Files());
        };
        const auto act = [&] { Catching([&] { LoadUTDir(Files(), m_ui); }); };
        const auto check = [&](const Injection& injection) {
            const bool exists = fs::exists(ProgramPath("UTDir.ini"));
            // Start-up only reads the setting file, or creates it empty.
            if (exists) {
                EXPECT_EQ(ReadBytes(ProgramPath("UTDir.ini")), c.file.value_or(""));
            }
            if (!injection.faulted) {
                EXPECT_FALSE(m_failure);
                EXPECT_TRUE(exists);
                EXPECT_EQ(gUTDir, c.folder);
                EXPECT_EQ(m_ui.Messages().size(), c.blank ? 1u : 0u);
                return;
            }
            ASSERT_TRUE(m_failure) << "a failed load went unreported";
            ExpectFailureText(*m_failure, injection);
            EXPECT_EQ(gUTDir, "");
            EXPECT_THAT(m_ui.Messages(), IsEmpty()) << "a message about a folder never read";
        };
        ForEveryOperation(arrange, act, check, /*writes=*/false);
        if (HasFatalFailure()) {
            return;
        }
    }
}

TEST_F(EveryOperationTest, LoadPlayersFillsBothListsWhollyOrNotAtAll) {
    // Larger than the buffers, with lines that are no record among the records.
    std::string file = "  Alice , pa \r\n\r\n   \r\nno comma\r\n";
    Entries users = {"Alice "};
    Entries passwords = {" pa"};
    for (std::size_t record = 0; record < 9000; ++record) {
        file += "Player" + std::to_string(record) + ",pw," + std::to_string(record) + "\r\n";
        users.push_back("Player" + std::to_string(record));
        passwords.push_back("pw," + std::to_string(record));
    }
    const auto arrange = [&] { WriteBytes(ProgramPath("User.ini"), file); };
    const auto act = [&] { Catching([&] { LoadPlayers(Files(), m_users, m_passwords); }); };
    const auto check = [&](const Injection& injection) {
        EXPECT_EQ(ReadBytes(ProgramPath("User.ini")), file);
        if (!injection.faulted) {
            EXPECT_FALSE(m_failure);
            ExpectListsHold(users, passwords);
            return;
        }
        ASSERT_TRUE(m_failure) << "a failed load went unreported";
        ExpectFailureText(*m_failure, injection);
        ExpectListsHold({}, {});
    };
    ForEveryOperation(arrange, act, check, /*writes=*/false);
}

}  // namespace
}  // namespace korvale::test
