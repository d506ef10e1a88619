#include <gtest/gtest.h>

#include "VectorPlayerList.h"
#include "platform/PlayerList.h"

namespace korvale::test {
namespace {

using Entries = std::vector<std::string>;

TEST(InsertPlayerTest, KeepsNamesAndPasswordsPairedWhateverTheIndex) {
    const struct {
        const char* name;
        std::size_t index;
        Entries users;
        Entries passwords;
    } cases[] = {
        {"at the front", 0, {"new", "a", "b"}, {"pw", "1", "2"}},
        {"in the middle", 1, {"a", "new", "b"}, {"1", "pw", "2"}},
        {"at the end", 2, {"a", "b", "new"}, {"1", "2", "pw"}},
        {"one past the end", 3, {"a", "b", "new"}, {"1", "2", "pw"}},
        {"far past the end", 1000, {"a", "b", "new"}, {"1", "2", "pw"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        VectorPlayerList users({"a", "b"});
        VectorPlayerList passwords({"1", "2"});
        InsertPlayer(users, passwords, c.index, "new", "pw");
        EXPECT_EQ(users.Entries(), c.users);
        EXPECT_EQ(passwords.Entries(), c.passwords);
    }
}

}  // namespace
}  // namespace korvale::test
