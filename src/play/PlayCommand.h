#pragma once

#include "platform/files/FileSystem.h"
#include "platform/ports/HostEnvironment.h"
#include "platform/ports/ProgramLauncher.h"
#include "platform/ports/UiServices.h"
#include "play/PlayerPick.h"
#include "settings/GameFolder.h"

namespace korvale {

// Switches the game profile to the picked identity and starts the game.
class PlayCommand {
public:
    // The host decides which profile and program the game really uses there.
    PlayCommand(const FileSystem& files, GameFolder& folder, UiServices& ui,
                ProgramLauncher& launcher, const HostEnvironment& host);

    // True when the game was started. Every failure ends in the message "Error" with its cause;
    // the profile then holds its old bytes or the whole rewrite.
    bool PlayUT(const PlayerPick& pick);

    bool isRunning() const noexcept { return m_running; }

private:
    const FileSystem* m_files;
    GameFolder* m_folder;
    UiServices* m_ui;
    ProgramLauncher* m_launcher;
    const HostEnvironment* m_host;
    bool m_running = false;
};

}  // namespace korvale
