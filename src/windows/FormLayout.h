#pragma once

#include <initializer_list>
#include <optional>
#include <span>
#include <string_view>

#include <QRgb>
#include <Qt>

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

struct FontSpec {
    std::string_view family = {};
    double points = 0;
    bool bold = false;
};

// One control of a window, as designed. Windows are built from these tables.
struct ControlSpec {
    std::string_view name = {};
    std::string_view text = {};  // UTF-8; "&" marks an access key
    TwipsRect rect = {};
    int tabOrder = 0;  // from 1; 0 for a control that takes no keyboard focus
    std::optional<FontSpec> font = std::nullopt;  // the window's font when none
    Qt::Alignment alignment = Qt::AlignLeft;      // of a label's text, which starts at its top
    bool wordWrap = false;
    std::optional<QRgb> textColour = std::nullopt;  // a label drawn straight onto the window
};

struct FormLayout {
    std::string_view name = {};
    std::string_view title = {};
    int clientWidth = 0;  // twips
    int clientHeight = 0;
    std::span<const ControlSpec> controls = {};
};

// The one way a window is built from its table: name, title, frame, font and icon of `window`,
// and `controls`, the window's own widgets on `client` in the order of the layout's rows, each
// given its row's name, text, place and font. `client` is a client area of the layout's fixed
// size. The first control of the tab order gets the focus for when the window is shown.
void buildWindow(QWidget& window, QWidget& client, const FormLayout& layout,
                 std::initializer_list<QWidget*> controls);
// A dialog is its own client area. It is deleted when closed, so the next opening starts afresh.
void buildDialog(QWidget& dialog, const FormLayout& layout,
                 std::initializer_list<QWidget*> controls);
// Places a window that has its size in the centre of its screen.
void centreOnScreen(QWidget& window);

}  // namespace korvale
