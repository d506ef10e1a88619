// Windows only: the shell links that play as an identity, read back through IShellLinkW as the
// shell reads them, their arguments split as CommandLineToArgvW splits them.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <set>
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "RawFiles.h"
#include "TempFolders.h"
#include "windows/Shortcuts.h"

namespace korvale::test {
namespace {

using ::testing::ElementsAre;

struct Link {
    std::wstring target, arguments, folder, icon;
};

Link ReadLink(const std::filesystem::path& file) {
    IShellLinkW* link = nullptr;
    IPersistFile* persisted = nullptr;
    EXPECT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                              IID_IShellLinkW, reinterpret_cast<void**>(&link)));
    EXPECT_HRESULT_SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persisted)));
    EXPECT_HRESULT_SUCCEEDED(persisted->Load(file.c_str(), STGM_READ));
    wchar_t text[4][INFOTIPSIZE] = {};
    int icon = -1;
    link->GetPath(text[0], INFOTIPSIZE, nullptr, SLGP_RAWPATH);
    link->GetArguments(text[1], INFOTIPSIZE);
    link->GetWorkingDirectory(text[2], INFOTIPSIZE);
    link->GetIconLocation(text[3], INFOTIPSIZE, &icon);
    persisted->Release();
    link->Release();
    return {text[0], text[1], text[2], text[3]};
}

std::vector<std::wstring> SplitAsWindows(const std::wstring& arguments) {
    int count = 0;
    wchar_t** split = CommandLineToArgvW((L"korvale.exe " + arguments).c_str(), &count);
    std::vector<std::wstring> words(split + 1, split + count);
    LocalFree(split);
    return words;
}

class WindowsShortcutsTest : public TempFolders {
protected:
    void SetUp() override { ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)); }
    void TearDown() override {
        CoUninitialize();
        TempFolders::TearDown();
    }
};

TEST_F(WindowsShortcutsTest, EachNameHasALinkOfItsOwnThatPlaysAsIt) {
    const std::filesystem::path program = ProgramPath("korvale.exe");
    WriteBytes(program, "MZ");
    const Shortcuts shortcuts(program, Root() / "Desktop");
    std::filesystem::create_directory(Root() / "Desktop");
    struct Row {
        const char* what;
        std::string name;    // Latin-1
        std::wstring wide;   // as Windows holds it
    };
    const Row rows[] = {
        {"space", "Clan Tag", L"Clan Tag"},
        {"quote", "Say \"Hi\"", L"Say \"Hi\""},
        {"backslashes, one before a quote, one at the end", "a\\\"b\\", L"a\\\"b\\"},
        {"dollar and percent", "$HOME %PATH%", L"$HOME %PATH%"},
        {"Latin-1", "\xC9lan", L"\u00C9lan"},
        {"only what a file name cannot hold", "\\/:*?\"<>|", L"\\/:*?\"<>|"},
        {"the same, escaped already", "%5C%2F%3A%2A%3F%22%3C%3E%7C", L"%5C%2F%3A%2A%3F%22%3C%3E%7C"},
    };
    std::set<std::filesystem::path> files;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::filesystem::path file = shortcuts.make(row.name);
        files.insert(file);
        EXPECT_EQ(file.parent_path(), Root() / "Desktop");
        const Link link = ReadLink(file);
        EXPECT_EQ(link.target, program.wstring());
        EXPECT_THAT(SplitAsWindows(link.arguments), ElementsAre(L"--play", row.wide));
        EXPECT_EQ(link.folder, program.parent_path().wstring());
        EXPECT_EQ(link.icon, program.wstring());
    }
    EXPECT_EQ(files.size(), std::size(rows));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Root() / "Desktop"), {}),
              std::ssize(rows));
    shortcuts.rename("Clan Tag", "Clan");
    EXPECT_THAT(SplitAsWindows(ReadLink(shortcuts.pathOf("Clan")).arguments), ElementsAre(L"--play", L"Clan"));
    EXPECT_FALSE(std::filesystem::exists(shortcuts.pathOf("Clan Tag")));
}

}  // namespace
}  // namespace korvale::test
