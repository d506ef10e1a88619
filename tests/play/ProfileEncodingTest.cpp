#include <string>

#include <gtest/gtest.h>

#include "RawFiles.h"
#include "TempFolders.h"
#include "play/ProfileEncoding.h"
#include "play/ProfileRewrite.h"

namespace korvale::test {
namespace {

using namespace std::string_literals;

// UTF-16 text as the bytes of UTF-16LE.
std::string utf16le(std::u16string_view text) {
    std::string bytes;
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

class ProfileEncodingTest : public TempFolders {
protected:
    // Detects the encoding of `profile` and rewrites it for the identity, as Play does.
    std::string rewritten(const std::string& profile, const std::string& name,
                          const std::string& password, ProfileEncoding* detected = nullptr) {
        WriteBytes(ProgramPath("in.ini"), profile);
        const File file = Files().GetFile(Files().programFile("in.ini"));
        const ProfileEncoding encoding = detectProfileEncoding(file, name, password);
        if (detected != nullptr) {
            *detected = encoding;
        }
        TextStream input = file.OpenAsTextStream(IOMode::ForReading);
        TextStream output = Files().CreateTextFile(Files().programFile("out.ini"));
        RewriteProfile(input, output, encoding, name, password);
        input.Close();
        output.Close();
        return ReadBytes(ProgramPath("out.ini"));
    }
};

TEST_F(ProfileEncodingTest, IsTakenFromTheProfileItself) {
    const std::string ascii(70000, 'a');  // beyond the 64 KiB a stream reads at once
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
        {"UTF-16LE mark", "\xFF\xFE" + utf16le(u"Name=Zo\u00E9\r\n"), ProfileEncoding::Utf16Le},
        {"UTF-16LE mark alone", "\xFF\xFE", ProfileEncoding::Utf16Le},
        {"UTF-16BE mark is not ours", "\xFE\xFF\0N"s, ProfileEncoding::Latin1},
        {"overlong form", "A=\xC0\x80", ProfileEncoding::Latin1},
        {"surrogate", "A=\xED\xA0\x80", ProfileEncoding::Latin1},
        {"beyond U+10FFFF", "A=\xF4\x90\x80\x80", ProfileEncoding::Latin1},
        {"cut short at the end", "A=\xC3", ProfileEncoding::Latin1},
        {"cut short by a line break", "A=\xC3\r\n\xA9", ProfileEncoding::Latin1},
        {"UTF-8 then one Latin-1 byte far on", "\xC3\xA9" + ascii + "\xE9",
         ProfileEncoding::Latin1},
        {"a sequence across the stream's buffer", std::string(65535, 'a') + "\xC3\xA9",
         ProfileEncoding::Utf8},
    };
    for (const auto& c : cases) {
        ProfileEncoding detected{};
        rewritten(c.bytes, "\xE9", "", &detected);
        EXPECT_EQ(detected, c.encoding) << c.name;
    }
}

TEST_F(ProfileEncodingTest, TheIdentityIsWrittenInTheProfilesEncoding) {
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
         "\xFF\xFE" + utf16le(u"  Name=Old  \r\n" + others + u"\r\n[Engine.PlayerPawn]\n" +
                              u"ngWorldSecret=x\r\nNoName=\r\n\u0120 \r\n  \rx\r\n"),
         "\xFF\xFE" + utf16le(u"Name=Zo\u00E9 \u00FF\r\n" + others +
                              u"\r\n[Engine.PlayerPawn]\r\nngWorldSecret=p\u00E9\u00FF\r\n" +
                              u"NoName=\r\n\u0120\r\n\rx\r\n")},
        {"UTF-16LE, a key on the first line, no final break",
         "\xFF\xFE" + utf16le(u" name=Old\r\n" + others),
         "\xFF\xFE" + utf16le(u"Name=Zo\u00E9 \u00FF\r\n" + others + u"\r\n")},
        {"UTF-16LE, half a code unit at the end", "\xFF\xFE" + utf16le(u"A=b\r\n") + "c",
         "\xFF\xFE" + utf16le(u"A=b\r\n")},
        {"UTF-16LE mark alone", "\xFF\xFE", "\xFF\xFE"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rewritten(c.in, "Zo\xE9 \xFF", "p\xE9\xFF"), c.out) << c.name;
    }
}

TEST_F(ProfileEncodingTest, UTF16LELinesRunAcrossTheStreamsBuffer) {
    // Lines of every length around the 64 KiB the stream reads at once, so that a line, a line
    // break and a code unit are each cut by the buffer's end at one point or another.
    std::u16string in;
    std::u16string out;
    for (std::size_t length = 1; in.size() < 100000; length += 7) {
        const std::u16string value(length, u'\u010A');
        in += u" K=" + value + u" \r\nName=x\n";
        out += u"K=" + value + u"\r\nName=\u00E9\r\n";
    }
    EXPECT_EQ(rewritten("\xFF\xFE" + utf16le(in), "\xE9", ""), "\xFF\xFE" + utf16le(out));
    EXPECT_EQ(rewritten("\xFF\xFE" + utf16le(in) + "\xFF", "\xE9", ""), "\xFF\xFE" + utf16le(out));
}

}  // namespace
}  // namespace korvale::test
