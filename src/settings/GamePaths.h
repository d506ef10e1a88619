#pragma once

#include <string>
#include <string_view>

#include "platform/files/FileSystem.h"
#include "platform/ports/HostEnvironment.h"

namespace korvale {

// The game folder joined with a relative path ("System\User.ini" and the like): one backslash
// between them unless the folder already ends with one. Latin-1 in, Latin-1 out.
std::string UTGamePath(std::string_view folder, std::string_view relative);

// The three files of one Play, as file-layer paths (UTF-8).
struct GamePaths {
    std::string profile;  // the profile the game reads, rewritten
    std::string backup;   // its copy, beside it
    std::string program;  // the game, started
};

// The files the game really uses, from the game folder (Latin-1) on this host:
// - the native Linux game (a program for the machine's architecture under System64,
//   SystemARM64 or System, and no System\UnrealTournament.exe) reads
//   $HOME/.utpg/System/User.ini when it exists, else User.ini beside that program, and that
//   program is started; with neither, a FileError names the home one, which the game makes at
//   its first start;
// - on Windows, once the game, virtualised, has its own copy of the profile under
//   %LOCALAPPDATA%\VirtualStore, that copy is the profile, and the program stays the real one;
// - otherwise System\User.ini, System\UserKorvale.old and System\UnrealTournament.exe.
GamePaths locateGamePaths(std::string_view folder, const FileSystem& files,
                          const HostEnvironment& host);

// Whether a Play would find the game to start in `folder` (UTF-8, as the file layer names it) on
// this host: System\UnrealTournament.exe, or on Linux the native program for the machine. A
// folder that cannot be looked into holds none.
bool holdsGame(const std::string& folder, const FileSystem& files, const HostEnvironment& host);

}  // namespace korvale
