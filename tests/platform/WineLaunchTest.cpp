// Hosts other than Windows: the game is a Windows program, started through Wine. A stand-in
// `wine` on PATH records what it is given; where Wine and MinGW-w64 are installed, a real Windows
// program runs under the real Wine too.
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FixedPick.h"
#include "OutsideProgram.h"
#include "RawFiles.h"
#include "RecordingUi.h"
#include "TempFolders.h"
#include "platform/files/FileError.h"
#include "platform/host/NativeLauncher.h"
#include "play/PlayCommand.h"

namespace korvale::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// The start of a Windows program: enough for the launcher to tell it from anything else.
const std::string kWindowsProgram("MZ\x90\0\x03\0\0\0", 8);
const std::string kProfile = "[DefaultPlayer]\r\nName=Player\r\nngWorldSecret=old\r\n";
const std::string kRewritten = "[DefaultPlayer]\r\nName=Zo\xEB\r\nngWorldSecret=s3cret\r\n";

// One environment variable set (or removed) for as long as the object lives.
class EnvironmentVariable {
public:
    EnvironmentVariable(std::string name, const std::optional<std::string>& value)
        : m_name(std::move(name)) {
        if (const char* old = std::getenv(m_name.c_str())) {
            m_old = old;
        }
        if (value) {
            ::setenv(m_name.c_str(), value->c_str(), 1);
        } else {
            ::unsetenv(m_name.c_str());
        }
    }
    EnvironmentVariable(const EnvironmentVariable&) = delete;
    EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;
    ~EnvironmentVariable() {
        if (m_old) {
            ::setenv(m_name.c_str(), m_old->c_str(), 1);
        } else {
            ::unsetenv(m_name.c_str());
        }
    }

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

// The first executable file of that name in the folders of PATH.
std::optional<fs::path> FindOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string_view folders = path != nullptr ? path : "";
    while (!folders.empty()) {
        const auto colon = folders.find(':');
        const fs::path candidate = fs::path(std::string(folders.substr(0, colon))) / name;
        if (!candidate.parent_path().empty() && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        folders = colon == std::string_view::npos ? std::string_view() : folders.substr(colon + 1);
    }
    return std::nullopt;
}

void WriteFile(const fs::path& file, std::string_view bytes, fs::perms mode) {
    fs::create_directories(file.parent_path());
    WriteBytes(file, bytes);
    fs::permissions(file, mode);
}

class WineLaunchTest : public TempFolders {
protected:
    void SetUp() override { TempFolders::SetUp(); }

    fs::path Bin() const { return Root() / "bin"; }
    fs::path WineRecord() const { return Root() / "wine-arguments.txt"; }

    // A stand-in `wine` in Bin() that writes "[argument]" for each of its arguments, whole.
    void PlaceFakeWine() const {
        const std::string record = WineRecord().string();
        WriteFile(Bin() / "wine",
                  "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]' \"$a\"; done > '" + record +
                      ".part'\n/bin/mv '" + record + ".part' '" + record + "'\n",
                  fs::perms(0755));
    }
    // PATH of Bin() alone: a real Wine elsewhere on the machine must not be found.
    EnvironmentVariable PathWithBin() const { return EnvironmentVariable("PATH", PathText(Bin())); }

    void Play() {
        NativeLauncher launcher;
        PlayCommand(Files(), m_folder, m_ui, launcher, Host()).PlayUT(m_pick);
    }

    FixedPick m_pick{0, "Zo\xEB", "s3cret"};
    RecordingUi m_ui;
    GameFolder m_folder{Files()};
};

TEST_F(WineLaunchTest, AWindowsProgramGoesToWineAndAnythingElseStartsAsItIs) {
    enum class Wine { Script, NotExecutable, None };
    enum class Outcome { UnderWine, Direct, Refused };
    const fs::path standin = fs::absolute(KORVALE_STANDIN_GAME);
    const struct {
        const char* name;
        std::string folder;  // under the root, Korvale's form
        std::string bytes;   // empty: a copy of the stand-in game (a program of this host)
        fs::perms mode;
        Wine wine;
        Outcome outcome;
        std::string reason;  // part of the refusal's reason
    } cases[] = {
        {"Windows program", "game", kWindowsProgram, fs::perms(0644), Wine::Script,
         Outcome::UnderWine, ""},
        {"Windows program, executable", "game", kWindowsProgram, fs::perms(0755), Wine::Script,
         Outcome::UnderWine, ""},
        // The host has no handler of its own for Windows programs: the direct start fails.
        {"Windows program, executable, no Wine", "game", kWindowsProgram, fs::perms(0755),
         Wine::None, Outcome::Refused, "Exec format error"},
        {"Windows program, spaces in a Wine prefix",
         ".wine/drive_c/Program Files/Unreal Tournament", kWindowsProgram, fs::perms(0644),
         Wine::Script, Outcome::UnderWine, ""},
        {"Windows program, no Wine", "game", kWindowsProgram, fs::perms(0644), Wine::None,
         Outcome::Refused, "Wine is not installed"},
        {"Windows program, a wine that cannot run", "game", kWindowsProgram, fs::perms(0644),
         Wine::NotExecutable, Outcome::Refused, "Wine is not installed"},
        {"program of this host", "game", "", fs::perms(0755), Wine::Script, Outcome::Direct, ""},
        {"not a program, not executable", "game", "MX text", fs::perms(0644), Wine::Script,
         Outcome::Refused, "ermission denied"},
        {"one byte", "game", "M", fs::perms(0644), Wine::Script, Outcome::Refused,
         "ermission denied"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(Bin());
        fs::remove(WineRecord());
        const fs::path system = Root() / c.folder / "System";
        const fs::path program = system / "UnrealTournament.exe";
        fs::remove(system / "started.txt");
        fs::remove(program);
        WriteFile(program, c.bytes.empty() ? ReadBytes(standin) : c.bytes, c.mode);
        fs::create_directories(Bin());
        if (c.wine == Wine::Script) {
            PlaceFakeWine();
        } else if (c.wine == Wine::NotExecutable) {
            WriteFile(Bin() / "wine", "#!/bin/sh\n", fs::perms(0644));
        }
        const auto path = PathWithBin();
        // Korvale joins "System\..." to the folder with backslashes.
        const std::string korvalePath =
            PathText(Root() / c.folder) + "\\System\\UnrealTournament.exe";

        try {
            NativeLauncher().start(korvalePath);
            EXPECT_NE(c.outcome, Outcome::Refused) << "started";
        } catch (const FileError& error) {
            EXPECT_EQ(c.outcome, Outcome::Refused) << error.what();
            EXPECT_EQ(error.path(), PathText(program));
            EXPECT_THAT(error.reason(), HasSubstr(c.reason));
        }
        switch (c.outcome) {
            case Outcome::UnderWine:
                ASSERT_TRUE(WaitForText(WineRecord(), "]"));
                EXPECT_EQ(ReadBytes(WineRecord()), "[" + PathText(program) + "]");
                break;
            case Outcome::Direct:
                ASSERT_TRUE(WaitForText(system / "started.txt", "\n"));
                EXPECT_THAT(ReadBytes(system / "started.txt"), HasSubstr(PathText(program) + "\n"));
                EXPECT_FALSE(fs::exists(WineRecord())) << "went through Wine";
                break;
            case Outcome::Refused:
                EXPECT_FALSE(fs::exists(WineRecord())) << "went through Wine";
                break;
        }
    }
}

// The folder players give: a Linux path into the Wine prefix where the game was installed.
TEST_F(WineLaunchTest, PlayWithAGameFolderInsideAWinePrefix) {
    const fs::path game = Root() / ".wine" / "drive_c" / "UnrealTournament";
    const fs::path program = game / "System" / "UnrealTournament.exe";
    WriteFile(program, kWindowsProgram, fs::perms(0644));
    WriteBytes(game / "System" / "User.ini", kProfile);
    WriteBytes(ProgramPath("UTDir.ini"), PathText(game));
    PlaceFakeWine();
    const auto path = PathWithBin();

    Play();
    EXPECT_THAT(m_ui.Messages(), IsEmpty());
    EXPECT_EQ(ReadBytes(game / "System" / "User.ini"), kRewritten);
    EXPECT_EQ(ReadBytes(game / "System" / "UserKorvale.old"), kProfile);
    ASSERT_TRUE(WaitForText(WineRecord(), "]"));
    EXPECT_EQ(ReadBytes(WineRecord()), "[" + PathText(program) + "]");

    // Without Wine the Play says why.
    const EnvironmentVariable noWine("PATH", PathText(Root() / "nothing"));
    Play();
    ASSERT_EQ(m_ui.Messages().size(), 1u);
    EXPECT_EQ(m_ui.Messages()[0].text, "Error");
    EXPECT_THAT(m_ui.Messages()[0].detail, HasSubstr(PathText(program) + ": "));
    EXPECT_THAT(m_ui.Messages()[0].detail, HasSubstr("Wine is not installed"));
}

// Wine's server of one prefix, stopped when the object goes, with every program it runs.
class WineServerStop {
public:
    explicit WineServerStop(const fs::path& wine)
        : m_server("'" + (wine.parent_path() / "wineserver").string() + "'") {}
    WineServerStop(const WineServerStop&) = delete;
    WineServerStop& operator=(const WineServerStop&) = delete;
    ~WineServerStop() {
        const std::string stop = m_server + " -k 2>/dev/null; " + m_server + " -w 2>/dev/null";
        static_cast<void>(std::system(stop.c_str()));
    }

private:
    std::string m_server;
};

// A small Windows program, built here with MinGW-w64, run by the real Wine in a fresh prefix:
// it writes down the path Wine gave it, which shows the prefix's drive C: at work. When
// "<itself>.hold" lies beside it, it then waits for "<itself>.release". Started first by `wine`
// outside Korvale, from its folder and by a relative path as a shortcut may, it stops a Play.
TEST_F(WineLaunchTest, ARealWindowsProgramRunsUnderTheRealWineAndStopsAPlayWhileItRuns) {
    const std::optional<fs::path> wine = FindOnPath("wine");
    std::optional<fs::path> compiler = FindOnPath("x86_64-w64-mingw32-gcc");
    if (!compiler) {
        compiler = FindOnPath("x86_64-w64-mingw32-gcc-posix");
    }
    if (!wine || !compiler) {
        GTEST_SKIP() << "needs wine and x86_64-w64-mingw32-gcc on PATH "
                        "(Debian: wine, wine64, gcc-mingw-w64-x86-64-posix)";
    }
    const fs::path prefix = Root() / ".wine";
    const fs::path game = prefix / "drive_c" / "UnrealTournament";
    const fs::path program = game / "System" / "UnrealTournament.exe";
    fs::create_directories(game / "System");
    WriteBytes(Root() / "probe.c",
               "#include <windows.h>\n"
               "int main(void) {\n"
               "    char path[MAX_PATH + 16];\n"
               "    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);\n"
               "    HANDLE file;\n"
               "    DWORD written;\n"
               "    int waited;\n"
               "    lstrcpyA(path + length, \".ran\");\n"
               "    file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);\n"
               "    WriteFile(file, path, length, &written, NULL);\n"
               "    WriteFile(file, \"\\n\", 1, &written, NULL);\n"
               "    CloseHandle(file);\n"
               "    lstrcpyA(path + length, \".hold\");\n"
               "    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) return 0;\n"
               "    lstrcpyA(path + length, \".release\");\n"
               "    for (waited = 0; waited < 3000; ++waited) {\n"
               "        if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) break;\n"
               "        Sleep(20);\n"
               "    }\n"
               "    return 0;\n"
               "}\n");
    const std::string build = "'" + compiler->string() + "' -O1 -o '" + program.string() + "' '" +
                              (Root() / "probe.c").string() + "'";
    ASSERT_EQ(std::system(build.c_str()), 0) << build;
    // As a game copied from Windows: no execute bit, so only Wine can run it.
    fs::permissions(program, fs::perms(0644));
    WriteBytes(game / "System" / "User.ini", kProfile);
    WriteBytes(ProgramPath("UTDir.ini"), PathText(game));
    const auto beside = [&](const char* suffix) { return fs::path(program.string() + suffix); };
    const fs::path ran = beside(".ran");
    const fs::path hold = beside(".hold");
    const auto files = [&] { return std::pair(FolderBytes(game), FolderBytes(ProgramDir())); };

    const EnvironmentVariable wineprefix("WINEPREFIX", PathText(prefix));
    const EnvironmentVariable quiet("WINEDEBUG", "-all");
    // No Mono or Gecko installer offered while the fresh prefix is made, and no window.
    const EnvironmentVariable noInstallers("WINEDLLOVERRIDES", "mscoree,mshtml=");
    const EnvironmentVariable noDisplay("DISPLAY", std::nullopt);
    const WineServerStop stop(*wine);
    {
        WriteBytes(hold, "");
        OutsideProgram outside({wine->string(), "./UnrealTournament.exe"}, game / "System");
        // A fresh prefix is set up on the first start: that takes Wine a while.
        ASSERT_TRUE(WaitForText(ran, "\n", 180)) << "the program did not run under Wine";
        const auto before = files();
        Play();
        EXPECT_THAT(m_ui.Messages(),
                    ElementsAre(Message{"Unreal Tournament is already running", ""}));
        EXPECT_EQ(files(), before);
        WriteBytes(beside(".release"), "");
        ASSERT_TRUE(outside.WaitForEnd(60));
    }
    fs::remove(hold);
    fs::remove(ran);
    Play();
    EXPECT_EQ(m_ui.Messages().size(), 1u);
    ASSERT_TRUE(WaitForText(ran, "\n", 60)) << "Korvale did not start the program under Wine";
    EXPECT_EQ(ReadBytes(ran), "C:\\UnrealTournament\\System\\UnrealTournament.exe\n");
    EXPECT_EQ(ReadBytes(game / "System" / "User.ini"), kRewritten);
}

}  // namespace
}  // namespace korvale::test
