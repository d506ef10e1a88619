// The Game folder dialog: what it shows when it opens, what Save stores, and its failures.
#include <functional>
#include <optional>
#include <string>

#include <QAbstractItemView>
#include <QCompleter>
#include <QTest>

#include <gmock/gmock.h>

#include "WindowsTest.h"
#include "settings/GameFolder.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace korvale::test {
namespace {

constexpr const char* kInitialText = "C:\\Games\\UnrealTournament";

class GameFolderDialogTest : public WindowsTest {
protected:
    QWidget* OpenDialog() {
        Click(MainWindow(), "cmdSetDir");
        QWidget* dialog = Window("frmSetDir");
        EXPECT_NE(dialog, nullptr);
        return dialog;
    }
    QString Box() { return Child<QLineEdit>(Window("frmSetDir"), "txtUTDir")->text(); }
    bool Closed() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return Window("frmSetDir") == nullptr;
    }
    std::string SettingFile() { return ReadBytes(ProgramPath("UTDir.ini")); }
};

TEST_F(GameFolderDialogTest, OpeningShowsTheStoredFolderTrimmedAndLeavesTheValueInMemory) {
    struct Row {
        const char* name;
        std::optional<std::string> file;  // after start-up; none: removed meanwhile
        const char* box;                  // UTF-8
    };
    const Row rows[] = {
        {"empty file", "", kInitialText},
        {"a folder", "D:\\UT", "D:\\UT"},
        {"spaces around the folder", "  D:\\UT  ", "D:\\UT"},
        {"only spaces", "   ", ""},
        {"more lines", "D:\\UT\r\nE:\\Other", "D:\\UT"},
        {"a Latin-1 byte", "C:\\Jeux\\Unr\xe9\x61l", "C:\\Jeux\\Unréal"},
        {"removed after start-up", std::nullopt, kInitialText},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Restart();
        WriteBytes(ProgramPath("UTDir.ini"), "X:\\AtStart");
        Start();
        if (row.file) {
            WriteBytes(ProgramPath("UTDir.ini"), *row.file);
        } else {
            std::filesystem::remove(ProgramPath("UTDir.ini"));
        }
        OpenDialog();
        EXPECT_EQ(Box().toStdString(), row.box);
        EXPECT_EQ(SettingFile(), row.file.value_or("")) << "a missing file is created empty";
        EXPECT_THAT(TakeMessageTexts(), IsEmpty());
    }
}

TEST_F(GameFolderDialogTest, SaveStoresTheTrimmedFolderWithNoLineBreak) {
    struct Row {
        const char* name;
        std::optional<QString> typed;  // none: saved as it opened
        const char* stored;
    };
    const Row rows[] = {
        {"the initial text unchanged", std::nullopt, kInitialText},
        {"spaces around", QStringLiteral("  /games/ut  "), "/games/ut"},
        {"empty", QString(), ""},
        {"no backslash at all", QStringLiteral("nonsense"), "nonsense"},
        {"Latin-1 letters", QString::fromUtf8("C:\\Jeux\\Unréal"), "C:\\Jeux\\Unr\xe9\x61l"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Restart();
        Start();
        QWidget* dialog = OpenDialog();
        if (row.typed) {
            Type(dialog, "txtUTDir", *row.typed);
        }
        Click(dialog, "cmdDirSave");
        EXPECT_TRUE(Closed());
        EXPECT_EQ(SettingFile(), row.stored);
    }
}

TEST_F(GameFolderDialogTest, AfterSavingEmptyPlayAsksForTheFolder) {
    WriteBytes(ProgramPath("UTDir.ini"), GameFolderText());
    WriteBytes(ProgramPath("User.ini"), "Alice,one");
    Start();
    Type(OpenDialog(), "txtUTDir", "  ");
    Click(Window("frmSetDir"), "cmdDirSave");
    Activate(MainWindow());
    QTest::keyClick(Child<QWidget>(MainWindow(), "cboUsers"), Qt::Key_Down);
    Click(MainWindow(), "cmdRun");
    EXPECT_THAT(TakeMessageTexts(), ElementsAre("The UT Path Needs to be set"));
}

TEST_F(GameFolderDialogTest, ExitKeepsFileAndValueAndTheNextOpeningShowsTheStoredFolder) {
    WriteBytes(ProgramPath("UTDir.ini"), "D:\\UT");
    Start();
    Type(OpenDialog(), "txtUTDir", "E:\\Elsewhere");
    Click(Window("frmSetDir"), "cmdExit");
    EXPECT_TRUE(Closed());
    EXPECT_EQ(SettingFile(), "D:\\UT");
    OpenDialog();
    EXPECT_EQ(Box(), "D:\\UT");
}

TEST_F(GameFolderDialogTest, AFolderBeyondLatin1OrWithAControlCharacterIsRefused) {
    const struct {
        const char* name;
        const char* folder;  // UTF-8, pasted into the box
        const char* message;
    } rows[] = {
        {"beyond Latin-1", "D:\\Игры\\UT", "The UT Directory cannot hold the character \"И\""},
        {"a line break", "D:\\UT\nD:\\Other", "The UT Directory cannot hold a control character"},
    };
    WriteBytes(ProgramPath("UTDir.ini"), "D:\\UT");
    Start();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto* box = Child<QLineEdit>(OpenDialog(), "txtUTDir");
        box->clear();
        box->insert(QString::fromUtf8(row.folder));
        Click(Window("frmSetDir"), "cmdDirSave");
        EXPECT_FALSE(Closed());
        EXPECT_THAT(TakeMessageTexts(), ElementsAre(row.message));
        EXPECT_EQ(SettingFile(), "D:\\UT");
        EXPECT_EQ(Box(), QString::fromUtf8(row.folder));
    }
}

TEST_F(GameFolderDialogTest, FailuresAreExplainedAndKorvaleGoesOn) {
    struct Row {
        const char* name;
        FaultyFileOps::Fault fault;
        bool onOpening;
        const char* message;
    };
    const Row rows[] = {
        {"cannot read the setting on opening",
         {.op = FaultyFileOps::Op::Read, .error = std::errc::io_error, .pathContains = "UTDir.ini"},
         true,
         "Korvale could not read its game folder setting."},
        {"cannot write the program folder on Save",
         {.op = FaultyFileOps::Op::Open,
          .error = std::errc::read_only_file_system,
          .pathContains = "UTDir.ini",
          .opened = FaultyFileOps::Opened::ForWriting},
         false,
         "The game folder could not be saved."},
        {"cannot swap the new setting in",
         {.op = FaultyFileOps::Op::Rename,
          .error = std::errc::permission_denied,
          .pathContains = "UTDir.ini"},
         false,
         "The game folder could not be saved."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Restart();
        WriteBytes(ProgramPath("UTDir.ini"), "D:\\UT");
        Start();
        const std::size_t injectedBefore = ops().Injected();
        if (row.onOpening) {
            ops().Inject(row.fault);
        }
        QWidget* dialog = OpenDialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->isVisible());
        if (!row.onOpening) {
            Type(dialog, "txtUTDir", "E:\\New");
            ops().Inject(row.fault);
            Click(dialog, "cmdDirSave");
            EXPECT_FALSE(Closed()) << "the dialog stays open";
        } else {
            EXPECT_EQ(Box(), kInitialText);
        }
        EXPECT_EQ(ops().Injected(), injectedBefore + 1);
        const auto messages = TakeMessages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text.toStdString(), row.message);
        EXPECT_THAT(messages[0].detail.toStdString(),
                    HasSubstr(": " + std::make_error_code(row.fault.error).message()));
        EXPECT_THAT(messages[0].detail.toStdString(), HasSubstr("UTDir.ini"));
        EXPECT_EQ(SettingFile(), "D:\\UT");
        ops().Clear();
    }
}

TEST_F(GameFolderDialogTest, TheGamesFoundAreOfferedAndWhatIsTypedIsSavedAsTyped) {
    // Two games where the installers put them: the OldUnreal folder and a Wine prefix.
    const std::filesystem::path share = Root() / "share", wine = Root() / "wine";
    const QByteArray shareBefore = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(share.string()));
    const QString oldUnreal = QString::fromStdString((share / "OldUnreal/UnrealTournament").string());
    const QString inWine = QString::fromStdString((wine / "drive_c/UnrealTournament").string());
    const struct {
        const char* name;
        bool installed;
        std::string file;
        bool dropsAtOnce;
        std::function<void(QLineEdit*)> keys;
        QString saved;
    } rows[] = {
        {"no folder stored: every game, in order", true, "", true,
         [&](QLineEdit* box) {
             const QAbstractItemModel* offered = box->completer()->completionModel();
             ASSERT_EQ(offered->rowCount(), 2);
             EXPECT_EQ(offered->index(0, 0).data().toString(), oldUnreal);
             EXPECT_EQ(offered->index(1, 0).data().toString(), inWine);
         },
         kInitialText},
        {"a folder stored: nothing drops till Down", true, "D:\\UT", false,
         [](QLineEdit* box) {
             QTest::keyClick(box, Qt::Key_Down);
             EXPECT_TRUE(box->completer()->popup()->isVisible());
             EXPECT_EQ(box->completer()->completionModel()->rowCount(), 2);
         },
         "D:\\UT"},
        {"typed text narrows the list and is saved as typed", true, "", true,
         [&](QLineEdit* box) {
             box->clear();
             QTest::keyClicks(box, inWine.left(inWine.size() - 3));
             EXPECT_EQ(box->completer()->completionCount(), 1);
         },
         inWine.left(inWine.size() - 3)},
        {"nothing installed: nothing drops", false, "", false, [](QLineEdit*) {}, kInitialText},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Restart();
        qputenv("WINEPREFIX", QByteArray::fromStdString(wine.string()));
        for (const QString& game : {oldUnreal, inWine}) {
            std::filesystem::remove_all(game.toStdString());
            if (row.installed) {
                const std::filesystem::path system = std::filesystem::path(game.toStdString()) / "System";
                std::filesystem::create_directories(system);
                WriteBytes(system / "UnrealTournament.exe", "");
            }
        }
        WriteBytes(ProgramPath("UTDir.ini"), row.file);
        Start();
        TakeMessages();
        QWidget* dialog = OpenDialog();
        dialog->activateWindow();  // the list, when it drops by itself, waits for this
        auto* box = Child<QLineEdit>(dialog, "txtUTDir");
        QTest::qWait(100);
        QAbstractItemView* list = box->completer() ? box->completer()->popup() : nullptr;
        EXPECT_EQ(list != nullptr && list->isVisible(), row.dropsAtOnce);
        row.keys(box);
        // Alt+S with the list down or not: what the box holds is stored, as typed.
        QWidget* keys = list != nullptr && list->isVisible() ? static_cast<QWidget*>(list) : box;
        QTest::keyClick(keys, Qt::Key_S, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return Closed(); }));
        EXPECT_EQ(QString::fromStdString(SettingFile()), row.saved);
    }
    qunsetenv("WINEPREFIX");
    qputenv("XDG_DATA_HOME", shareBefore);
}

}  // namespace
}  // namespace korvale::test
