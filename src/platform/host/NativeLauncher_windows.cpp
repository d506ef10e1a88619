#include <windows.h>

#include "platform/files/FileError.h"
#include "platform/host/NativeLauncher.h"
#include "platform/host/RunningProgram.h"
#include "platform/host/WindowsText.h"

namespace korvale {

namespace {

HANDLE processHandle(std::intptr_t process) {
    return reinterpret_cast<HANDLE>(process);
}

}  // namespace

NativeLauncher::~NativeLauncher() {
    for (const auto& [path, process] : m_started) {
        CloseHandle(processHandle(process));
    }
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
    forget(path);
    m_started.emplace(path, reinterpret_cast<std::intptr_t>(process.hProcess));
}

bool NativeLauncher::isRunning(const std::string& path) {
    // The game started here is known by its handle, even where the host would not let it be
    // queried.
    const auto found = m_started.find(path);
    if (found != m_started.end()) {
        if (WaitForSingleObject(processHandle(found->second), 0) == WAIT_TIMEOUT) {
            return true;
        }
        forget(path);
    }
    return isProgramRunning(path);
}

void NativeLauncher::forget(const std::string& path) {
    if (const auto found = m_started.find(path); found != m_started.end()) {
        CloseHandle(processHandle(found->second));
        m_started.erase(found);
    }
}

}  // namespace korvale
