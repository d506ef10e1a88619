// The identity the game holds, read from its profile in each encoding the game writes.
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "RawFiles.h"
#include "TempFolders.h"
#include "play/GameIdentity.h"
#include "settings/GameFolder.h"

namespace korvale::test {
namespace {

using namespace std::string_literals;
using Text = std::optional<std::string>;

class GameIdentityTest : public TempFolders {
protected:
    std::optional<GameIdentity> Read() {
        GameFolder folder(Files());
        folder.SetDirIniPath();
        return readGameIdentity(Files(), folder, Host());
    }
};

TEST_F(GameIdentityTest, ReadsThePlayerAndTheSecretInTheProfilesEncoding) {
    const struct {
        const char* name;
        std::string profile;
        Text player;
        Text secret;
    } cases[] = {
        {"DefaultPlayer's name before an earlier one",
         "[URL]\r\nName=Url\r\n[DefaultPlayer]\r\n"
         "  Name=J\xF6rg \r\n[Engine]\r\nngWorldSecret=s,1\r\nngWorldSecret=later",
         "J\xC3\xB6rg", "s,1"},
        {"else the first whole key", "PlayerName=x\nname=First\nName=Second", "First", {}},
        {"keys only whole", "NoName=x\r\nngWorldSecretX=y\r\nName = spaced", {}, {}},
        {"UTF-8", "Name=J\xC3\xB6rg\r\nngWorldSecret=\xE2\x82\xAC", "J\xC3\xB6rg", "\xE2\x82\xAC"},
        {"UTF-8 with its mark", "\xEF\xBB\xBFName=Zo\xC3\xAB", "Zo\xC3\xAB", {}},
        {"UTF-16LE",
         "\xFF\xFE"s + Utf16LeBytes(u"[DefaultPlayer]\r\nName=\u0141\U0001F600\r\n"
                                    u"ngWorldSecret=\u00FF"),
         "\xC5\x81\xF0\x9F\x98\x80", "\xC3\xBF"},
    };
    WriteBytes(ProgramPath("UTDir.ini"), GameFolderText());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(SystemPath("User.ini"), c.profile);
        const std::optional<GameIdentity> identity = Read();
        ASSERT_TRUE(identity.has_value());
        EXPECT_EQ(identity->name, c.player);
        EXPECT_EQ(identity->secret, c.secret);
    }
}

TEST_F(GameIdentityTest, NoneWithoutAFolderOrAProfile) {
    WriteBytes(ProgramPath("UTDir.ini"), "   ");
    WriteBytes(SystemPath("User.ini"), "Name=x");
    EXPECT_FALSE(Read().has_value()) << "a blank folder";
    WriteBytes(ProgramPath("UTDir.ini"), GameFolderText());
    std::filesystem::remove(SystemPath("User.ini"));
    EXPECT_FALSE(Read().has_value()) << "no profile";
}

TEST(GameIdentityHolds, TheSameNameAndTheSecretWhenThereIsOne) {
    const GameIdentity named{"J\xC3\xB6rg ", std::nullopt};
    const GameIdentity both{"Bob", "pw"};
    EXPECT_TRUE(named.holds({" J\xF6rg", "anything"}));
    EXPECT_FALSE(named.holds({"Jorg", "anything"}));
    EXPECT_TRUE(both.holds({"Bob", "pw"}));
    EXPECT_FALSE(both.holds({"Bob", "other"}));
    EXPECT_FALSE(GameIdentity{}.holds({"", ""})) << "no name in the profile marks no one";
}

}  // namespace
}  // namespace korvale::test
