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

class GameIdentityTest : public TempFolders {};

TEST_F(GameIdentityTest, ReadsThePlayerAndTheSecretInTheProfilesEncoding) {
    const struct {
        const char* name;
        std::string profile;
        std::optional<std::string> player;
        std::optional<std::string> secret;
    } cases[] = {
        // clang-format off
        {"DefaultPlayer's name before an earlier one", "[URL]\r\nName=Url\r\n[DefaultPlayer]\r\n"
         "  Name=J\xF6rg \r\n[Engine]\r\nngWorldSecret=s,1\r\nngWorldSecret=later", "J\xC3\xB6rg", "s,1"},
        {"else the first whole key", "PlayerName=x\nname=First\nName=Second", "First", {}},
        {"keys only whole", "NoName=x\r\nngWorldSecretX=y\r\nName = spaced", {}, {}},
        {"UTF-8", "Name=J\xC3\xB6rg\r\nngWorldSecret=\xE2\x82\xAC", "J\xC3\xB6rg", "\xE2\x82\xAC"},
        {"UTF-8 with its mark", "\xEF\xBB\xBFName=Zo\xC3\xAB", "Zo\xC3\xAB", {}},
        {"UTF-16LE", "\xFF\xFE"s + Utf16LeBytes(u"[DefaultPlayer]\r\nName=\u0141\U0001F600\r\nngWorldSecret=\u00FF"),
         "\xC5\x81\xF0\x9F\x98\x80", "\xC3\xBF"},
        // clang-format on
    };
    WriteBytes(ProgramPath("UTDir.ini"), GameFolderText());
    GameFolder folder(Files());
    folder.SetDirIniPath();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(SystemPath("User.ini"), c.profile);
        const std::optional<GameIdentity> identity = readGameIdentity(Files(), folder, Host());
        ASSERT_TRUE(identity.has_value());
        EXPECT_EQ(identity->name, c.player);
        EXPECT_EQ(identity->secret, c.secret);
    }
    const GameIdentity bob{"Bob ", "pw"};
    EXPECT_TRUE(bob.holds({" Bob", "pw"}) && !bob.holds({"Bob", "x"}));
    EXPECT_TRUE((GameIdentity{"Bob", std::nullopt}.holds({"Bob", "x"})));
}

}  // namespace
}  // namespace korvale::test
