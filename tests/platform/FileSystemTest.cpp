#include <set>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "RawFiles.h"
#include "TempFolders.h"
#include "platform/files/FileError.h"
#include "platform/files/FileSystem.h"
#include "platform/host/NativeFileOps.h"

namespace korvale::test {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using Op = FaultyFileOps::Op;
using ::testing::UnorderedElementsAre;

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

fs::perms Mode(const fs::path& file) {
    return fs::status(file).permissions() & fs::perms::mask;
}

using FileSystemTest = TempFolders;

TEST_F(FileSystemTest, FilesNextToTheProgramAreJoinedWithABackslash) {
    EXPECT_EQ(Files().programFolder(), PathText(ProgramDir()));
    EXPECT_EQ(Files().programFile("UTDir.ini"), PathText(ProgramDir()) + "\\UTDir.ini");
    WriteBytes(ProgramPath("UTDir.ini"), "x");
    EXPECT_TRUE(Files().FileExists(Files().programFile("UTDir.ini")));
    EXPECT_FALSE(Files().FileExists(Files().programFile("User.ini")));
    EXPECT_FALSE(Files().FileExists(GameFolderText() + "\\System")) << "a folder is no file";
    EXPECT_EQ(Files().GetFile(Files().programFile("UTDir.ini")).ReadAll(), "x");
}

TEST_F(FileSystemTest, GetFileOnAMissingFileNamesItInNativeForm) {
    try {
        Files().GetFile(GameFolderText() + "\\System\\User.ini");
        ADD_FAILURE() << "no failure";
    } catch (const FileError& error) {
        EXPECT_EQ(error.path(), PathText(SystemPath("User.ini")));
        EXPECT_EQ(std::string(error.what()), error.path() + ": " + error.reason());
    }
}

TEST_F(FileSystemTest, CreateTextFileEmptiesOrCreates) {
    WriteBytes(ProgramPath("UTDir.ini"), "C:\\Games\\UnrealTournament");
    Files().CreateTextFile(Files().programFile("UTDir.ini")).Close();
    Files().CreateTextFile(Files().programFile("new.ini")).Close();
    EXPECT_EQ(ReadBytes(ProgramPath("UTDir.ini")), "");
    EXPECT_EQ(ReadBytes(ProgramPath("new.ini")), "");
}

TEST_F(FileSystemTest, OwnerOnlyAppliesToNewFilesOnly) {
    KORVALE_POSIX_ONLY();
    WriteBytes(ProgramPath("old.ini"), "x");
    fs::permissions(ProgramPath("old.ini"), fs::perms(0644));
    Files().CreateTextFile(Files().programFile("new.ini"), FileSystem::Access::OwnerOnly).Close();
    Files().CreateTextFile(Files().programFile("old.ini"), FileSystem::Access::OwnerOnly).Close();
    EXPECT_EQ(Mode(ProgramPath("new.ini")), fs::perms(0600));
    EXPECT_EQ(Mode(ProgramPath("old.ini")), fs::perms(0644));
}

TEST_F(FileSystemTest, AReplacementTakesTheAccessOfItsModel) {
    KORVALE_POSIX_ONLY();
    WriteBytes(SystemPath("User.ini"), "profile");
    fs::permissions(SystemPath("User.ini"), fs::perms(0600));
    WriteBytes(SystemPath("UserKorvale.old"), std::string(100000, 'o'));
    fs::permissions(SystemPath("UserKorvale.old"), fs::perms(0644));
    Files().replaceWhole(GameFolderText() + "\\System\\UserKorvale.old", "short\r\n\x80\0"s,
                         GameFolderText() + "\\System\\User.ini");
    EXPECT_EQ(ReadBytes(SystemPath("UserKorvale.old")), "short\r\n\x80\0"s);
    EXPECT_EQ(Mode(SystemPath("UserKorvale.old")), fs::perms(0600));
    EXPECT_THAT(Names(GameDir() / "System"), UnorderedElementsAre("User.ini", "UserKorvale.old"));
}

TEST_F(FileSystemTest, AFailedReplacementLeavesTheOldFileAndNoTemporaryFile) {
    struct Case {
        const char* name;
        FaultyFileOps::Fault fault;
    };
    const Case cases[] = {
        {"new file cannot be created", {.op = Op::Open, .error = std::errc::permission_denied}},
        {"model's access cannot be given", {.op = Op::Permissions}},
        {"disk full", {.op = Op::Write}},
        {"close of the new file fails", {.op = Op::Close}},
        {"swap refused", {.op = Op::Rename, .error = std::errc::permission_denied}},
    };
    const std::string big(200000, 'n');
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(SystemPath("User.ini"), "profile");
        WriteBytes(SystemPath("UserKorvale.old"), "old backup");
        ops().Clear();
        ops().Inject(c.fault);
        const std::size_t injected = ops().Injected();
        EXPECT_THROW(Files().replaceWhole(GameFolderText() + "\\System\\UserKorvale.old", big,
                                          GameFolderText() + "\\System\\User.ini"),
                     FileError);
        EXPECT_EQ(ops().Injected(), injected + 1);
        EXPECT_EQ(ReadBytes(SystemPath("UserKorvale.old")), "old backup");
        EXPECT_THAT(Names(GameDir() / "System"),
                    UnorderedElementsAre("User.ini", "UserKorvale.old"));
        EXPECT_EQ(ops().OpenHandles(), 0u);
    }
}

TEST_F(FileSystemTest, ReplaceFileKeepsALinkALinkAndKeepsTheMode) {
    KORVALE_POSIX_ONLY();
    fs::create_directory(Root() / "elsewhere");
    WriteBytes(Root() / "elsewhere" / "UTDir.ini", "old");
    fs::permissions(Root() / "elsewhere" / "UTDir.ini", fs::perms(0640));
    fs::create_symlink("../elsewhere/UTDir.ini", ProgramPath("UTDir.ini"));

    Files().replaceWhole(Files().programFile("UTDir.ini"), "new\x80");
    ASSERT_TRUE(fs::is_symlink(ProgramPath("UTDir.ini")));
    EXPECT_EQ(fs::read_symlink(ProgramPath("UTDir.ini")), "../elsewhere/UTDir.ini");
    EXPECT_EQ(ReadBytes(Root() / "elsewhere" / "UTDir.ini"), "new\x80");
    EXPECT_EQ(Mode(Root() / "elsewhere" / "UTDir.ini"), fs::perms(0640));
    EXPECT_THAT(Names(Root() / "elsewhere"), UnorderedElementsAre("UTDir.ini"));

    Files().replaceWhole(Files().programFile("fresh.ini"), "made");
    EXPECT_EQ(ReadBytes(ProgramPath("fresh.ini")), "made");
}

// On POSIX a backslash is a character of a folder's name: the program's folder keeps its own, and
// only the separators Korvale adds after it are turned, as are those of every other path.
// A linked profile's new files lie beside its target, its backup's beside the backup.
TEST_F(FileSystemTest, LeftoversGoFromBesideEachFileItsTargetAndNothingElse) {
    KORVALE_POSIX_ONLY();
    fs::create_directory(Root() / "profiles");
    fs::create_symlink("../../profiles/User.ini", SystemPath("User.ini"));
    for (const fs::path& file :
         {Root() / "profiles" / "User.ini.korvale-new-1", Root() / "profiles" / "User.ini",
          SystemPath("UserKorvale.old.korvale-new-2"), SystemPath("UserKorvale.old"),
          SystemPath("User.ini.korvale-lock"), SystemPath("UserKorvale.old.bak")}) {
        WriteBytes(file, "x");
    }
    Files().removeLeftovers(
        {PathText(SystemPath("User.ini")), PathText(SystemPath("UserKorvale.old"))});
    EXPECT_THAT(Names(Root() / "profiles"), UnorderedElementsAre("User.ini"));
    EXPECT_THAT(Names(GameDir() / "System"),
                UnorderedElementsAre("User.ini", "UserKorvale.old", "User.ini.korvale-lock",
                                     "UserKorvale.old.bak"));
}

TEST_F(FileSystemTest, TheProgramFolderKeepsItsBackslashes) {
    KORVALE_POSIX_ONLY();
    const std::string program = PathText(Root() / "a\\b");
    fs::create_directory(program);
    NativeFileOps native(program);
    const FileSystem files(native, program);
    files.replaceWhole(files.programFile("User.ini"), "A,1");
    EXPECT_TRUE(files.lockBeside(files.programFile("User.ini")).has_value());
    EXPECT_EQ(files.GetFile(files.programFile("User.ini")).ReadAll(), "A,1");
    EXPECT_THAT(Names(program), UnorderedElementsAre("User.ini", "User.ini.korvale-lock"));
    EXPECT_EQ(native.nativeForm(program), program);
    EXPECT_EQ(native.nativeForm(program + "c\\System"), PathText(Root()) + "/a/bc/System");
    EXPECT_EQ(native.nativeForm(GameFolderText() + "\\System"), PathText(GameDir() / "System"));
}

}  // namespace
}  // namespace korvale::test
