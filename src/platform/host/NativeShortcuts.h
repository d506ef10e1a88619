#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/ports/Shortcuts.h"

namespace korvale {

// The host's own shortcuts: a desktop entry in the applications folder on Linux, a .lnk on the
// desktop on Windows; one source file per host.
class NativeShortcuts final : public Shortcuts {
public:
    // `program`: Korvale itself; `folder`: where its shortcuts go; `icon`: the PNG a desktop entry
    // shows, kept beside the entries (a Windows link shows the program's own icon).
    NativeShortcuts(std::filesystem::path program, std::filesystem::path folder,
                    std::string icon = {});
    // For the running Korvale, in the user's own place for such shortcuts.
    static NativeShortcuts forThisProgram(std::string icon);

    std::string make(std::string_view name) const override;
    void rename(std::string_view from, std::string_view to) const override;
    void remove(std::string_view name) const override;
    // Where the shortcut of `name` goes. Two names that differ never share a file.
    std::filesystem::path pathOf(std::string_view name) const;

private:
    // A path as FileError names it: UTF-8.
    static std::string pathText(const std::filesystem::path& path);

    std::filesystem::path m_program;
    std::filesystem::path m_folder;
    std::string m_icon;
};

}  // namespace korvale
