#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/files/FileError.h"
#include "platform/host/NativeLauncher.h"
#include "platform/host/WindowsText.h"

namespace korvale {

namespace {

HANDLE processHandle(std::intptr_t process) {
    return reinterpret_cast<HANDLE>(process);
}

using Handle = std::unique_ptr<void, decltype(&CloseHandle)>;

// The full path of a process's program; empty when the host does not let it be queried (a
// process of another user or a protected one), which is no sign of the game.
std::wstring programOf(DWORD process) {
    const Handle handle(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process),
                        CloseHandle);
    std::wstring image(32768, L'\0');
    auto length = static_cast<DWORD>(image.size());
    if (!handle || !QueryFullProcessImageNameW(handle.get(), 0, image.data(), &length)) {
        return {};
    }
    image.resize(length);
    return image;
}

}  // namespace

// Whoever started it: a process of the same file, whatever path it was started by.
bool NativeLauncher::isProgramRunning(const std::string& path) {
    const std::filesystem::path program = WidePath(path);
    const std::wstring name = program.filename().wstring();
    HANDLE taken = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (taken == INVALID_HANDLE_VALUE) {
        return false;
    }
    const Handle snapshot(taken, CloseHandle);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        // Only a process named after the program is asked for its program's file: that keeps the
        // check cheap. Names differ by case alone where files do not. The same file is the same
        // volume and file index, whatever path it was started by.
        std::error_code error;
        if (CompareStringOrdinal(entry.szExeFile, -1, name.c_str(), -1, TRUE) == CSTR_EQUAL &&
            std::filesystem::equivalent(programOf(entry.th32ProcessID), program, error)) {
            return true;
        }
    }
    return false;
}

bool NativeLauncher::hasEnded(std::intptr_t process) {
    return WaitForSingleObject(processHandle(process), 0) != WAIT_TIMEOUT;
}

void NativeLauncher::release(std::intptr_t process) noexcept {
    CloseHandle(processHandle(process));
}

void NativeLauncher::start(const std::string& path) {
    const std::wstring application = WidePath(path);
    // The program is named by lpApplicationName, so the system never splits the path at a space
    // and tries "C:\Program.exe"; the command line only gives the program its own name, quoted.
    std::wstring commandLine = L"\"" + application + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINIMIZED;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &process)) {
        throw FileError(path, SystemReason(GetLastError()));
    }
    // Korvale does not wait for the game; it keeps the process handle only to tell when the game
    // has ended.
    CloseHandle(process.hThread);
    remember(path, reinterpret_cast<std::intptr_t>(process.hProcess));
}

}  // namespace korvale
