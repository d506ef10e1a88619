#include "gamesearch/GameSearch.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <utility>

#include "gamesearch/SteamLibraries.h"
#include "platform/files/FileError.h"
#include "settings/GamePaths.h"

namespace korvale {

namespace {

namespace fs = std::filesystem;
using Root = HostEnvironment::RegistryRoot;
using View = HostEnvironment::RegistryView;

constexpr std::string_view kGameInLibrary = "steamapps/common/Unreal Tournament";
constexpr std::string_view kLibraryList = "steamapps/libraryfolders.vdf";
// The installers' default folders, on the system drive or in a Wine prefix's drive_c.
constexpr std::string_view kDefaultFolders[] = {"UnrealTournament",
                                                "GOG Games/Unreal Tournament GOTY"};

// The folders in `folder`, by name, so that their order is not the disk's.
std::vector<std::string> subfolders(const fs::path& folder) {
    std::vector<std::string> found;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        if (std::error_code unreadable; entry->is_directory(unreadable)) {
            const std::u8string utf8 = entry->path().u8string();
            found.emplace_back(utf8.begin(), utf8.end());
        }
    }
    std::ranges::sort(found);
    return found;
}

// The folders that hold the game, in the order they are offered, each once.
class Search {
public:
    Search(const FileSystem& files, const HostEnvironment& host)
        : m_files(files),
          m_host(host),
          m_separator(host.system() == HostEnvironment::System::Windows ? '\\' : '/') {}

    // The folder and the path under it, with the host's separators.
    std::string join(std::string folder, std::string_view relative = {}) const {
        if (!relative.empty() && !folder.empty() && folder.back() != '/' && folder.back() != '\\') {
            folder += '/';
        }
        folder += relative;
        std::ranges::replace(folder, m_separator == '/' ? '\\' : '/', m_separator);
        return folder;
    }

    void offer(const std::string& found) {
        const std::string folder = join(found);
        if (folder.empty() || !holdsGame(folder, m_files, m_host)) {
            return;
        }
        // The same folder, through a link or in other letters, is one folder on the disk.
        const fs::path disk = onDisk(folder);
        std::error_code error;
        if (std::ranges::none_of(m_disk, [&](const fs::path& known) {
                return fs::equivalent(known, disk, error);
            })) {
            m_disk.push_back(disk);
            m_folders.push_back(folder);
        }
    }

    // The game in each library of the Steam installed at `root`, the root first: the older list
    // leaves it out, and today's names it first.
    void offerSteam(const std::string& root) {
        if (root.empty()) {
            return;
        }
        std::vector<std::string> libraries{root};
        try {
            const std::vector<std::string> listed =
                steamLibraries(m_files.GetFile(join(root, kLibraryList)).ReadAll());
            libraries.insert(libraries.end(), listed.begin(), listed.end());
        } catch (const FileError&) {
            // no list: the root is the only library
        }
        for (const std::string& library : libraries) {
            offer(join(library, kGameInLibrary));
        }
    }

    fs::path onDisk(const std::string& path) const {
        const std::string native = m_files.nativePath(path);
        return fs::path(std::u8string(native.begin(), native.end()));
    }

    const std::vector<std::string>& folders() const { return m_folders; }

private:
    const FileSystem& m_files;
    const HostEnvironment& m_host;
    char m_separator;
    std::vector<std::string> m_folders;
    std::vector<fs::path> m_disk;
};

void searchWindows(Search& search, const HostEnvironment& host) {
    static constexpr std::pair<Root, View> kUnrealKeys[] = {{Root::CurrentUser, View::Bits64},
                                                            {Root::LocalMachine, View::Bits64},
                                                            {Root::LocalMachine, View::Bits32}};
    const std::string unreal = "SOFTWARE\\Unreal Technology\\Installed Apps\\UnrealTournament";
    for (const auto& [root, view] : kUnrealKeys) {
        search.offer(host.registryString(root, view, unreal, "Folder").value_or(""));
    }
    // Each GOG game has a key of its own, named by its number.
    const std::string gog = "SOFTWARE\\GOG.com\\Games";
    for (const std::string& game : host.registrySubkeys(Root::LocalMachine, View::Bits32, gog)) {
        search.offer(
            host.registryString(Root::LocalMachine, View::Bits32, gog + "\\" + game, "path")
                .value_or(""));
    }
    search.offerSteam(
        host.registryString(Root::CurrentUser, View::Bits64, "Software\\Valve\\Steam", "SteamPath")
            .value_or(""));
    search.offerSteam(host.registryString(Root::LocalMachine, View::Bits32,
                                          "SOFTWARE\\Valve\\Steam", "InstallPath")
                          .value_or(""));
    const std::string drive = host.variable("SystemDrive");
    for (const std::string_view folder : kDefaultFolders) {
        search.offer(search.join(drive.empty() ? "C:" : drive, folder));
    }
}

void searchLinux(Search& search, const HostEnvironment& host) {
    const std::string home = host.homeFolder();
    const std::string data = host.variable("XDG_DATA_HOME");
    search.offer(
        search.join(data.empty() ? home + "/.local/share" : data, "OldUnreal/UnrealTournament"));
    // The usual roots link to one another: each library is then offered once.
    for (const std::string_view root :
         {".local/share/Steam", ".steam/steam", ".steam/root", ".steam/debian-installation",
          ".var/app/com.valvesoftware.Steam/.local/share/Steam",
          "snap/steam/common/.local/share/Steam"}) {
        search.offerSteam(search.join(home, root));
    }
    const std::string wine = host.variable("WINEPREFIX");
    std::vector<std::string> prefixes{wine.empty() ? search.join(home, ".wine") : wine};
    for (const std::string_view many :
         {"Games", ".var/app/com.usebottles.bottles/data/bottles/bottles",
          ".local/share/bottles/bottles"}) {
        const std::vector<std::string> found = subfolders(search.onDisk(search.join(home, many)));
        prefixes.insert(prefixes.end(), found.begin(), found.end());
    }
    for (const std::string& prefix : prefixes) {
        for (const std::string_view folder : kDefaultFolders) {
            search.offer(search.join(prefix, "drive_c/" + std::string(folder)));
        }
    }
}

}  // namespace

std::vector<std::string> findGameFolders(const FileSystem& files, const HostEnvironment& host) {
    Search search(files, host);
    switch (host.system()) {
        case HostEnvironment::System::Windows:
            searchWindows(search, host);
            break;
        case HostEnvironment::System::Linux:
            searchLinux(search, host);
            break;
        case HostEnvironment::System::Other:
            break;
    }
    return search.folders();
}

}  // namespace korvale
