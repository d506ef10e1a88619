#include "windows/FrmUserPass.h"

#include <string>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "settings/FileErrorMessage.h"
#include "windows/FormLayout.h"
#include "ui/QtText.h"
#include "windows/TypedText.h"

namespace korvale {

namespace {

// One row a control, as the window was designed: name, text, {left, top, width, height} in
// twips, tab order (0: takes no focus), then font and alignment.
constexpr FontSpec kHeadingFont{.family = "Courier", .points = 15, .bold = true};

// clang-format off
constexpr ControlSpec kControls[] = {
    {"txtUtPlayer", {}, {1800, 600, 2655, 405}, 1},
    {"Label1", "UT Player Name", {240, 600, 1455, 375}, 0, {}, Qt::AlignRight},
    {"txtUtPassword", {}, {1800, 1200, 2655, 405}, 2},
    {"Label2", "UT NGStats Password", {0, 1200, 1695, 375}, 0, {}, Qt::AlignRight},
    {"Label3", "NEW UT PLAYER", {360, 120, 4095, 375}, 0, kHeadingFont, Qt::AlignHCenter},
    {"cmdUTSavePlayer", "&Save", {2280, 1680, 2175, 495}, 3},
    {"cmdExit", "&Exit", {120, 1680, 2055, 495}, 4},
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

FrmUserPass::FrmUserPass(Identities& identities, const FileSystem& files, UiServices& ui)
    : m_identities(identities),
      m_files(files),
      m_ui(ui),
      m_txtUtPlayer(new QLineEdit(this)),
      m_label1(new QLabel(this)),
      m_txtUtPassword(new QLineEdit(this)),
      m_label2(new QLabel(this)),
      m_label3(new QLabel(this)),
      m_cmdUTSavePlayer(new QPushButton(this)),
      m_cmdExit(new QPushButton(this)) {
    buildDialog(*this, kLayout,
                {m_txtUtPlayer, m_label1, m_txtUtPassword, m_label2, m_label3, m_cmdUTSavePlayer,
                 m_cmdExit});
    // The labels name their boxes to screen readers.
    m_label1->setBuddy(m_txtUtPlayer);
    m_label2->setBuddy(m_txtUtPassword);
    connect(m_cmdUTSavePlayer, &QPushButton::clicked, this, &FrmUserPass::onSave);
    connect(m_cmdExit, &QPushButton::clicked, this, &QWidget::close);
}

FrmUserPass::FrmUserPass(Identities& identities, const FileSystem& files, UiServices& ui,
                         std::size_t index)
    : FrmUserPass(identities, files, ui) {
    m_editing = index;
    setObjectName(QStringLiteral("frmEditUser"));
    setWindowTitle(QStringLiteral("Edit UT User"));
    m_label3->setText(QStringLiteral("EDIT UT PLAYER"));
    const Player& player = identities.at(index);
    fill(latin1ToQString(player.name), latin1ToQString(player.password));
}

void FrmUserPass::fill(const QString& name, const QString& password) {
    m_txtUtPlayer->setText(name);
    m_txtUtPassword->setText(password);
}

void FrmUserPass::onSave() {
    // The name's messages come first, so two empty boxes ask for the name.
    std::optional<TextRefusal> refused = refusal(m_txtUtPlayer->text(), kNameRule);
    if (!refused) {
        refused = refusal(m_txtUtPassword->text(), kPasswordRule);
    }
    if (refused) {
        m_ui.showMessage(refused->text.toStdString(), refused->detail.toStdString());
        return;
    }
    // Checked above: both texts fit Latin-1. The file gets them trimmed, the lists as typed.
    const Player player{qStringToLatin1(m_txtUtPlayer->text()).value_or(std::string()),
                        qStringToLatin1(m_txtUtPassword->text()).value_or(std::string())};
    if (save(player)) {
        close();
    }
}

bool FrmUserPass::save(const Player& player) {
    try {
        if (!m_editing) {
            m_identities.AppendPlayer(player);
            return true;
        }
        if (const Refusal refused = m_identities.edit(*m_editing, player)) {
            m_ui.showMessage(*refused);
            return false;
        }
        return true;
    } catch (const FileError& error) {
        if (m_editing) {
            m_ui.showMessage("Error", error.what());
        } else {
            showFileError(m_ui, m_files, "The player could not be saved.", error);
        }
        return false;
    }
}

}  // namespace korvale
