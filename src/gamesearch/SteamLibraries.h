#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvale {

// The Steam libraries a steamapps/libraryfolders.vdf lists, in its order, as it writes them:
// today's form, "libraryfolders" { "0" { "path" "..." ... } ... }, and the older one,
// "LibraryFolders" { "1" "..." }, where the root library goes unlisted. Of Valve's format it reads
// quoted strings, with the escapes \\ \" \n \t, and braces; nothing more.
std::vector<std::string> steamLibraries(std::string_view vdf);

}  // namespace korvale
