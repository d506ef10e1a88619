// The New player dialog: its checks, what it writes and what the main window's lists get.
#include <string>

#include <QApplication>
#include <QComboBox>
#include <QTest>

#include <gmock/gmock.h>

#include "WindowsTest.h"
#include "windows/FrmUT.h"
#include "windows/PasswordList.h"
#include "windows/TypedText.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace korvale::test {
namespace {

class NewPlayerDialogTest : public WindowsTest {
protected:
    // Start-up with that player file (none for null), and the New player dialog open.
    void StartWith(const char* players) {
        if (players != nullptr) {
            WriteBytes(ProgramPath("User.ini"), players);
        }
        Start();
        Click(MainWindow(), "cmdAddUser");
        Dialog();
    }
    QWidget* Dialog() {
        QWidget* dialog = Window("frmuserpass");
        EXPECT_NE(dialog, nullptr);
        return dialog;
    }
    void Fill(const QString& name, const QString& password) {
        Enter("txtUtPlayer", name);
        Enter("txtUtPassword", password);
    }
    // Types the text; one with a control character, which no key types, is pasted instead.
    void Enter(std::string_view box, const QString& text) {
        if (firstControl(text).isEmpty()) {
            Type(Dialog(), box, text);
            return;
        }
        auto* edit = Child<QLineEdit>(Dialog(), box);
        edit->clear();
        edit->insert(text);
    }
    // Save; true when the dialog closed.
    bool Save() {
        QPointer<QWidget> dialog = Dialog();
        Click(dialog, "cmdUTSavePlayer");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return dialog.isNull();
    }
    std::string PlayerFile() {
        return std::filesystem::exists(ProgramPath("User.ini")) ? ReadBytes(ProgramPath("User.ini"))
                                                                : "(none)";
    }
};

TEST_F(NewPlayerDialogTest, RefusesWhatItCannotKeepNameFirstAndLeavesEverythingAsItWas) {
    struct Row {
        const char* name;
        const char* player;  // UTF-8
        const char* password;
        const char* message;
    };
    const Row rows[] = {
        {"both empty: the name is asked first", "", "", "Please Enter a Player Name"},
        {"name of spaces", "   ", "pw", "Please Enter a Player Name"},
        {"empty password", "Bob", "", "Please Enter a UT-NGstats Password"},
        {"password of spaces", "Bob", "   ", "Please Enter a UT-NGstats Password"},
        {"comma in the name", "Bob,Jr", "pw", "Please Enter a Player Name without a comma"},
        {"comma in the name, no password", " ,", "", "Please Enter a Player Name without a comma"},
        {"name beyond Latin-1", "Łukasz", "pw", "The Player Name cannot hold the character \"Ł\""},
        {"name beyond Latin-1 before an empty password", "日本", "",
         "The Player Name cannot hold the character \"日\""},
        {"password beyond Latin-1", "Bob", "pass€",
         "The UT-NGstats Password cannot hold the character \"€\""},
        {"password outside the basic plane", "Bob", "x\xF0\x9F\x98\x80",
         "The UT-NGstats Password cannot hold the character \"\xF0\x9F\x98\x80\""},
        {"line break pasted into the name", "Foo\nBar", "pw",
         "The Player Name cannot hold a control character"},
        {"DEL in the name", "Bo\177b", "pw", "The Player Name cannot hold a control character"},
        {"tab pasted into the password", "Bob", "s3\tcret",
         "The UT-NGstats Password cannot hold a control character"},
    };
    StartWith("Alice,one");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString player = QString::fromUtf8(row.player);
        const QString password = QString::fromUtf8(row.password);
        Fill(player, password);
        EXPECT_FALSE(Save()) << "the dialog stays open";
        EXPECT_THAT(TakeMessageTexts(), ElementsAre(row.message));
        EXPECT_EQ(Child<QLineEdit>(Dialog(), "txtUtPlayer")->text(), player);
        EXPECT_EQ(Child<QLineEdit>(Dialog(), "txtUtPassword")->text(), password);
        EXPECT_EQ(PlayerFile(), "Alice,one");
        EXPECT_EQ(UserEntries(), QStringList{"Alice"});
        EXPECT_EQ(PasswordEntries(), QStringList{"one"});
    }
}

TEST_F(NewPlayerDialogTest, FileGetsTrimmedTextsListsGetThemAsTyped) {
    StartWith("Alice,one\r\nBob,two");
    Fill("  Carol  ", " pass,word ");
    EXPECT_TRUE(Save());
    EXPECT_THAT(TakeMessageTexts(), IsEmpty());
    EXPECT_EQ(PlayerFile(), "Alice,one\r\nBob,two\r\nCarol,pass,word");
    EXPECT_EQ(UserEntries(), (QStringList{"Alice", "Bob", "  Carol  "}));
    EXPECT_EQ(PasswordEntries(), (QStringList{"one", "two", " pass,word "}));
    EXPECT_EQ(Child<QComboBox>(MainWindow(), "cboUsers")->currentIndex(), -1)
        << "a Save selects nothing";
}

TEST_F(NewPlayerDialogTest, TheNewPlayerCanBePickedAtOnceWithItsOwnPassword) {
    WriteBytes(ProgramPath("UTDir.ini"), GameFolderText());
    WriteBytes(SystemPath("User.ini"), "Name=Old\r\nngWorldSecret=old");
    StartWith("Alice,one\r\nBob,two");
    Fill(QString::fromUtf8(" Jérôme"), QString::fromUtf8("sécret"));
    ASSERT_TRUE(Save());
    EXPECT_EQ(PlayerFile(), "Alice,one\r\nBob,two\r\nJ\xe9r\xf4me,s\xe9\x63ret");

    Activate(MainWindow());
    auto* users = Child<QComboBox>(MainWindow(), "cboUsers");
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(users, Qt::Key_Down);
    }
    EXPECT_EQ(Child<PasswordList>(MainWindow(), "cboUserPass")->currentIndex(), 2);
    Click(MainWindow(), "cmdRun");
    EXPECT_THAT(TakeMessageTexts(), IsEmpty());
    // The list's untrimmed name is what this run plays with.
    EXPECT_EQ(ReadBytes(SystemPath("User.ini")),
              "Name= J\xe9r\xf4me\r\nngWorldSecret=s\xe9\x63ret\r\n");
}

TEST_F(NewPlayerDialogTest, AddsAtTheEndOfBothListsWhateverTheFileHolds) {
    struct Row {
        const char* name;
        const char* file;  // before; null for no file
        const char* after;
        QStringList users;
    };
    const Row rows[] = {
        {"no file yet", nullptr, "Eve,five", {"Eve"}},
        {"empty file", "", "Eve,five", {"Eve"}},
        {"two records",
         "Alice,one\r\nBob,two",
         "Alice,one\r\nBob,two\r\nEve,five",
         {"Alice", "Bob", "Eve"}},
        {"hand-edited, ends with a line break",
         "Alice,one\r\n",
         "Alice,one\r\n\r\nEve,five",
         {"Alice", "Eve"}},
        {"a skipped line",
         "Alice,one\r\nnothing\r\nBob,two",
         "Alice,one\r\nnothing\r\nBob,two\r\nEve,five",
         {"Alice", "Bob", "Eve"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Restart();
        StartWith(row.file);
        Fill("Eve", "five");
        ASSERT_TRUE(Save());
        EXPECT_EQ(PlayerFile(), row.after);
        EXPECT_EQ(UserEntries(), row.users);
        EXPECT_EQ(PasswordEntries().back(), "five");
    }
}

TEST_F(NewPlayerDialogTest, ExitWritesNothingAndTheNextOpeningIsEmpty) {
    StartWith("Alice,one");
    Fill("Eve", "five");
    Click(Dialog(), "cmdExit");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Window("frmuserpass"), nullptr);
    EXPECT_EQ(PlayerFile(), "Alice,one");
    EXPECT_EQ(UserEntries(), QStringList{"Alice"});
    Click(MainWindow(), "cmdAddUser");
    EXPECT_EQ(Child<QLineEdit>(Dialog(), "txtUtPlayer")->text(), "");
    EXPECT_EQ(Child<QLineEdit>(Dialog(), "txtUtPassword")->text(), "");
}

TEST_F(NewPlayerDialogTest, SaveAfterTheMainWindowClosedShowsItNowhere) {
    StartWith("Alice,one");
    QPointer<QWidget> main = MainWindow();
    main->close();
    Fill("Eve", "five");
    EXPECT_TRUE(Save());
    EXPECT_EQ(PlayerFile(), "Alice,one\r\nEve,five");
    ASSERT_FALSE(main.isNull());
    EXPECT_FALSE(main->isVisible()) << "the main window is not shown again";
    EXPECT_EQ(UserEntries(), (QStringList{"Alice", "Eve"})) << "its list has the player all the same";
    EXPECT_THAT(VisibleWindows(), IsEmpty());
}

TEST_F(NewPlayerDialogTest, AFailedSaveIsExplainedAndLeavesFileAndListsAsTheyWere) {
    struct Row {
        const char* name;
        FaultyFileOps::Fault fault;
    };
    const Row rows[] = {
        {"program folder cannot be written",
         {.op = FaultyFileOps::Op::Open,
          .error = std::errc::permission_denied,
          .pathContains = "User.ini",
          .opened = FaultyFileOps::Opened::ForWriting}},
        {"disk full while writing", {.op = FaultyFileOps::Op::Write, .pathContains = "User.ini"}},
        {"flush refused", {.op = FaultyFileOps::Op::Flush, .pathContains = "User.ini"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Restart();
        StartWith("Alice,one");
        Fill("Eve", "five");
        const std::size_t injectedBefore = ops().Injected();
        ops().Inject(row.fault);
        EXPECT_FALSE(Save()) << "the dialog stays open to try again";
        EXPECT_EQ(ops().Injected(), injectedBefore + 1);
        const auto messages = TakeMessages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, "The player could not be saved.");
        EXPECT_THAT(messages[0].detail.toStdString(),
                    HasSubstr(PathText(ProgramPath("User.ini")) + ": " +
                              std::make_error_code(row.fault.error).message()));
        EXPECT_EQ(PlayerFile(), "Alice,one");
        EXPECT_EQ(UserEntries(), QStringList{"Alice"});
        EXPECT_EQ(PasswordEntries(), QStringList{"one"});
        ops().Clear();
    }
}

}  // namespace
}  // namespace korvale::test
