#pragma once

#include <optional>
#include <span>
#include <string_view>

#include <QRect>
#include <QRgb>
#include <Qt>

class QFont;
class QString;
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
constexpr int TwipsToPixels(int twips) {
    return twips / 15;
}
QRect ToPixels(const TwipsRect& rect);

struct FontSpec {
    std::string_view family = {};
    double points = 0;
    bool bold = false;
};

enum class ControlKind {
    EditableList,  // a one-line text box with a list that drops down below it
    HiddenList,    // a list of the same kind that is never shown and takes no focus
    PushButton,
    Label,
    TextBox,
};

// One control of a window, as designed. Windows are built from these tables, and the tests walk
// the same tables.
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

QString ToQString(std::string_view utf8);
QFont ToQFont(const FontSpec& font);
// The font of every control that names none: the compact sans serif the layouts were measured
// with, 8.25 points, or the nearest the host has.
QFont WindowFont();
// The window flags every Korvale window has: a fixed frame with a title and a close box only.
Qt::WindowFlags FixedWindowFlags();

// Creates the controls of `layout` on `client`, places them and chains their tab order; the first
// control of the tab order gets the focus for when the window is shown.
void BuildControls(const FormLayout& layout, QWidget& client);
// Name, title, frame, font and icon of a top-level window.
void ApplyWindowStyle(QWidget& window, const FormLayout& layout);
// Places a window that has its size in the centre of its screen.
void CentreOnScreen(QWidget& window);

}  // namespace korvale
