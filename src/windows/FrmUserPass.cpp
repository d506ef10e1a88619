#include "windows/FrmUserPass.h"

#include <string>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "windows/FileErrorMessage.h"
#include "windows/FormLayout.h"
#include "windows/QtText.h"
#include "windows/TypedText.h"

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

constexpr TypedTextRule kNameRule{
    .subject = "The Player Name",
    .blank = "Please Enter a Player Name",
    .comma = "Please Enter a Player Name without a comma",
    .commaDetail =
        "User.ini keeps each player as the name, a comma and the password, so a comma "
        "in the name would split it. Commas in the password are fine.",
    .controlDetail = kControlDetail,
    .latin1Detail = kLatin1Detail,
};

constexpr TypedTextRule kPasswordRule{
    .subject = "The UT-NGstats Password",
    .blank = "Please Enter a UT-NGstats Password",
    .controlDetail = kControlDetail,
    .latin1Detail = kLatin1Detail,
};

}  // namespace

FrmUserPass::FrmUserPass(PlayerFile& playerFile, const FileSystem& files, UiServices& ui)
    : m_playerFile(playerFile), m_files(files), m_ui(ui) {
    buildDialog(*this, kLayout);
    m_player = &control<QLineEdit>(*this, "txtUtPlayer");
    m_password = &control<QLineEdit>(*this, "txtUtPassword");
    connect(&control<QPushButton>(*this, "cmdUTSavePlayer"), &QPushButton::clicked, this,
            &FrmUserPass::onSave);
}

FrmUserPass::FrmUserPass(PlayerFile& playerFile, const FileSystem& files, UiServices& ui,
                         std::size_t index, const Player& player)
    : FrmUserPass(playerFile, files, ui) {
    m_editing = index;
    setObjectName(QStringLiteral("frmEditUser"));
    setWindowTitle(QStringLiteral("Edit UT User"));
    control<QLabel>(*this, "Label3").setText(QStringLiteral("EDIT UT PLAYER"));
    fill(latin1ToQString(player.name), latin1ToQString(player.password));
}

void FrmUserPass::fill(const QString& name, const QString& password) {
    m_player->setText(name);
    m_password->setText(password);
}

void FrmUserPass::onSave() {
    // The name's messages come first, so two empty boxes ask for the name.
    std::optional<Refusal> refused = refusal(m_player->text(), kNameRule);
    if (!refused) {
        refused = refusal(m_password->text(), kPasswordRule);
    }
    if (refused) {
        m_ui.showMessage(refused->text.toStdString(), refused->detail.toStdString());
        return;
    }
    // Checked above: both texts fit Latin-1. The file gets them trimmed, the lists as typed.
    const Player player{qStringToLatin1(m_player->text()).value_or(std::string()),
                        qStringToLatin1(m_password->text()).value_or(std::string())};
    if (save(player)) {
        close();
    }
}

bool FrmUserPass::save(const Player& player) {
    if (m_editing) {
        if (!changePlayerFile(m_ui, [&] { return m_playerFile.replace(*m_editing, player); })) {
            return false;
        }
        emit playerEdited(*m_editing, player);
        return true;
    }
    std::size_t index = 0;
    try {
        index = m_playerFile.append(player);
    } catch (const FileError& error) {
        showFileError(m_ui, m_files, "The player could not be saved.", error);
        return false;
    }
    emit playerSaved(index, player);
    return true;
}

}  // namespace korvale
