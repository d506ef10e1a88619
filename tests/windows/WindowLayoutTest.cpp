// Each window against its layout table: what a user sees, where, and how Tab moves through it.
#include <functional>
#include <limits>
#include <string>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include <gmock/gmock.h>

#include "WindowsTest.h"
#include "windows/FormLayout.h"
#include "windows/FrmAbout.h"
#include "windows/FrmSetDir.h"
#include "windows/FrmUT.h"
#include "windows/FrmUserPass.h"
#include "windows/QtText.h"

namespace korvale::test {
namespace {

struct WindowCase {
    const char* name;
    const FormLayout& (*layout)();
};

const WindowCase kWindows[] = {
    {"frmUT", &FrmUT::formLayout},
    {"frmuserpass", &FrmUserPass::formLayout},
    {"frmSetDir", &FrmSetDir::formLayout},
    {"frmAbout", &FrmAbout::formLayout},
};

const char* ClassOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::EditableList:
            return "QComboBox";
        case ControlKind::PushButton:
            return "QPushButton";
        case ControlKind::Label:
            return "QLabel";
        case ControlKind::TextBox:
            return "QLineEdit";
    }
    return "";
}

QString TextOf(QWidget* control) {
    if (auto* label = qobject_cast<QLabel*>(control)) {
        return label->text();
    }
    if (auto* button = qobject_cast<QPushButton*>(control)) {
        return button->text();
    }
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        return edit->text();
    }
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        return combo->currentText();
    }
    return {};
}

// Whether the focus is on `control` (an editable list holds it in its edit box).
bool HasFocus(QWidget* control) {
    QWidget* focus = QApplication::focusWidget();
    return focus != nullptr && (focus == control || control->isAncestorOf(focus));
}

class WindowLayoutTest : public WindowsTest {};

TEST_F(WindowLayoutTest, EveryControlIsWhereItsTableSaysWithItsTextAndFont) {
    for (const WindowCase& window : kWindows) {
        SCOPED_TRACE(window.name);
        const FormLayout& layout = window.layout();
        QWidget* shown = Open(window.name);
        ASSERT_NE(shown, nullptr);
        QWidget* client = ClientArea(shown);
        EXPECT_EQ(shown->objectName().toStdString(), layout.name);
        EXPECT_EQ(shown->windowTitle().toStdString(), layout.title);
        EXPECT_EQ(client->size(),
                  QSize(twipsToPixels(layout.clientWidth), twipsToPixels(layout.clientHeight)));

        for (const ControlSpec& entry : layout.controls) {
            SCOPED_TRACE(std::string(entry.name));
            auto* control = client->findChild<QWidget*>(toQString(entry.name));
            ASSERT_NE(control, nullptr);
            EXPECT_STREQ(control->metaObject()->className(), ClassOf(entry.kind));
            EXPECT_EQ(TextOf(control).toStdString(), entry.text);
            EXPECT_TRUE(control->isVisible());
            EXPECT_EQ(control->parentWidget(), client);
            EXPECT_EQ(control->geometry(), toPixels(entry.rect));
            if (entry.tabOrder == 0) {
                EXPECT_EQ(control->focusPolicy(), Qt::NoFocus);
            }
            if (entry.font) {
                EXPECT_EQ(control->font().family().toStdString(), entry.font->family);
                EXPECT_DOUBLE_EQ(control->font().pointSizeF(), entry.font->points);
                EXPECT_EQ(control->font().bold(), entry.font->bold);
            } else {
                EXPECT_EQ(control->font(), shown->font()) << "the window's own font";
            }
            if (auto* label = qobject_cast<QLabel*>(control)) {
                EXPECT_EQ(label->alignment(), entry.alignment | Qt::AlignTop);
                EXPECT_EQ(label->wordWrap(), entry.wordWrap);
                EXPECT_FALSE(label->autoFillBackground());
            }
            if (auto* button = qobject_cast<QPushButton*>(control)) {
                EXPECT_FALSE(button->isDefault());
                EXPECT_FALSE(button->autoDefault());
            }
            if (auto* box = qobject_cast<QLineEdit*>(control)) {
                EXPECT_EQ(box->maxLength(), std::numeric_limits<int>::max()) << "no length limit";
                EXPECT_EQ(box->echoMode(), QLineEdit::Normal) << "shown in clear text";
            }
        }
    }
}

TEST_F(WindowLayoutTest, TabVisitsTheControlsInTheirOrderAndTheFirstHasTheFocus) {
    for (const WindowCase& window : kWindows) {
        SCOPED_TRACE(window.name);
        QWidget* shown = Open(window.name);
        ASSERT_NE(shown, nullptr);
        Activate(shown);
        std::vector<const ControlSpec*> order;
        for (const ControlSpec& entry : window.layout().controls) {
            if (entry.tabOrder > 0) {
                order.push_back(&entry);
            }
        }
        std::ranges::sort(order, {}, &ControlSpec::tabOrder);
        ASSERT_FALSE(order.empty());
        // Round the window once and back to the first control.
        for (std::size_t step = 0; step <= order.size(); ++step) {
            const ControlSpec& expected = *order[step % order.size()];
            auto* control = shown->findChild<QWidget*>(toQString(expected.name));
            ASSERT_NE(control, nullptr);
            EXPECT_TRUE(HasFocus(control))
                << "step " << step << ": expected " << expected.name << ", focus on "
                << (QApplication::focusWidget()
                        ? QApplication::focusWidget()->objectName().toStdString()
                        : std::string("nothing"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        shown->close();
    }
}

TEST_F(WindowLayoutTest, WindowsAreFixedWithACloseBoxOnlyAndTheProgramIcon) {
    for (const WindowCase& window : kWindows) {
        SCOPED_TRACE(window.name);
        QWidget* shown = Open(window.name);
        ASSERT_NE(shown, nullptr);
        EXPECT_TRUE(shown->isWindow());
        EXPECT_EQ(shown->parentWidget(), nullptr) << "a top-level window of its own";
        EXPECT_EQ(shown->minimumSize(), shown->maximumSize());
        EXPECT_EQ(shown->size(), shown->minimumSize());
        const Qt::WindowFlags flags = shown->windowFlags();
        EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
        EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
        EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
        EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
        EXPECT_FALSE(shown->windowIcon().isNull());
        EXPECT_EQ(shown->windowIcon().pixmap(32, 32).toImage(),
                  QIcon(toQString(kIconResource)).pixmap(32, 32).toImage());
    }
}

TEST_F(WindowLayoutTest, WindowsOpenCentredOnTheScreen) {
    for (const WindowCase& window : kWindows) {
        SCOPED_TRACE(window.name);
        QWidget* shown = Open(window.name);
        ASSERT_NE(shown, nullptr);
        const QRect screen = shown->screen()->availableGeometry();
        EXPECT_LE((shown->frameGeometry().center() - screen.center()).manhattanLength(), 2);
    }
}

TEST_F(WindowLayoutTest, MainWindowHasFileExitAndHelpAboutAboveItsClientArea) {
    auto* main = qobject_cast<QMainWindow*>(Open("frmUT"));
    ASSERT_NE(main, nullptr);
    const QList<QAction*> menus = main->menuBar()->actions();
    ASSERT_EQ(menus.size(), qsizetype(FrmUT::menus().size()));
    for (std::size_t i = 0; i < FrmUT::menus().size(); ++i) {
        const MenuSpec& entry = FrmUT::menus()[i];
        SCOPED_TRACE(std::string(entry.name));
        QMenu* menu = menus[qsizetype(i)]->menu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->objectName().toStdString(), entry.name);
        EXPECT_EQ(menu->title().toStdString(), entry.caption);
        ASSERT_EQ(menu->actions().size(), 1);
        QAction* item = menu->actions().front();
        EXPECT_EQ(item->objectName().toStdString(), entry.itemName);
        EXPECT_EQ(item->text().toStdString(), entry.itemCaption);
        EXPECT_TRUE(item->shortcut().isEmpty()) << "no shortcut besides the access key";
    }
    EXPECT_EQ(main->centralWidget()->y(), main->menuBar()->height());
    EXPECT_EQ(main->height(), main->menuBar()->height() + main->centralWidget()->height());
}

TEST_F(WindowLayoutTest, MainWindowShowsThePictureUnscaledWithUTUserInWhiteOverIt) {
    const QImage picture(toQString(kBackgroundResource));
    ASSERT_EQ(picture.size(), QSize(510, 385));
    EXPECT_EQ(picture.format(), QImage::Format_Indexed8);

    QWidget* client = ClientArea(Open("frmUT"));
    const QImage drawn = client->grab().toImage();
    // Points no control covers: the picture's own pixels, from its top-left corner.
    for (const QPoint point : {QPoint(0, 0), QPoint(3, 50), QPoint(150, 30), QPoint(292, 84),
                               QPoint(448, 141), QPoint(445, 45)}) {
        EXPECT_EQ(drawn.pixel(point), picture.pixel(point)) << point.x() << "," << point.y();
    }
    auto* label = Child<QLabel>(client, "Label1");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(255, 255, 255));
    // The label has no background: its text is drawn in white straight over the picture, so
    // wherever the picture is dark the label's pixels are white or the picture's own.
    int whiteOverDark = 0;
    const QRect area = label->geometry();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor under = picture.pixelColor(x, y);
            const QColor shown = drawn.pixelColor(x, y);
            if (shown == under) {
                continue;
            }
            EXPECT_GE(shown.lightness(), under.lightness()) << x << "," << y;
            // Anti-aliased edges blend in; the strokes themselves are white.
            const bool whitish = shown.red() >= 240 && shown.green() >= 240 && shown.blue() >= 240;
            if (whitish && under.lightness() < 128) {
                ++whiteOverDark;
            }
        }
    }
    const bool white = whiteOverDark > 0;
    EXPECT_TRUE(white);
}

TEST_F(WindowLayoutTest, AMisspeltControlNameFailsLoudly) {
    QWidget* main = Open("frmUT");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(&control<QPushButton>(*main, "cmdRun"), Child<QPushButton>(main, "cmdRun"));
    EXPECT_THROW(control<QPushButton>(*main, "cmdRnu"), std::logic_error);
    EXPECT_THROW(control<QLineEdit>(*main, "cmdRun"), std::logic_error) << "not a text box";
}

TEST_F(WindowLayoutTest, AccessKeysWorkTheirButtons) {
    struct Row {
        const char* window;
        Qt::Key key;
        const char* opens;  // the window that answers, or "" when the window closes
    };
    const Row rows[] = {
        {"frmUT", Qt::Key_S, "frmSetDir"}, {"frmUT", Qt::Key_A, "frmuserpass"},
        {"frmuserpass", Qt::Key_E, ""},    {"frmSetDir", Qt::Key_E, ""},
        {"frmAbout", Qt::Key_C, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.window) + " Alt+" +
                     QKeySequence(row.key).toString().toStdString());
        QWidget* window = Open(row.window);
        ASSERT_NE(window, nullptr);
        Activate(window);
        QTest::keyClick(QApplication::focusWidget(), row.key, Qt::AltModifier);
        // An access key presses its button the way a click does, a moment later.
        if (*row.opens != '\0') {
            EXPECT_TRUE(QTest::qWaitFor([&] {
                return QtUiServices::visibleWindows().contains(QString::fromLatin1(row.opens));
            }));
        } else {
            EXPECT_TRUE(QTest::qWaitFor([&] {
                return !QtUiServices::visibleWindows().contains(QString::fromLatin1(row.window));
            }));
        }
    }
    for (QWidget* window : QApplication::topLevelWidgets()) {
        window->close();
    }
}

TEST_F(WindowLayoutTest, EnterAndEscapeDoNothing) {
    WriteBytes(ProgramPath("UTDir.ini"), GameFolderText());
    WriteBytes(SystemPath("User.ini"), "Name=Old\r\n");
    WriteBytes(ProgramPath("User.ini"), "Alice,one");
    for (const WindowCase& window : kWindows) {
        SCOPED_TRACE(window.name);
        QWidget* shown = Open(window.name);
        ASSERT_NE(shown, nullptr);
        Activate(shown);
        if (window.name == std::string_view("frmUT")) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);  // pick Alice
        }
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(QApplication::focusWidget(), key);
        }
        EXPECT_TRUE(shown->isVisible());
    }
    EXPECT_THAT(TakeMessageTexts(), ::testing::IsEmpty());
    EXPECT_THAT(Launcher().Started(), ::testing::IsEmpty()) << "Enter does not press Play";
    EXPECT_EQ(ReadBytes(ProgramPath("User.ini")), "Alice,one") << "nor Save";
    EXPECT_EQ(ReadBytes(ProgramPath("UTDir.ini")), GameFolderText());
}

TEST_F(WindowLayoutTest, AButtonCaptionTooWideForItsFontShrinksUntilItFits) {
    const FontSpec serif{.family = "Times New Roman", .points = 21.75};
    const ControlSpec controls[] = {
        {.name = "narrow", .kind = ControlKind::PushButton, .text = "PLAY UNREAL TOURNAMENT",
         .rect = {0, 0, 3000, 735}, .font = serif},
        {.name = "wide", .kind = ControlKind::PushButton, .text = "PLAY",
         .rect = {0, 800, 6495, 735}, .font = serif},
    };
    QWidget window;
    QWidget client(&window);
    buildWindow(window, client, FormLayout{.controls = controls});
    auto* narrow = client.findChild<QPushButton*>("narrow");
    auto* wide = client.findChild<QPushButton*>("wide");
    ASSERT_NE(narrow, nullptr);
    ASSERT_NE(wide, nullptr);
    EXPECT_LT(narrow->font().pointSizeF(), serif.points);
    EXPECT_LE(QFontMetricsF(narrow->font()).horizontalAdvance(narrow->text()), narrow->width());
    EXPECT_DOUBLE_EQ(wide->font().pointSizeF(), serif.points);
}

}  // namespace
}  // namespace korvale::test
