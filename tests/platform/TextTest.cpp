#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "platform/files/Text.h"

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
        EXPECT_EQ(trim(c.in), c.out) << "[" << c.in << "]";
    }
}

TEST(TextTest, EveryLatin1ByteBecomesItsUtf8Character) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        all.push_back(static_cast<char>(byte));
    }
    const std::string utf8 = latin1ToUtf8(all);
    EXPECT_EQ(utf8.size(), 128u + 2 * 128u);
    EXPECT_EQ(utf8.substr(0, 128), all.substr(0, 128));
    EXPECT_EQ(utf8.substr(128, 4), "\xC2\x80\xC2\x81");
    EXPECT_EQ(utf8.substr(utf8.size() - 4), "\xC3\xBE\xC3\xBF");
    EXPECT_EQ(latin1ToUtf8("Spi\xE9l\xFF"), "Spi\xC3\xA9l\xC3\xBF");
}

}  // namespace
}  // namespace korvale::test
