#include <string>

#include <gtest/gtest.h>

#include "RawFiles.h"
#include "TempFolders.h"
#include "play/ProfileRewrite.h"

namespace korvale::test {
namespace {

using namespace std::string_literals;

// The line rules hold alike for single bytes and for UTF-16LE code units: each case runs in
// both, its Latin-1 text turned into UTF-16LE after the byte-order mark.
constexpr ProfileEncoding kWidths[] = {ProfileEncoding::Latin1, ProfileEncoding::Utf16Le};

std::string Encoded(std::string_view latin1, ProfileEncoding encoding) {
    return std::string(byteOrderMark(encoding)) + fromLatin1(latin1, encoding);
}

class RewriteProfileTest : public TempFolders {
protected:
    std::string Rewrite(const std::string& in, ProfileEncoding encoding,
                        std::string_view name = "Bob", std::string_view password = "pw") {
        WriteBytes(ProgramPath("in.ini"), Encoded(in, encoding));
        TextStream input =
            Files().GetFile(Files().programFile("in.ini")).OpenAsTextStream(IOMode::ForReading);
        TextStream output = Files().CreateTextFile(Files().programFile("out.ini"));
        RewriteProfile(input, output, encoding, name, password);
        input.Close();
        output.Close();
        return ReadBytes(ProgramPath("out.ini"));
    }
};

TEST_F(RewriteProfileTest, ReplacesWholeKeysOnly) {
    const struct {
        const char* name;
        std::string line;
        std::string out;
    } cases[] = {
        {"player name", "Name=Player", "Name=Bob"},
        {"lower-case key, written capitalised", "name=Player", "Name=Bob"},
        {"empty value", "Name=", "Name=Bob"},
        {"value holding '='", "Name=a=b", "Name=Bob"},
        {"spaces around", "  Name=Old  ", "Name=Bob"},
        {"stats password", "ngWorldSecret=old", "ngWorldSecret=pw"},
        {"empty stats password", "ngWorldSecret=", "ngWorldSecret=pw"},
        {"both keys, name first", "Name=a ngWorldSecret=b", "Name=Bob"},
        {"both keys, secret first", "ngWorldSecret=a Name=b", "ngWorldSecret=pw"},
        {"key binding NoName", "NoName=", "NoName="},
        {"longer key ending in Name", "PlayerName=x", "PlayerName=x"},
        {"Name= inside a value", "Alias=Name=x", "Alias=Name=x"},
        {"capitals", "NAME=Old", "NAME=Old"},
        {"space before '='", "Name =Old", "Name =Old"},
        {"tab before the key", "\tName=Old", "\tName=Old"},
        {"tab after the key", "Name\t=Old", "Name\t=Old"},
        {"secret in other case", "NGWorldSecret=x", "NGWorldSecret=x"},
        {"longer secret key", "ngWorldSecretX=x", "ngWorldSecretX=x"},
        {"prefixed secret key", "MyngWorldSecret=x", "MyngWorldSecret=x"},
        {"no '='", "Name", "Name"},
        {"empty key", "=Name", "=Name"},
        {"section header trimmed", "  [Engine.PlayerPawn]  ", "[Engine.PlayerPawn]"},
        {"only spaces", "    ", ""},
        {"empty", "", ""},
        {"tab kept", "\tKey=v \t", "\tKey=v \t"},
        {"Latin-1 bytes", "Cl\xE9=\x80\xFF", "Cl\xE9=\x80\xFF"},
        {"NUL byte", "a\0b=c"s, "a\0b=c"s},
        {"lone CR", "Key=a\rb", "Key=a\rb"},
    };
    for (const ProfileEncoding encoding : kWidths) {
        for (const auto& c : cases) {
            EXPECT_EQ(Rewrite(c.line + "\r\n", encoding), Encoded(c.out + "\r\n", encoding))
                << c.name;
        }
        EXPECT_EQ(Rewrite("Name=Old", encoding, "", ""), Encoded("Name=\r\n", encoding));
        EXPECT_EQ(Rewrite(" Name=Old", encoding, "  J\xF6rg ,", "a b"),
                  Encoded("Name=  J\xF6rg ,\r\n", encoding));
        EXPECT_EQ(Rewrite("ngWorldSecret=x", encoding, "Bob", " p\0w "s),
                  Encoded("ngWorldSecret= p\0w \r\n"s, encoding));
    }
}

TEST_F(RewriteProfileTest, WritesOneCrLfLinePerInputLine) {
    const struct {
        const char* name;
        std::string in;
        std::string out;
    } cases[] = {
        {"CR LF", "[URL]\r\nName=Old\r\nngWorldSecret=x\r\n",
         "[URL]\r\nName=Bob\r\nngWorldSecret=pw\r\n"},
        {"LF", "a\nname=Old\n", "a\r\nName=Bob\r\n"},
        {"no final break", "a\r\nName=Old", "a\r\nName=Bob\r\n"},
        {"empty input", "", ""},
        {"blank lines stay", "\r\n\n  \r\n", "\r\n\r\n\r\n"},
        {"lone CR stays", "a\rb\r\n", "a\rb\r\n"},
        {"Latin-1 and NUL untouched", "K=\x80\xE9\xFF\0\r\nName=x"s,
         "K=\x80\xE9\xFF\0\r\nName=Bob\r\n"s},
        {"input bindings untouched",
         "[Engine.Input]\r\nNoName=\r\nAlias=Name=x\r\n[DefaultPlayer]\r\n  Name=Old  \r\n",
         "[Engine.Input]\r\nNoName=\r\nAlias=Name=x\r\n[DefaultPlayer]\r\nName=Bob\r\n"},
    };
    for (const ProfileEncoding encoding : kWidths) {
        for (const auto& c : cases) {
            EXPECT_EQ(Rewrite(c.in, encoding), Encoded(c.out, encoding)) << c.name;
        }
    }
}

}  // namespace
}  // namespace korvale::test
