#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include <memory>
#include <string>

#include "platform/host/NativeFileOps.h"
#include "platform/host/RunningProgram.h"
#include "platform/host/WindowsText.h"

namespace korvale {

namespace {

using Handle = std::unique_ptr<void, decltype(&CloseHandle)>;

// The full path of a process's program; empty when the host does not let it be queried (a
// process of another user or a protected one), which is no sign of the game.
std::string programOf(DWORD process) {
    const Handle handle(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process),
                        CloseHandle);
    if (!handle) {
        return {};
    }
    std::wstring image(32768, L'\0');
    auto length = static_cast<DWORD>(image.size());
    if (!QueryFullProcessImageNameW(handle.get(), 0, image.data(), &length)) {
        return {};
    }
    image.resize(length);
    return Utf8Text(image);
}

}  // namespace

bool isProgramRunning(const std::string& path) {
    const std::wstring wide = WidePath(path);
    const std::wstring name = wide.substr(wide.find_last_of(L"\\/") + 1);
    HANDLE taken = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (taken == INVALID_HANDLE_VALUE) {
        return false;
    }
    const Handle snapshot(taken, CloseHandle);
    NativeFileOps files;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(taken, &entry); more; more = Process32NextW(taken, &entry)) {
        // Only a process named after the program is asked for its program's file: that keeps the
        // check cheap. Names differ by case alone where files do not.
        if (CompareStringOrdinal(entry.szExeFile, -1, name.c_str(), -1, TRUE) != CSTR_EQUAL) {
            continue;
        }
        const std::string image = programOf(entry.th32ProcessID);
        if (!image.empty() && files.sameFile(path, image)) {
            return true;
        }
    }
    return false;
}

}  // namespace korvale
