#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/files/FileError.h"
#include "platform/host/NativeFileOps.h"

namespace korvale {

namespace {

std::string toNative(const std::string& path) {
    std::string native = path;
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
}

[[noreturn]] void fail(const std::string& path, int error) {
    throw FileError(toNative(path), std::generic_category().message(error));
}

int descriptor(const FileOps::Handle& file) {
    return static_cast<int>(file.native);
}

struct stat status(const std::string& path) {
    struct stat status {};
    if (::stat(toNative(path).c_str(), &status) != 0) {
        fail(path, errno);
    }
    return status;
}

}  // namespace

std::string NativeFileOps::programFolder() {
    std::error_code error;
    auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return std::filesystem::current_path().string();
    }
    std::string folder = executable.parent_path().string();
    return folder.empty() ? std::string("/") : folder;
}

bool NativeFileOps::exists(const std::string& path) {
    struct stat status {};
    return ::stat(toNative(path).c_str(), &status) == 0 && !S_ISDIR(status.st_mode);
}

std::uint64_t NativeFileOps::size(const std::string& path) {
    return static_cast<std::uint64_t>(status(path).st_size);
}

std::vector<std::string> NativeFileOps::list(const std::string& folder) {
    DIR* dir = ::opendir(toNative(folder).c_str());
    if (dir == nullptr) {
        fail(folder, errno);
    }
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            names.emplace_back(name);
        }
    }
    ::closedir(dir);
    return names;
}

FileOps::Handle NativeFileOps::open(const std::string& path, OpenMode mode) {
    static_assert(static_cast<int>(OpenMode::CreateNew) == 5);
    static constexpr int kFlags[] = {O_RDONLY,
                                     O_WRONLY | O_TRUNC,
                                     O_WRONLY | O_APPEND,
                                     O_WRONLY | O_CREAT | O_TRUNC,
                                     O_WRONLY | O_CREAT | O_TRUNC,
                                     O_WRONLY | O_CREAT | O_EXCL};
    const int flags = kFlags[static_cast<int>(mode)] | O_CLOEXEC;
    const mode_t permissions = mode == OpenMode::CreateOwnerOnly ? 0600 : 0666;
    int fd = -1;
    do {
        fd = ::open(toNative(path).c_str(), flags, permissions);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        fail(path, errno);
    }
    return Handle{fd, path};
}

std::size_t NativeFileOps::read(Handle& file, char* buffer, std::size_t capacity) {
    for (;;) {
        const ssize_t got = ::read(descriptor(file), buffer, capacity);
        if (got >= 0) {
            return static_cast<std::size_t>(got);
        }
        if (errno != EINTR) {
            fail(file.path, errno);
        }
    }
}

void NativeFileOps::write(Handle& file, const char* data, std::size_t length) {
    while (length > 0) {
        const ssize_t put = ::write(descriptor(file), data, length);
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail(file.path, errno);
        }
        data += put;
        length -= static_cast<std::size_t>(put);
    }
}

void NativeFileOps::flush(Handle& file) {
    // The bytes, and what it takes to find them again (size, blocks), without waiting for times
    // and link counts: flushing a file whose bytes are already on the disk then costs nothing.
    if (::fdatasync(descriptor(file)) != 0) {
        fail(file.path, errno);
    }
}

void NativeFileOps::truncate(Handle& file, std::uint64_t length) {
    if (::ftruncate(descriptor(file), static_cast<off_t>(length)) != 0) {
        fail(file.path, errno);
    }
}

void NativeFileOps::close(Handle& file) {
    const int fd = descriptor(file);
    file.native = -1;
    // After a failed close the descriptor is gone all the same: it must not be closed again.
    if (fd >= 0 && ::close(fd) != 0 && errno != EINTR) {
        fail(file.path, errno);
    }
}

void NativeFileOps::rename(const std::string& from, const std::string& to) {
    if (::rename(toNative(from).c_str(), toNative(to).c_str()) != 0) {
        fail(to, errno);
    }
}

void NativeFileOps::remove(const std::string& path) noexcept {
    ::unlink(toNative(path).c_str());
}

std::string NativeFileOps::resolve(const std::string& path) {
    // Follow the link itself, not the folders: the swap must land on the file the link names.
    std::string current = toNative(path);
    for (int hops = 0; hops < 40; ++hops) {
        char target[PATH_MAX];
        const ssize_t length = ::readlink(current.c_str(), target, sizeof target - 1);
        if (length < 0) {
            return current;
        }
        std::string next(target, static_cast<std::size_t>(length));
        if (next.front() != '/') {
            const auto slash = current.rfind('/');
            next =
                (slash == std::string::npos ? std::string() : current.substr(0, slash + 1)) + next;
        }
        current = next;
    }
    fail(path, ELOOP);
}

void NativeFileOps::copyPermissions(const std::string& model, Handle& file) {
    struct stat status {};
    if (::stat(toNative(model).c_str(), &status) != 0) {
        return;  // no model: the new file keeps the usual mode
    }
    // The owner first, as a change of owner clears the set-id bits. Only a privileged process may
    // give a file away: anyone else keeps a file of their own, which is no failure.
    if (::fchown(descriptor(file), status.st_uid, status.st_gid) != 0 && errno != EPERM) {
        fail(file.path, errno);
    }
    if (::fchmod(descriptor(file), status.st_mode & 07777) != 0) {
        fail(file.path, errno);
    }
}

std::optional<FileOps::Handle> NativeFileOps::lock(const std::string& path) {
    // flock belongs to this open of the file: no other open, in this process or another, can take
    // it meanwhile, and it goes with the last descriptor, so a killed process holds nothing.
    int fd = -1;
    do {
        fd = ::open(toNative(path).c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        fail(path, errno);
    }
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        if (error == EINTR) {
            continue;
        }
        ::close(fd);
        if (error == EWOULDBLOCK) {
            return std::nullopt;
        }
        fail(path, error);
    }
    return Handle{fd, path};
}

std::string NativeFileOps::nativeForm(const std::string& path) {
    return toNative(path);
}

}  // namespace korvale
