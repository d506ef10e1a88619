#pragma once

#include "platform/FileSystem.h"
#include "platform/PlayerList.h"
#include "platform/ProgramLauncher.h"
#include "platform/UiServices.h"

namespace korvale {

struct PlayServices {
    const FileSystem& files;
    UiServices& ui;
    ProgramLauncher& launcher;
    PlayerList& users;
    PlayerList& passwords;
};

// Switches the game profile to the selected identity and starts the game. Every failure ends in
// the message "Error" with its cause; the profile then holds its old bytes or the whole rewrite.
void PlayUT(const PlayServices& services);

}  // namespace korvale
