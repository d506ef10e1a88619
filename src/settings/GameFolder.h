#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/UiServices.h"

namespace korvale {

// The game folder as last read from UTDir.ini or saved by the Game folder dialog: Latin-1 bytes,
// exactly as read (a saved value is trimmed).
inline std::string gUTDir;
// The full path of UTDir.ini next to the program (UTF-8).
inline std::string gDirIniPath;

inline constexpr std::string_view kProfilePath = "System\\User.ini";
inline constexpr std::string_view kBackupPath = "System\\UserKorvale.old";
inline constexpr std::string_view kGamePath = "System\\UnrealTournament.exe";

void SetDirIniPath(const FileSystem& files);
// Start-up: creates an empty UTDir.ini when missing, else reads the game folder into gUTDir and
// says "The Path to UT Needs to be set" when it is blank.
void LoadUTDir(const FileSystem& files, UiServices& ui);
// The first line of UTDir.ini, untrimmed; no value when the file is empty. A missing file fails.
std::optional<std::string> ReadUTDirLine(const FileSystem& files);
// Stores the trimmed folder in UTDir.ini (no line break after it) and in gUTDir. A failure
// leaves both as they were.
void SaveUTDir(const FileSystem& files, std::string_view folder);

// The game folder joined with a relative path ("System\User.ini" and the like): one backslash
// between them unless the folder already ends with one. Latin-1 in, Latin-1 out.
std::string UTGamePath(std::string_view folder, std::string_view relative);
std::string UTGamePath(std::string_view relative);  // from gUTDir

}  // namespace korvale
