// The name list's menu: edit, remove, move and the game's player, each on User.ini and both lists;
// and the entry the game holds marked.
#include <functional>
#include <string>
#include <vector>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include "WindowsTest.h"
#include "windows/PasswordList.h"

namespace korvale::test {
namespace {

constexpr char kPlayers[] = "Alice,one\r\n\r\nBob,two\r\nCarol,three";
const QStringList kItems = {"mnuEditUser", "mnuRemoveUser", "mnuMoveUp", "mnuMoveDown",
                            "mnuAddGamePlayer"};

class PlayerMenuTest : public WindowsTest {
protected:
    void SetUp() override {
        WindowsTest::SetUp();
        WriteBytes(ProgramPath("User.ini"), kPlayers);
        WriteBytes(ProgramPath("UTDir.ini"), GameFolderText());
        WriteBytes(SystemPath("User.ini"), "[DefaultPlayer]\r\nName=Bob\r\nngWorldSecret=two\r\n");
        Start();
        Activate(MainWindow());
    }
    QComboBox* Users() { return Child<QComboBox>(MainWindow(), "cboUsers"); }
    PasswordList* Passwords() { return Child<PasswordList>(MainWindow(), "cboUserPass"); }
    QMenu* Menu() { return Child<QMenu>(MainWindow(), "mnuUsers"); }
    void Pick(int row) {
        Users()->setCurrentIndex(-1);
        for (int i = 0; i <= row; ++i) {
            QTest::keyClick(Users(), Qt::Key_Down);
        }
    }
    // A right click on the list's text box.
    void OpenMenu() {
        QContextMenuEvent click(QContextMenuEvent::Mouse, {5, 5},
                                Users()->lineEdit()->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(Users()->lineEdit(), &click);
        ASSERT_TRUE(Menu()->isVisible());
    }
    // The item's access key, typed into the open menu.
    void Choose(char key) {
        OpenMenu();
        QTest::keyClick(Menu(), key);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QStringList Enabled() {
        OpenMenu();
        QStringList enabled;
        for (const QString& item : kItems) {
            enabled.append(Child<QAction>(MainWindow(), item.toStdString())->isEnabled() ? "on"
                                                                                         : "off");
        }
        Menu()->hide();
        return enabled;
    }
    QString Shown() {
        return UserEntries().join(u' ') + " | " + PasswordEntries().join(u' ') + " | " +
               QString::number(Users()->currentIndex()) + " " +
               QString::number(Passwords()->currentIndex());
    }
    bool Bold(int row) {
        return Users()->model()->index(row, 0).data(Qt::FontRole).value<QFont>().bold();
    }
};

TEST_F(PlayerMenuTest, OpensFromTheMouseAndTheKeysWithItsItemsAloneAndTheEditingKeysStay) {
    const std::function<void()> ways[] = {
        [&] { OpenMenu(); },
        [&] { QTest::keyClick(Users(), Qt::Key_F10, Qt::ShiftModifier); },
        [&] {
            QContextMenuEvent key(QContextMenuEvent::Keyboard, {}, Users()->mapToGlobal(QPoint()));
            QApplication::sendEvent(Users(), &key);
        },
    };
    for (const auto& open : ways) {
        SCOPED_TRACE(&open - ways);
        open();
        ASSERT_TRUE(Menu()->isVisible());
        QStringList items;
        for (const QAction* action : Menu()->actions()) {
            items.append(action->objectName() + u' ' + action->text());
        }
        EXPECT_EQ(items,
                  (QStringList{"mnuEditUser &Edit UT User...", "mnuRemoveUser &Remove UT User...",
                               "mnuMoveUp Move &Up", "mnuMoveDown Move &Down",
                               "mnuAddGamePlayer Add the &Game's Player..."}));
        Menu()->hide();
    }
    EXPECT_EQ(Users()->toolTip(), "Right-click for more");
    QLineEdit* edit = Users()->lineEdit();
    KeyClicks(edit, "Zed");
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "Zed");
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "ZedZed");
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "Zed");
}

TEST_F(PlayerMenuTest, ItemsAreEnabledForThePickAndTheGameProfile) {
    const struct {
        int pick;
        bool folder;
        QStringList enabled;  // edit, remove, up, down, the game's player
    } rows[] = {
        {-1, true, {"off", "off", "off", "off", "on"}},
        {0, true, {"on", "on", "off", "on", "on"}},
        {1, false, {"on", "on", "on", "on", "off"}},
        {2, true, {"on", "on", "on", "off", "on"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pick);
        WriteBytes(ProgramPath("UTDir.ini"), row.folder ? GameFolderText() : "   ");
        Pick(row.pick);
        EXPECT_EQ(Enabled(), row.enabled);
    }
    std::filesystem::remove(SystemPath("User.ini"));
    EXPECT_EQ(Enabled().last(), QString("off")) << "no profile";
}

TEST_F(PlayerMenuTest, EachChangeRewritesItsLineAndBothListsFollow) {
    const struct {
        const char* name;
        int pick;
        char key;
        const char* file;
        const char* shown;
    } rows[] = {
        {"edit", 1, 'e', "Alice,one\r\n\r\nBobby,t,wo\r\nCarol,three",
         "Alice  Bobby  Carol | one t,wo three | 1 1"},
        {"remove", 1, 'r', "Alice,one\r\n\r\nCarol,three", "Alice Carol | one three | -1 -1"},
        {"move up", 2, 'u', "Alice,one\r\n\r\nCarol,three\r\nBob,two",
         "Alice Carol Bob | one three two | 1 1"},
        {"move down", 0, 'd', "Bob,two\r\n\r\nAlice,one\r\nCarol,three",
         "Bob Alice Carol | two one three | 1 1"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Restart();
        Ui().setAnswer(true);
        Pick(row.pick);
        Choose(row.key);
        if (QWidget* edit = Window("frmEditUser")) {
            EXPECT_EQ(edit->windowTitle(), "Edit UT User");
            EXPECT_EQ(Child<QLineEdit>(edit, "txtUtPassword")->text(), "two");
            Type(edit, "txtUtPlayer", " Bobby ");
            Type(edit, "txtUtPassword", "t,wo");
            Click(edit, "cmdUTSavePlayer");
        }
        const std::vector<std::string> question = {"Remove the UT User Bob?"};
        EXPECT_EQ(TakeMessageTexts(), row.key == 'r' ? question : std::vector<std::string>{});
        EXPECT_EQ(ReadBytes(ProgramPath("User.ini")), row.file);
        EXPECT_EQ(Shown(), row.shown);
    }
}

TEST_F(PlayerMenuTest, ARefusedOrFailedChangeKeepsEveryByteAndBothLists) {
    const struct {
        const char* name;
        char key;
        bool outside;  // else the write fails
        const char* message;
    } rows[] = {
        {"remove, changed outside", 'r', true,
         "User.ini was changed outside Korvale. Start Korvale again to see it."},
        {"move, disk full", 'u', false, "Error"},
        {"edit, read-only", 'e', false, "Error"},
        {"remove, answered no", 'r', false, nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Restart();
        Ui().setAnswer(row.message != nullptr);
        const std::string bytes = row.outside ? "Alice,one\r\nBob,two\r\nCarol,three" : kPlayers;
        WriteBytes(ProgramPath("User.ini"), bytes);
        ops().Inject({.op = FaultyFileOps::Op::Write, .pathContains = "User.ini"});
        Pick(1);
        Choose(row.key);
        if (QWidget* edit = Window("frmEditUser")) {
            Click(edit, "cmdUTSavePlayer");
            edit->close();
        }
        auto messages = TakeMessageTexts();
        if (row.key == 'r') {
            messages.erase(messages.begin());  // the question
        }
        EXPECT_EQ(messages,
                  row.message ? std::vector<std::string>{row.message} : std::vector<std::string>{});
        EXPECT_EQ(ReadBytes(ProgramPath("User.ini")), bytes);
        EXPECT_EQ(Shown(), "Alice Bob Carol | one two three | 1 1");
    }
}

TEST_F(PlayerMenuTest, TheGamesPlayerFillsTheNewPlayerDialog) {
    WriteBytes(SystemPath("User.ini"),
               "\xFF\xFE" + Utf16LeBytes(u"Name=Zo\u00EB\r\nngWorldSecret=s3"));
    Choose('g');
    QWidget* dialog = Window("frmuserpass");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Child<QLineEdit>(dialog, "txtUtPlayer")->text(), QString::fromUtf8("Zoë"));
    Click(dialog, "cmdUTSavePlayer");
    EXPECT_EQ(ReadBytes(ProgramPath("User.ini")), std::string(kPlayers) + "\r\nZo\xEB,s3");
}

TEST_F(PlayerMenuTest, TheEntryTheGameHoldsIsBoldAfterStartAndAfterEveryPlay) {
    EXPECT_EQ(QString("%1%2%3").arg(Bold(0)).arg(Bold(1)).arg(Bold(2)), "010");
    Pick(2);
    Click(MainWindow(), "cmdRun");
    EXPECT_EQ(QString("%1%2%3").arg(Bold(0)).arg(Bold(1)).arg(Bold(2)), "001");
    EXPECT_EQ(Users()->model()->index(2, 0).data(Qt::AccessibleDescriptionRole), "In the game now");
    EXPECT_EQ(Users()->currentIndex(), 2) << "the pick stays";
}

}  // namespace
}  // namespace korvale::test
