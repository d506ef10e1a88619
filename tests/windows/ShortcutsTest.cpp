// Desktop entries that play as one identity: what a desktop runs from each, read back by the
// Desktop Entry Specification's rules, and what desktop-file-validate says of it.
#include <cstdlib>
#include <set>
#include <sstream>

#include <gmock/gmock.h>

#include "TempFolders.h"
#include "platform/files/FileError.h"
#include "windows/Shortcuts.h"

namespace korvale::test {
namespace {

using ::testing::ElementsAre;

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

// Exec split as a desktop splits it: arguments in double quotes, where a backslash escapes " ` $
// and itself; then %% for each %. Any other field code would be expanded: a fault.
std::vector<std::string> ExecArguments(const std::string& exec) {
    std::vector<std::string> arguments;
    std::string current;
    bool quoted = false, started = false;
    for (std::size_t at = 0; at < exec.size(); ++at) {
        const char character = exec[at];
        if (quoted && character == '\\' && std::string_view("\"`$\\").find(exec[at + 1]) != std::string_view::npos) {
            current += exec[++at];
        } else if (character == '"') {
            quoted = !quoted;
            started = true;
        } else if (character == '%') {
            EXPECT_EQ(exec[++at], '%') << "a field code in " << exec;
            current += '%';
        } else if (character == ' ' && !quoted) {
            if (started) arguments.push_back(current);
            current.clear();
            started = false;
        } else {
            current += character;
            started = true;
        }
    }
    if (started) arguments.push_back(current);
    return arguments;
}

class ShortcutsTest : public TempFolders {
protected:
    std::filesystem::path Program() const { return Root() / "K's \"games\" $1 100%" / "korvale"; }
    std::filesystem::path Applications() const { return Root() / "share" / "applications"; }
    Shortcuts m_shortcuts{Program(), Applications()};
};

TEST_F(ShortcutsTest, EveryNameRunsAsItselfFromAValidEntryOfItsOwn) {
    struct Row {
        const char* what;
        std::string name;  // Latin-1
        std::string text;  // UTF-8
    };
    const Row rows[] = {
        {"space", "Clan Tag", "Clan Tag"},
        {"quote", "Say \"Hi\" 'x'", "Say \"Hi\" 'x'"},
        {"backslash", "back\\slash\\", "back\\slash\\"},
        {"dollar and backtick", "$HOME`id`", "$HOME`id`"},
        {"percent", "100% %u", "100% %u"},
        {"Latin-1", "\xC9lan", "\xC3\x89lan"},
        {"tab", "tab\there", "tab\there"},
        {"only special characters", "\"\\$%`;&|<>*?#()~=_", "\"\\$%`;&|<>*?#()~=_"},
    };
    std::set<std::filesystem::path> files;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::filesystem::path file = m_shortcuts.make(row.name);
        files.insert(file.filename());
        EXPECT_EQ(file.parent_path(), Applications());
        EXPECT_THAT(file.filename().string(), ::testing::MatchesRegex("korvale-[A-Za-z0-9_-]*\\.desktop"));
        const std::string entry = ReadBytes(file);
        EXPECT_THAT(ExecArguments(Value(entry, "Exec")), ElementsAre(Program().string(), "--play", row.text));
        EXPECT_EQ(Value(entry, "Name"), "Unreal Tournament (" + row.text + ")");
        EXPECT_EQ(std::system(("desktop-file-validate '" + file.string() + "'").c_str()), 0);
    }
    EXPECT_EQ(files.size(), std::size(rows));
}

TEST_F(ShortcutsTest, AnEntryFollowsItsNameAndTheIconIsAPngBesideIt) {
    m_shortcuts.make("Old");
    const std::string entry = ReadBytes(m_shortcuts.make("Old"));  // replaced, not doubled
    EXPECT_EQ(Value(entry, "Icon"), (Applications() / "korvale.png").string());
    EXPECT_EQ(ReadBytes(Applications() / "korvale.png").substr(1, 3), "PNG");
    m_shortcuts.rename("Missing", "Made");
    m_shortcuts.rename("Old", "New");
    EXPECT_FALSE(std::filesystem::exists(m_shortcuts.pathOf("Old")));
    EXPECT_FALSE(std::filesystem::exists(m_shortcuts.pathOf("Made")));
    EXPECT_THAT(ExecArguments(Value(ReadBytes(m_shortcuts.pathOf("New")), "Exec")).back(), "New");
    m_shortcuts.remove("New");
    m_shortcuts.remove("New");
    EXPECT_EQ(FolderBytes(Applications()).size(), 1u);  // the icon alone
}

TEST_F(ShortcutsTest, AFolderThatCannotBeMadeIsNamedInTheFailure) {
    WriteBytes(Root() / "share", "a file, not a folder");
    try {
        m_shortcuts.make("Clan Tag");
        ADD_FAILURE() << "no failure";
    } catch (const FileError& error) {
        EXPECT_EQ(error.path(), Applications().string());
        EXPECT_FALSE(error.reason().empty());
    }
}

}  // namespace
}  // namespace korvale::test
