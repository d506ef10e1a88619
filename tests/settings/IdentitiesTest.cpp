#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <gmock/gmock.h>

#include "RawFiles.h"
#include "TempFolders.h"
#include "platform/files/FileError.h"
#include "settings/Identities.h"

namespace korvale::test {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using Op = FaultyFileOps::Op;
using List = std::vector<Player>;

// Records what the identities ask of the shortcuts.
class RecordingShortcuts final : public Shortcuts {
public:
    std::string make(std::string_view name) const override { return Log("make " + std::string(name)); }
    void rename(std::string_view from, std::string_view to) const override {
        Log("rename " + std::string(from) + " " + std::string(to));
    }
    void remove(std::string_view name) const override { Log("remove " + std::string(name)); }
    mutable std::vector<std::string> m_calls;

private:
    std::string Log(std::string call) const {
        m_calls.push_back(call);
        return call;
    }
};

class IdentitiesTest : public TempFolders {
protected:
    fs::path PlayerFile() const { return ProgramPath("User.ini"); }
    List Load(const std::string& file) {
        WriteBytes(PlayerFile(), file);
        m_identities.LoadPlayers();
        return Shown();
    }
    List Shown() const { return {m_identities.begin(), m_identities.end()}; }

    RecordingShortcuts m_shortcuts;
    Identities m_identities{Files(), &m_shortcuts};
};

TEST_F(IdentitiesTest, LoadSplitsEachTrimmedLineAtItsFirstComma) {
    const struct {
        const char* name;
        std::string file;
        List players;
    } cases[] = {
        {"0 bytes", "", {}},
        {"records in file order", "alice,pw1\r\nbob,pw2", {{"alice", "pw1"}, {"bob", "pw2"}}},
        {"commas in the password", "alice,p,a,ss", {{"alice", "p,a,ss"}}},
        {"comma typed in the name", "Smith, J,pw", {{"Smith", " J,pw"}}},
        {"spaces around the comma", "  alice  ,  pw  ", {{"alice  ", "  pw"}}},
        {"trailing line break", "alice,pw\r\n", {{"alice", "pw"}}},
        {"duplicates", "a,1\r\na,1", {{"a", "1"}, {"a", "1"}}},
        {"lines without comma skipped",
         "a,1\r\n\r\n   \r\nnocomma\r\nb,2\r\n",
         {{"a", "1"}, {"b", "2"}}},
        {"LF separators", "a,1\nb,2\n", {{"a", "1"}, {"b", "2"}}},
        {"empty fields", ",pw\r\nname,", {{"", "pw"}, {"name", ""}}},
        {"tabs stay", "\ta,1\t", {{"\ta", "1\t"}}},
        {"Latin-1 bytes and NUL", "J\xF6rg,\xFF\0x"s, {{"J\xF6rg", "\xFF\0x"s}}},
        // Octal escapes: a hex escape would run on into the letter after it.
        {"a UTF-8 byte-order mark first",
         "\357\273\277Alpha,1\r\n\357\273\277b,2",
         {{"Alpha", "1"}, {"\357\273\277b", "2"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Load(c.file), c.players);
    }
}

TEST_F(IdentitiesTest, AMissingFileLoadsNothingAndIsNotCreated) {
    m_identities.LoadPlayers();
    EXPECT_EQ(m_identities.count(), 0u);
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

TEST_F(IdentitiesTest, AHundredThousandRecordsLoadInOrder) {
    const List players = Load(ManyRecords(100000));
    ASSERT_EQ(players.size(), 100000u);
    for (std::size_t i : {0u, 32767u, 32768u, 65536u, 99999u}) {
        EXPECT_EQ(players[i], (Player{"player" + std::to_string(i), "secret" + std::to_string(i)}));
    }
}

TEST_F(IdentitiesTest, AppendWritesOneRecordWithNoBreakAfterIt) {
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
        {"trailing break: last in the list", "a,1\r\n", "alice", "pw", "a,1\r\n\r\nalice,pw", 1},
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
        m_identities.LoadPlayers();
        EXPECT_EQ(m_identities.AppendPlayer({c.playerName, c.password}), c.index);
        EXPECT_EQ(ReadBytes(PlayerFile()), c.after);
    }
}

TEST_F(IdentitiesTest, AfterATrailingBreakTheNewPlayerGoesLastAndAReloadAgrees) {
    Load("a,1\r\nb,2\r\n");
    EXPECT_EQ(m_identities.AppendPlayer({"  c ", "3"}), 2u);  // the list gets the texts as typed
    m_identities.AppendPlayer({"d", "4"});
    EXPECT_EQ(Shown(), (List{{"a", "1"}, {"b", "2"}, {"  c ", "3"}, {"d", "4"}}));
    m_identities.LoadPlayers();
    EXPECT_EQ(Shown(), (List{{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}}));
}

TEST_F(IdentitiesTest, AnAppendLandsBesideAnotherKorvalesWhichTheNextChangeThenRespects) {
    Load("a,1");
    WriteBytes(PlayerFile(), "a,1\r\nother,2");  // appended by another Korvale since the load
    m_identities.AppendPlayer({"mine", "3"});
    EXPECT_EQ(ReadBytes(PlayerFile()), "a,1\r\nother,2\r\nmine,3");
    EXPECT_EQ(m_identities.edit(0, {"A", "1"}),
              "User.ini was changed outside Korvale. Start Korvale again to see it.");
    EXPECT_EQ(ReadBytes(PlayerFile()), "a,1\r\nother,2\r\nmine,3");
}

TEST_F(IdentitiesTest, AChangeWaitsWhileAnotherKorvaleHoldsTheFile) {
    Load("a,1");
    std::optional<FileLock> held = Files().lockBeside(PathText(PlayerFile()));
    ASSERT_TRUE(held);
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        held.reset();
    });
    m_identities.AppendPlayer({"b", "2"});
    release.join();
    EXPECT_EQ(ReadBytes(PlayerFile()), "a,1\r\nb,2");
}

TEST_F(IdentitiesTest, ANewFileIsOwnerOnlyAndAnOldOneKeepsItsMode) {
    KORVALE_POSIX_ONLY();
    m_identities.AppendPlayer({"alice", "pw"});
    EXPECT_EQ(fs::status(PlayerFile()).permissions() & fs::perms::mask, fs::perms(0600));
    fs::permissions(PlayerFile(), fs::perms(0644));
    m_identities.AppendPlayer({"bob", "pw"});
    EXPECT_EQ(fs::status(PlayerFile()).permissions() & fs::perms::mask, fs::perms(0644));
}

TEST_F(IdentitiesTest, AChangeRewritesOnlyItsRecordsLine) {
    const std::string skipped = "a,1\r\n\r\nno comma\nb,2\r\n  c , 3  ";
    const struct {
        const char* name;
        std::string before;
        char change;  // Edit, Remove or Swap with the next
        std::size_t index;
        std::string after;
    } cases[] = {
        // clang-format off
        {"edit, fields trimmed", "a,1\r\nb,2\r\nc,3", 'E', 1, "a,1\r\nBo b,n,ew\r\nc,3"},
        {"edit amid skipped lines", skipped, 'E', 1, "a,1\r\n\r\nno comma\nBo b,n,ew\r\n  c , 3  "},
        {"remove the first", "a,1\r\nb,2", 'R', 0, "b,2"},
        {"remove the last: no break after the last", "a,1\r\nb,2\r\nc,3", 'R', 2, "a,1\r\nb,2"},
        {"remove the only", "a,1", 'R', 0, ""},
        {"remove amid skipped lines", skipped, 'R', 2, "a,1\r\n\r\nno comma\nb,2"},
        {"swap, breaks stay in place", "a,1\r\nb,2\nc,3", 'S', 1, "a,1\r\nc,3\nb,2"},
        {"swap over skipped lines", skipped, 'S', 0, "b,2\r\n\r\nno comma\na,1\r\n  c , 3  "},
        {"a byte-order mark stays first", "\357\273\277a,1\r\nb,2", 'S', 0, "\357\273\277b,2\r\na,1"},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Load(c.before);
        EXPECT_EQ(c.change == 'E'   ? m_identities.edit(c.index, {" Bo b ", " n,ew "})
                  : c.change == 'R' ? m_identities.remove(c.index)
                                    : m_identities.swapWithNext(c.index),
                  std::nullopt);
        EXPECT_EQ(ReadBytes(PlayerFile()), c.after);
    }
}

TEST_F(IdentitiesTest, SharedNamesAreRefusedAndAShortcutGoesWithTheLastOfItsName) {
    const struct {
        const char* name;
        char change;  // Edit, Remove, or make a Shortcut
        std::size_t index;
        const char* newName;
        Refusal refused;
        std::vector<std::string> calls;
    } cases[] = {
        {"edit to another's name", 'E', 0, " Bob ", "Another UT User is named Bob.", {}},
        {"edit to the own name", 'E', 1, " Bob ", std::nullopt, {}},
        {"letter case counts", 'E', 0, "BOB", std::nullopt, {"rename Al BOB"}},
        {"rename one of two of a name", 'E', 2, "Zed", std::nullopt, {}},
        {"remove one of two of a name", 'R', 3, "", std::nullopt, {}},
        {"remove the last of a name", 'R', 0, "", std::nullopt, {"remove Al"}},
        {"shortcut of a shared name", 'S', 2, "", "More than one UT User is named Tag", {}},
        {"shortcut of a name of its own", 'S', 1, "", std::nullopt, {"make Bob"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Load("Al,1\r\nBob,2\r\nTag,3\r\n Tag ,4\r\nbob,5");
        m_shortcuts.m_calls.clear();
        std::string where;
        EXPECT_EQ(c.change == 'E'   ? m_identities.edit(c.index, {c.newName, "x"})
                  : c.change == 'R' ? m_identities.remove(c.index)
                                    : m_identities.makeShortcut(c.index, where),
                  c.refused);
        EXPECT_EQ(m_shortcuts.m_calls, c.calls);
    }
}

}  // namespace
}  // namespace korvale::test
