#include "play/PlayCommand.h"

#include <exception>
#include <string>

#include "platform/FileError.h"
#include "platform/Text.h"
#include "play/ProfileRewrite.h"
#include "settings/GameFolder.h"

namespace korvale {

namespace {

bool gPlayRunning = false;

// Marks a Play as running for as long as it lasts, however it ends.
class RunningPlay {
public:
    RunningPlay() { gPlayRunning = true; }
    RunningPlay(const RunningPlay&) = delete;
    RunningPlay& operator=(const RunningPlay&) = delete;
    ~RunningPlay() { gPlayRunning = false; }
};

// A failure whose message box must also say where the previous profile is.
class ProfileLost : public std::runtime_error {
public:
    explicit ProfileLost(const std::string& detail) : std::runtime_error(detail) {}
};

// Rewrites the profile in place from the backup. The profile keeps its identity (a link stays a
// link, owner and mode stay); when the rewrite fails, the backup's bytes are put back.
void rewriteProfile(const FileSystem& files, const std::string& profile, const std::string& backup,
                    const std::string& playerName, const std::string& password) {
    const File backupFile = files.GetFile(backup);
    const File profileFile = files.GetFile(profile);
    TextStream input = backupFile.OpenAsTextStream(IOMode::ForReading);
    std::string failure;
    {
        // A failure to open leaves the profile untouched and simply passes on.
        TextStream output = profileFile.OpenAsTextStream(IOMode::ForWriting);
        try {
            RewriteProfile(input, output, playerName, password);
            input.Close();
            output.Close();
            return;
        } catch (const std::exception& error) {
            failure = error.what();
        }
    }
    // The output stream is gone by now, so nothing of it can land after the restore.
    try {
        files.CopyInPlace(backup, profile);
    } catch (const std::exception&) {
        throw ProfileLost(failure + "\nThe previous profile is in " +
                          files.Ops().nativeForm(backup) + ".");
    }
    throw std::runtime_error(failure);
}

}  // namespace

void PlayUT(const PlayServices& services) {
    // A Play requested from inside another Play's event step would launch the game twice.
    if (gPlayRunning) {
        return;
    }
    const RunningPlay running;
    try {
        SetDirIniPath(services.files);
        if (services.users.SelectedIndex() < 0) {
            services.ui.ShowMessage("Please Select a user from the list");
            return;
        }
        if (auto line = ReadUTDirLine(services.files)) {
            gUTDir = std::move(*line);
        }
        if (Trim(gUTDir).empty()) {
            services.ui.ShowMessage("The UT Path Needs to be set");
            return;
        }
        // One folder for the whole Play, even if a Save lands during the event step.
        const std::string folder = gUTDir;
        const std::string profile = Latin1ToUtf8(UTGamePath(folder, kProfilePath));
        const std::string backup = Latin1ToUtf8(UTGamePath(folder, kBackupPath));
        const std::string program = Latin1ToUtf8(UTGamePath(folder, kGamePath));

        services.files.CopyWhole(profile, backup);
        if (!services.ui.ProcessEvents()) {
            return;  // the program is ending: leave the profile as it is
        }
        rewriteProfile(services.files, profile, backup, services.users.Text(),
                       services.passwords.Text());
        services.launcher.Start(program);
    } catch (const std::exception& error) {
        services.ui.ShowMessage("Error", error.what());
    }
}

}  // namespace korvale
