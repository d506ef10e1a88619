#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "gamesearch/SteamLibraries.h"

namespace korvale {
namespace {

TEST(SteamLibrariesTest, ListsTheLibrariesInTheFilesOrder) {
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {R"("libraryfolders" { "contentstatsid" "-7" "0" { "path" "/home/me/.local/share/Steam"
            "label" "" "apps" { "13240" "600" } } "1" { "label" "SSD" "path" "/mnt/ssd" } })",
         {"/home/me/.local/share/Steam", "/mnt/ssd"}},
        // The older form, with backslashes doubled as Steam writes them on Windows.
        {R"("LibraryFolders" { "TimeNextStatsReport" "16" "1" "D:\\Steam" "2" "E:\\Games\\Steam" })",
         {"D:\\Steam", "E:\\Games\\Steam"}},
        // Escapes, a backslash that is none, and a string never closed.
        {R"("libraryfolders" { "0" { "path" "/a \"b\"\\c\td\ne\f" } "1" { "path" "/b)",
         {"/a \"b\"\\c\td\ne\\f"}},
    };
    for (const auto& [vdf, expected] : cases) {
        EXPECT_EQ(steamLibraries(vdf), expected) << vdf;
    }
}

}  // namespace
}  // namespace korvale
