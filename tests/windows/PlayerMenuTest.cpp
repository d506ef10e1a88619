// The name list's menu: each item on User.ini and on both lists, refused where it must be.
#include <optional>
#include <string>
#include <vector>

#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QStandardPaths>
#include <QTest>

#include "WindowsTest.h"
#include "windows/PasswordList.h"

namespace korvale::test {
namespace {

constexpr char kPlayers[] = "Alice,one\r\n\r\nBob,two\r\nCarol,three";

class PlayerMenuTest : public WindowsTest {
protected:
    void SetUp() override {
        WindowsTest::SetUp();
        WriteBytes(ProgramPath("User.ini"), kPlayers);
        WriteBytes(ProgramPath("UTDir.ini"), GameFolderText());
        WriteBytes(SystemPath("User.ini"), "Name=Zo\xEB\r\nngWorldSecret=s3");
        Start();
    }
    QMenu* Menu() { return Child<QMenu>(MainWindow(), "mnuUsers"); }
    // Picks the row by arrow keys, opens the menu by Shift+F10, says which items are enabled.
    std::string OpenMenu(int pick) {
        auto* users = Child<QComboBox>(MainWindow(), "cboUsers");
        for (int i = 0; i <= pick; ++i) {
            QTest::keyClick(users, Qt::Key_Down);
        }
        QTest::keyClick(users, Qt::Key_F10, Qt::ShiftModifier);
        std::string enabled;
        for (const QAction* item : Menu()->actions()) {
            enabled += item->isEnabled() ? '1' : '0';
        }
        return enabled;
    }
    QString Shown() {
        return UserEntries().join(u' ') + " | " + PasswordEntries().join(u' ') + " | " +
               QString::number(Child<QComboBox>(MainWindow(), "cboUsers")->currentIndex()) + " " +
               QString::number(Child<PasswordList>(MainWindow(), "cboUserPass")->currentIndex());
    }
};

TEST_F(PlayerMenuTest, EachItemRewritesOnlyItsLineAndBothListsFollowOrNothingChanges) {
    using Fault = FaultyFileOps::Fault;
    const std::string outside = "Alice,one\r\nBob,two\r\nCarol,three";
    const std::string gone = "User.ini was changed outside Korvale. Start Korvale again to see it.";
    const std::string ask = "Remove the UT User Bob?";
    const std::string same = "Alice Bob Carol | one two three | 1 1";
    const struct {
        const char* name;
        int pick;
        std::string enabled;  // the items, in menu order
        char key;
        bool yes;
        bool outside;
        std::optional<Fault> fault;
        std::string file;  // empty: as before
        std::string shown;
        std::vector<std::string> messages;
    } rows[] = {
        // clang-format off
        {"edit", 1, "111111", 'e', true, false, {}, "Alice,one\r\n\r\nBobby,t,wo\r\nCarol,three", "Alice  Bobby  Carol | one t,wo three | 1 1", {}},
        {"remove", 1, "111111", 'r', true, false, {}, "Alice,one\r\n\r\nCarol,three", "Alice Carol | one three | -1 -1", {ask}},
        {"up", 2, "111011", 'u', true, false, {}, "Alice,one\r\n\r\nCarol,three\r\nBob,two", "Alice Carol Bob | one three two | 1 1", {}},
        {"down", 0, "110111", 'd', true, false, {}, "Bob,two\r\n\r\nAlice,one\r\nCarol,three", "Bob Alice Carol | two one three | 1 1", {}},
        {"remove answered no", 1, "111111", 'r', false, false, {}, {}, same, {ask}},
        {"changed outside", 1, "111111", 'u', true, true, {}, {}, same, {gone}},
        {"disk full", 1, "111111", 'r', true, false, Fault{.op = FaultyFileOps::Op::Write}, {}, same, {ask, "Error"}},
        {"read-only", 1, "111111", 'e', true, false, Fault{.op = FaultyFileOps::Op::Open, .error = std::errc::read_only_file_system, .pathContains = "User.ini.", .opened = FaultyFileOps::Opened::ForWriting}, {}, same, {"Error"}},
        // clang-format on
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Restart();
        Ui().setAnswer(row.yes);
        WriteBytes(ProgramPath("User.ini"), row.outside ? outside : kPlayers);
        if (row.fault) {
            ops().Inject(*row.fault);
        }
        EXPECT_EQ(OpenMenu(row.pick), row.enabled);
        QTest::keyClick(Menu(), row.key);
        if (QWidget* edit = Window("frmEditUser")) {
            Type(edit, "txtUtPlayer", " Bobby ");
            Type(edit, "txtUtPassword", "t,wo");
            Click(edit, "cmdUTSavePlayer");
            edit->close();
        }
        EXPECT_EQ(TakeMessageTexts(), row.messages);
        EXPECT_EQ(ReadBytes(ProgramPath("User.ini")),
                  row.file.empty() ? (row.outside ? outside : kPlayers) : row.file);
        EXPECT_EQ(Shown(), QString::fromStdString(row.shown));
    }
}

TEST_F(PlayerMenuTest, AnIdentitysShortcutFollowsItsNameAndGoesWithIt) {
    const QDir shortcuts(QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation));
    const auto made = [&] { return shortcuts.entryList({"korvale-*.desktop"}, QDir::Files); };
    OpenMenu(1);
    QTest::keyClick(Menu(), 's');
    EXPECT_EQ(TakeMessageTexts(), std::vector<std::string>{"The shortcut to play as Bob was made:"});
    EXPECT_EQ(made(), QStringList{"korvale-Bob.desktop"});
    OpenMenu(-1);
    QTest::keyClick(Menu(), 'e');
    QWidget* edit = Window("frmEditUser");
    ASSERT_NE(edit, nullptr);
    Type(edit, "txtUtPlayer", " Alice");
    Click(edit, "cmdUTSavePlayer");
    EXPECT_EQ(TakeMessageTexts(), std::vector<std::string>{"Another UT User is named Alice."});
    EXPECT_TRUE(edit->isVisible());
    Type(edit, "txtUtPlayer", "Bobby");
    Click(edit, "cmdUTSavePlayer");
    EXPECT_EQ(made(), QStringList{"korvale-Bobby.desktop"});
    Ui().setAnswer(true);
    OpenMenu(-1);
    QTest::keyClick(Menu(), 'r');
    EXPECT_EQ(TakeMessageTexts(), std::vector<std::string>{"Remove the UT User Bobby?"});
    EXPECT_EQ(made(), QStringList{});
}

TEST_F(PlayerMenuTest, TheGamesPlayerFillsTheNewPlayerDialog) {
    EXPECT_EQ(OpenMenu(-1), "000010") << "nothing picked";
    QTest::keyClick(Menu(), 'g');
    QWidget* dialog = Window("frmuserpass");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Child<QLineEdit>(dialog, "txtUtPlayer")->text(), QString::fromUtf8("Zoë"));
    EXPECT_EQ(Child<QLineEdit>(dialog, "txtUtPassword")->text(), "s3");
    dialog->close();
    std::filesystem::remove(SystemPath("User.ini"));
    EXPECT_EQ(OpenMenu(0), "110101") << "no profile to read";
    Menu()->hide();
}

}  // namespace
}  // namespace korvale::test
