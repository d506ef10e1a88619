#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "platform/Text.h"

namespace korvale::test {
namespace {

using namespace std::string_literals;

TEST(TextTest, TrimRemovesSpacesOnly) {
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"  C:\\UT  ", "C:\\UT"}, {"a b", "a b"},   {"\ta\t", "\ta\t"},
        {" \t ", "\t"},           {"   ", ""},      {"", ""},
        {" \r\n", "\r\n"},        {" \0 "s, "\0"s}, {"\xA0x\xA0", "\xA0x\xA0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Trim(c.in), c.out) << "[" << c.in << "]";
    }
}

TEST(TextTest, EveryLatin1ByteRoundTripsThroughUtf8) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        all.push_back(static_cast<char>(byte));
    }
    const std::string utf8 = Latin1ToUtf8(all);
    EXPECT_EQ(utf8.size(), 128u + 2 * 128u);
    EXPECT_EQ(utf8.substr(0, 128), all.substr(0, 128));
    EXPECT_EQ(Latin1ToUtf8("Spi\xE9l\xFF"), "Spi\xC3\xA9l\xC3\xBF");
    EXPECT_EQ(Utf8ToLatin1(utf8), std::optional<std::string>(all));
}

TEST(TextTest, Utf8BeyondLatin1OrMalformedIsRefused) {
    const struct {
        const char* name;
        std::string utf8;
    } refused[] = {
        {"U+0100", "\xC4\x80"},
        {"euro sign", "a\xE2\x82\xAC"},
        {"four-byte character", "\xF0\x9F\x8E\xAE"},
        {"lead byte at the end", "abc\xC3"},
        {"lone continuation byte", "\x80"},
        {"Latin-1 byte as is", "\xE9"},
        {"lead byte before ASCII", "\xC3("},
        {"overlong NUL", "\xC0\x80"},
        {"overlong slash", "\xC1\xAF"},
        {"surrogate", "\xED\xA0\x80"},
    };
    for (const auto& c : refused) {
        EXPECT_EQ(Utf8ToLatin1(c.utf8), std::nullopt) << c.name;
    }
    EXPECT_EQ(Utf8ToLatin1(""), std::optional<std::string>(""));
    EXPECT_EQ(Utf8ToLatin1("J\xC3\xB6rg\0"s), std::optional<std::string>("J\xF6rg\0"s));
}

}  // namespace
}  // namespace korvale::test
