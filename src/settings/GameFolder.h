#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/files/FileSystem.h"
#include "platform/ports/HostEnvironment.h"
#include "platform/ports/UiServices.h"
#include "settings/GamePaths.h"

namespace korvale {

// The one setting: the game folder, kept in UTDir.ini next to the program.
class GameFolder {
public:
    explicit GameFolder(const FileSystem& files);

    // The setting file next to the program.
    void SetDirIniPath();
    // Start-up: creates an empty UTDir.ini when missing, else reads the game folder and says
    // "The Path to UT Needs to be set" when it is blank.
    void LoadUTDir(UiServices& ui);
    // The first line of UTDir.ini, untrimmed; no value when the file is empty. A missing file
    // fails.
    std::optional<std::string> ReadUTDirLine() const;
    // Stores the trimmed folder in UTDir.ini (no line break after it) and in gUTDir. A failure
    // leaves both as they were.
    void SaveUTDir(std::string_view folder);

    // Creates UTDir.ini empty when it is missing; true when it did.
    bool createIfMissing() const;
    // Takes the folder from UTDir.ini when the file has a line; an empty file changes nothing.
    void refresh();

    // The game folder as last read or saved: Latin-1 bytes, exactly as read (a saved value is
    // trimmed).
    const std::string& gUTDir() const noexcept { return m_gUTDir; }
    // The full path of UTDir.ini (UTF-8).
    const std::string& gDirIniPath() const noexcept { return m_gDirIniPath; }

    // The profile, its backup and the game program for the folder held now, as the host names
    // them: where the game on this host really keeps them (locateGamePaths).
    GamePaths gamePaths(const HostEnvironment& host) const;

private:
    const FileSystem* m_files;
    std::string m_gDirIniPath;
    std::string m_gUTDir;
};

}  // namespace korvale
