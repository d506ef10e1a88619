#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/host/RunningProgram.h"
#include "platform/host/WindowsText.h"

namespace korvale {

namespace {

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

bool isProgramRunning(const std::string& path) {
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

}  // namespace korvale
