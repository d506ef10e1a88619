#include "play/PlayCommand.h"

#include <exception>
#include <optional>
#include <string>

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

}  // namespace

PlayCommand::PlayCommand(const FileSystem& files, GameFolder& folder, UiServices& ui,
                         ProgramLauncher& launcher, const HostEnvironment& host)
    : m_files(&files), m_folder(&folder), m_ui(&ui), m_launcher(&launcher), m_host(&host) {}

// Both files are only ever replaced whole, the backup first: however a Play stops, the profile
// and the backup are each whole, old or new, and the next Play finishes the switch.
bool PlayCommand::PlayUT(const PlayerPick& pick) {
    // A Play requested from inside another Play's event step would launch the game twice.
    if (m_running) {
        return false;
    }
    const RunningPlay running(m_running);
    try {
        m_folder->SetDirIniPath();
        if (pick.selectedIndex() < 0) {
            m_ui->showMessage("Please Select a user from the list");
            return false;
        }
        m_folder->refresh();
        if (trim(m_folder->gUTDir()).empty()) {
            m_ui->showMessage("The UT Path Needs to be set");
            return false;
        }
        // One folder for the whole Play, even if a Save lands during the event step.
        const GamePaths paths = m_folder->gamePaths(*m_host);
        if (m_launcher->isRunning(paths.program)) {
            // The game rewrites the profile as it pleases: a switch now would be lost, and the
            // backup would hold the switched profile.
            m_ui->showMessage("Unreal Tournament is already running");
            return false;
        }
        // A missing profile is named as such, before any lock.
        const File profileFile = m_files->GetFile(paths.profile);
        const std::optional<FileLock> lock = m_files->lockBeside(paths.profile);
        if (!lock) {
            m_ui->showMessage("Another Play of this game folder is running");
            return false;
        }
        // No other Play of this profile runs now: what is left of new files was left by a stop.
        m_files->removeLeftovers({paths.profile, paths.backup});
        // Replacing goes through where the profile itself may not be written (read-only, or
        // held by a program that shares no writing): that refusal stands, before any write.
        m_files->checkWritable(paths.profile);
        // Read once, under the lock: the backup and the rewrite are made of the same bytes. The
        // backup holds the password too, so it takes the profile's access.
        const std::string profile = profileFile.ReadAll();
        m_files->replaceWhole(paths.backup, profile, paths.profile);
        if (!m_ui->processEvents()) {
            return false;  // the program is ending: leave the profile as it is
        }
        // Where the profile is a symbolic link, its target is replaced; other hard links of it
        // keep the previous profile.
        ReplacementFile rewrite = m_files->replacement(paths.profile);
        RewriteProfile(profile, rewrite.stream(), pick.name(), pick.password());
        rewrite.commit();
        m_launcher->start(paths.program);
        return true;
    } catch (const std::exception& error) {
        m_ui->showMessage("Error", error.what());
        return false;
    }
}

}  // namespace korvale
