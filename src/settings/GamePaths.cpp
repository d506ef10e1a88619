#include "settings/GamePaths.h"

#include <optional>
#include <span>

#include "platform/files/FileError.h"
#include "platform/files/Text.h"

namespace korvale {

std::string UTGamePath(std::string_view folder, std::string_view relative) {
    std::string path(folder);
    if (path.empty() || path.back() != '\\') {
        path += '\\';
    }
    path += relative;
    return path;
}

namespace {

using Architecture = HostEnvironment::Architecture;

constexpr std::string_view kProfilePath = "System\\User.ini";
constexpr std::string_view kBackupPath = "System\\UserKorvale.old";
constexpr std::string_view kGamePath = "System\\UnrealTournament.exe";

// The native programs of the Linux game for an architecture, the usual name first.
std::span<const std::string_view> nativePrograms(Architecture architecture) {
    static constexpr std::string_view kX86_64[] = {"System64\\ut-bin-amd64", "System64\\ut-bin"};
    static constexpr std::string_view kArm64[] = {"SystemARM64\\ut-bin-arm64",
                                                  "SystemARM64\\ut-bin"};
    static constexpr std::string_view kX86[] = {"System\\ut-bin-x86", "System\\ut-bin"};
    switch (architecture) {
        case Architecture::X86_64:
            return kX86_64;
        case Architecture::Arm64:
            return kArm64;
        case Architecture::X86:
            return kX86;
        case Architecture::Other:
            break;
    }
    return {};
}

// The profile and its backup in the System folder under `folder`, with the program given.
GamePaths profileUnder(std::string_view folder, std::string program) {
    return {UTGamePath(folder, kProfilePath), UTGamePath(folder, kBackupPath), std::move(program)};
}

// The native game takes its profile from its preference folder under the home folder when there
// is one there, else from the folder of the program that runs; with neither, its first start
// makes the preference folder's, and a switch now would have nothing to switch.
GamePaths nativeGamePaths(const std::string& game, std::string_view native, const FileSystem& files,
                          const HostEnvironment& host) {
    GamePaths home = profileUnder(host.homeFolder() + "\\.utpg", UTGamePath(game, native));
    if (files.FileExists(home.profile)) {
        return home;
    }
    const std::string own = UTGamePath(game, native.substr(0, native.find('\\')));
    GamePaths beside{UTGamePath(own, "User.ini"), UTGamePath(own, "UserKorvale.old"),
                     std::move(home.program)};
    if (files.FileExists(beside.profile)) {
        return beside;
    }
    throw FileError(files.nativePath(home.profile),
                    "Unreal Tournament makes this profile when it first starts. Start the game "
                    "once, then Play.");
}

// The native Linux program the game folder holds for this machine, the usual name first. It is
// started only where System\UnrealTournament.exe is not.
std::optional<std::string_view> nativeProgram(const std::string& game, const FileSystem& files,
                                              const HostEnvironment& host) {
    if (host.system() != HostEnvironment::System::Linux) {
        return std::nullopt;
    }
    for (const std::string_view native : nativePrograms(host.architecture())) {
        if (files.FileExists(UTGamePath(game, native))) {
            return native;
        }
    }
    return std::nullopt;
}

}  // namespace

bool holdsGame(const std::string& folder, const FileSystem& files, const HostEnvironment& host) {
    try {
        return files.FileExists(UTGamePath(folder, kGamePath)) ||
               nativeProgram(folder, files, host).has_value();
    } catch (const FileError&) {
        return false;
    }
}

GamePaths locateGamePaths(std::string_view folder, const FileSystem& files,
                          const HostEnvironment& host) {
    // The joins work on UTF-8 as on Latin-1: only the final backslash counts.
    const std::string game = latin1ToUtf8(folder);
    GamePaths specified = profileUnder(game, UTGamePath(game, kGamePath));
    switch (host.system()) {
        case HostEnvironment::System::Linux:
            if (files.FileExists(specified.program)) {
                break;
            }
            if (const std::optional<std::string_view> native = nativeProgram(game, files, host)) {
                return nativeGamePaths(game, *native, files, host);
            }
            break;
        case HostEnvironment::System::Windows: {
            // The store mirrors the folder's path without its drive; a network path has none.
            const std::string store = host.localAppData();
            if (store.empty() || game.size() < 3 || game[1] != ':' ||
                (game[2] != '\\' && game[2] != '/')) {
                break;
            }
            GamePaths virtualised =
                profileUnder(store + "\\VirtualStore" + game.substr(2), specified.program);
            if (files.FileExists(virtualised.profile)) {
                return virtualised;
            }
            break;
        }
        case HostEnvironment::System::Other:
            break;
    }
    return specified;
}

}  // namespace korvale
