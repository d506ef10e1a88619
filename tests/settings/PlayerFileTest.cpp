#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "RawFiles.h"
#include "TempFolders.h"
#include "VectorPlayerList.h"
#include "platform/FileError.h"
#include "settings/PlayerFile.h"

namespace korvale::test {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using Op = FaultyFileOps::Op;
using Entries = std::vector<std::string>;

class PlayerFileTest : public TempFolders {
protected:
    fs::path PlayerFile() const { return ProgramPath("User.ini"); }
    void Load() { LoadPlayers(Files(), m_users, m_passwords); }
    // Appends and inserts at the index handed back, as the New player dialog does.
    void Add(std::string_view name, std::string_view password) {
        AppendPlayer(Files(), name, password, [&](std::size_t index) {
            InsertPlayer(m_users, m_passwords, index, name, password);
        });
    }

    VectorPlayerList m_users;
    VectorPlayerList m_passwords;
};

TEST_F(PlayerFileTest, LoadSplitsEachTrimmedLineAtItsFirstComma) {
    const struct {
        const char* name;
        std::string file;
        Entries users;
        Entries passwords;
    } cases[] = {
        {"0 bytes", "", {}, {}},
        {"records in file order", "alice,pw1\r\nbob,pw2", {"alice", "bob"}, {"pw1", "pw2"}},
        {"commas in the password", "alice,p,a,ss", {"alice"}, {"p,a,ss"}},
        {"comma typed in the name", "Smith, J,pw", {"Smith"}, {" J,pw"}},
        {"spaces around the comma", "  alice  ,  pw  ", {"alice  "}, {"  pw"}},
        {"trailing line break", "alice,pw\r\n", {"alice"}, {"pw"}},
        {"duplicates", "a,1\r\na,1", {"a", "a"}, {"1", "1"}},
        {"lines without comma skipped",
         "a,1\r\n\r\n   \r\nnocomma\r\nb,2\r\n",
         {"a", "b"},
         {"1", "2"}},
        {"LF separators", "a,1\nb,2\n", {"a", "b"}, {"1", "2"}},
        {"empty fields", ",pw\r\nname,", {"", "name"}, {"pw", ""}},
        {"tabs stay", "\ta,1\t", {"\ta"}, {"1\t"}},
        {"Latin-1 bytes and NUL", "J\xF6rg,\xFF\0x"s, {"J\xF6rg"}, {"\xFF\0x"s}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(PlayerFile(), c.file);
        m_users = VectorPlayerList();
        m_passwords = VectorPlayerList();
        Load();
        EXPECT_EQ(m_users.Entries(), c.users);
        EXPECT_EQ(m_passwords.Entries(), c.passwords);
    }
}

TEST_F(PlayerFileTest, AMissingFileLoadsNothingAndIsNotCreated) {
    Load();
    EXPECT_EQ(m_users.Count(), 0u);
    EXPECT_FALSE(fs::exists(PlayerFile()));
}

std::string ManyRecords(std::size_t count) {
    std::string file;
    for (std::size_t i = 0; i < count; ++i) {
        file +=
            (i > 0 ? "\r\n" : "") + ("player" + std::to_string(i)) + ",secret" + std::to_string(i);
    }
    return file;
}

TEST_F(PlayerFileTest, AHundredThousandRecordsLoadInOrder) {
    WriteBytes(PlayerFile(), ManyRecords(100000));
    Load();
    ASSERT_EQ(m_users.Count(), 100000u);
    ASSERT_EQ(m_passwords.Count(), 100000u);
    for (std::size_t i : {0u, 32767u, 32768u, 65536u, 99999u}) {
        EXPECT_EQ(m_users.Entries()[i], "player" + std::to_string(i));
        EXPECT_EQ(m_passwords.Entries()[i], "secret" + std::to_string(i));
    }
}

TEST_F(PlayerFileTest, AReadFailureMidFileLeavesBothListsEmpty) {
    WriteBytes(PlayerFile(), ManyRecords(100000));  // larger than one read
    Ops().Inject({.op = Op::Read, .nth = 2, .error = std::errc::io_error});
    EXPECT_THROW(Load(), FileError);
    EXPECT_EQ(Ops().Injected(), 1u);
    EXPECT_EQ(m_users.Count(), 0u);
    EXPECT_EQ(m_passwords.Count(), 0u);
}

TEST_F(PlayerFileTest, AppendWritesOneRecordWithNoBreakAfterIt) {
    const struct {
        const char* name;
        std::optional<std::string> before;
        std::string playerName;
        std::string password;
        std::string after;
        std::size_t index;
    } cases[] = {
        {"missing file", std::nullopt, "alice", "pw", "alice,pw", 0},
        {"0 bytes", "", "alice", "pw", "alice,pw", 0},
        {"one record", "a,1", "alice", "pw", "a,1\r\nalice,pw", 1},
        {"two records", "a,1\r\nb,2", "alice", "pw", "a,1\r\nb,2\r\nalice,pw", 2},
        {"LF separators", "a,1\nb,2", "alice", "pw", "a,1\nb,2\r\nalice,pw", 2},
        {"trailing break", "a,1\r\n", "alice", "pw", "a,1\r\n\r\nalice,pw", 2},
        {"fields trimmed one by one", "", "  alice  ", "  p w  ", "alice,p w", 0},
        {"comma in the name", "", "Smith, J", "pw", "Smith, J,pw", 0},
        {"Latin-1 bytes", "", "J\xF6rg", "\xFF", "J\xF6rg,\xFF", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::error_code ignored;
        fs::remove(PlayerFile(), ignored);
        if (c.before) {
            WriteBytes(PlayerFile(), *c.before);
        }
        std::vector<std::size_t> indexes;
        AppendPlayer(Files(), c.playerName, c.password, [&](std::size_t index) {
            // The record is complete and closed before the lists change.
            EXPECT_EQ(Ops().OpenHandles(), 0u);
            EXPECT_EQ(ReadBytes(PlayerFile()), c.after);
            indexes.push_back(index);
        });
        EXPECT_EQ(indexes, std::vector<std::size_t>{c.index});
        EXPECT_EQ(ReadBytes(PlayerFile()), c.after);
    }
}

TEST_F(PlayerFileTest, AfterATrailingBreakTheNewPlayerGoesLastAndAReloadAgrees) {
    WriteBytes(PlayerFile(), "a,1\r\nb,2\r\n");
    Load();
    Add("  c ", "3");  // the lists get the texts as typed
    EXPECT_EQ(m_users.Entries(), (Entries{"a", "b", "  c "}));
    EXPECT_EQ(m_passwords.Entries(), (Entries{"1", "2", "3"}));
    Add("d", "4");
    EXPECT_EQ(m_users.Entries(), (Entries{"a", "b", "  c ", "d"}));

    VectorPlayerList users;
    VectorPlayerList passwords;
    LoadPlayers(Files(), users, passwords);
    EXPECT_EQ(users.Entries(), (Entries{"a", "b", "c", "d"}));
    EXPECT_EQ(passwords.Entries(), (Entries{"1", "2", "3", "4"}));
}

TEST_F(PlayerFileTest, ANewFileIsOwnerOnlyAndAnOldOneKeepsItsMode) {
    KORVALE_POSIX_ONLY();
    Add("alice", "pw");
    EXPECT_EQ(fs::status(PlayerFile()).permissions() & fs::perms::mask, fs::perms(0600));
    fs::permissions(PlayerFile(), fs::perms(0644));
    Add("bob", "pw");
    EXPECT_EQ(fs::status(PlayerFile()).permissions() & fs::perms::mask, fs::perms(0644));
}

TEST_F(PlayerFileTest, AFailedAppendLeavesTheFileAsItWasAndInsertsNothing) {
    const FaultyFileOps::Fault faults[] = {
        {.op = Op::Open,
         .error = std::errc::permission_denied,
         .opened = FaultyFileOps::Opened::ForWriting},
        {.op = Op::Write},
        {.op = Op::Flush},
        {.op = Op::Close},
    };
    const std::string before = "a,1\r\nb,2";
    for (const auto& fault : faults) {
        SCOPED_TRACE(static_cast<int>(fault.op));
        WriteBytes(PlayerFile(), before);
        Ops().Clear();
        Ops().Inject(fault);
        bool inserted = false;
        EXPECT_THROW(AppendPlayer(Files(), "alice", "pw", [&](std::size_t) { inserted = true; }),
                     FileError);
        EXPECT_FALSE(inserted);
        EXPECT_EQ(ReadBytes(PlayerFile()), before);
    }
    EXPECT_EQ(Ops().Injected(), std::size(faults));
}

}  // namespace
}  // namespace korvale::test
