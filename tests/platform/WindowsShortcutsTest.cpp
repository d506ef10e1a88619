// Windows only: the shell links that play as an identity, read back through IShellLinkW as the
// shell reads them, their arguments split as CommandLineToArgvW splits them.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <set>

#include <gmock/gmock.h>

#include "RawFiles.h"
#include "TempFolders.h"
#include "platform/host/NativeShortcuts.h"

namespace korvale::test {
namespace {

// Target, arguments split as korvale.exe gets them, working folder, icon.
std::vector<std::wstring> ReadLink(const std::filesystem::path& file) {
    IShellLinkW* link = nullptr;
    IPersistFile* persisted = nullptr;
    EXPECT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                              IID_IShellLinkW, reinterpret_cast<void**>(&link)));
    link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persisted));
    EXPECT_HRESULT_SUCCEEDED(persisted->Load(file.c_str(), STGM_READ));
    wchar_t text[4][INFOTIPSIZE] = {};
    int icon = -1, count = 0;
    link->GetPath(text[0], INFOTIPSIZE, nullptr, SLGP_RAWPATH);
    link->GetArguments(text[1], INFOTIPSIZE);
    link->GetWorkingDirectory(text[2], INFOTIPSIZE);
    link->GetIconLocation(text[3], INFOTIPSIZE, &icon);
    persisted->Release();
    link->Release();
    wchar_t** split = CommandLineToArgvW((std::wstring(L"korvale.exe ") + text[1]).c_str(), &count);
    std::vector<std::wstring> read{text[0]};
    read.insert(read.end(), split + 1, split + count);
    LocalFree(split);
    read.insert(read.end(), {text[2], text[3]});
    return read;
}

TEST_F(TempFolders, ShellLinksPlayAsTheirNameOneFileEach) {
    ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    const std::filesystem::path program = ProgramPath("korvale.exe");
    WriteBytes(program, "MZ");
    const NativeShortcuts shortcuts(program, Root());
    const std::pair<std::string, std::wstring> rows[] = {
        {"Say \"Hi\" to $HOME %PATH%", L"Say \"Hi\" to $HOME %PATH%"},
        {"backslashes a\\\"b\\", L"backslashes a\\\"b\\"},
        {"\xC9lan", L"\u00C9lan"},
        {"\\/:*?\"<>|", L"\\/:*?\"<>|"},  // nothing a file name may hold
        {"%5C%2F%3A%2A%3F%22%3C%3E%7C", L"%5C%2F%3A%2A%3F%22%3C%3E%7C"},  // the same, escaped
    };
    std::set<std::filesystem::path> files;
    for (const auto& [name, wide] : rows) {
        shortcuts.make(name);
        const std::filesystem::path file = shortcuts.pathOf(name);
        files.insert(file);
        EXPECT_EQ(file.parent_path(), Root());
        EXPECT_THAT(ReadLink(file), ::testing::ElementsAre(program.wstring(), L"--play", wide,
                                                           ProgramDir().wstring(), program.wstring()));
    }
    EXPECT_EQ(files.size(), std::size(rows));
    CoUninitialize();
}

}  // namespace
}  // namespace korvale::test
