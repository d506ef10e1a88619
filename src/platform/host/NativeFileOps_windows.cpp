#include <windows.h>
// After <windows.h>, which it needs.
#include <aclapi.h>
#include <sddl.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "platform/files/FileError.h"
#include "platform/host/NativeFileOps.h"
#include "platform/host/WindowsText.h"

namespace korvale {

namespace {

namespace fs = std::filesystem;

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

// Every handle Korvale takes on a file, shared with every other program.
HANDLE openHandle(const std::string& path, DWORD access, DWORD disposition,
                  SECURITY_ATTRIBUTES* security = nullptr, DWORD flags = FILE_ATTRIBUTE_NORMAL) {
    HANDLE file = CreateFileW(WidePath(path).c_str(), access, kShareAll, security, disposition,
                              flags, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        fail(path, GetLastError());
    }
    return file;
}

using LocalMemory = std::unique_ptr<void, decltype(&LocalFree)>;

// A security descriptor whose one entry gives the running user full access, and that inherits
// nothing from the folder: a new file created with it is its owner's alone. Raises the reason,
// told for `path`, when it cannot be made, as the file would otherwise get the folder's access
// list, often readable by every user of the machine.
LocalMemory ownerOnlyDescriptor(const std::string& path) {
    std::vector<unsigned char> user(256);  // a TOKEN_USER and its SID
    DWORD size = 0;
    LPWSTR sid = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const bool made =
        GetTokenInformation(GetCurrentProcessToken(), TokenUser, user.data(), DWORD(user.size()),
                            &size) &&
        ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, &sid) &&
        ConvertStringSecurityDescriptorToSecurityDescriptorW(
            (L"D:P(A;;FA;;;" + std::wstring(sid) + L")").c_str(), SDDL_REVISION_1, &descriptor,
            nullptr);
    const DWORD error = GetLastError();
    LocalFree(sid);
    if (!made) {
        throw FileError(path, "cannot be made readable by its owner only: " + SystemReason(error));
    }
    return {descriptor, &LocalFree};
}

}  // namespace

std::string NativeFileOps::programPath() {
    std::wstring module(32768, L'\0');  // the longest path the system has, and its end
    module.resize(GetModuleFileNameW(nullptr, module.data(), DWORD(module.size())));
    return Utf8Text(module);
}

std::string NativeFileOps::programFolder() {
    // A drive root keeps its backslash: "C:" alone would mean that drive's current folder.
    return Utf8Text(fs::path(WidePath(programPath())).parent_path().wstring());
}

bool NativeFileOps::exists(const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::status(WidePath(path), error);
    return fs::exists(status) && !fs::is_directory(status);
}

std::uint64_t NativeFileOps::size(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data)) {
        fail(path, GetLastError());
    }
    return (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

std::vector<std::string> NativeFileOps::list(const std::string& folder) {
    std::error_code error;
    std::vector<std::string> names;
    for (fs::directory_iterator entry(WidePath(folder), error), end; !error && entry != end;
         entry.increment(error)) {
        names.push_back(Utf8Text(entry->path().filename().wstring()));
    }
    if (error) {
        throw FileError(folder, error.message());
    }
    return names;
}

FileOps::Handle NativeFileOps::open(const std::string& path, OpenMode mode) {
    const bool create = mode == OpenMode::Create || mode == OpenMode::CreateOwnerOnly;
    const DWORD disposition = create                        ? OPEN_ALWAYS
                              : mode == OpenMode::CreateNew ? CREATE_NEW
                                                            : OPEN_EXISTING;
    SECURITY_ATTRIBUTES ownerOnly{sizeof ownerOnly, nullptr, FALSE};
    LocalMemory descriptor(nullptr, &LocalFree);
    if (mode == OpenMode::CreateOwnerOnly) {
        descriptor = ownerOnlyDescriptor(path);
        ownerOnly.lpSecurityDescriptor = descriptor.get();
    }
    // A new file is given its model's access list (copyPermissions), which takes WRITE_DAC.
    const DWORD access = mode == OpenMode::Read        ? GENERIC_READ
                         : mode == OpenMode::CreateNew ? GENERIC_WRITE | WRITE_DAC
                                                       : GENERIC_WRITE;
    HANDLE file = openHandle(path, access, disposition, descriptor ? &ownerOnly : nullptr);
    // An existing file is emptied in place (a new handle stands at its start) rather than created
    // anew, so that it keeps its attributes and its security as a truncated POSIX file its mode.
    const LARGE_INTEGER none{};
    const bool placed = create ? SetEndOfFile(file) != FALSE
                               : mode != OpenMode::Append ||
                                     SetFilePointerEx(file, none, nullptr, FILE_END) != FALSE;
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
    DWORD put = 0;
    const bool fits = length <= kLargestChunk;
    const bool written =
        fits && WriteFile(nativeHandle(file), data, static_cast<DWORD>(length), &put, nullptr);
    if (!written || put != length) {
        fail(file.path, !fits ? ERROR_FILE_TOO_LARGE : written ? ERROR_WRITE_FAULT : GetLastError());
    }
}

void NativeFileOps::flush(Handle& file) {
    if (!FlushFileBuffers(nativeHandle(file))) {
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
    const std::wstring target = WidePath(to);
    // One atomic rename, whenever the process stops. The system refuses a read-only target, which
    // a POSIX rename replaces (the swap changes the folder, not the old file): the attribute is
    // lifted for the swap, then put back on the old file or given to the new one.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool readOnly =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (readOnly) {
        SetFileAttributesW(target.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
    }
    const bool moved = MoveFileExW(WidePath(from).c_str(), target.c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    const DWORD error = GetLastError();
    if (readOnly) {
        SetFileAttributesW(target.c_str(), attributes);
    }
    if (!moved) {
        fail(to, error);
    }
}

void NativeFileOps::remove(const std::string& path) noexcept {
    try {
        std::error_code ignored;
        fs::remove(WidePath(path), ignored);
    } catch (const FileError&) {
        // Nothing to remove at a path that cannot name a file.
    }
}

std::string NativeFileOps::resolve(const std::string& path) {
    // Only a link is resolved: any other path stays as the user wrote it, for messages.
    const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return path;
    }
    const std::unique_ptr<void, decltype(&CloseHandle)> file(
        openHandle(path, FILE_READ_ATTRIBUTES, OPEN_EXISTING, nullptr, FILE_FLAG_BACKUP_SEMANTICS),
        &CloseHandle);
    std::wstring final(32768, L'\0');
    const DWORD length = GetFinalPathNameByHandleW(file.get(), final.data(), DWORD(final.size()),
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0 || length >= final.size()) {
        fail(path, GetLastError());
    }
    final.resize(length);
    // "\\?\C:\..." and "\\?\UNC\server\...", in the form the rest of the system writes.
    if (final.starts_with(L"\\\\?\\UNC\\")) {
        final.replace(0, 8, L"\\\\");
    } else if (final.starts_with(L"\\\\?\\")) {
        final.erase(0, 4);
    }
    return Utf8Text(final);
}

void NativeFileOps::copyPermissions(const std::string& model, Handle& file) {
    const std::wstring path = WidePath(model);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return;  // no model: the new file has its folder's access, as any new file there
    }
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    DWORD error = GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                        nullptr, nullptr, &dacl, nullptr, &descriptor);
    const LocalMemory held(descriptor, &LocalFree);
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    // The list as the model has it: its own entries, and those of its folder only if it takes them.
    if (error == ERROR_SUCCESS && dacl != nullptr &&
        GetSecurityDescriptorControl(descriptor, &control, &revision)) {
        const SECURITY_INFORMATION which =
            DACL_SECURITY_INFORMATION | ((control & SE_DACL_PROTECTED) != 0
                                             ? PROTECTED_DACL_SECURITY_INFORMATION
                                             : UNPROTECTED_DACL_SECURITY_INFORMATION);
        error = SetSecurityInfo(nativeHandle(file), SE_FILE_OBJECT, which, nullptr, nullptr, dacl,
                                nullptr);
    }
    // Read-only is not given: a read-only file is refused before it is replaced, or kept by rename.
    FILE_BASIC_INFO basic{};
    basic.FileAttributes = attributes & (FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                         FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    if (error != ERROR_SUCCESS ||
        !SetFileInformationByHandle(nativeHandle(file), FileBasicInfo, &basic, sizeof basic)) {
        fail(file.path, error != ERROR_SUCCESS ? error : GetLastError());
    }
}

std::optional<FileOps::Handle> NativeFileOps::lock(const std::string& path) {
    // The lock belongs to this handle: another handle, in this process or another, cannot take it
    // meanwhile, and the system lets it go when the handle closes or the process ends.
    HANDLE file = openHandle(path, GENERIC_READ, OPEN_ALWAYS);
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
