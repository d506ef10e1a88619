#include "windows/FrmAbout.h"

#include <QLabel>
#include <QPushButton>

#include "korvale_version.h"
#include "windows/FormLayout.h"

namespace korvale {

namespace {

// One row a control, as the window was designed: name, text, {left, top, width, height} in
// twips, tab order (0: takes no focus), then font, alignment, word wrap and text colour.
constexpr FontSpec kHeadingFont{.family = "Georgia", .points = 15, .bold = true};
constexpr FontSpec kButtonFont{.family = "MS Sans Serif", .points = 8.25, .bold = true};
constexpr auto kLeft = Qt::AlignLeft;
constexpr auto kCentre = Qt::AlignHCenter;

// clang-format off
constexpr ControlSpec kControls[] = {
    {"Label1", "Korvale", {120, 120, 3495, 375}, 0, kHeadingFont, kLeft, true},
    {"Label4", "Version " KORVALE_VERSION, {120, 600, 3495, 375}, 0, kHeadingFont, kCentre, true},
    {"Label3", "Any comments or suggestions for a new version, please email me at the "
     "below address, Thanks", {360, 2760, 3015, 615}, 0, {}, kLeft, true},
    {"Label2", "korvale@korvale.invalid", {720, 3600, 2295, 255}, 0, {}, kLeft, true},
    {"cmdExit", "&Close", {240, 4080, 3135, 375}, 1, kButtonFont},
};
// clang-format on

// Name, title, client area width and height in twips, controls.
constexpr FormLayout kLayout{"frmAbout", "About", 3660, 4515, kControls};

}  // namespace

FrmAbout::FrmAbout() {
    auto* close = new QPushButton(this);
    buildDialog(*this, kLayout,
                {new QLabel(this), new QLabel(this), new QLabel(this), new QLabel(this), close});
    connect(close, &QPushButton::clicked, this, &QWidget::close);
}

}  // namespace korvale
