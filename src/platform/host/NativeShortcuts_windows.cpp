// Shell links (.lnk) on the user's desktop, made through the shell's own IShellLinkW.
#include <windows.h>

#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <memory>
#include <string>
#include <utility>

#include "platform/files/FileError.h"
#include "platform/files/Text.h"
#include "platform/host/NativeFileOps.h"
#include "platform/host/NativeShortcuts.h"
#include "platform/host/WindowsText.h"

namespace korvale {

namespace {

// COM on this thread for as long as a shortcut is made; the windows' thread already has it.
class ComScope {
public:
    ComScope() : m_result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope() {
        if (SUCCEEDED(m_result)) {
            CoUninitialize();
        }
    }

private:
    HRESULT m_result;
};

struct Release {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <typename Interface>
using ComPointer = std::unique_ptr<Interface, Release>;

void check(HRESULT result, const std::string& path) {
    if (FAILED(result)) {
        throw FileError(path, SystemReason(static_cast<unsigned long>(result)));
    }
}

std::wstring wideName(std::string_view name) {
    const std::u16string utf16 = latin1ToUtf16(name);
    return {utf16.begin(), utf16.end()};
}

// One argument as CommandLineToArgvW and the C runtime split a command line: in quotes, a quote
// after backslashes doubled and one more, and backslashes before the closing quote doubled.
std::wstring quotedArgument(std::wstring_view text) {
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t character : text) {
        if (character == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(character == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        quoted += character;
        backslashes = 0;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L'"';
}

}  // namespace

NativeShortcuts NativeShortcuts::forThisProgram(std::string icon) {
    PWSTR desktop = nullptr;
    std::filesystem::path folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Desktop, 0, nullptr, &desktop))) {
        folder = desktop;
    }
    CoTaskMemFree(desktop);
    return {WidePath(NativeFileOps::programPath()), folder, std::move(icon)};
}

std::string NativeShortcuts::make(std::string_view name) const {
    const std::filesystem::path path = pathOf(name);
    const std::string shown = pathText(path);
    const ComScope com;
    IShellLinkW* created = nullptr;
    check(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                           reinterpret_cast<void**>(&created)),
          shown);
    const ComPointer<IShellLinkW> link(created);
    check(link->SetPath(m_program.c_str()), shown);
    check(link->SetArguments((L"--play " + quotedArgument(wideName(name))).c_str()), shown);
    check(link->SetWorkingDirectory(m_program.parent_path().c_str()), shown);
    check(link->SetIconLocation(m_program.c_str(), 0), shown);
    IPersistFile* persisted = nullptr;
    check(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persisted)), shown);
    const ComPointer<IPersistFile> file(persisted);
    // Saved beside, then moved over: the desktop shows the old shortcut or the whole new one.
    std::filesystem::path beside = path;
    beside += L".new";
    check(file->Save(beside.c_str(), TRUE), shown);
    if (!MoveFileExW(beside.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        const DWORD error = GetLastError();
        DeleteFileW(beside.c_str());
        throw FileError(shown, SystemReason(error));
    }
    return shown;
}

std::filesystem::path NativeShortcuts::pathOf(std::string_view name) const {
    // What a file name cannot hold, and the "%" that marks it, as "%" and two hex digits: one
    // name to one file.
    static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
    std::wstring file = L"Unreal Tournament (";
    for (const wchar_t character : wideName(name)) {
        if (character < 0x20 || std::wstring_view(L"\\/:*?\"<>|%").find(character) !=
                                    std::wstring_view::npos) {
            file += {L'%', kHex[character >> 4], kHex[character & 0xF]};
        } else {
            file += character;
        }
    }
    return m_folder / (file + L").lnk");
}

}  // namespace korvale
