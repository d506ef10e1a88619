#include "windows/FrmUserPass.h"

#include <string>

#include <QLineEdit>
#include <QPushButton>

#include "settings/PlayerFile.h"
#include "windows/FileErrorMessage.h"
#include "windows/FormLayout.h"
#include "windows/QtText.h"

namespace korvale {

namespace {

using enum ControlKind;

// One row a control, as the window was designed: name, kind, text, {left, top, width, height} in
// twips, tab order (0: takes no focus), then font, alignment, word wrap, text colour and the
// control a label names.
constexpr FontSpec kHeadingFont{.family = "Courier", .points = 15, .bold = true};

// clang-format off
constexpr ControlSpec kControls[] = {
    {"txtUtPlayer", TextBox, {}, {1800, 600, 2655, 405}, 1},
    {"Label1", Label, "UT Player Name", {240, 600, 1455, 375}, 0, {}, Qt::AlignRight, false, {},
     "txtUtPlayer"},
    {"txtUtPassword", TextBox, {}, {1800, 1200, 2655, 405}, 2},
    {"Label2", Label, "UT NGStats Password", {0, 1200, 1695, 375}, 0, {}, Qt::AlignRight, false,
     {}, "txtUtPassword"},
    {"Label3", Label, "NEW UT PLAYER", {360, 120, 4095, 375}, 0, kHeadingFont, Qt::AlignHCenter},
    {"cmdUTSavePlayer", PushButton, "&Save", {2280, 1680, 2175, 495}, 3},
    {"cmdExit", PushButton, "&Exit", {120, 1680, 2055, 495}, 4},
};
// clang-format on

// Name, title, client area width and height in twips, controls.
constexpr FormLayout kLayout{"frmuserpass", "New User", 4680, 2250, kControls};

constexpr char kLatin1Detail[] =
    "Korvale and Unreal Tournament keep names and passwords in Latin-1: Western European "
    "letters, digits and signs.";

constexpr char kControlDetail[] =
    "A line break, a tab or another control character (here %1) would split the player's line "
    "in User.ini, and the line of the game profile it is written to.";

}  // namespace

FrmUserPass::FrmUserPass(const FileSystem& files, UiServices& ui) : m_files(files), m_ui(ui) {
    buildDialog(*this, kLayout);
    m_player = &control<QLineEdit>(*this, "txtUtPlayer");
    m_password = &control<QLineEdit>(*this, "txtUtPassword");
    connect(&control<QPushButton>(*this, "cmdUTSavePlayer"), &QPushButton::clicked, this,
            &FrmUserPass::onSave);
}

QString FrmUserPass::refusal(QString& detail) const {
    const QString name = m_player->text();
    const QString password = m_password->text();
    // The name's messages come first, so two empty boxes ask for the name.
    if (isBlank(name)) {
        return QStringLiteral("Please Enter a Player Name");
    }
    if (name.contains(u',')) {
        detail = QStringLiteral(
            "User.ini keeps each player as the name, a comma and the password, so a comma in "
            "the name would split it. Commas in the password are fine.");
        return QStringLiteral("Please Enter a Player Name without a comma");
    }
    if (const QString code = firstControl(name); !code.isEmpty()) {
        detail = QString::fromUtf8(kControlDetail).arg(code);
        return QStringLiteral("The Player Name cannot hold a control character");
    }
    if (const QString character = firstNonLatin1(name); !character.isEmpty()) {
        detail = QString::fromUtf8(kLatin1Detail);
        return QStringLiteral("The Player Name cannot hold the character \"%1\"").arg(character);
    }
    if (isBlank(password)) {
        return QStringLiteral("Please Enter a UT-NGstats Password");
    }
    if (const QString code = firstControl(password); !code.isEmpty()) {
        detail = QString::fromUtf8(kControlDetail).arg(code);
        return QStringLiteral("The UT-NGstats Password cannot hold a control character");
    }
    if (const QString character = firstNonLatin1(password); !character.isEmpty()) {
        detail = QString::fromUtf8(kLatin1Detail);
        return QStringLiteral("The UT-NGstats Password cannot hold the character \"%1\"")
            .arg(character);
    }
    return {};
}

void FrmUserPass::onSave() {
    QString detail;
    if (const QString refused = refusal(detail); !refused.isEmpty()) {
        m_ui.showMessage(refused.toStdString(), detail.toStdString());
        return;
    }
    // Checked above: both texts fit Latin-1. The file gets them trimmed, the lists as typed.
    const Player player{toLatin1(m_player->text()).value_or(std::string()),
                        toLatin1(m_password->text()).value_or(std::string())};
    std::size_t index = 0;
    try {
        index = AppendPlayer(m_files, player);
    } catch (const FileError& error) {
        showFileError(m_ui, m_files, "The player could not be saved.", error);
        return;
    }
    emit playerSaved(index, player);
    close();
}

}  // namespace korvale
