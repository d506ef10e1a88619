#include <windows.h>
// After <windows.h>, which they need.
#include <aclapi.h>
#include <sddl.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "platform/files/FileError.h"
#include "platform/host/NativeFileOps.h"
#include "platform/host/WindowsText.h"

namespace korvale {

namespace {

// Korvale opens no file for itself alone: another program (the game, an editor) may read, write
// or rename the same file meanwhile, as on POSIX hosts.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD kLargestChunk = 1u << 30;

[[noreturn]] void fail(const std::string& path, DWORD error) {
    throw FileError(path, SystemReason(error));
}

HANDLE nativeHandle(const FileOps::Handle& file) {
    return reinterpret_cast<HANDLE>(file.native);
}

using LocalMemory = std::unique_ptr<void, decltype(&LocalFree)>;

// A security descriptor whose one entry gives the running user full access, and that inherits
// nothing from the folder: a new file created with it is its owner's alone. Raises the reason,
// told for `path`, when it cannot be made, as the file would otherwise get the folder's access
// list, often readable by every user of the machine.
LocalMemory ownerOnlyDescriptor(const std::string& path) {
    HANDLE token = nullptr;
    std::vector<unsigned char> user(256);  // a TOKEN_USER and its SID
    DWORD size = 0;
    LPWSTR sid = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const bool made =
        OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) &&
        GetTokenInformation(token, TokenUser, user.data(), DWORD(user.size()), &size) &&
        ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, &sid) &&
        ConvertStringSecurityDescriptorToSecurityDescriptorW(
            (L"D:P(A;;FA;;;" + std::wstring(sid) + L")").c_str(), SDDL_REVISION_1, &descriptor,
            nullptr);
    const DWORD error = GetLastError();
    if (token != nullptr) {
        CloseHandle(token);
    }
    LocalFree(sid);
    if (!made) {
        throw FileError(path, "cannot be made readable by its owner only: " + SystemReason(error));
    }
    return {descriptor, &LocalFree};
}

// What the system knows of the file at `path` (links followed): its volume, its index on it and
// its count of names. None when it cannot be opened, the reason left in GetLastError.
std::optional<BY_HANDLE_FILE_INFORMATION> identity(const std::string& path) {
    HANDLE file = CreateFileW(WidePath(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool got = GetFileInformationByHandle(file, &info) != FALSE;
    const DWORD error = GetLastError();
    CloseHandle(file);
    SetLastError(error);
    return got ? std::optional(info) : std::nullopt;
}

// The head of a symbolic link's reparse data, as REPARSE_DATA_BUFFER lays it out (only the
// driver kit declares that).
struct SymbolicLinkHead {
    ULONG tag;
    USHORT dataLength;
    USHORT reserved;
    USHORT substituteOffset;
    USHORT substituteLength;
    USHORT printOffset;
    USHORT printLength;
    ULONG flags;
};
constexpr ULONG kRelativeLink = 1;  // SYMLINK_FLAG_RELATIVE

struct LinkTarget {
    std::wstring path;
    bool relative;  // to the link's folder
};

// What the symbolic link at `path` names, as it is written in the link; none when the path names
// no symbolic link.
std::optional<LinkTarget> linkTarget(const std::wstring& path) {
    HANDLE link = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (link == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    std::vector<char> data(MAXIMUM_REPARSE_DATA_BUFFER_SIZE);
    DWORD got = 0;
    const bool read = DeviceIoControl(link, FSCTL_GET_REPARSE_POINT, nullptr, 0, data.data(),
                                      static_cast<DWORD>(data.size()), &got, nullptr) != FALSE;
    CloseHandle(link);
    SymbolicLinkHead head{};
    if (!read || got < sizeof head) {
        return std::nullopt;
    }
    std::memcpy(&head, data.data(), sizeof head);
    // The print name is the target as it was given; the substitute name is its NT form.
    const bool print = head.printLength > 0;
    const std::size_t offset = sizeof head + (print ? head.printOffset : head.substituteOffset);
    const std::size_t length = print ? head.printLength : head.substituteLength;
    if (head.tag != IO_REPARSE_TAG_SYMLINK || offset + length > got) {
        return std::nullopt;
    }
    std::wstring target(length / sizeof(wchar_t), L'\0');
    std::memcpy(target.data(), data.data() + offset, length);
    if (target.starts_with(L"\\??\\")) {
        target.erase(0, 4);
    }
    return LinkTarget{std::move(target), (head.flags & kRelativeLink) != 0};
}

bool setEnd(HANDLE file, std::uint64_t length) {
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(length);
    return SetFilePointerEx(file, position, nullptr, FILE_BEGIN) && SetEndOfFile(file);
}

// Runs `action` again with the read-only attribute of `path` cleared when it was refused for
// that attribute alone; the attribute is put back when the second try fails as well.
template <typename Action>
bool retryWithoutReadOnly(const std::wstring& path, Action action) {
    if (action()) {
        return true;
    }
    const DWORD error = GetLastError();
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (error != ERROR_ACCESS_DENIED || attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & FILE_ATTRIBUTE_READONLY) == 0 ||
        !SetFileAttributesW(path.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_READONLY})) {
        SetLastError(error);
        return false;
    }
    if (action()) {
        return true;
    }
    SetFileAttributesW(path.c_str(), attributes);
    SetLastError(error);
    return false;
}

}  // namespace

std::string NativeFileOps::programFolder() {
    std::wstring module(32768, L'\0');  // the longest path the system has, and its end
    const DWORD length = GetModuleFileNameW(nullptr, module.data(), DWORD(module.size()));
    module.resize(length < module.size() ? length : 0);
    const auto separator = module.find_last_of(L"\\/");
    if (separator == std::wstring::npos) {
        std::wstring current(GetCurrentDirectoryW(0, nullptr), L'\0');
        current.resize(GetCurrentDirectoryW(static_cast<DWORD>(current.size()), current.data()));
        return Utf8Text(current);
    }
    std::wstring folder = module.substr(0, separator);
    // A drive root keeps its backslash: "C:" alone would mean that drive's current folder.
    if (!folder.empty() && folder.back() == L':') {
        folder += L'\\';
    }
    return Utf8Text(folder);
}

bool NativeFileOps::exists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::uint64_t NativeFileOps::size(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data)) {
        fail(path, GetLastError());
    }
    return (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

std::uint64_t NativeFileOps::linkCount(const std::string& path) {
    const std::optional<BY_HANDLE_FILE_INFORMATION> info = identity(path);
    if (!info) {
        fail(path, GetLastError());
    }
    return info->nNumberOfLinks;
}

bool NativeFileOps::sameFile(const std::string& first, const std::string& second) {
    const auto one = identity(first);
    const auto two = identity(second);
    return one && two && one->dwVolumeSerialNumber == two->dwVolumeSerialNumber &&
           one->nFileIndexHigh == two->nFileIndexHigh && one->nFileIndexLow == two->nFileIndexLow;
}

std::vector<std::string> NativeFileOps::list(const std::string& folder) {
    std::wstring pattern = WidePath(folder);
    if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') {
        pattern += L'\\';
    }
    pattern += L'*';
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        fail(folder, GetLastError());
    }
    std::vector<std::string> names;
    do {
        const std::wstring_view name = found.cFileName;
        if (name != L"." && name != L"..") {
            names.push_back(Utf8Text(std::wstring(name)));
        }
    } while (FindNextFileW(search, &found));
    const DWORD error = GetLastError();
    FindClose(search);
    if (error != ERROR_NO_MORE_FILES) {
        fail(folder, error);
    }
    return names;
}

FileOps::Handle NativeFileOps::open(const std::string& path, OpenMode mode) {
    DWORD access = GENERIC_WRITE;
    DWORD disposition = OPEN_EXISTING;
    bool empty = false;
    SECURITY_ATTRIBUTES* security = nullptr;
    SECURITY_ATTRIBUTES ownerOnly{sizeof ownerOnly, nullptr, FALSE};
    const LocalMemory descriptor = mode == OpenMode::CreateOwnerOnly
                                       ? ownerOnlyDescriptor(path)
                                       : LocalMemory(nullptr, &LocalFree);
    switch (mode) {
        case OpenMode::Read:
            access = GENERIC_READ;
            break;
        case OpenMode::Write:
            empty = true;
            break;
        case OpenMode::Append:
            break;
        case OpenMode::Create:
            disposition = OPEN_ALWAYS;
            empty = true;
            break;
        case OpenMode::CreateOwnerOnly:
            disposition = OPEN_ALWAYS;
            empty = true;
            ownerOnly.lpSecurityDescriptor = descriptor.get();
            security = &ownerOnly;
            break;
        case OpenMode::CreateNew:
            // A new file of Korvale's that takes the access list of the file it replaces.
            access |= WRITE_DAC | READ_CONTROL;
            disposition = CREATE_NEW;
            break;
    }
    // An existing file is emptied in place rather than created anew, so that it keeps its
    // attributes and its security as a truncated POSIX file keeps its mode.
    HANDLE file = CreateFileW(WidePath(path).c_str(), access, kShareAll, security, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        fail(path, GetLastError());
    }
    bool placed = true;
    if (empty) {
        placed = setEnd(file, 0);
    } else if (mode == OpenMode::Append) {
        const LARGE_INTEGER none{};
        placed = SetFilePointerEx(file, none, nullptr, FILE_END) != FALSE;
    }
    if (!placed) {
        const DWORD error = GetLastError();
        CloseHandle(file);
        fail(path, error);
    }
    return Handle{reinterpret_cast<std::intptr_t>(file), path};
}

std::size_t NativeFileOps::read(Handle& file, char* buffer, std::size_t capacity) {
    DWORD got = 0;
    const auto wanted = static_cast<DWORD>(std::min<std::size_t>(capacity, kLargestChunk));
    if (!ReadFile(nativeHandle(file), buffer, wanted, &got, nullptr)) {
        fail(file.path, GetLastError());
    }
    return got;
}

void NativeFileOps::write(Handle& file, const char* data, std::size_t length) {
    while (length > 0) {
        DWORD put = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(length, kLargestChunk));
        if (!WriteFile(nativeHandle(file), data, chunk, &put, nullptr)) {
            fail(file.path, GetLastError());
        }
        if (put == 0) {
            fail(file.path, ERROR_WRITE_FAULT);
        }
        data += put;
        length -= put;
    }
}

void NativeFileOps::flush(Handle& file) {
    if (FlushFileBuffers(nativeHandle(file))) {
        return;
    }
    DWORD error = GetLastError();
    // A handle open for reading cannot flush: one for writing, on the same file, can.
    HANDLE writable = error == ERROR_ACCESS_DENIED
                          ? ReOpenFile(nativeHandle(file), GENERIC_WRITE, kShareAll, 0)
                          : INVALID_HANDLE_VALUE;
    if (writable != INVALID_HANDLE_VALUE) {
        const bool flushed = FlushFileBuffers(writable) != FALSE;
        error = GetLastError();
        CloseHandle(writable);
        if (flushed) {
            return;
        }
    }
    fail(file.path, error);
}

void NativeFileOps::truncate(Handle& file, std::uint64_t length) {
    if (!setEnd(nativeHandle(file), length)) {
        fail(file.path, GetLastError());
    }
}

void NativeFileOps::close(Handle& file) {
    HANDLE handle = nativeHandle(file);
    file.native = -1;
    if (handle != INVALID_HANDLE_VALUE && !CloseHandle(handle)) {
        fail(file.path, GetLastError());
    }
}

void NativeFileOps::rename(const std::string& from, const std::string& to) {
    const std::wstring source = WidePath(from);
    const std::wstring target = WidePath(to);
    // A read-only target is replaced as a POSIX rename replaces a file without write permission:
    // the swap changes the folder, not the old file.
    const bool moved = retryWithoutReadOnly(target, [&] {
        return MoveFileExW(source.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    });
    if (!moved) {
        fail(to, GetLastError());
    }
}

void NativeFileOps::remove(const std::string& path) noexcept {
    try {
        const std::wstring wide = WidePath(path);
        retryWithoutReadOnly(wide, [&] { return DeleteFileW(wide.c_str()) != FALSE; });
    } catch (...) {
        // Nothing to remove at a path that cannot name a file.
    }
}

bool NativeFileOps::link(const std::string& from, const std::string& to) {
    // A second name cannot be moved over the backup while a program holds the file without
    // sharing its deletion, and there is no link where the volume has none (FAT, most network
    // shares) or across volumes: the caller then copies, and a copy that fails says why.
    const std::wstring source = WidePath(from);
    HANDLE held = CreateFileW(source.c_str(), DELETE, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(held);
    return CreateHardLinkW(WidePath(to).c_str(), source.c_str(), nullptr) != FALSE;
}

std::string NativeFileOps::resolve(const std::string& path) {
    // Follow the link itself, not the folders: the swap must land on the file the link names.
    std::wstring current = WidePath(path);
    for (int hops = 0; hops < 40; ++hops) {
        const std::optional<LinkTarget> target = linkTarget(current);
        if (!target) {
            return hops == 0 ? path : Utf8Text(current);
        }
        const auto separator = current.find_last_of(L"\\/");
        current = target->relative && separator != std::wstring::npos
                      ? current.substr(0, separator + 1) + target->path
                      : target->path;
    }
    fail(path, ERROR_CANT_RESOLVE_FILENAME);
}

void NativeFileOps::copyPermissions(const std::string& model, Handle& file) {
    const std::wstring modelPath = WidePath(model);
    const DWORD attributes = GetFileAttributesW(modelPath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return;  // no model: the new file keeps the folder's defaults
    }
    // The model's access list, so that a new file swapped in for it is open to the same users. A
    // list inherited from the folder stays inherited; a volume without access lists has none.
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    DWORD error =
        GetNamedSecurityInfoW(modelPath.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, &dacl, nullptr, &descriptor);
    if (error == ERROR_SUCCESS) {
        SECURITY_DESCRIPTOR_CONTROL control = 0;
        DWORD revision = 0;
        GetSecurityDescriptorControl(descriptor, &control, &revision);
        const SECURITY_INFORMATION which =
            DACL_SECURITY_INFORMATION |
            ((control & SE_DACL_PROTECTED) != 0 ? PROTECTED_DACL_SECURITY_INFORMATION
                                                : UNPROTECTED_DACL_SECURITY_INFORMATION);
        error = SetSecurityInfo(nativeHandle(file), SE_FILE_OBJECT, which, nullptr, nullptr, dacl,
                                nullptr);
        LocalFree(descriptor);
    }
    if (error != ERROR_SUCCESS && error != ERROR_NOT_SUPPORTED && error != ERROR_INVALID_FUNCTION) {
        fail(file.path, error);
    }
    constexpr DWORD kCarried = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                               FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
    if ((attributes & kCarried) == 0) {
        return;
    }
    FILE_BASIC_INFO info{};
    if (!GetFileInformationByHandleEx(nativeHandle(file), FileBasicInfo, &info, sizeof info)) {
        fail(file.path, GetLastError());
    }
    // Marking the open file read-only does not stop this handle from writing it.
    info.FileAttributes = (info.FileAttributes & ~kCarried) | (attributes & kCarried);
    if (!SetFileInformationByHandle(nativeHandle(file), FileBasicInfo, &info, sizeof info)) {
        fail(file.path, GetLastError());
    }
}

std::optional<FileOps::Handle> NativeFileOps::lock(const std::string& path) {
    // The lock belongs to this handle: another handle, in this process or another, cannot take it
    // meanwhile, and the system lets it go when the handle closes or the process ends.
    HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        fail(path, GetLastError());
    }
    OVERLAPPED whole{};
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                    MAXDWORD, &whole)) {
        const DWORD error = GetLastError();
        CloseHandle(file);
        if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING) {
            return std::nullopt;
        }
        fail(path, error);
    }
    return Handle{reinterpret_cast<std::intptr_t>(file), path};
}

std::string NativeFileOps::nativeForm(const std::string& path) {
    return path;
}

}  // namespace korvale
