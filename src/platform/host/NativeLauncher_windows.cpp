#include <windows.h>

#include "platform/files/FileError.h"
#include "platform/host/NativeLauncher.h"
#include "platform/host/WindowsText.h"

namespace korvale {

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
    // The game runs on by itself: Korvale neither waits for it nor keeps a hold on it.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

}  // namespace korvale
