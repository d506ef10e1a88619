#include "windows/FrmUT.h"

#include <string>

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>

#include "settings/PlayerFile.h"
#include "windows/FileErrorMessage.h"
#include "windows/FormLayout.h"
#include "windows/PictureBackground.h"
#include "windows/PlayerCombo.h"
#include "windows/QtText.h"

namespace korvale {

namespace {

using enum ControlKind;

// One row a control, as the window was designed: name, kind, text, {left, top, width, height} in
// twips, tab order (0: takes no focus), then font, alignment, word wrap, text colour and the
// control a label names.
constexpr FontSpec kPlayFont{.family = "Times New Roman", .points = 21.75};
constexpr QRgb kWhite = qRgb(255, 255, 255);

// clang-format off
constexpr ControlSpec kControls[] = {
    {"cboUsers", EditableList, {}, {840, 840, 3495, 315}, 1},
    {"cmdRun", PushButton, "PLAY UNREAL TOURNAMENT", {120, 1320, 6495, 735}, 2, kPlayFont},
    {"cmdSetDir", PushButton, "&Set UT Dir", {4440, 120, 2175, 495}, 3},
    {"cmdAddUser", PushButton, "&Add UT User", {4440, 720, 2175, 495}, 4},
    {"Label1", Label, "UT User", {120, 840, 735, 255}, 0, {}, Qt::AlignLeft, false, kWhite,
     "cboUsers"},
};
// clang-format on

// Name, title, client area width and height in twips, controls.
constexpr FormLayout kLayout{"frmUT", "Korvale", 6735, 2130, kControls};

constexpr MenuSpec kMenus[] = {
    {.name = "File", .caption = "&File", .itemName = "Exit", .itemCaption = "&Exit"},
    {.name = "Help", .caption = "&Help", .itemName = "About", .itemCaption = "&About"},
};

// The pick as the lists show it when Play reads it.
class ListPick final : public PlayerPick {
public:
    ListPick(const QComboBox& users, const PasswordList& passwords)
        : m_users(users), m_passwords(passwords) {}

    std::ptrdiff_t selectedIndex() const override { return m_users.currentIndex(); }
    // Entries come from Latin-1 files and the edit box accepts only Latin-1.
    std::string name() const override { return toLatin1(m_users.currentText()).value_or(""); }
    std::string password() const override { return m_passwords.Text(); }

private:
    const QComboBox& m_users;
    const PasswordList& m_passwords;
};

}  // namespace

FrmUT::FrmUT(PlayerListModel& players, PlayCommand& play, GameFolder& folder,
             const FileSystem& files, UiServices& ui)
    : m_players(players), m_play(play), m_folder(folder), m_files(files), m_ui(ui) {
    auto* client = new PictureBackground(QPixmap(toQString(kBackgroundResource)), this);
    buildWindow(*this, *client, kLayout);
    setCentralWidget(client);
    buildMenus();
    // The client area is fixed; the menu bar sits above it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    m_cboUsers = &control<QComboBox>(*this, "cboUsers");
    showPlayerNames(*m_cboUsers, m_players);
    m_cboUserPass = new PasswordList(m_players, this);
    m_cboUserPass->setObjectName(QStringLiteral("cboUserPass"));

    // activated is a pick by the user: the mouse in the dropped-down list, or the arrow keys.
    connect(m_cboUsers, &QComboBox::activated, this, &FrmUT::onUserPicked);
    connect(&control<QPushButton>(*this, "cmdRun"), &QPushButton::clicked, this, &FrmUT::onRun);
    connect(&control<QPushButton>(*this, "cmdSetDir"), &QPushButton::clicked, this,
            &FrmUT::gameFolderRequested);
    connect(&control<QPushButton>(*this, "cmdAddUser"), &QPushButton::clicked, this,
            &FrmUT::onAddUser);
}

void FrmUT::buildMenus() {
    for (const MenuSpec& entry : kMenus) {
        QMenu* menu = menuBar()->addMenu(toQString(entry.caption));
        menu->setObjectName(toQString(entry.name));
        QAction* item = menu->addAction(toQString(entry.itemCaption));
        item->setObjectName(toQString(entry.itemName));
    }
    connect(&control<QAction>(*this, "Exit"), &QAction::triggered, this, &FrmUT::exitRequested);
    connect(&control<QAction>(*this, "About"), &QAction::triggered, this, &FrmUT::aboutRequested);
}

void FrmUT::load() {
    m_folder.SetDirIniPath();
    // A file that cannot be used is explained, and Korvale starts all the same.
    try {
        m_folder.LoadUTDir(m_ui);
    } catch (const FileError& error) {
        showFileError(m_ui, m_files, "Korvale could not read or create its game folder setting.",
                      error);
    }
    try {
        m_players.append(LoadPlayers(m_files));
    } catch (const FileError& error) {
        showFileError(m_ui, m_files, "Korvale could not load its list of players.", error);
    }
}

void FrmUT::closeEvent(QCloseEvent* event) {
    // Hidden, not deleted: a Play may be waiting in its event step on these lists.
    m_closed = true;
    event->accept();
}

void FrmUT::onUserPicked() {
    if (m_cboUsers->currentIndex() < 0) {
        m_ui.showMessage("Please Select a user from the list");
        return;
    }
    m_cboUserPass->setCurrentIndex(m_cboUsers->currentIndex());
}

void FrmUT::onRun() {
    m_play.PlayUT(ListPick(*m_cboUsers, *m_cboUserPass));
}

void FrmUT::onAddUser() {
    emit newPlayerRequested();
    m_cboUsers->update();
}

}  // namespace korvale
