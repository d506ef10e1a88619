#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace korvale {

// Shortcuts that play as one identity (`korvale --play NAME`), one per name and named for it, so
// that each can be started, or added to Steam, on its own. Names are Latin-1, as the player list
// keeps them; no password ever goes into a shortcut. A desktop entry in the applications folder
// on Linux, a .lnk on the desktop on Windows: one source file per host.
class Shortcuts {
public:
    // `program`: Korvale itself; `folder`: where its shortcuts go.
    Shortcuts(std::filesystem::path program, std::filesystem::path folder);
    // For the running Korvale, in the user's own place for such shortcuts.
    static Shortcuts forThisProgram();

    // Makes the shortcut of `name`, replacing one that is there, and returns where it is. A file
    // that cannot be made raises FileError; a shortcut is never left half written.
    std::filesystem::path make(std::string_view name) const;
    // The shortcut of `from`, when there is one, becomes that of `to`.
    void rename(std::string_view from, std::string_view to) const;
    // Removes the shortcut of `name`, when there is one.
    void remove(std::string_view name) const;
    // Where the shortcut of `name` goes. Two names that differ never share a file.
    std::filesystem::path pathOf(std::string_view name) const;

private:
    // A path as FileError names it: UTF-8.
    static std::string pathText(const std::filesystem::path& path);

    std::filesystem::path m_program;
    std::filesystem::path m_folder;
};

}  // namespace korvale
