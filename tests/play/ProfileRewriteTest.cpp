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
    return std::string(byteOrderMark(encoding)) + latin1ToProfile(latin1, encoding);
}

class RewriteProfileTest : public TempFolders {
protected:
    // The profile's bytes rewritten as Play does, in the encoding found in them.
    std::string RewriteAsPlay(const std::string& profile, std::string_view name,
                              std::string_view password) {
        TextStream output = Files().CreateTextFile(Files().programFile("out.ini"));
        RewriteProfile(profile, output, name, password);
        output.Close();
        return ReadBytes(ProgramPath("out.ini"));
    }
    // A profile of Latin-1 text, in `encoding`, rewritten.
    std::string Rewrite(const std::string& in, ProfileEncoding encoding,
                        std::string_view name = "Bob", std::string_view password = "pw") {
        return RewriteAsPlay(Encoded(in, encoding), name, password);
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
    std::string kept;  // lines that come out as they are, more than a write piece of them
    while (kept.size() < 70000) {
        kept += "Key" + std::to_string(kept.size()) + "=v\r\n";
    }
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
        {"long runs of kept lines between rewritten ones",
         "a \r\n" + kept + "Name=Old\r\n" + kept + "b",
         "a\r\n" + kept + "Name=Bob\r\n" + kept + "b\r\n"},
    };
    for (const ProfileEncoding encoding : kWidths) {
        for (const auto& c : cases) {
            EXPECT_EQ(Rewrite(c.in, encoding), Encoded(c.out, encoding)) << c.name;
        }
    }
}

TEST(ProfileEncodingTest, TheEncodingIsTakenFromTheProfileItself) {
    const std::string ascii(70000, 'a');
    const struct {
        const char* name;
        std::string bytes;
        ProfileEncoding encoding;
    } cases[] = {
        {"empty", "", ProfileEncoding::Latin1},
        {"pure ASCII", "[URL]\r\nName=Player\r\n", ProfileEncoding::Latin1},
        {"Latin-1", "Name=Zo\xE9\r\n", ProfileEncoding::Latin1},
        {"UTF-8", "Name=Zo\xC3\xA9\r\n", ProfileEncoding::Utf8},
        {"UTF-8 beyond the BMP", "A=\xF0\x9F\x98\x80", ProfileEncoding::Utf8},
        {"UTF-8 with its mark", "\xEF\xBB\xBFName=Player\r\n", ProfileEncoding::Utf8Bom},
        {"UTF-8 mark, Latin-1 after it", "\xEF\xBB\xBF\xE9", ProfileEncoding::Utf8Bom},
        {"UTF-16LE mark", "\xFF\xFE" + Utf16LeBytes(u"Name=Zo\u00E9\r\n"),
         ProfileEncoding::Utf16Le},
        {"UTF-16LE mark alone", "\xFF\xFE", ProfileEncoding::Utf16Le},
        {"UTF-16BE mark is not ours", "\xFE\xFF\0N"s, ProfileEncoding::Latin1},
        {"overlong form", "A=\xC0\x80", ProfileEncoding::Latin1},
        {"surrogate", "A=\xED\xA0\x80", ProfileEncoding::Latin1},
        {"beyond U+10FFFF", "A=\xF4\x90\x80\x80", ProfileEncoding::Latin1},
        {"cut short at the end", "A=\xC3", ProfileEncoding::Latin1},
        {"cut short by a line break", "A=\xC3\r\n\xA9", ProfileEncoding::Latin1},
        {"UTF-8 then one Latin-1 byte far on", "\xC3\xA9" + ascii + "\xE9",
         ProfileEncoding::Latin1},
        {"a Latin-1 byte amid a long ASCII run", "\xC3\xA9" + ascii.substr(0, 100) + "\xE9" + ascii,
         ProfileEncoding::Latin1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(profileEncoding(c.bytes, "\xE9", ""), c.encoding) << c.name;
    }
}

TEST_F(RewriteProfileTest, TheIdentityIsWrittenInTheProfilesEncoding) {
    // Characters beyond Latin-1 in the other lines: U+010A and U+0A05 U+0100 (whose UTF-16LE
    // bytes hold a line feed byte, the second followed by a zero byte), U+0120 (a space byte), a
    // CJK character, and one beyond the BMP.
    const std::u16string others = u"Alias=\u010A\u0A05\u0100\u0120 \u6F22 \U0001F600";
    const struct {
        const char* name;
        std::string in;
        std::string out;
    } cases[] = {
        {"Latin-1", "[DefaultPlayer]\r\nName=Old\r\nK=caf\xE9\r\n  ngWorldSecret=x  \r\n",
         "[DefaultPlayer]\r\nName=Zo\xE9 \xFF\r\nK=caf\xE9\r\nngWorldSecret=p\xE9\xFF\r\n"},
        {"pure ASCII stays single bytes", "Name=Old\n", "Name=Zo\xE9 \xFF\r\n"},
        {"UTF-8", "K=\xE2\x82\xAC\r\n name=Old\nngWorldSecret=x",
         "K=\xE2\x82\xAC\r\nName=Zo\xC3\xA9 \xC3\xBF\r\nngWorldSecret=p\xC3\xA9\xC3\xBF\r\n"},
        {"UTF-8 with its mark, a key on the first line", "\xEF\xBB\xBF  Name=Old \r\nK=\xC3\xA9",
         "\xEF\xBB\xBFName=Zo\xC3\xA9 \xC3\xBF\r\nK=\xC3\xA9\r\n"},
        {"UTF-16LE",
         "\xFF\xFE" + Utf16LeBytes(u"  Name=Old  \r\n" + others + u"\r\n[Engine.PlayerPawn]\n" +
                                   u"ngWorldSecret=x\r\nNoName=\r\n\u0120 \r\n  \rx\r\n"),
         "\xFF\xFE" + Utf16LeBytes(u"Name=Zo\u00E9 \u00FF\r\n" + others +
                                   u"\r\n[Engine.PlayerPawn]\r\nngWorldSecret=p\u00E9\u00FF\r\n" +
                                   u"NoName=\r\n\u0120\r\n\rx\r\n")},
        {"UTF-16LE, a key on the first line, no final break",
         "\xFF\xFE" + Utf16LeBytes(u" name=Old\r\n" + others),
         "\xFF\xFE" + Utf16LeBytes(u"Name=Zo\u00E9 \u00FF\r\n" + others + u"\r\n")},
        {"UTF-16LE, half a code unit at the end", "\xFF\xFE" + Utf16LeBytes(u"A=b\r\n") + "c",
         "\xFF\xFE" + Utf16LeBytes(u"A=b\r\n")},
        {"UTF-16LE mark alone", "\xFF\xFE", "\xFF\xFE"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RewriteAsPlay(c.in, "Zo\xE9 \xFF", "p\xE9\xFF"), c.out) << c.name;
    }
}

}  // namespace
}  // namespace korvale::test
