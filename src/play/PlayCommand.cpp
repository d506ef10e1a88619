#include "play/PlayCommand.h"

#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include "platform/files/FileError.h"
#include "platform/files/Text.h"
#include "play/ProfileRewrite.h"
#include "settings/GameFolder.h"

namespace korvale {

namespace {

// Marks a Play as running for as long as it lasts, however it ends.
class RunningPlay {
public:
    explicit RunningPlay(bool& running) : m_running(running) { m_running = true; }
    RunningPlay(const RunningPlay&) = delete;
    RunningPlay& operator=(const RunningPlay&) = delete;
    ~RunningPlay() { m_running = false; }

private:
    bool& m_running;
};

// A failure whose message box must also say where the previous profile is.
class ProfileLost : public std::runtime_error {
public:
    explicit ProfileLost(const std::string& detail) : std::runtime_error(detail) {}
};

// Rewrites the profile in place from the backup, for a profile with more names than one (hard
// links), which a new file would part from the others. When the rewrite fails, the backup's bytes
// are put back.
void rewriteInPlace(const FileSystem& files, const std::string& profile, const std::string& backup,
                    const PlayerPick& pick) {
    const std::string bytes = files.GetFile(backup).ReadAll();
    const File profileFile = files.GetFile(profile);
    std::string failure;
    {
        // A failure to open leaves the profile untouched and simply passes on.
        TextStream output = profileFile.OpenAsTextStream(IOMode::ForWriting);
        try {
            RewriteProfile(bytes, output, pick.name(), pick.password());
            output.flush();
            output.Close();
            return;
        } catch (const std::exception& error) {
            failure = error.what();
        }
    }
    // The output stream is gone by now, so nothing of it can land after the restore.
    try {
        files.copyInPlace(backup, profile);
    } catch (const std::exception&) {
        throw ProfileLost(failure + "\nThe previous profile is in " + files.nativePath(backup) +
                          ".");
    }
    throw std::runtime_error(failure);
}

// Writes the rewrite into a new file beside the profile and swaps it in whole.
void rewriteWhole(const FileSystem& files, const std::string& profile, const std::string& backup,
                  const PlayerPick& pick) {
    const File backupFile = files.GetFile(backup);
    // The swap would go through where the profile itself may not be written (read-only, or held
    // by a program that shares no writing): that refusal stands, as it did for a rewrite in place.
    files.checkWritable(profile);
    const std::string bytes = backupFile.ReadAll();
    ReplacementFile output = files.replacement(profile);
    RewriteProfile(bytes, output.stream(), pick.name(), pick.password());
    output.commit(backup);  // a linked backup is durable before the profile moves on
}

}  // namespace

PlayCommand::PlayCommand(const FileSystem& files, GameFolder& folder, UiServices& ui,
                         ProgramLauncher& launcher, const HostEnvironment& host)
    : m_files(&files), m_folder(&folder), m_ui(&ui), m_launcher(&launcher), m_host(&host) {}

void PlayCommand::PlayUT(const PlayerPick& pick) {
    // A Play requested from inside another Play's event step would launch the game twice.
    if (m_running) {
        return;
    }
    const RunningPlay running(m_running);
    try {
        m_folder->SetDirIniPath();
        if (pick.selectedIndex() < 0) {
            m_ui->showMessage("Please Select a user from the list");
            return;
        }
        m_folder->refresh();
        if (trim(m_folder->gUTDir()).empty()) {
            m_ui->showMessage("The UT Path Needs to be set");
            return;
        }
        // One folder for the whole Play, even if a Save lands during the event step.
        const GamePaths paths = m_folder->gamePaths(*m_host);
        if (m_launcher->isRunning(paths.program)) {
            // The game rewrites the profile as it pleases: a switch now would be lost, and the
            // backup would hold the switched profile.
            m_ui->showMessage("Unreal Tournament is already running");
            return;
        }
        m_files->GetFile(paths.profile);  // a missing profile is named as such, before any lock
        const std::optional<FileLock> lock = m_files->lockBeside(paths.profile);
        if (!lock) {
            m_ui->showMessage("Another Play of this game folder is running");
            return;
        }
        // No other Play of this profile runs now: what is left of new files was left by a stop.
        m_files->removeLeftovers(paths.profile);
        m_files->removeLeftovers(paths.backup);
        // A backup that shares the profile's file was left by a Play stopped between its swaps.
        const bool inPlace = m_files->hasOtherNames(paths.profile, paths.backup);
        if (inPlace) {
            m_files->copyWhole(paths.profile, paths.backup);
        } else {
            m_files->linkOrCopyWhole(paths.profile, paths.backup);
        }
        if (!m_ui->processEvents()) {
            return;  // the program is ending: leave the profile as it is
        }
        (inPlace ? rewriteInPlace : rewriteWhole)(*m_files, paths.profile, paths.backup, pick);
        m_launcher->start(paths.program);
    } catch (const std::exception& error) {
        m_ui->showMessage("Error", error.what());
    }
}

}  // namespace korvale
