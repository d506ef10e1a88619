// Stands in for UnrealTournament.exe in the Windows tests. Writes "<its own file>.txt" beside
// itself: its command line, the show state it was given, the program folder Korvale's file layer
// finds for it and its working folder, one "key=value" line each. When "<its own file>.hold"
// exists, it then waits (at most 30 s) for "<its own file>.release" and writes "done" to
// "<its own file>.done", so a test can tell whether its starter waited for it. That is a file of
// its own: Windows refuses to replace a file while the test polling it holds it open.
#include <windows.h>

#include <string>

#include "platform/host/NativeFileOps.h"
#include "platform/host/WindowsText.h"

namespace {

std::wstring OwnPath() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Written beside and swapped in, so a test that polls the record never reads half of it.
void WriteRecord(const std::wstring& record, const std::string& text) {
    const std::wstring part = record + L".part";
    HANDLE file = CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    MoveFileExW(part.c_str(), record.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

int main() {
    const std::wstring self = OwnPath();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    std::wstring current(GetCurrentDirectoryW(0, nullptr), L'\0');
    current.resize(GetCurrentDirectoryW(static_cast<DWORD>(current.size()), current.data()));

    std::string text = "command=" + korvale::Utf8Text(GetCommandLineW()) + "\n";
    text += "show=";
    text += (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? std::to_string(startup.wShowWindow)
                                                          : std::string("default");
    text += "\nfolder=" + korvale::NativeFileOps::programFolder() + "\n";
    text += "cwd=" + korvale::Utf8Text(current) + "\n";
    WriteRecord(self + L".txt", text);

    if (Exists(self + L".hold")) {
        for (int waited = 0; waited < 1500 && !Exists(self + L".release"); ++waited) {
            Sleep(20);
        }
        WriteRecord(self + L".done", "done\n");
    }
    return 0;
}
