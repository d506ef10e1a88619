#include <poll.h>
#include <spawn.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/files/FileError.h"
#include "platform/host/NativeFileOps.h"
#include "platform/host/NativeLauncher.h"

extern char** environ;

namespace korvale {

namespace {

namespace fs = std::filesystem;

// A Windows program, which runs under Wine: decided here alone, for starting and for telling
// whether it runs.
bool isWindowsProgram(const std::string& program) {
    std::ifstream file(program, std::ios::binary);
    char magic[2] = {};
    return file.read(magic, 2) && magic[0] == 'M' && magic[1] == 'Z';
}

// Starts `argv` (its program found on PATH when `search`) in a session of its own, so that
// the end of Korvale's terminal or desktop session does not reach the game. Returns 0, or the
// reason it did not start (the exec's own, "Exec format error" included).
int spawn(std::vector<const char*> argv, bool search, pid_t& game) {
    argv.push_back(nullptr);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    const int error = (search ? ::posix_spawnp : ::posix_spawn)(
        &game, argv[0], nullptr, &attributes, const_cast<char* const*>(argv.data()), environ);
    posix_spawnattr_destroy(&attributes);
    return error;
}

// A Windows program runs under Wine, executable bit or not (unzipped files and NTFS mounts set
// it). Marked executable, it is first started directly, which a binfmt_misc handler of the host
// may take; without one that start fails ("Exec format error") and Wine takes over.
pid_t startGame(const std::string& program) {
    const bool windows = isWindowsProgram(program);
    pid_t game = -1;
    const bool direct = !windows || ::access(program.c_str(), X_OK) == 0;
    int error = direct ? spawn({program.c_str()}, false, game) : ENOEXEC;
    if (windows && error == ENOEXEC) {
        const int wine = spawn({"wine", program.c_str()}, true, game);
        // No executable "wine" in any folder of PATH: the direct start's reason, when it was tried.
        if (!direct && (wine == ENOENT || wine == EACCES)) {
            throw FileError(program,
                            "Wine is not installed (no \"wine\" on PATH); it is needed to start "
                            "this Windows program");
        }
        error = wine == ENOENT || wine == EACCES ? error : wine;
    }
    if (error != 0) {
        throw FileError(program, std::generic_category().message(error));
    }
    return game;
}

// The game is Korvale's child: it is reaped as soon as it ends, so no zombie stays behind.
void reapWhenEnded(pid_t game) {
    try {
        std::thread([game] {
            while (::waitpid(game, nullptr, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (const std::system_error&) {
        // No thread to spare: the system reaps the game once Korvale ends.
    }
}

// Under Wine, Wine's loader runs named after the program (at most the kernel's 15 bytes, and
// whatever its case, as Windows names) and maps the program's file, told by device and inode in
// each line of /proc/PID/maps: "start-end perms offset major:minor inode path".
bool mapsProgram(const fs::path& process, const fs::path& program, const struct stat& file) {
    std::ifstream comm(process / "comm");
    std::string named;
    if (!std::getline(comm, named) ||
        ::strcasecmp(named.c_str(), program.filename().string().substr(0, 15).c_str()) != 0) {
        return false;
    }
    std::ifstream maps(process / "maps");
    for (std::string line; std::getline(maps, line);) {
        unsigned int major = 0;
        unsigned int minor = 0;
        unsigned long long inode = 0;
        if (std::sscanf(line.c_str(), "%*s %*s %*s %x:%x %llu", &major, &minor, &inode) == 3 &&
            inode == file.st_ino && major == ::major(file.st_dev) &&
            minor == ::minor(file.st_dev)) {
            return true;
        }
    }
    return false;
}

}  // namespace

// Whoever started it: a process of the same file, whatever path it was started by.
bool NativeLauncher::isProgramRunning(const std::string& path) {
    const fs::path program = NativeFileOps().nativeForm(path);
    struct stat file {};
    if (::stat(program.c_str(), &file) != 0) {
        return false;
    }
    const bool underWine = isWindowsProgram(program);
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/proc", error)) {
        const fs::path& process = entry.path();
        if (process.filename().string().find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        // A native program is the process's executable itself.
        if (underWine ? mapsProgram(process, program, file)
                      : fs::equivalent(process / "exe", program, error)) {
            return true;
        }
    }
    return false;
}

bool NativeLauncher::hasEnded(std::intptr_t process) {
    pollfd ended{static_cast<int>(process), POLLIN, 0};
    return ::poll(&ended, 1, 0) != 0;
}

void NativeLauncher::release(std::intptr_t process) noexcept {
    ::close(static_cast<int>(process));
}

void NativeLauncher::start(const std::string& path) {
    const pid_t game = startGame(NativeFileOps().nativeForm(path));
    // Taken before the game can be reaped, so it can never name another process.
    const int process = static_cast<int>(::syscall(SYS_pidfd_open, game, 0));
    reapWhenEnded(game);
    if (process >= 0) {
        remember(path, process);
    }
}

}  // namespace korvale
