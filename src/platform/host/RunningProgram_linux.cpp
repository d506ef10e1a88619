#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "platform/host/NativeFileOps.h"
#include "platform/host/RunningProgram.h"

namespace korvale {

namespace {

// The kernel keeps a process name of at most 15 bytes.
constexpr std::size_t kNameLength = 15;

struct FileId {
    dev_t device;
    ino_t inode;
};

// A file descriptor, closed when the object goes.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    int get() const noexcept { return m_fd; }

private:
    int m_fd;
};

// A file of /proc whole (its size is unknown beforehand); empty when it cannot be read.
std::string readAll(int folder, const std::string& name) {
    const Descriptor file(::openat(folder, name.c_str(), O_RDONLY | O_CLOEXEC));
    std::string text;
    char buffer[8192];
    for (ssize_t got = 0;
         file.get() >= 0 && (got = ::read(file.get(), buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return text;
}

// The process's name, in one read: at most 15 bytes and a line break.
std::string processName(int folder, const std::string& pid) {
    const Descriptor file(::openat(folder, (pid + "/comm").c_str(), O_RDONLY | O_CLOEXEC));
    char name[kNameLength + 1];
    const ssize_t got = file.get() >= 0 ? ::read(file.get(), name, sizeof name) : -1;
    return got > 0 ? std::string(name, static_cast<std::size_t>(got) - 1) : std::string();
}

bool isWindowsProgram(const std::string& program) {
    const Descriptor file(::open(program.c_str(), O_RDONLY | O_CLOEXEC));
    char magic[2] = {};
    return file.get() >= 0 && ::read(file.get(), magic, 2) == 2 && magic[0] == 'M' &&
           magic[1] == 'Z';
}

bool sameLetters(std::string_view first, std::string_view second) {
    if (first.size() != second.size()) {
        return false;
    }
    for (std::size_t i = 0; i < first.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(first[i])) !=
            std::tolower(static_cast<unsigned char>(second[i]))) {
            return false;
        }
    }
    return true;
}

// The native program itself: the process's executable is the program's file.
bool runsAsProgram(int proc, const std::string& pid, FileId program) {
    struct stat exe {};
    return ::fstatat(proc, (pid + "/exe").c_str(), &exe, 0) == 0 && exe.st_dev == program.device &&
           exe.st_ino == program.inode;
}

// A line of /proc/PID/maps: "start-end perms offset major:minor inode path".
bool mapsFile(const char* line, FileId program) {
    unsigned int major = 0;
    unsigned int minor = 0;
    unsigned long long inode = 0;
    return std::sscanf(line, "%*s %*s %*s %x:%x %llu", &major, &minor, &inode) == 3 &&
           inode == program.inode && major == ::major(program.device) &&
           minor == ::minor(program.device);
}

// A Windows program under Wine: Wine's loader runs, named after the program, and maps its file.
bool mapsProgram(int proc, const std::string& pid, std::string_view name, FileId program) {
    // Windows file names are the same whatever their case, and so are the names Wine gives.
    if (!sameLetters(processName(proc, pid), name)) {
        return false;
    }
    const std::string maps = readAll(proc, pid + "/maps");
    // Only the lines that hold the inode are read field by field.
    // Appended, not concatenated: GCC 12 at -O3 warns falsely on " " + to_string(...).
    std::string inode(1, ' ');
    inode.append(std::to_string(program.inode)).push_back(' ');
    for (std::size_t at = maps.find(inode); at != std::string::npos;
         at = maps.find(inode, at + 1)) {
        const std::size_t line = maps.rfind('\n', at);
        if (mapsFile(maps.c_str() + (line == std::string::npos ? 0 : line + 1), program)) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool isProgramRunning(const std::string& path) {
    const std::string program = NativeFileOps().nativeForm(path);
    struct stat file {};
    if (::stat(program.c_str(), &file) != 0) {
        return false;
    }
    const FileId id{file.st_dev, file.st_ino};
    const bool underWine = isWindowsProgram(program);
    const std::string name = program.substr(program.rfind('/') + 1).substr(0, kNameLength);
    const std::unique_ptr<DIR, int (*)(DIR*)> proc(::opendir("/proc"), ::closedir);
    if (!proc) {
        return false;
    }
    const int folder = ::dirfd(proc.get());
    while (const dirent* entry = ::readdir(proc.get())) {
        const std::string pid = entry->d_name;
        if (pid.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        if (underWine ? mapsProgram(folder, pid, name, id) : runsAsProgram(folder, pid, id)) {
            return true;
        }
    }
    return false;
}

}  // namespace korvale
