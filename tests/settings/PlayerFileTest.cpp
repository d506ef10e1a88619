#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "RawFiles.h"
#include "TempFolders.h"
#include "platform/files/FileError.h"
#include "settings/PlayerFile.h"

namespace korvale::test {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using Op = FaultyFileOps::Op;
using List = std::vector<Player>;

class PlayerFileTest : public TempFolders {
protected:
    fs::path PlayerFile() const { return ProgramPath("User.ini"); }
    void Load() { m_players.append(LoadPlayers(Files())); }
    // Appends and inserts at the index handed back, as the New player dialog does.
    void Add(std::string name, std::string password) {
        Player player{std::move(name), std::move(password)};
        m_players.insert(AppendPlayer(Files(), player), player);
    }
    List Shown() const { return {m_players.begin(), m_players.end()}; }

    Players m_players;
};

TEST_F(PlayerFileTest, LoadSplitsEachTrimmedLineAtItsFirstComma) {
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
        WriteBytes(PlayerFile(), c.file);
        EXPECT_EQ(LoadPlayers(Files()), c.players);
    }
}

TEST_F(PlayerFileTest, AMissingFileLoadsNothingAndIsNotCreated) {
    EXPECT_TRUE(LoadPlayers(Files()).empty());
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
    const List players = LoadPlayers(Files());
    ASSERT_EQ(players.size(), 100000u);
    for (std::size_t i : {0u, 32767u, 32768u, 65536u, 99999u}) {
        EXPECT_EQ(players[i], (Player{"player" + std::to_string(i), "secret" + std::to_string(i)}));
    }
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
        EXPECT_EQ(AppendPlayer(Files(), {c.playerName, c.password}), c.index);
        EXPECT_EQ(ReadBytes(PlayerFile()), c.after);
    }
}

TEST_F(PlayerFileTest, AfterATrailingBreakTheNewPlayerGoesLastAndAReloadAgrees) {
    WriteBytes(PlayerFile(), "a,1\r\nb,2\r\n");
    Load();
    Add("  c ", "3");  // the list gets the texts as typed
    EXPECT_EQ(Shown(), (List{{"a", "1"}, {"b", "2"}, {"  c ", "3"}}));
    Add("d", "4");
    EXPECT_EQ(Shown(), (List{{"a", "1"}, {"b", "2"}, {"  c ", "3"}, {"d", "4"}}));
    EXPECT_EQ(LoadPlayers(Files()), (List{{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}}));
}

TEST_F(PlayerFileTest, ANewFileIsOwnerOnlyAndAnOldOneKeepsItsMode) {
    KORVALE_POSIX_ONLY();
    Add("alice", "pw");
    EXPECT_EQ(fs::status(PlayerFile()).permissions() & fs::perms::mask, fs::perms(0600));
    fs::permissions(PlayerFile(), fs::perms(0644));
    Add("bob", "pw");
    EXPECT_EQ(fs::status(PlayerFile()).permissions() & fs::perms::mask, fs::perms(0644));
}

TEST_F(PlayerFileTest, AChangeRewritesOnlyItsRecordsLine) {
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
        WriteBytes(PlayerFile(), c.before);
        korvale::PlayerFile file(Files());
        file.load();
        EXPECT_TRUE(c.change == 'E'   ? file.replace(c.index, {" Bo b ", " n,ew "})
                    : c.change == 'R' ? file.remove(c.index)
                                      : file.swapWithNext(c.index));
        EXPECT_EQ(ReadBytes(PlayerFile()), c.after);
    }
}

}  // namespace
}  // namespace korvale::test
