#pragma once

#include <QString>

#include "platform/files/FileSystem.h"
#include "platform/ports/HostEnvironment.h"
#include "platform/ports/ProgramLauncher.h"
#include "platform/ports/UiServices.h"
#include "settings/Identities.h"

namespace korvale {

// `korvale --play NAME`: the Play of the one identity named NAME (spaces around it not counting,
// letter case counting), with no window but the message boxes. The game folder and the players
// load as at start-up, except that a blank game folder is left for Play itself to name. Every
// message goes to `ui`. True when the game was started.
bool playByName(const QString& name, const FileSystem& files, Identities& identities,
                UiServices& ui, ProgramLauncher& launcher, const HostEnvironment& host);

}  // namespace korvale
