#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gamesearch/SteamLibraries.h"

namespace korvale {
namespace {

TEST(SteamLibrariesTest, ListsTheLibrariesInTheFilesOrder) {
    const struct {
        const char* name;
        std::string vdf;
        std::vector<std::string> expected;
    } cases[] = {
        {"today's form",
         R"("libraryfolders" { "contentstatsid" "-7" "0" { "path" "/home/me/.local/share/Steam"
            "label" "" "apps" { "13240" "600" } } "1" { "label" "SSD" "path" "/mnt/ssd" } })",
         {"/home/me/.local/share/Steam", "/mnt/ssd"}},
        {"the older form, backslashes doubled",
         R"("LibraryFolders" { "TimeNextStatsReport" "16" "1" "D:\\Steam" "2" "E:\\Games\\Steam" })",
         {"D:\\Steam", "E:\\Games\\Steam"}},
        {"escapes, a backslash that is none, a string never closed",
         R"("libraryfolders" { "0" { "path" "/a \"b\"\\c\td\ne\f" } "1" { "path" "/b)",
         {"/a \"b\"\\c\td\ne\\f"}},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(steamLibraries(test.vdf), test.expected) << test.name;
    }
}

}  // namespace
}  // namespace korvale
