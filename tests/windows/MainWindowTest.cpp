// The main window as a user works it: start-up, picks, Play, the dialogs it opens, and the ways
// Korvale ends.
#include <string>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QListView>
#include <QClipboard>
#include <QFont>
#include <QTest>
#include <QTimer>

#include <gmock/gmock.h>

#include "WindowsTest.h"
#include "settings/GameFolder.h"
#include "windows/FrmUT.h"
#include "windows/PasswordList.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace korvale::test {
namespace {

class MainWindowTest : public WindowsTest {
protected:
    // Four players, a game folder and a game profile: ready to Play.
    void SetUpPlayers() {
        WriteBytes(ProgramPath("User.ini"), "Alice,one\r\nBob,two\r\nCarol,three\r\nDave,four");
        WriteBytes(ProgramPath("UTDir.ini"), GameFolderText());
        WriteBytes(SystemPath("User.ini"), "[DefaultPlayer]\r\nName=Old\r\nngWorldSecret=old\r\n");
        Start();
        Activate(MainWindow());
    }
    QComboBox* Users() { return Child<QComboBox>(MainWindow(), "cboUsers"); }
    PasswordList* Passwords() { return Child<PasswordList>(MainWindow(), "cboUserPass"); }
    // The pair the Play would use: the text of both lists.
    std::pair<std::string, std::string> Pair() {
        return {Users()->currentText().toStdString(), Passwords()->Text()};
    }
    void PickWithMouse(int row) {
        QComboBox* users = Users();
        const QRect arrow(users->width() - 12, 0, 12, users->height());
        QTest::mouseClick(users, Qt::LeftButton, {}, arrow.center());
        QAbstractItemView* list = users->view();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window()));
        // A release this soon after the list opened would count as the end of the opening click.
        QTest::qWait(QApplication::doubleClickInterval() + 50);
        const QRect item = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
        EXPECT_FALSE(list->window()->isVisible());
    }
    QAction* MenuItem(std::string_view name) { return Child<QAction>(MainWindow(), name); }
};

TEST_F(MainWindowTest, FirstStartCreatesAnEmptySettingFileSilentlyAndShowsNoSelection) {
    Start();
    ASSERT_NE(MainWindow(), nullptr);
    EXPECT_TRUE(MainWindow()->isVisible());
    EXPECT_EQ(ReadBytes(ProgramPath("UTDir.ini")), "");
    EXPECT_FALSE(std::filesystem::exists(ProgramPath("User.ini")));
    EXPECT_THAT(TakeMessageTexts(), IsEmpty());
    EXPECT_EQ(Users()->count(), 0);
    EXPECT_EQ(Users()->currentIndex(), -1);
    EXPECT_EQ(Users()->currentText(), QString());
}

TEST_F(MainWindowTest, BlankGameFolderIsToldBeforeTheWindowIsShown) {
    WriteBytes(ProgramPath("UTDir.ini"), "   ");
    WriteBytes(ProgramPath("User.ini"), "Alice,one");
    Start();
    const auto messages = TakeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "The Path to UT Needs to be set");
    EXPECT_TRUE(messages[0].visibleWindows.isEmpty()) << "no window on screen yet";
    EXPECT_TRUE(MainWindow()->isVisible());
    EXPECT_EQ(UserEntries(), QStringList{"Alice"}) << "start-up goes on";
}

TEST_F(MainWindowTest, PlayersLoadInFileOrderWithNothingSelected) {
    WriteBytes(ProgramPath("User.ini"), "Zed,9\r\n  Amy , x,y \r\n\r\nno comma\r\nB\xe9\x61,\xff");
    Start();
    EXPECT_EQ(UserEntries(), (QStringList{"Zed", "Amy ", QString::fromUtf8("Béa")}));
    EXPECT_EQ(PasswordEntries(), (QStringList{"9", " x,y", QString::fromUtf8("ÿ")}));
    EXPECT_EQ(Users()->currentIndex(), -1);
    EXPECT_EQ(Passwords()->currentIndex(), -1);
    EXPECT_EQ(Users()->currentText(), QString());
}

TEST_F(MainWindowTest, AFullPlayerFileLoadsEveryRecordPaired) {
    std::string file;
    constexpr int kRecords = 32767;
    for (int i = 0; i < kRecords; ++i) {
        file += (i ? "\r\n" : "") + std::string("player") + std::to_string(i) + ",pw" +
                std::to_string(i);
    }
    WriteBytes(ProgramPath("User.ini"), file);
    Start();
    ASSERT_EQ(Users()->count(), kRecords);
    EXPECT_EQ(Users()->itemText(kRecords - 1), "player32766");
    EXPECT_EQ(Users()->currentIndex(), -1);
    Passwords()->setCurrentIndex(kRecords - 1);
    EXPECT_EQ(Passwords()->Text(), "pw32766");
}

TEST_F(MainWindowTest, PickingByArrowKeysSelectsTheSamePassword) {
    SetUpPlayers();
    QWidget* focus = QApplication::focusWidget();
    ASSERT_TRUE(focus == Users() || Users()->isAncestorOf(focus)) << "the list has the focus";
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(focus, Qt::Key_Down);
    }
    EXPECT_EQ(Pair(), std::make_pair(std::string("Carol"), std::string("three")));
    EXPECT_EQ(Passwords()->currentIndex(), 2);
    QTest::keyClick(focus, Qt::Key_Up);
    QTest::keyClick(focus, Qt::Key_Up);
    EXPECT_EQ(Pair(), std::make_pair(std::string("Alice"), std::string("one")));
    EXPECT_EQ(Passwords()->currentIndex(), 0);
}

TEST_F(MainWindowTest, PickingWithTheMouseSelectsTheSamePassword) {
    SetUpPlayers();
    PickWithMouse(2);
    EXPECT_EQ(Pair(), std::make_pair(std::string("Carol"), std::string("three")));
    PickWithMouse(0);
    EXPECT_EQ(Pair(), std::make_pair(std::string("Alice"), std::string("one")));
}

TEST_F(MainWindowTest, TypingANameIsNoPickAndPlayRefuses) {
    SetUpPlayers();
    QLineEdit* edit = Users()->lineEdit();
    ASSERT_NE(edit, nullptr);
    // Even the exact text of an entry, then Enter and leaving the box.
    KeyClicks(edit, "Bob");
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_EQ(Users()->currentIndex(), -1);
    EXPECT_EQ(Passwords()->currentIndex(), -1);
    EXPECT_EQ(Users()->count(), 4) << "typing adds no entry";
    Click(MainWindow(), "cmdRun");
    EXPECT_THAT(TakeMessageTexts(), ElementsAre("Please Select a user from the list"));
    EXPECT_THAT(Launcher().Started(), IsEmpty());
    EXPECT_FALSE(std::filesystem::exists(SystemPath("UserKorvale.old")));
}

TEST_F(MainWindowTest, AnyChangeTypedAfterAPickDropsItAndPlayRefusesUntilTheNextPick) {
    const std::string profile = "[DefaultPlayer]\r\nName=Old\r\nngWorldSecret=old\r\n";
    const struct {
        const char* name;
        std::function<void(QLineEdit*)> change;
    } rows[] = {
        {"a name typed over it", [](QLineEdit* edit) { edit->selectAll(); KeyClicks(edit, "Alice"); }},
        {"one letter deleted", [](QLineEdit* edit) { QTest::keyClick(edit, Qt::Key_Backspace); }},
        {"cleared", [](QLineEdit* edit) { edit->selectAll(); QTest::keyClick(edit, Qt::Key_Delete); }},
        {"a paste", [](QLineEdit* edit) { QTest::keySequence(edit, QKeySequence::Paste); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Restart();
        SetUpPlayers();
        QApplication::clipboard()->setText(QStringLiteral("Ghost"));
        QTest::keyClick(Users(), Qt::Key_Down);
        QTest::keyClick(Users(), Qt::Key_Down);
        row.change(Users()->lineEdit());
        EXPECT_EQ(Users()->currentIndex(), -1);
        EXPECT_EQ(Passwords()->currentIndex(), 1) << "the password list keeps its own";
        Click(MainWindow(), "cmdRun");
        EXPECT_THAT(TakeMessageTexts(), ElementsAre("Please Select a user from the list"));
        EXPECT_EQ(ReadBytes(SystemPath("User.ini")), profile);
        EXPECT_THAT(Launcher().Started(), IsEmpty());
        QTest::keyClick(Users(), Qt::Key_Down);  // a pick again: the first entry, its own pair
        Click(MainWindow(), "cmdRun");
        EXPECT_THAT(ReadBytes(SystemPath("User.ini")), HasSubstr("Name=Alice\r\nngWorldSecret=one"));
    }
}

TEST_F(MainWindowTest, TheGamesIdentityIsReadAgainWhenTheWindowIsActiveAgainAndAfterASave) {
    SetUpPlayers();
    const auto bold = [&] {
        QString rows;
        for (int row = 0; row < Users()->count(); ++row) {
            rows += Users()->itemData(row, Qt::FontRole).value<QFont>().bold() ? '1' : '0';
        }
        return rows;
    };
    EXPECT_EQ(bold(), "0000");
    // Another Korvale, or a shortcut, switches the profile while this one waits.
    WriteBytes(SystemPath("User.ini"), "Name=Carol\r\nngWorldSecret=three\r\n");
    Activate(Open("frmAbout"));
    Activate(MainWindow());
    EXPECT_EQ(bold(), "0010");
    const std::filesystem::path other = MakeGameFolder("other");
    WriteBytes(other / "System" / "User.ini", "Name=Bob\r\n");
    QWidget* dialog = Open("frmSetDir");
    Type(dialog, "txtUTDir", QString::fromStdString(PathText(other)));
    Click(dialog, "cmdDirSave");
    EXPECT_EQ(bold(), "0100");
    Window("frmAbout")->close();
}

TEST_F(MainWindowTest, TheListEditBoxTakesOnlyLatin1OnOneLine) {
    SetUpPlayers();
    KeyClicks(Users()->lineEdit(), QString::fromUtf8("Jé€rôme"));
    EXPECT_EQ(Users()->currentText(), QString::fromUtf8("Jérôme"));
    Users()->lineEdit()->insert(QStringLiteral("\nBar"));  // pasted: no key types a line break
    EXPECT_EQ(Users()->currentText(), QString::fromUtf8("Jérôme"));
}

TEST_F(MainWindowTest, PlayWithAPickRewritesTheProfileAndStartsTheGame) {
    SetUpPlayers();
    QTest::keyClick(Users(), Qt::Key_Down);
    QTest::keyClick(Users(), Qt::Key_Down);
    Click(MainWindow(), "cmdRun");
    EXPECT_THAT(TakeMessageTexts(), IsEmpty());
    EXPECT_EQ(ReadBytes(SystemPath("UserKorvale.old")),
              "[DefaultPlayer]\r\nName=Old\r\nngWorldSecret=old\r\n");
    EXPECT_EQ(ReadBytes(SystemPath("User.ini")),
              "[DefaultPlayer]\r\nName=Bob\r\nngWorldSecret=two\r\n");
    EXPECT_THAT(Launcher().Started(), ElementsAre(PathText(SystemPath("UnrealTournament.exe"))));
    EXPECT_TRUE(MainWindow()->isVisible()) << "Korvale stays open";
}

TEST_F(MainWindowTest, EachDialogOpensOnceAndIsOnlyBroughtToTheFrontAgain) {
    SetUpPlayers();
    Click(MainWindow(), "cmdAddUser");
    QPointer<QWidget> newPlayer = Window("frmuserpass");
    ASSERT_FALSE(newPlayer.isNull());
    EXPECT_TRUE(QTest::qWaitForWindowActive(newPlayer));
    Type(newPlayer, "txtUtPlayer", "typed");
    Click(MainWindow(), "cmdSetDir");
    QPointer<QWidget> gameFolder = Window("frmSetDir");
    ASSERT_FALSE(gameFolder.isNull());
    EXPECT_TRUE(QTest::qWaitForWindowActive(gameFolder));
    Type(gameFolder, "txtUTDir", "typed");
    MenuItem("About")->trigger();
    QPointer<QWidget> about = Window("frmAbout");
    ASSERT_FALSE(about.isNull());
    // The stored folder changes meanwhile: a reload would show it.
    WriteBytes(ProgramPath("UTDir.ini"), "elsewhere");

    struct Row {
        const char* opener;
        QWidget* dialog;
    };
    for (const Row& row : {Row{"cmdAddUser", newPlayer}, Row{"cmdSetDir", gameFolder},
                           Row{"About", about}, Row{"cmdAddUser", newPlayer}}) {
        SCOPED_TRACE(row.opener);
        Activate(MainWindow());
        if (std::string_view(row.opener) == "About") {
            MenuItem("About")->trigger();
        } else {
            Click(MainWindow(), row.opener);
        }
        EXPECT_TRUE(QTest::qWaitForWindowActive(row.dialog)) << "brought to the front";
    }
    EXPECT_EQ(Window("frmuserpass"), newPlayer);
    EXPECT_EQ(Window("frmSetDir"), gameFolder);
    EXPECT_EQ(Window("frmAbout"), about);
    EXPECT_EQ(Child<QLineEdit>(newPlayer, "txtUtPlayer")->text(), "typed");
    EXPECT_EQ(Child<QLineEdit>(gameFolder, "txtUTDir")->text(), "typed");
    EXPECT_EQ(VisibleWindows(),
              (QStringList{"frmAbout", "frmSetDir", "frmUT", "frmuserpass"}));
}

TEST_F(MainWindowTest, AClosedDialogOpensAgainWithItsDesignTimeTexts) {
    SetUpPlayers();
    Click(MainWindow(), "cmdAddUser");
    QWidget* dialog = Window("frmuserpass");
    Type(dialog, "txtUtPlayer", "half typed");
    dialog->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Window("frmuserpass"), nullptr) << "deleted on close";
    Click(MainWindow(), "cmdAddUser");
    EXPECT_EQ(Child<QLineEdit>(Window("frmuserpass"), "txtUtPlayer")->text(), "");
}

TEST_F(MainWindowTest, ExitClosesEveryWindowAtOnceUnsaved) {
    SetUpPlayers();
    Click(MainWindow(), "cmdAddUser");
    Type(Window("frmuserpass"), "txtUtPlayer", "Eve");
    Type(Window("frmuserpass"), "txtUtPassword", "five");
    Click(MainWindow(), "cmdSetDir");
    MenuItem("About")->trigger();
    ASSERT_EQ(VisibleWindows().size(), 4);

    MenuItem("Exit")->trigger();
    EXPECT_THAT(VisibleWindows(), IsEmpty());
    EXPECT_FALSE(Ui().processEvents()) << "a Play waiting in its event step stops";
    EXPECT_EQ(ReadBytes(ProgramPath("User.ini")),
              "Alice,one\r\nBob,two\r\nCarol,three\r\nDave,four");
    EXPECT_EQ(ReadBytes(ProgramPath("UTDir.ini")), GameFolderText());
}

TEST_F(MainWindowTest, ExitWaitingInPlaysEventStepStopsItBeforeTheRewrite) {
    SetUpPlayers();
    QTest::keyClick(Users(), Qt::Key_Down);
    // Exit chosen while Play runs: it waits in the queue for Play's event step.
    QMetaObject::invokeMethod(MenuItem("Exit"), &QAction::trigger, Qt::QueuedConnection);
    Click(MainWindow(), "cmdRun");
    EXPECT_EQ(ReadBytes(SystemPath("UserKorvale.old")),
              "[DefaultPlayer]\r\nName=Old\r\nngWorldSecret=old\r\n")
        << "the backup was copied first";
    EXPECT_EQ(ReadBytes(SystemPath("User.ini")),
              "[DefaultPlayer]\r\nName=Old\r\nngWorldSecret=old\r\n");
    EXPECT_THAT(Launcher().Started(), IsEmpty());
    EXPECT_THAT(TakeMessageTexts(), IsEmpty());
    EXPECT_THAT(VisibleWindows(), IsEmpty());
}

TEST_F(MainWindowTest, ClosingTheMainWindowLeavesTheAboutBoxAndKorvaleEndsWithIt) {
    SetUpPlayers();
    MenuItem("About")->trigger();
    QWidget* about = Window("frmAbout");
    ASSERT_NE(about, nullptr);
    int result = -1;
    QTimer::singleShot(0, [&] {
        MainWindow()->close();
        EXPECT_EQ(VisibleWindows(), QStringList{"frmAbout"});
        // Korvale is still running: the About box ends it.
        QTimer::singleShot(50, [&] { Click(about, "cmdExit"); });
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    watchdog.start(10000);
    result = QApplication::exec();
    EXPECT_EQ(result, 0) << "Korvale ended when its last window closed";
    EXPECT_THAT(VisibleWindows(), IsEmpty());
}

TEST_F(MainWindowTest, ClosingTheMainWindowAloneEndsKorvale) {
    SetUpPlayers();
    QTimer::singleShot(0, [&] { MainWindow()->close(); });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    watchdog.start(10000);
    EXPECT_EQ(QApplication::exec(), 0);
}

TEST_F(MainWindowTest, AFileThatCannotBeUsedAtStartUpIsExplainedAndKorvaleGoesOn) {
    struct Row {
        const char* name;
        FaultyFileOps::Fault fault;
        const char* file;
        const char* message;
        QStringList users;
    };
    const Row rows[] = {
        {"setting file cannot be created",
         {.op = FaultyFileOps::Op::Open,
          .error = std::errc::read_only_file_system,
          .pathContains = "UTDir.ini"},
         "UTDir.ini",
         "Korvale could not read or create its game folder setting.",
         {"Alice"}},
        {"player file cannot be read",
         {.op = FaultyFileOps::Op::Read, .error = std::errc::io_error, .pathContains = "User.ini"},
         "User.ini",
         "Korvale could not load its list of players.",
         {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Restart();
        WriteBytes(ProgramPath("User.ini"), "Alice,one");
        const std::size_t injectedBefore = ops().Injected();
        ops().Inject(row.fault);
        Start();
        EXPECT_EQ(ops().Injected(), injectedBefore + 1);
        const auto messages = TakeMessages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text.toStdString(), row.message);
        const std::string detail = messages[0].detail.toStdString();
        EXPECT_THAT(detail, HasSubstr(PathText(ProgramPath(row.file)) + ": " +
                                      std::make_error_code(row.fault.error).message()));
        EXPECT_THAT(detail, HasSubstr("put Korvale in a folder you can write"));
        ASSERT_NE(MainWindow(), nullptr);
        EXPECT_TRUE(MainWindow()->isVisible());
        EXPECT_EQ(UserEntries(), row.users);
    }
}

}  // namespace
}  // namespace korvale::test
