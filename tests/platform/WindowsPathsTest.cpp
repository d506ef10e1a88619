// Windows only: native paths (drive roots, names outside ASCII), the file swaps against the
// read-only attribute and files held open by others, and starting the game with CreateProcessW.
#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "RawFiles.h"
#include "RecordingLauncher.h"
#include "RecordingUi.h"
#include "TempFolders.h"
#include "FixedPick.h"
#include "platform/files/FileError.h"
#include "platform/host/NativeLauncher.h"
#include "platform/files/Text.h"
#include "platform/host/WindowsText.h"
#include "play/PlayCommand.h"
#include "settings/GameFolder.h"
#include "settings/Identities.h"

namespace korvale::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::SizeIs;
using ::testing::StartsWith;

const std::string kProfile =
    "[Engine.Input]\r\nNoName=\r\n[DefaultPlayer]\r\nName=Player\r\n"
    "ngWorldSecret=old\r\n";
// The player "Zoë" as the lists hold it: Latin-1.
const std::string kPlayer = "Zo\xEB";
const std::string kRewritten =
    "[Engine.Input]\r\nNoName=\r\n[DefaultPlayer]\r\nName=Zo\xEB\r\n"
    "ngWorldSecret=s3cret\r\n";

fs::path Utf8Path(std::string_view utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string CurrentFolder() {
    std::wstring current(GetCurrentDirectoryW(0, nullptr), L'\0');
    current.resize(GetCurrentDirectoryW(static_cast<DWORD>(current.size()), current.data()));
    return Utf8Text(current);
}

std::string UnusedDrive() {
    const DWORD used = GetLogicalDrives();
    char letter = 'Z';
    while (letter > 'D' && (used & (1u << (letter - 'A'))) != 0) {
        --letter;
    }
    return std::string{letter, ':'};
}

bool RunsUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

fs::path RecordOf(const fs::path& program) {
    fs::path record = program;
    record += ".txt";
    return record;
}

// The "key=value" lines the stand-in game wrote about how it was started.
std::map<std::string, std::string> ReadRecord(const fs::path& program) {
    std::map<std::string, std::string> values;
    const std::string text = ReadBytes(RecordOf(program));
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end - start);
        const std::size_t equals = line.find('=');
        values[line.substr(0, equals)] = equals == std::string::npos ? "" : line.substr(equals + 1);
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return values;
}

fs::path PlaceStandin(const fs::path& program) {
    fs::create_directories(program.parent_path());
    fs::copy_file(fs::absolute(KORVALE_WINDOWS_STANDIN), program);
    return program;
}

void SetReadOnly(const fs::path& file, bool readOnly) {
    const DWORD attributes = GetFileAttributesW(file.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    const DWORD wanted = readOnly ? attributes | FILE_ATTRIBUTE_READONLY
                                  : attributes & ~DWORD{FILE_ATTRIBUTE_READONLY};
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), wanted));
}

bool IsReadOnly(const fs::path& file) {
    const DWORD attributes = GetFileAttributesW(file.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// Wine run by root honours the attribute only in name: root may write anything.
bool ReadOnlyIsHonoured(const fs::path& file) {
    HANDLE probe = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE) {
        return true;
    }
    CloseHandle(probe);
    return false;
}

// A handle held by the test as another program (the game, an editor) would hold the file.
class HeldFile {
public:
    HeldFile(const fs::path& file, DWORD share)
        : m_handle(CreateFileW(file.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    ~HeldFile() {
        if (IsOpen()) {
            CloseHandle(m_handle);
        }
    }
    bool IsOpen() const noexcept { return m_handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_handle;
};

class WindowsPathsTest : public TempFolders {
protected:
    void SetUp() override {
        TempFolders::SetUp();
    }

    void Play(ProgramLauncher& launcher) {
        PlayCommand(Files(), m_folder, m_ui, launcher, Host()).PlayUT(m_pick);
    }

    // The game folder as UTDir.ini holds it: Latin-1.
    void SetGameFolder(const std::string& utf8Folder) {
        std::string latin1;
        for (const char32_t character : Utf8Path(utf8Folder).u32string()) {
            ASSERT_LE(character, 0xFFu) << utf8Folder;
            latin1 += static_cast<char>(character);
        }
        WriteBytes(ProgramPath("UTDir.ini"), latin1);
    }

    FixedPick m_pick{0, kPlayer, "s3cret"};
    RecordingUi m_ui;
    GameFolder m_folder{Files()};
};

// --- The game's VirtualStore copy of its profile ---------------------------------------------

// LOCALAPPDATA set for the test, and put back after it.
class ScopedLocalAppData {
public:
    explicit ScopedLocalAppData(const fs::path& folder) {
        const DWORD needed = GetEnvironmentVariableW(L"LOCALAPPDATA", nullptr, 0);
        if (needed > 0) {
            std::wstring old(needed, L'\0');
            old.resize(GetEnvironmentVariableW(L"LOCALAPPDATA", old.data(), needed));
            m_old = old;
        }
        SetEnvironmentVariableW(L"LOCALAPPDATA", folder.c_str());
    }
    ScopedLocalAppData(const ScopedLocalAppData&) = delete;
    ScopedLocalAppData& operator=(const ScopedLocalAppData&) = delete;
    ~ScopedLocalAppData() {
        SetEnvironmentVariableW(L"LOCALAPPDATA", m_old ? m_old->c_str() : nullptr);
    }

private:
    std::optional<std::wstring> m_old;
};

TEST_F(WindowsPathsTest, AVirtualisedGameHasItsVirtualStoreCopySwitched) {
    const fs::path game = MakeGameFolder("Program Files (x86)\\Unreal Tournament");
    const std::string folder = PathText(game);
    ASSERT_EQ(folder.substr(1, 2), ":\\");
    const ScopedLocalAppData local(Root() / "Local");
    // Where the system keeps this user's copy: the folder's path without its drive.
    const fs::path store = Utf8Path(PathText(Root() / "Local" / "VirtualStore") + folder.substr(2));
    fs::create_directories(store / "System");
    WriteBytes(store / "System" / "User.ini", kProfile);
    WriteBytes(game / "System" / "User.ini", "Name=Unread\r\n");
    const fs::path program = PlaceStandin(game / "System" / "UnrealTournament.exe");
    SetGameFolder(folder);
    NativeLauncher launcher;
    Play(launcher);

    EXPECT_THAT(m_ui.Messages(), IsEmpty());
    EXPECT_EQ(ReadBytes(store / "System" / "User.ini"), kRewritten);
    EXPECT_EQ(ReadBytes(store / "System" / "UserKorvale.old"), kProfile);
    EXPECT_EQ(ReadBytes(game / "System" / "User.ini"), "Name=Unread\r\n");
    EXPECT_FALSE(fs::exists(game / "System" / "UserKorvale.old"));
    ASSERT_TRUE(WaitForText(RecordOf(program), "cwd="));
    EXPECT_EQ(ReadRecord(program)["command"], "\"" + folder + "\\System\\UnrealTournament.exe\"");

    // Without the copy, the game reads its own profile, and so that one is switched.
    fs::remove(store / "System" / "User.ini");
    WriteBytes(game / "System" / "User.ini", kProfile);
    Play(launcher);
    EXPECT_EQ(ReadBytes(game / "System" / "User.ini"), kRewritten);
}

// --- Names outside ASCII ----------------------------------------------------------------------

TEST_F(WindowsPathsTest, AGameFolderWithSpacesAndLatin1LettersPlaysInEveryForm) {
    const fs::path game = MakeGameFolder(
        "Jeux\\Unreal Tournament \xC3\x89"
        "dition");
    const std::string folder = PathText(game);
    const fs::path program = PlaceStandin(game / "System" / "UnrealTournament.exe");
    const struct {
        const char* name;
        std::string setting;  // UTF-8 here, Latin-1 in the file
    } cases[] = {
        {"plain", folder},
        {"final backslash", folder + "\\"},
        {"forward slashes",
         [&] {
             std::string slashed = folder;
             std::replace(slashed.begin(), slashed.end(), '\\', '/');
             return slashed;
         }()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(game / "System" / "User.ini", kProfile);
        fs::remove(RecordOf(program));
        SetGameFolder(c.setting);
        NativeLauncher launcher;
        Play(launcher);

        EXPECT_THAT(m_ui.Messages(), IsEmpty());
        EXPECT_EQ(ReadBytes(game / "System" / "User.ini"), kRewritten);
        EXPECT_EQ(ReadBytes(game / "System" / "UserKorvale.old"), kProfile);
        ASSERT_TRUE(WaitForText(RecordOf(program), "cwd="));
        const std::string started =
            c.setting + (c.setting.back() == '\\' ? "" : "\\") + "System\\UnrealTournament.exe";
        EXPECT_EQ(ReadRecord(program)["command"], "\"" + started + "\"");
    }
}

TEST_F(WindowsPathsTest, AProgramFolderOutsideLatin1HoldsKorvalesFiles) {
    // Cyrillic and Chinese: no single-byte code page holds both.
    const fs::path folder = Root() / Utf8Path(
                                         "\xD0\x9A\xD0\xBE\xD1\x80\xD0\xB2\xD0\xB0\xD0\xBB"
                                         "\xD0\xB5 \xE7\xA8\x8B\xE5\xBA\x8F");
    const fs::path program = PlaceStandin(folder / "korvale.exe");
    NativeLauncher().start(PathText(program));
    ASSERT_TRUE(WaitForText(RecordOf(program), "cwd="));
    const std::string found = ReadRecord(program)["folder"];
    EXPECT_EQ(found, PathText(folder));

    // What Korvale keeps next to itself, in that folder.
    const FileSystem files(ops(), found);
    RecordingUi ui;
    GameFolder setting(files);
    setting.SetDirIniPath();
    setting.LoadUTDir(ui);
    EXPECT_EQ(setting.gDirIniPath(), PathText(folder / "UTDir.ini"));
    Identities players(files);
    EXPECT_EQ(players.AppendPlayer({"Zo\xEB ", " s3cret"}), 0u);
    players.LoadPlayers();
    EXPECT_THAT(std::vector<Player>(players.begin(), players.end()),
                ElementsAre(Player{kPlayer, "s3cret"}));
    EXPECT_EQ(ReadBytes(folder / "UTDir.ini"), "");
    EXPECT_EQ(ReadBytes(folder / "User.ini"), "Zo\xEB,s3cret");
    EXPECT_THAT(ui.Messages(), IsEmpty());
}

// --- A drive root ------------------------------------------------------------------------------

// A drive letter whose root is an empty folder of the test's: KORVALE_TEST_DRIVE names one made
// for the tests (under Wine, a drive of the prefix); otherwise a free letter is mapped the way
// "subst" does it.
class DriveRootTest : public WindowsPathsTest {
protected:
    void SetUp() override {
        WindowsPathsTest::SetUp();
        if (const char* drive = std::getenv("KORVALE_TEST_DRIVE"); drive != nullptr && *drive) {
            m_drive = drive;
        } else {
            MapFreeDrive();
        }
        if (m_drive.empty()) {
            GTEST_SKIP() << "no drive letter could be mapped for the test";
        }
        m_root = m_drive + "\\";
    }
    void TearDown() override {
        for (const fs::path& made : m_made) {
            std::error_code ignored;
            fs::remove_all(made, ignored);
        }
        if (!m_mapped.empty()) {
            DefineDosDeviceW(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE,
                             WidePath(m_drive).c_str(), m_mapped.c_str());
        }
        WindowsPathsTest::TearDown();
    }

    // A path at the drive's root, removed after the test.
    fs::path AtRoot(std::string_view name) {
        m_made.push_back(Utf8Path(m_root + std::string(name)));
        return m_made.back();
    }

    std::string m_drive;  // "K:"
    std::string m_root;   // "K:\"

private:
    void MapFreeDrive() {
        const fs::path target = Root() / "drive";
        fs::create_directory(target);
        const DWORD used = GetLogicalDrives();
        for (wchar_t letter = L'Z'; letter >= L'D'; --letter) {
            if ((used & (1u << (letter - L'A'))) != 0) {
                continue;
            }
            const std::wstring drive{letter, L':'};
            if (!DefineDosDeviceW(0, drive.c_str(), target.c_str())) {
                continue;
            }
            m_mapped = target.wstring();
            m_drive = Utf8Text(drive);
            // Some hosts (Wine) accept the mapping but do not resolve paths through it.
            WriteBytes(Utf8Path(m_drive + "\\probe"), "x");
            if (!fs::exists(target / "probe")) {
                m_drive.clear();
            }
            fs::remove(target / "probe");
            return;
        }
    }

    std::wstring m_mapped;
    std::vector<fs::path> m_made;
};

TEST_F(DriveRootTest, AProgramAtADriveRootKeepsItsFilesAtTheRoot) {
    const fs::path program = AtRoot("korvale-" + std::to_string(GetCurrentProcessId()) + ".exe");
    AtRoot("korvale-" + std::to_string(GetCurrentProcessId()) + ".exe.txt");
    PlaceStandin(program);
    NativeLauncher().start(PathText(program));
    ASSERT_TRUE(WaitForText(RecordOf(program), "cwd="));
    const std::string folder = ReadRecord(program)["folder"];
    EXPECT_EQ(folder, m_root);

    // The setting file's path is the folder, a backslash and the name, as the folder stands.
    AtRoot("UTDir.ini");
    const FileSystem files(ops(), folder);
    RecordingUi ui;
    GameFolder setting(files);
    setting.SetDirIniPath();
    EXPECT_EQ(setting.gDirIniPath(), m_root + "\\UTDir.ini");
    setting.LoadUTDir(ui);
    EXPECT_TRUE(fs::exists(Utf8Path(m_root + "UTDir.ini")));
    setting.SaveUTDir("  " + m_root + "  ");
    EXPECT_EQ(ReadBytes(Utf8Path(m_root + "UTDir.ini")), m_root);
    EXPECT_EQ(setting.gUTDir(), m_root);
}

TEST_F(DriveRootTest, AGameAtADriveRootPlays) {
    const fs::path system = AtRoot("System");
    fs::create_directory(system);
    WriteBytes(system / "User.ini", kProfile);
    WriteBytes(ProgramPath("UTDir.ini"), m_root);
    RecordingLauncher launcher;
    Play(launcher);
    EXPECT_THAT(m_ui.Messages(), IsEmpty());
    EXPECT_EQ(ReadBytes(system / "User.ini"), kRewritten);
    EXPECT_EQ(ReadBytes(system / "UserKorvale.old"), kProfile);
    EXPECT_THAT(launcher.Started(), ElementsAre(m_root + "System\\UnrealTournament.exe"));
}

// --- Swaps against the read-only attribute and files held open ----------------------------------

TEST_F(WindowsPathsTest, TheBackupReplacesWhateverBackupIsThere) {
    const std::string profile = GameFolderText() + "\\System\\User.ini";
    const std::string backup = GameFolderText() + "\\System\\UserKorvale.old";
    const struct {
        const char* name;
        std::optional<std::string> old;  // no backup yet when empty
        bool readOnly;
    } cases[] = {
        {"no backup yet", std::nullopt, false},
        {"a longer backup", std::string(200000, 'x'), false},
        {"a read-only backup", "old\r\n", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(SystemPath("User.ini"), kProfile);
        if (fs::exists(SystemPath("UserKorvale.old"))) {
            SetReadOnly(SystemPath("UserKorvale.old"), false);
            fs::remove(SystemPath("UserKorvale.old"));
        }
        if (c.old) {
            WriteBytes(SystemPath("UserKorvale.old"), *c.old);
            SetReadOnly(SystemPath("UserKorvale.old"), c.readOnly);
        }
        Files().replaceWhole(backup, kProfile, profile);
        EXPECT_EQ(ReadBytes(SystemPath("UserKorvale.old")), kProfile);
        EXPECT_EQ(ReadBytes(SystemPath("User.ini")), kProfile);
        // Nothing else is left beside them.
        EXPECT_EQ(
            std::distance(fs::directory_iterator(GameDir() / "System"), fs::directory_iterator()),
            2);
    }
}

TEST_F(WindowsPathsTest, ASaveOverAReadOnlySettingFileKeepsItReadOnly) {
    WriteBytes(ProgramPath("UTDir.ini"), "C:\\Old");
    SetReadOnly(ProgramPath("UTDir.ini"), true);
    m_folder.SetDirIniPath();
    m_folder.SaveUTDir(" D:\\Games\\UT ");
    EXPECT_EQ(ReadBytes(ProgramPath("UTDir.ini")), "D:\\Games\\UT");
    EXPECT_TRUE(IsReadOnly(ProgramPath("UTDir.ini")));
    EXPECT_FALSE(fs::exists(ProgramPath("UTDir.ini.korvale-new")));
    SetReadOnly(ProgramPath("UTDir.ini"), false);
}

TEST_F(WindowsPathsTest, APlayerFileCreatedHereIsItsOwnersAlone) {
    if (RunsUnderWine()) {
        GTEST_SKIP() << "Wine keeps no security descriptor of its own for a file";
    }
    Identities(Files()).AppendPlayer({"Zo\xEB", "s3cret"});
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(GetNamedSecurityInfoW(ProgramPath("User.ini").c_str(), SE_FILE_OBJECT,
                                    DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                                    &descriptor),
              ERROR_SUCCESS);
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    GetSecurityDescriptorControl(descriptor, &control, &revision);
    ACL_SIZE_INFORMATION size{};
    ASSERT_NE(dacl, nullptr);
    GetAclInformation(dacl, &size, sizeof size, AclSizeInformation);
    bool grantsUser = false;
    if (size.AceCount == 1) {
        void* ace = nullptr;
        GetAce(dacl, 0, &ace);
        HANDLE token = nullptr;
        OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
        std::vector<unsigned char> user(256);
        DWORD needed = 0;
        GetTokenInformation(token, TokenUser, user.data(), static_cast<DWORD>(user.size()),
                            &needed);
        CloseHandle(token);
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        grantsUser =
            allowed->Header.AceType == ACCESS_ALLOWED_ACE_TYPE &&
            EqualSid(&allowed->SidStart, reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid);
    }
    LocalFree(descriptor);
    EXPECT_EQ(size.AceCount, 1u);
    EXPECT_TRUE(grantsUser);
    EXPECT_NE(control & SE_DACL_PROTECTED, 0) << "the folder's entries were inherited";
}

class ProfileSwapTest : public WindowsPathsTest {
protected:
    void SetUp() override {
        WindowsPathsTest::SetUp();
        WriteBytes(ProgramPath("UTDir.ini"), GameFolderText());
        WriteBytes(SystemPath("User.ini"), kProfile);
        WriteBytes(SystemPath("UserKorvale.old"), "the old backup");
    }

    // Play fails on the profile, says why, and leaves the profile and its backup as they were,
    // refused before any write. `heldWith` is the sharing another program allows while it holds
    // the profile open during the Play.
    void ExpectRefusedPlay(std::optional<DWORD> heldWith = std::nullopt) {
        RecordingLauncher launcher;
        {
            std::optional<HeldFile> holder;
            if (heldWith) {
                holder.emplace(SystemPath("User.ini"), *heldWith);
                ASSERT_TRUE(holder->IsOpen());
            }
            Play(launcher);
        }
        const std::string profile = GameFolderText() + "\\System\\User.ini";
        ASSERT_THAT(m_ui.Messages(), SizeIs(1));
        EXPECT_EQ(m_ui.Messages()[0].text, "Error");
        EXPECT_THAT(m_ui.Messages()[0].detail, StartsWith(profile + ": "));
        EXPECT_GT(m_ui.Messages()[0].detail.size(), profile.size() + 2) << "no reason given";
        EXPECT_EQ(ReadBytes(SystemPath("User.ini")), kProfile);
        EXPECT_EQ(ReadBytes(SystemPath("UserKorvale.old")), "the old backup");
        EXPECT_FALSE(fs::exists(SystemPath("UserKorvale.old.korvale-new")));
        EXPECT_THAT(launcher.Started(), IsEmpty());
    }
};

TEST_F(ProfileSwapTest, AReadOnlyProfileIsLeftAsItWas) {
    SetReadOnly(SystemPath("User.ini"), true);
    if (!ReadOnlyIsHonoured(SystemPath("User.ini"))) {
        SetReadOnly(SystemPath("User.ini"), false);
        GTEST_SKIP() << "the read-only attribute does not stop this user (root under Wine)";
    }
    ExpectRefusedPlay();
    SetReadOnly(SystemPath("User.ini"), false);
}

TEST_F(ProfileSwapTest, AProfileHeldOpenByAnotherProgramIsLeftAsItWas) {
    const struct {
        const char* name;
        DWORD sharing;  // what the other program lets others do with the file
    } cases[] = {
        {"reading shared", FILE_SHARE_READ},
        {"nothing shared", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(SystemPath("UserKorvale.old"), "the old backup");
        m_ui = RecordingUi();
        ExpectRefusedPlay(c.sharing);
    }
}

// A profile kept elsewhere through a symbolic link, absolute or relative: the file it names is
// switched, and the link stays.
TEST_F(ProfileSwapTest, AProfileThatIsASymbolicLinkHasItsTargetSwitched) {
    fs::create_directories(Root() / "kept");
    WriteBytes(Root() / "kept" / "User.ini", kProfile);
    const fs::path relative = fs::path("..") / ".." / "kept" / "User.ini";
    for (const fs::path& target : {Root() / "kept" / "User.ini", relative}) {
        SCOPED_TRACE(target.string());
        fs::remove(SystemPath("User.ini"));
        // Wine 8 says it made the link and makes none.
        if (!CreateSymbolicLinkW(SystemPath("User.ini").c_str(), target.c_str(),
                                 SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) ||
            !fs::is_symlink(SystemPath("User.ini"))) {
            GTEST_SKIP() << "no symbolic links for this user or on this host";
        }
        Files().replaceWhole(PathText(SystemPath("User.ini")), "switched");
        EXPECT_TRUE(fs::is_symlink(SystemPath("User.ini")));
        EXPECT_EQ(ReadBytes(Root() / "kept" / "User.ini"), "switched");
    }
}

// The file's access list in the system's text form; empty when it cannot be read.
std::wstring AccessList(const fs::path& file) {
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    LPWSTR text = nullptr;
    if (GetNamedSecurityInfoW(file.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, &dacl, nullptr, &descriptor) == ERROR_SUCCESS) {
        ConvertSecurityDescriptorToStringSecurityDescriptorW(
            descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr);
    }
    const std::wstring list = text != nullptr ? text : L"";
    LocalFree(text);
    LocalFree(descriptor);
    return list;
}

// A swapped-in profile, and its backup, are the old profile to the system: a hidden one stays
// hidden, and one with an access list of its own (no entries from its folder) keeps that list.
TEST_F(ProfileSwapTest, ThePlayedProfileKeepsItsAttributesAndAccessList) {
    const fs::path profile = SystemPath("User.ini");
    PSECURITY_DESCRIPTOR own = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
        L"D:P(A;;FA;;;WD)(A;;FR;;;BU)", SDDL_REVISION_1, &own, nullptr));
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL dacl = nullptr;
    GetSecurityDescriptorDacl(own, &present, &dacl, &defaulted);
    const DWORD set = SetNamedSecurityInfoW(const_cast<wchar_t*>(profile.c_str()), SE_FILE_OBJECT,
                                            DACL_SECURITY_INFORMATION |
                                                PROTECTED_DACL_SECURITY_INFORMATION,
                                            nullptr, nullptr, dacl, nullptr);
    LocalFree(own);
    const std::wstring list = AccessList(profile);
    ASSERT_TRUE(SetFileAttributesW(profile.c_str(), FILE_ATTRIBUTE_HIDDEN));
    RecordingLauncher launcher;
    Play(launcher);
    ASSERT_EQ(ReadBytes(profile), kRewritten);
    for (const fs::path& file : {profile, SystemPath("UserKorvale.old")}) {
        EXPECT_NE(GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u) << file;
    }
    if (set != ERROR_SUCCESS || !list.starts_with(L"D:P")) {
        GTEST_SKIP() << "the host keeps no access list of a file's own (Wine): hidden checked";
    }
    EXPECT_EQ(AccessList(profile), list);
    EXPECT_EQ(AccessList(SystemPath("UserKorvale.old")), list);
}

TEST(WindowsTextTest, PathsGoBetweenUtf8AndUtf16WholeOrNotAtAll) {
    // Latin-1, Chinese, and a character beyond 16 bits (a surrogate pair in UTF-16).
    const std::string utf8 = "C:\\Zo\xC3\xAB\\\xE6\xB8\xB8\xE6\x88\x8F\xF0\x9F\x8E\xAE";
    const std::wstring utf16 = L"C:\\Zo\u00EB\\\u6E38\u620F\U0001F3AE";
    EXPECT_EQ(WidePath(utf8), utf16);
    EXPECT_EQ(Utf8Text(utf16), utf8);
    for (const std::string& bad : {std::string("Zo\xEB"), std::string("a\0b", 3)}) {
        EXPECT_THROW(WidePath(bad), FileError) << bad;
    }
}

// --- Starting the game -------------------------------------------------------------------------

TEST_F(WindowsPathsTest, TheGameIsStartedByItsExactPathMinimizedWhereKorvaleStands) {
    // "<base>\Program Files\..." unquoted would start "<base>\Program.exe". The base is a folder
    // of its own: a folder "<base>\Program" would hide the decoy from the system's search.
    const fs::path base = Root() / "C";
    const fs::path game =
        PlaceStandin(base / "Program Files" / "Game" / "System" / "UnrealTournament.exe");
    const fs::path decoy = PlaceStandin(base / "Program.exe");
    const std::string path = PathText(game);
    NativeLauncher().start(path);

    for (int waited = 0;
         waited < 1000 && !fs::exists(RecordOf(game)) && !fs::exists(RecordOf(decoy)); ++waited) {
        Sleep(20);
    }
    ASSERT_FALSE(fs::exists(RecordOf(decoy))) << "the decoy was started";
    ASSERT_TRUE(WaitForText(RecordOf(game), "cwd="));
    auto record = ReadRecord(game);
    EXPECT_EQ(record["command"], "\"" + path + "\"");
    EXPECT_EQ(record["show"], std::to_string(SW_SHOWMINIMIZED));
    EXPECT_EQ(record["cwd"], CurrentFolder());
}

TEST_F(WindowsPathsTest, TheGameIsNotWaitedFor) {
    const fs::path game = PlaceStandin(GameDir() / "System" / "UnrealTournament.exe");
    fs::path hold = game;
    hold += ".hold";
    fs::path release = game;
    release += ".release";
    fs::path done = game;
    done += ".done";
    WriteBytes(hold, "");

    NativeLauncher().start(PathText(game));
    ASSERT_TRUE(WaitForText(RecordOf(game), "cwd="));
    EXPECT_FALSE(fs::exists(done)) << "the start waited for the game to end";
    WriteBytes(release, "");
    EXPECT_TRUE(WaitForText(done, "done"));
}

TEST_F(WindowsPathsTest, WhatCannotBeStartedIsAFailureNamingItsNativePath) {
    WriteBytes(SystemPath("UnrealTournament.exe"), "MZ but no program");
    const struct {
        const char* name;
        std::string path;
    } cases[] = {
        {"missing", GameFolderText() + "\\System\\Missing.exe"},
        {"a folder", GameFolderText() + "\\System"},
        {"not a program", GameFolderText() + "\\System\\UnrealTournament.exe"},
        {"a drive that is not there", UnusedDrive() + "\\Games\\System\\UnrealTournament.exe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            NativeLauncher().start(c.path);
            ADD_FAILURE() << "started";
        } catch (const FileError& error) {
            EXPECT_EQ(error.path(), c.path);
            EXPECT_THAT(error.reason(), Not(IsEmpty()));
            EXPECT_THAT(error.reason(), Not(::testing::EndsWith("\n")));
        }
    }
}

}  // namespace
}  // namespace korvale::test
