#include <strings.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/host/NativeFileOps.h"
#include "platform/host/RunningProgram.h"

namespace korvale {

namespace {

namespace fs = std::filesystem;

// The kernel keeps a process name of at most 15 bytes.
constexpr std::size_t kNameLength = 15;

// A line of /proc/PID/maps: "start-end perms offset major:minor inode path".
bool mapsFile(const std::string& line, const struct stat& program) {
    unsigned int major = 0;
    unsigned int minor = 0;
    unsigned long long inode = 0;
    return std::sscanf(line.c_str(), "%*s %*s %*s %x:%x %llu", &major, &minor, &inode) == 3 &&
           inode == program.st_ino && major == ::major(program.st_dev) &&
           minor == ::minor(program.st_dev);
}

// A Windows program under Wine: Wine's loader runs, named after the program, and maps its file.
// Windows file names are the same whatever their case, and so are the names Wine gives.
bool mapsProgram(const fs::path& process, const std::string& name, const struct stat& program) {
    std::ifstream comm(process / "comm");
    std::string named;
    if (!std::getline(comm, named) || ::strcasecmp(named.c_str(), name.c_str()) != 0) {
        return false;
    }
    std::ifstream maps(process / "maps");
    for (std::string line; std::getline(maps, line);) {
        if (mapsFile(line, program)) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool isWindowsProgram(const std::string& program) {
    std::ifstream file(program, std::ios::binary);
    char magic[2] = {};
    return file.read(magic, 2) && magic[0] == 'M' && magic[1] == 'Z';
}

bool isProgramRunning(const std::string& path) {
    const fs::path program = NativeFileOps().nativeForm(path);
    struct stat file {};
    if (::stat(program.c_str(), &file) != 0) {
        return false;
    }
    const bool underWine = isWindowsProgram(program);
    const std::string name = program.filename().string().substr(0, kNameLength);
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/proc", error)) {
        const fs::path& process = entry.path();
        if (process.filename().string().find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        // The native program itself: the process's executable is the program's file.
        if (underWine ? mapsProgram(process, name, file)
                      : fs::equivalent(process / "exe", program, error)) {
            return true;
        }
    }
    return false;
}

}  // namespace korvale
