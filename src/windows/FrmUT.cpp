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
#include "windows/PictureBackground.h"
#include "windows/PlayerCombo.h"
#include "windows/QtText.h"

namespace korvale {

namespace {

constexpr ControlSpec kControls[] = {
    {.name = "cboUsers",
     .kind = ControlKind::EditableList,
     .rect = {840, 840, 3495, 315},
     .tabOrder = 1},
    {.name = "cmdRun",
     .kind = ControlKind::PushButton,
     .text = "PLAY UNREAL TOURNAMENT",
     .rect = {120, 1320, 6495, 735},
     .tabOrder = 2,
     .font = FontSpec{.family = "Times New Roman", .points = 21.75}},
    {.name = "cmdSetDir",
     .kind = ControlKind::PushButton,
     .text = "&Set UT Dir",
     .rect = {4440, 120, 2175, 495},
     .tabOrder = 3},
    {.name = "cmdAddUser",
     .kind = ControlKind::PushButton,
     .text = "&Add UT User",
     .rect = {4440, 720, 2175, 495},
     .tabOrder = 4},
    {.name = "Label1",
     .kind = ControlKind::Label,
     .text = "UT User",
     .rect = {120, 840, 735, 255},
     .textColour = qRgb(255, 255, 255)},
    {.name = "cboUserPass", .kind = ControlKind::HiddenList},
};

constexpr FormLayout kLayout{
    .name = "frmUT",
    .title = "Korvale",
    .clientWidth = 6735,
    .clientHeight = 2130,
    .controls = kControls,
};

constexpr MenuSpec kMenus[] = {
    {.name = "File", .caption = "&File", .itemName = "Exit", .itemCaption = "&Exit"},
    {.name = "Help", .caption = "&Help", .itemName = "About", .itemCaption = "&About"},
};

// The pick as the lists show it when Play reads it.
class ComboPick final : public PlayerPick {
public:
    ComboPick(const QComboBox& users, const QComboBox& passwords)
        : m_users(users), m_passwords(passwords) {}

    std::ptrdiff_t selectedIndex() const override { return m_users.currentIndex(); }
    // Entries come from Latin-1 files and the edit box accepts only Latin-1.
    std::string name() const override { return toLatin1(m_users.currentText()).value_or(""); }
    std::string password() const override {
        return toLatin1(m_passwords.currentText()).value_or("");
    }

private:
    const QComboBox& m_users;
    const QComboBox& m_passwords;
};

}  // namespace

const FormLayout& FrmUT::formLayout() {
    return kLayout;
}

std::span<const MenuSpec> FrmUT::menus() {
    return kMenus;
}

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
    m_cboUserPass = &control<QComboBox>(*this, "cboUserPass");
    showPlayerColumn(*m_cboUsers, m_players, PlayerListModel::NameColumn);
    showPlayerColumn(*m_cboUserPass, m_players, PlayerListModel::PasswordColumn);

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
    m_play.PlayUT(ComboPick(*m_cboUsers, *m_cboUserPass));
}

void FrmUT::onAddUser() {
    emit newPlayerRequested();
    m_cboUsers->update();
    m_cboUserPass->update();
}

}  // namespace korvale
