#pragma once

#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include <QObject>
#include <QRect>
#include <QRgb>
#include <Qt>

class QFont;
class QWidget;

namespace korvale {

// The program's icon and the main window's picture, built into the program.
inline constexpr std::string_view kIconResource = ":/icon.png";
inline constexpr std::string_view kBackgroundResource = ":/background.bmp";

// A position and size in twips, from the top-left corner of a window's client area.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// 15 twips make one pixel at 96 dots per inch; Qt's device-independent pixels are those pixels,
// so a high-DPI screen keeps the proportions.
constexpr int twipsToPixels(int twips) {
    return twips / 15;
}
QRect toPixels(const TwipsRect& rect);

struct FontSpec {
    std::string_view family = {};
    double points = 0;
    bool bold = false;
};

enum class ControlKind {
    EditableList,  // a one-line text box with a list that drops down below it
    PushButton,
    Label,
    TextBox,
};

// One control of a window, as designed. Windows are built from these tables.
struct ControlSpec {
    std::string_view name = {};
    ControlKind kind = ControlKind::Label;
    std::string_view text = {};  // UTF-8; "&" marks an access key
    TwipsRect rect = {};
    int tabOrder = 0;  // from 1; 0 for a control that takes no keyboard focus
    std::optional<FontSpec> font = std::nullopt;  // the window's font when none
    Qt::Alignment alignment = Qt::AlignLeft;      // of a label's text, which starts at its top
    bool wordWrap = false;
    std::optional<QRgb> textColour = std::nullopt;  // a label drawn straight onto the window
    std::string_view labelFor = {};  // the list or box a label names, for screen readers
};

struct MenuSpec {
    std::string_view name = {};
    std::string_view caption = {};
    std::string_view itemName = {};
    std::string_view itemCaption = {};
};

struct FormLayout {
    std::string_view name = {};
    std::string_view title = {};
    int clientWidth = 0;  // twips
    int clientHeight = 0;
    std::span<const ControlSpec> controls = {};
};

QFont toQFont(const FontSpec& font);
// The font of every control that names none: the compact sans serif the layouts were measured
// with, 8.25 points, or the nearest the host has.
QFont windowFont();
// The window flags every Korvale window has: a fixed frame with a title and a close box only.
Qt::WindowFlags fixedWindowFlags();

// The one way a window is built from its table: name, title, frame, font and icon of `window`,
// and the controls of `layout` placed on `client`, a client area of the layout's fixed size. The
// first control of the tab order gets the focus for when the window is shown.
void buildWindow(QWidget& window, QWidget& client, const FormLayout& layout);
// A dialog is its own client area. It is deleted when closed, so the next opening starts afresh,
// and its cmdExit closes it.
void buildDialog(QWidget& dialog, const FormLayout& layout);
// Places a window that has its size in the centre of its screen.
void centreOnScreen(QWidget& window);

// The control of that name in `window`; a name that is not there is a fault of the program.
QObject& findControl(const QObject& window, std::string_view name);
template <typename Control>
Control& control(const QObject& window, std::string_view name) {
    auto* found = qobject_cast<Control*>(&findControl(window, name));
    if (found == nullptr) {
        throw std::logic_error("control " + std::string(name) + " is not a " +
                               Control::staticMetaObject.className());
    }
    return *found;
}

}  // namespace korvale
