#include "windows/FrmAbout.h"

namespace korvale {

namespace {

constexpr FontSpec kHeadingFont{.family = "Georgia", .points = 15, .bold = true};

constexpr ControlSpec kControls[] = {
    {.name = "Label1",
     .kind = ControlKind::Label,
     .text = "Korvale",
     .rect = {120, 120, 3495, 375},
     .font = kHeadingFont,
     .wordWrap = true},
    {.name = "Label4",
     .kind = ControlKind::Label,
     .text = "Version 1.0",
     .rect = {120, 600, 3495, 375},
     .font = kHeadingFont,
     .alignment = Qt::AlignHCenter,
     .wordWrap = true},
    {.name = "Label3",
     .kind = ControlKind::Label,
     .text = "Any comments or suggestions for a new version, please email me at the below "
             "address, Thanks",
     .rect = {360, 2760, 3015, 615},
     .wordWrap = true},
    {.name = "Label2",
     .kind = ControlKind::Label,
     .text = "korvale@korvale.invalid",
     .rect = {720, 3600, 2295, 255},
     .wordWrap = true},
    {.name = "cmdExit",
     .kind = ControlKind::PushButton,
     .text = "&Close",
     .rect = {240, 4080, 3135, 375},
     .tabOrder = 1,
     .font = FontSpec{.family = "MS Sans Serif", .points = 8.25, .bold = true}},
};

constexpr FormLayout kLayout{
    .name = "frmAbout",
    .title = "About",
    .clientWidth = 3660,
    .clientHeight = 4515,
    .controls = kControls,
};

}  // namespace

const FormLayout& FrmAbout::formLayout() {
    return kLayout;
}

FrmAbout::FrmAbout() {
    buildDialog(*this, kLayout);
}

}  // namespace korvale
