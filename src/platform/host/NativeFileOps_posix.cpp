#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <memory>
#include <string_view>
#include <system_error>

#include "platform/files/FileError.h"
#include "platform/host/NativeFileOps.h"

namespace korvale {

namespace fs = std::filesystem;

namespace {

// std::filesystem's errors on POSIX are errno values too. The path is in the host's form.
[[noreturn]] void fail(const std::string& path, int error) {
    throw FileError(path, std::generic_category().message(error));
}

int descriptor(const FileOps::Handle& file) {
    return static_cast<int>(file.native);
}

// A system call, again when a signal cuts it short.
template <typename Call>
auto retried(Call call) {
    decltype(call()) result;
    do {
        result = call();
    } while (result < 0 && errno == EINTR);
    return result;
}

int openRetried(const std::string& path, int flags, mode_t permissions) {
    const int fd = retried([&] { return ::open(path.c_str(), flags | O_CLOEXEC, permissions); });
    if (fd < 0) {
        fail(path, errno);
    }
    return fd;
}

}  // namespace

std::string NativeFileOps::programPath() {
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);  // always absolute
    return error ? (fs::current_path() / "korvale").string() : executable.string();
}

std::string NativeFileOps::programFolder() {
    return fs::path(programPath()).parent_path().string();
}

bool NativeFileOps::exists(const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::status(nativeForm(path), error);
    return fs::exists(status) && !fs::is_directory(status);
}

std::uint64_t NativeFileOps::size(const std::string& path) {
    std::error_code error;
    const std::uintmax_t bytes = fs::file_size(nativeForm(path), error);
    if (error) {
        fail(nativeForm(path), error.value());
    }
    return bytes;
}

std::vector<std::string> NativeFileOps::list(const std::string& folder) {
    const std::string native = nativeForm(folder);
    // A listing stamps the folder's access time, and a Play lists the profile's folder right
    // before it flushes new files there, which writes the stamp out with them: one more write to
    // wait for. Where the host allows it (the folder's owner, or root), the stamp is not made.
    int fd = retried(
        [&] { return ::open(native.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOATIME); });
    if (fd < 0) {
        fd = openRetried(native, O_RDONLY | O_DIRECTORY, 0);
    }
    const std::unique_ptr<DIR, int (*)(DIR*)> entries(::fdopendir(fd), ::closedir);
    if (!entries) {
        const int error = errno;
        ::close(fd);
        fail(native, error);
    }
    std::vector<std::string> names;
    errno = 0;
    while (const dirent* entry = ::readdir(entries.get())) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            names.emplace_back(name);
        }
    }
    if (errno != 0) {
        fail(native, errno);
    }
    return names;
}

FileOps::Handle NativeFileOps::open(const std::string& path, OpenMode mode) {
    static_assert(static_cast<int>(OpenMode::CreateNew) == 4);
    static constexpr int kFlags[] = {O_RDONLY,
                                     O_WRONLY | O_APPEND,
                                     O_WRONLY | O_CREAT | O_TRUNC,
                                     O_WRONLY | O_CREAT | O_TRUNC,
                                     O_WRONLY | O_CREAT | O_EXCL};
    const mode_t permissions = mode == OpenMode::CreateOwnerOnly ? 0600 : 0666;
    return Handle{openRetried(nativeForm(path), kFlags[static_cast<int>(mode)], permissions), path};
}

std::size_t NativeFileOps::read(Handle& file, char* buffer, std::size_t capacity) {
    const ssize_t got = retried([&] { return ::read(descriptor(file), buffer, capacity); });
    if (got < 0) {
        fail(nativeForm(file.path), errno);
    }
    return static_cast<std::size_t>(got);
}

void NativeFileOps::write(Handle& file, const char* data, std::size_t length) {
    while (length > 0) {
        const ssize_t put = retried([&] { return ::write(descriptor(file), data, length); });
        if (put < 0) {
            fail(nativeForm(file.path), errno);
        }
        data += put;
        length -= static_cast<std::size_t>(put);
    }
}

void NativeFileOps::flush(Handle& file) {
    // The bytes, and what it takes to find them again (size, blocks), without waiting for times.
    if (::fdatasync(descriptor(file)) != 0) {
        fail(nativeForm(file.path), errno);
    }
}

void NativeFileOps::close(Handle& file) {
    const int fd = descriptor(file);
    file.native = -1;
    // After a failed close the descriptor is gone all the same: it must not be closed again.
    if (fd >= 0 && ::close(fd) != 0 && errno != EINTR) {
        fail(nativeForm(file.path), errno);
    }
}

void NativeFileOps::rename(const std::string& from, const std::string& to) {
    std::error_code error;
    fs::rename(nativeForm(from), nativeForm(to), error);
    if (error) {
        fail(nativeForm(to), error.value());
    }
}

void NativeFileOps::remove(const std::string& path) noexcept {
    std::error_code ignored;
    fs::remove(nativeForm(path), ignored);
}

std::string NativeFileOps::resolve(const std::string& path) {
    // Follow the link itself, not the folders: the swap must land on the file the link names.
    fs::path current = nativeForm(path);
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code error;
        const fs::path next = fs::read_symlink(current, error);
        if (error) {
            return current.string();  // no link (or none that can be read): the file itself
        }
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    fail(nativeForm(path), ELOOP);
}

void NativeFileOps::copyPermissions(const std::string& model, Handle& file) {
    struct stat status {};
    if (::stat(nativeForm(model).c_str(), &status) != 0) {
        return;  // no model: the new file keeps the usual mode
    }
    // The owner first, as a change of owner clears the set-id bits. Only a privileged process may
    // give a file away: anyone else keeps a file of their own, which is no failure.
    if (::fchown(descriptor(file), status.st_uid, status.st_gid) != 0 && errno != EPERM) {
        fail(nativeForm(file.path), errno);
    }
    if (::fchmod(descriptor(file), status.st_mode & 07777) != 0) {
        fail(nativeForm(file.path), errno);
    }
}

std::optional<FileOps::Handle> NativeFileOps::lock(const std::string& path) {
    // flock belongs to this open of the file: no other open, in this process or another, can take
    // it meanwhile, and it goes with the last descriptor, so a killed process holds nothing.
    const int fd = openRetried(nativeForm(path), O_RDONLY | O_CREAT, 0666);
    if (retried([fd] { return ::flock(fd, LOCK_EX | LOCK_NB); }) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK) {
            return std::nullopt;
        }
        fail(nativeForm(path), error);
    }
    return Handle{fd, path};
}

std::string NativeFileOps::nativeForm(const std::string& path) {
    // The program folder as the host gave it: a backslash is a character of a name there.
    const std::size_t kept = m_programFolder.size();
    const bool inProgramFolder = path.starts_with(m_programFolder) &&
                                 (path.size() == kept || path[kept] == '\\' || path[kept] == '/');
    std::string native = path;
    const auto from = static_cast<std::ptrdiff_t>(inProgramFolder ? kept : 0);
    std::replace(native.begin() + from, native.end(), '\\', '/');
    return native;
}

}  // namespace korvale
