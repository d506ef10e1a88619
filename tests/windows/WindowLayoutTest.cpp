// Each window as designed: what a user sees, where, whether it fits, and how Tab moves through it.
#include <algorithm>
#include <limits>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QTest>

#include <gmock/gmock.h>

#include "WindowsTest.h"
#include "windows/FormLayout.h"
#include "ui/QtText.h"

// A rectangle in a failure as a reader wants it.
inline void PrintTo(const QRect& rect, std::ostream* out) {
    *out << "(" << rect.x() << ", " << rect.y() << ", " << rect.width() << ", " << rect.height()
         << ")";
}

namespace korvale::test {
namespace {

// One control as designed, in pixels: the twips of the design divided by 15.
struct Control {
    const char* name;
    const char* kind;  // the Qt class
    const char* text;  // UTF-8
    QRect pixels;
    Qt::Alignment alignment = Qt::AlignLeft;  // of a label's text
    const char* font = nullptr;               // the family, when not the window's font
    double points = 0;
    bool bold = false;
};

struct Design {
    const char* name;
    const char* title;
    QSize client;
    std::vector<Control> controls;
    std::vector<const char*> tabOrder;
    std::vector<std::pair<const char*, const char*>> overlapping;  // as designed
};

constexpr auto kLeft = Qt::AlignLeft;
constexpr auto kRight = Qt::AlignRight;
constexpr auto kCentre = Qt::AlignHCenter;

// clang-format off
const Design kWindows[] = {
    {"frmUT", "Korvale", {449, 142}, {
        {"cboUsers", "korvale::PlayerCombo", "", {56, 56, 233, 21}},
        {"cmdRun", "QPushButton", "PLAY UNREAL TOURNAMENT", {8, 88, 433, 49}, kLeft,
         "Times New Roman", 21.75},
        {"cmdSetDir", "QPushButton", "&Set UT Dir", {296, 8, 145, 33}},
        {"cmdAddUser", "QPushButton", "&Add UT User", {296, 48, 145, 33}},
        {"Label1", "QLabel", "UT User", {8, 56, 49, 17}},
     }, {"cboUsers", "cmdRun", "cmdSetDir", "cmdAddUser"},
     {{"Label1", "cboUsers"}}},  // by one pixel: the label ends where the list begins
    {"frmuserpass", "New User", {312, 150}, {
        {"txtUtPlayer", "QLineEdit", "", {120, 40, 177, 27}},
        {"Label1", "QLabel", "UT Player Name", {16, 40, 97, 25}, kRight},
        {"txtUtPassword", "QLineEdit", "", {120, 80, 177, 27}},
        {"Label2", "QLabel", "UT NGStats Password", {0, 80, 113, 25}, kRight},
        {"Label3", "QLabel", "NEW UT PLAYER", {24, 8, 273, 25}, kCentre, "Courier", 15, true},
        {"cmdUTSavePlayer", "QPushButton", "&Save", {152, 112, 145, 33}},
        {"cmdExit", "QPushButton", "&Exit", {8, 112, 137, 33}},
     }, {"txtUtPlayer", "txtUtPassword", "cmdUTSavePlayer", "cmdExit"}, {}},
    {"frmSetDir", "Set the UT Directory", {312, 122}, {
        {"Label1", "QLabel", "Please Select the Unreal Tournament Directory", {8, 8, 289, 17},
         kCentre},
        {"txtUTDir", "QLineEdit", "C:\\Games\\UnrealTournament", {8, 48, 297, 25}},
        {"cmdDirSave", "QPushButton", "&Save", {168, 80, 137, 33}},
        {"cmdExit", "QPushButton", "&Exit", {8, 80, 137, 33}},
     }, {"txtUTDir", "cmdDirSave", "cmdExit"}, {}},
    {"frmAbout", "About", {244, 301}, {
        {"Label1", "QLabel", "Korvale", {8, 8, 233, 25}, kLeft, "Georgia", 15, true},
        {"Label4", "QLabel", "Version 1.0", {8, 40, 233, 25}, kCentre, "Georgia", 15, true},
        {"Label3", "QLabel", "Any comments or suggestions for a new version, please email me at "
         "the below address, Thanks", {24, 184, 201, 41}},
        {"Label2", "QLabel", "korvale@korvale.invalid", {48, 240, 153, 17}},
        {"cmdExit", "QPushButton", "&Close", {16, 272, 209, 25}, kLeft, "MS Sans Serif", 8.25, true},
     }, {"cmdExit"}, {}},
};
// clang-format on

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

// Whether the text shows whole in the control, in the control's own font.
bool CaptionFits(QWidget* control) {
    const QFontMetrics metrics(control->font());
    if (auto* button = qobject_cast<QPushButton*>(control)) {
        const QStyle& style = *button->style();
        const int frame = 2 * (style.pixelMetric(QStyle::PM_ButtonMargin) +
                               style.pixelMetric(QStyle::PM_DefaultFrameWidth));
        return metrics.horizontalAdvance(button->text().remove(u'&')) <= button->width() - frame &&
               metrics.height() <= button->height();
    }
    if (auto* label = qobject_cast<QLabel*>(control)) {
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        const QRect needed =
            metrics.boundingRect(QRect(0, 0, label->width(), 10000), flags, label->text());
        // The last line needs room below its baseline only for the ink there (none for capitals).
        const int inkBelow = std::max(0, metrics.tightBoundingRect(label->text()).bottom());
        return needed.width() <= label->width() &&
               needed.height() - metrics.descent() + inkBelow <= label->height();
    }
    return true;
}

class WindowLayoutTest : public WindowsTest {
protected:
    // The window shown, with each of its controls as designed.
    template <typename Check>
    void ForEachControl(Check check) {
        for (const Design& window : kWindows) {
            SCOPED_TRACE(window.name);
            QWidget* shown = Open(window.name);
            ASSERT_NE(shown, nullptr);
            QWidget* client = ClientArea(shown);
            for (const Control& entry : window.controls) {
                SCOPED_TRACE(entry.name);
                auto* control = client->findChild<QWidget*>(entry.name);
                ASSERT_NE(control, nullptr);
                check(window, *shown, *client, entry, *control);
            }
        }
    }
};

TEST_F(WindowLayoutTest, EveryWindowHasItsTitleSizeAndNoControlsButItsOwn) {
    for (const Design& window : kWindows) {
        SCOPED_TRACE(window.name);
        QWidget* shown = Open(window.name);
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->windowTitle(), window.title);
        QWidget* client = ClientArea(shown);
        EXPECT_EQ(client->size(), window.client);
        QStringList names;
        for (const QWidget* child : client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            names.append(child->objectName());
        }
        QStringList designed;
        for (const Control& entry : window.controls) {
            designed.append(entry.name);
        }
        names.sort();
        designed.sort();
        EXPECT_EQ(names, designed);
    }
}

TEST_F(WindowLayoutTest, EveryControlIsWhereTheDesignPutsItWithItsTextAndFont) {
    ForEachControl([](const Design&, QWidget& window, QWidget& client, const Control& entry,
                      QWidget& control) {
        EXPECT_STREQ(control.metaObject()->className(), entry.kind);
        EXPECT_EQ(TextOf(&control), QString::fromUtf8(entry.text));
        EXPECT_TRUE(control.isVisible());
        EXPECT_EQ(control.parentWidget(), &client);
        EXPECT_EQ(control.geometry(), entry.pixels);
        if (entry.font != nullptr) {
            EXPECT_EQ(control.font().family(), entry.font);
            EXPECT_DOUBLE_EQ(control.font().pointSizeF(), entry.points);
            EXPECT_EQ(control.font().bold(), entry.bold);
        } else {
            EXPECT_EQ(control.font(), window.font()) << "the window's own font";
        }
        if (auto* label = qobject_cast<QLabel*>(&control)) {
            EXPECT_EQ(label->alignment(), entry.alignment | Qt::AlignTop);
            EXPECT_FALSE(label->autoFillBackground());
            EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
        }
        if (auto* button = qobject_cast<QPushButton*>(&control)) {
            EXPECT_FALSE(button->isDefault());
            EXPECT_FALSE(button->autoDefault());
        }
        if (auto* box = qobject_cast<QLineEdit*>(&control)) {
            EXPECT_EQ(box->maxLength(), std::numeric_limits<int>::max()) << "no length limit";
            EXPECT_EQ(box->echoMode(), QLineEdit::Normal) << "shown in clear text";
        }
    });
}

TEST_F(WindowLayoutTest, EveryControlFitsInsideItsWindowAndShowsItsCaptionWhole) {
    ForEachControl([](const Design& window, QWidget&, QWidget& client, const Control& entry,
                      QWidget& control) {
        EXPECT_TRUE(client.rect().contains(control.geometry()));
        EXPECT_TRUE(CaptionFits(&control))
            << "in " << QFontInfo(control.font()).family().toStdString() << " "
            << QFontMetrics(control.font()).height() << "px high, "
            << QFontMetrics(control.font()).horizontalAdvance(TextOf(&control)) << "px wide";
        for (const Control& other : window.controls) {
            const bool designed = std::ranges::any_of(window.overlapping, [&](const auto& pair) {
                return (pair.first == std::string_view(entry.name) &&
                        pair.second == std::string_view(other.name)) ||
                       (pair.second == std::string_view(entry.name) &&
                        pair.first == std::string_view(other.name));
            });
            auto* next = client.findChild<QWidget*>(other.name);
            if (next != &control && next != nullptr && !designed) {
                EXPECT_FALSE(control.geometry().intersects(next->geometry())) << other.name;
            }
        }
    });
}

TEST_F(WindowLayoutTest, TabVisitsTheControlsInTheirOrderAndTheFirstHasTheFocus) {
    for (const Design& window : kWindows) {
        SCOPED_TRACE(window.name);
        QWidget* shown = Open(window.name);
        ASSERT_NE(shown, nullptr);
        Activate(shown);
        // Round the window once and back to the first control.
        const std::vector<const char*>& order = window.tabOrder;
        for (std::size_t step = 0; step <= order.size(); ++step) {
            const char* expected = order[step % order.size()];
            auto* control = shown->findChild<QWidget*>(expected);
            ASSERT_NE(control, nullptr);
            EXPECT_TRUE(HasFocus(control))
                << "step " << step << ": expected " << expected << ", focus on "
                << (QApplication::focusWidget()
                        ? QApplication::focusWidget()->objectName().toStdString()
                        : std::string("nothing"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        shown->close();
    }
}

TEST_F(WindowLayoutTest, WindowsAreFixedWithACloseBoxOnlyAndTheProgramIcon) {
    for (const Design& window : kWindows) {
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
    for (const Design& window : kWindows) {
        SCOPED_TRACE(window.name);
        QWidget* shown = Open(window.name);
        ASSERT_NE(shown, nullptr);
        const QRect screen = shown->screen()->availableGeometry();
        EXPECT_LE((shown->frameGeometry().center() - screen.center()).manhattanLength(), 2);
    }
}

TEST_F(WindowLayoutTest, MainWindowHasFileExitAndHelpAboutAboveItsClientArea) {
    struct Menu {
        const char* name;
        const char* caption;
        const char* itemName;
        const char* itemCaption;
    };
    const Menu designed[] = {{"File", "&File", "Exit", "&Exit"},
                             {"Help", "&Help", "About", "&About"}};
    auto* main = qobject_cast<QMainWindow*>(Open("frmUT"));
    ASSERT_NE(main, nullptr);
    const QList<QAction*> menus = main->menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    for (qsizetype i = 0; i < 2; ++i) {
        const Menu& entry = designed[i];
        SCOPED_TRACE(entry.name);
        QMenu* menu = menus[i]->menu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->objectName(), entry.name);
        EXPECT_EQ(menu->title(), entry.caption);
        ASSERT_EQ(menu->actions().size(), 1);
        QAction* item = menu->actions().front();
        EXPECT_EQ(item->objectName(), entry.itemName);
        EXPECT_EQ(item->text(), entry.itemCaption);
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
            EXPECT_TRUE(QTest::qWaitFor(
                [&] { return VisibleWindows().contains(QString::fromLatin1(row.opens)); }));
        } else {
            EXPECT_TRUE(QTest::qWaitFor(
                [&] { return !VisibleWindows().contains(QString::fromLatin1(row.window)); }));
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
    for (const Design& window : kWindows) {
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
        {.name = "narrow",
         .text = "PLAY UNREAL TOURNAMENT",
         .rect = {0, 0, 3000, 735},
         .font = serif},
        {.name = "wide",
         .text = "PLAY",
         .rect = {0, 800, 6495, 735},
         .font = serif},
    };
    QWidget window;
    QWidget client(&window);
    auto* narrow = new QPushButton(&client);
    auto* wide = new QPushButton(&client);
    buildWindow(window, client, FormLayout{.controls = controls}, {narrow, wide});
    EXPECT_LT(narrow->font().pointSizeF(), serif.points);
    EXPECT_LE(QFontMetricsF(narrow->font()).horizontalAdvance(narrow->text()), narrow->width());
    EXPECT_DOUBLE_EQ(wide->font().pointSizeF(), serif.points);
}

}  // namespace
}  // namespace korvale::test
