#include "app/PlayByName.h"

#include <cstddef>
#include <optional>
#include <utility>
#include <string>
#include <vector>

#include "platform/files/FileError.h"
#include "play/PlayCommand.h"
#include "settings/GameFolder.h"
#include "settings/FileErrorMessage.h"
#include "ui/QtText.h"

namespace korvale {

namespace {

// The named identity, picked as if from the list.
class NamedPick final : public PlayerPick {
public:
    NamedPick(std::ptrdiff_t index, Player player) : m_index(index), m_player(std::move(player)) {}

    std::ptrdiff_t selectedIndex() const override { return m_index; }
    std::string name() const override { return m_player.name; }
    std::string password() const override { return m_player.password; }

private:
    std::ptrdiff_t m_index;
    Player m_player;
};

}  // namespace

bool playByName(const QString& name, const FileSystem& files, Identities& identities,
                UiServices& ui, ProgramLauncher& launcher, const HostEnvironment& host) {
    GameFolder folder(files);
    folder.SetDirIniPath();
    // Unlike the window, nothing is left to go on with after a file that cannot be used.
    try {
        if (!folder.createIfMissing()) {
            folder.refresh();
        }
    } catch (const FileError& error) {
        showFileError(ui, files, "Korvale could not read or create its game folder setting.",
                      error);
        return false;
    }
    try {
        identities.LoadPlayers();
    } catch (const FileError& error) {
        showFileError(ui, files, "Korvale could not load its list of players.", error);
        return false;
    }

    // A name Latin-1 cannot hold is no player's.
    const std::optional<std::string> latin1 = qStringToLatin1(name);
    const std::vector<std::size_t> found =
        latin1 ? identities.named(*latin1) : std::vector<std::size_t>();
    if (found.size() != 1) {
        ui.showMessage(((found.empty() ? "No UT User is named " : "More than one UT User is named ") +
                        name)
                           .toStdString());
        return false;
    }
    PlayCommand play(files, folder, ui, launcher, host);
    return play.PlayUT(
        NamedPick(static_cast<std::ptrdiff_t>(found.front()), identities.at(found.front())));
}

}  // namespace korvale
