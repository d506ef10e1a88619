#include <fcntl.h>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

#include "platform/files/FileError.h"
#include "platform/host/NativeFileOps.h"
#include "platform/host/NativeLauncher.h"

extern char** environ;

namespace korvale {

namespace {

std::string firstBytes(const std::string& path, std::size_t count) {
    std::ifstream file(path, std::ios::binary);
    std::string bytes(count, '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(file.gcount(), 0)));
    return bytes;
}

bool isWindowsProgram(const std::string& path) {
    return firstBytes(path, 2) == "MZ";
}

std::string fromHex(std::string_view hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
    }
    return bytes;
}

// Whether an enabled handler of binfmt_misc in `folder` claims the program: by its magic bytes
// (under the mask) at their offset, or by its extension.
bool aHandlerClaims(const std::string& folder, const std::string& program) {
    std::error_code error;
    std::ifstream status(folder + "/status");
    std::string state;
    if (!(status >> state) || state != "enabled") {
        return false;
    }
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name == "status" || name == "register") {
            continue;
        }
        std::ifstream handler(entry.path());
        std::string line;
        if (!std::getline(handler, line) || line != "enabled") {
            continue;
        }
        std::size_t offset = 0;
        std::string magic;
        std::string mask;
        std::string extension;
        while (std::getline(handler, line)) {
            std::istringstream words(line);
            std::string key;
            std::string value;
            words >> key >> value;
            if (key == "offset") {
                offset = std::strtoul(value.c_str(), nullptr, 10);
            } else if (key == "magic") {
                magic = fromHex(value);
            } else if (key == "mask") {
                mask = fromHex(value);
            } else if (key == "extension") {
                extension = value;
            }
        }
        if (!extension.empty()) {
            if (program.size() > extension.size() + 1 && program.ends_with("." + extension)) {
                return true;
            }
            continue;
        }
        const std::string bytes = firstBytes(program, offset + magic.size());
        if (magic.empty() || bytes.size() < offset + magic.size()) {
            continue;
        }
        bool same = true;
        for (std::size_t i = 0; i < magic.size() && same; ++i) {
            const auto m = static_cast<unsigned char>(i < mask.size() ? mask[i] : '\xff');
            same = ((static_cast<unsigned char>(bytes[offset + i]) ^
                     static_cast<unsigned char>(magic[i])) &
                    m) == 0;
        }
        if (same) {
            return true;
        }
    }
    return false;
}

std::string findOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string_view folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    while (!folders.empty()) {
        const auto colon = folders.find(':');
        std::string folder(folders.substr(0, colon));
        folders = colon == std::string_view::npos ? std::string_view() : folders.substr(colon + 1);
        const std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return {};
}

// An argument vector for execve over strings that outlive it.
std::vector<char*> argumentVector(std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (auto& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    return argv;
}

// Both ends of a pipe, closed on exec and when the object goes.
class Pipe {
public:
    Pipe() {
        if (::pipe2(m_ends.data(), O_CLOEXEC) != 0) {
            m_ends = {-1, -1};
        }
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    ~Pipe() {
        closeReading();
        closeWriting();
    }
    bool ok() const noexcept { return m_ends[0] >= 0; }
    int reading() const noexcept { return m_ends[0]; }
    int writing() const noexcept { return m_ends[1]; }
    void closeReading() noexcept { closeEnd(0); }
    void closeWriting() noexcept { closeEnd(1); }

private:
    void closeEnd(std::size_t end) noexcept {
        if (m_ends[end] >= 0) {
            ::close(m_ends[end]);
            m_ends[end] = -1;
        }
    }
    std::array<int, 2> m_ends{-1, -1};
};

// Reads a whole value, or nothing when the other end closed first.
template <typename T>
bool readWhole(int fd, T& value) {
    ssize_t got = 0;
    do {
        got = ::read(fd, &value, sizeof value);
    } while (got < 0 && errno == EINTR);
    return got == static_cast<ssize_t>(sizeof value);
}

}  // namespace

NativeLauncher::NativeLauncher(std::string formatHandlers)
    : m_formatHandlers(std::move(formatHandlers)) {}

NativeLauncher::~NativeLauncher() {
    for (const auto& [path, process] : m_started) {
        ::close(static_cast<int>(process));
    }
}

void NativeLauncher::start(const std::string& path) {
    const std::string program = NativeFileOps().nativeForm(path);
    std::vector<std::string> direct{program};
    std::vector<std::string> underWine;
    // A Windows program runs under Wine, executable bit or not (unzipped files and NTFS mounts
    // set it), unless the host has a handler of its own for it; then Wine is the fallback.
    bool tryDirect = true;
    if (isWindowsProgram(program)) {
        const std::string wine = findOnPath("wine");
        tryDirect =
            ::access(program.c_str(), X_OK) == 0 && aHandlerClaims(m_formatHandlers, program);
        if (!wine.empty()) {
            underWine = {wine, program};
        } else if (!tryDirect) {
            throw FileError(program,
                            "Wine is not installed (no \"wine\" on PATH); it is needed "
                            "to start this Windows program");
        }
    }
    std::vector<char*> directArgv = argumentVector(direct);
    std::vector<char*> wineArgv = argumentVector(underWine);

    // The game is started through an intermediate child that exits at once, so it is never
    // Korvale's child and leaves no zombie. Before that child exits, Korvale takes a descriptor of
    // the game's process, which tells when the game has ended and can never name another
    // process. Pipes closed on exec carry back the game's process id and, when the program could
    // not be started, the reason.
    Pipe started;
    Pipe failure;
    Pipe release;
    if (!started.ok() || !failure.ok() || !release.ok()) {
        throw FileError(program, std::generic_category().message(errno));
    }
    const pid_t child = ::fork();
    if (child < 0) {
        throw FileError(program, std::generic_category().message(errno));
    }
    if (child == 0) {
        started.closeReading();
        failure.closeReading();
        release.closeWriting();
        ::setsid();
        const pid_t game = ::fork();
        if (game == 0) {
            int error = 0;
            if (tryDirect) {
                ::execve(directArgv[0], directArgv.data(), environ);
                error = errno;
            }
            if (wineArgv[0] != nullptr) {
                ::execve(wineArgv[0], wineArgv.data(), environ);
                error = errno;
            }
            [[maybe_unused]] const auto written = ::write(failure.writing(), &error, sizeof error);
            ::_exit(127);
        }
        if (game < 0) {
            const int error = errno;
            [[maybe_unused]] const auto written = ::write(failure.writing(), &error, sizeof error);
            ::_exit(127);
        }
        [[maybe_unused]] const auto written = ::write(started.writing(), &game, sizeof game);
        char ignored = 0;
        [[maybe_unused]] const auto got = ::read(release.reading(), &ignored, 1);
        ::_exit(0);
    }
    started.closeWriting();
    failure.closeWriting();
    release.closeReading();
    pid_t game = -1;
    int process = -1;
    if (readWhole(started.reading(), game)) {
        // The game cannot be reaped, nor its id reused, while the intermediate child waits.
        process = static_cast<int>(::syscall(SYS_pidfd_open, game, 0));
    }
    release.closeWriting();
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    if (readWhole(failure.reading(), error)) {
        if (process >= 0) {
            ::close(process);
        }
        // The reason is the last start's: Wine's when it was tried.
        throw FileError(underWine.empty() ? program : underWine[0],
                        std::generic_category().message(error));
    }
    if (process >= 0) {
        if (auto old = m_started.find(path); old != m_started.end()) {
            ::close(static_cast<int>(old->second));
            m_started.erase(old);
        }
        m_started.emplace(path, process);
    }
}

bool NativeLauncher::isRunning(const std::string& path) {
    const auto found = m_started.find(path);
    if (found == m_started.end()) {
        return false;
    }
    pollfd ended{static_cast<int>(found->second), POLLIN, 0};
    if (::poll(&ended, 1, 0) == 0) {
        return true;
    }
    ::close(static_cast<int>(found->second));
    m_started.erase(found);
    return false;
}

}  // namespace korvale
