// Desktop entries that play as one identity: each one valid for desktop-file-validate, and started
// as GNOME starts it (gio launch) it runs the real korvale, which switches the profile to exactly
// that name.
#include <signal.h>

#include <cstdlib>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "TempFolders.h"
#include "platform/files/FileError.h"
#include "platform/files/Text.h"
#include "platform/host/NativeShortcuts.h"

namespace korvale::test {
namespace {

// The value of `key` in the entry, its string escapes undone.
std::string Value(const std::string& entry, const std::string& key) {
    std::istringstream lines(entry);
    std::string line, text;
    while (std::getline(lines, line) && !line.starts_with(key + "=")) {}
    for (std::size_t at = key.size() + 1; at < line.size(); ++at) {
        const char escaped = line[at] == '\\' && at + 1 < line.size() ? line[++at] : '\0';
        text += escaped == 's' ? ' ' : escaped == 't' ? '\t' : escaped ? escaped : line[at];
    }
    return text;
}

// A korvale that did not find its name waits on its message box, which nobody closes here.
void EndProgramsOf(const std::filesystem::path& program) {
    for (const auto& process : std::filesystem::directory_iterator("/proc")) {
        const std::string pid = process.path().filename().string();
        std::error_code error;
        if (pid.find_first_not_of("0123456789") == std::string::npos &&
            std::filesystem::read_symlink(process.path() / "exe", error) == program) {
            ::kill(std::stoi(pid), SIGKILL);
        }
    }
}

class ShortcutsTest : public TempFolders {
protected:
    // Korvale in a folder whose name itself needs quoting (not a "%": GLib looks for the program
    // before it undoes the doubled "%").
    std::filesystem::path Program() const { return Root() / "K's \"games\" $1" / "korvale"; }
    std::filesystem::path Applications() const { return Root() / "share" / "applications"; }
    NativeShortcuts m_shortcuts{Program(), Applications(), "\x89PNG icon"};
};

TEST_F(ShortcutsTest, EachNamesEntryIsValidAndPlaysAsThatNameWhenADesktopStartsIt) {
    const std::pair<const char*, std::string> rows[] = {
        {"space, quotes and Latin-1", "Clan \"Tag\" \xC9"},
        {"single quotes", "it's 'x'"},
        {"backslashes", "back\\slash\\"},
        {"dollar and backtick", "$HOME`id`"},
        {"percent and a field code", "100% %u"},
        {"tab", "tab\there"},
        {"only special characters", "\"\\$%`;&|<>*?#()~=_"},
    };
    std::filesystem::create_directories(Program().parent_path());
    std::filesystem::copy_file(KORVALE_BINARY, Program());
    std::filesystem::copy_file(KORVALE_STANDIN_GAME, SystemPath("UnrealTournament.exe"));
    WriteBytes(Program().parent_path() / "UTDir.ini", GameFolderText());
    std::string players;
    for (const auto& [what, name] : rows) {
        players += name + ",p\r\n";
    }
    WriteBytes(Program().parent_path() / "User.ini", players);
    std::set<std::filesystem::path> files;
    for (const auto& [what, name] : rows) {
        SCOPED_TRACE(what);
        WriteBytes(SystemPath("User.ini"), "Name=Old\r\n");
        const std::filesystem::path file = m_shortcuts.make(name);
        files.insert(file.filename());
        EXPECT_EQ(Value(ReadBytes(file), "Name"), "Unreal Tournament (" + latin1ToUtf8(name) + ")");
        EXPECT_EQ(std::system(("desktop-file-validate '" + file.string() + "'").c_str()), 0);
        ASSERT_EQ(std::system(("gio launch '" + file.string() + "'").c_str()), 0);
        EXPECT_TRUE(WaitForText(SystemPath("User.ini"), "Name=" + name + "\r\n"))
            << ReadBytes(SystemPath("User.ini"));
    }
    EXPECT_EQ(files.size(), std::size(rows));
    EndProgramsOf(Program());
}

TEST_F(ShortcutsTest, AnEntryFollowsItsNameWithItsIconBesideAndAFailureNamesTheFolder) {
    m_shortcuts.make("Old");
    m_shortcuts.rename("Missing", "Made");
    m_shortcuts.rename("Old", "New");
    EXPECT_EQ(Value(ReadBytes(m_shortcuts.pathOf("New")), "Icon"), (Applications() / "korvale.png").string());
    m_shortcuts.remove("New");
    EXPECT_EQ(FolderBytes(Applications()).size(), 1u);  // the icon alone
    EXPECT_EQ(ReadBytes(Applications() / "korvale.png").substr(1, 3), "PNG");
    WriteBytes(Root() / "file", "not a folder");
    EXPECT_THROW(NativeShortcuts(Program(), Root() / "file" / "applications").make("Old"), FileError);
}

}  // namespace
}  // namespace korvale::test
