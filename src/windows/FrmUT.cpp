#include "windows/FrmUT.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>

#include "play/PlayCommand.h"
#include "settings/GameFolder.h"
#include "settings/PlayerFile.h"
#include "windows/ComboPlayerList.h"
#include "windows/FileErrorMessage.h"
#include "windows/PictureBackground.h"
#include "windows/WindowManager.h"

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

}  // namespace

const FormLayout& FrmUT::Layout() {
    return kLayout;
}

std::span<const MenuSpec> FrmUT::Menus() {
    return kMenus;
}

FrmUT::FrmUT(WindowManager& windows) : m_windows(windows) {
    ApplyWindowStyle(*this, kLayout);

    auto* client = new PictureBackground(QPixmap(ToQString(kBackgroundResource)), this);
    client->setFixedSize(TwipsToPixels(kLayout.clientWidth), TwipsToPixels(kLayout.clientHeight));
    BuildControls(kLayout, *client);
    setCentralWidget(client);
    BuildMenus();
    // The client area is fixed; the menu bar sits above it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    m_cboUsers = client->findChild<QComboBox*>(QStringLiteral("cboUsers"));
    m_cboUserPass = client->findChild<QComboBox*>(QStringLiteral("cboUserPass"));
    m_users = std::make_unique<ComboPlayerList>(*m_cboUsers);
    m_passwords = std::make_unique<ComboPlayerList>(*m_cboUserPass);

    // activated is a pick by the user: the mouse in the dropped-down list, or the arrow keys.
    connect(m_cboUsers, &QComboBox::activated, this, [this] { OnUserPicked(); });
    connect(client->findChild<QPushButton*>(QStringLiteral("cmdRun")), &QPushButton::clicked, this,
            [this] { OnRun(); });
    connect(client->findChild<QPushButton*>(QStringLiteral("cmdSetDir")), &QPushButton::clicked,
            this, [this] { m_windows.ShowGameFolder(); });
    connect(client->findChild<QPushButton*>(QStringLiteral("cmdAddUser")), &QPushButton::clicked,
            this, [this] { OnAddUser(); });
}

FrmUT::~FrmUT() = default;

void FrmUT::BuildMenus() {
    for (const MenuSpec& entry : kMenus) {
        QMenu* menu = menuBar()->addMenu(ToQString(entry.caption));
        menu->setObjectName(ToQString(entry.name));
        QAction* item = menu->addAction(ToQString(entry.itemCaption));
        item->setObjectName(ToQString(entry.itemName));
    }
    connect(findChild<QAction*>(QStringLiteral("Exit")), &QAction::triggered, this,
            [this] { m_windows.EndProgram(); });
    connect(findChild<QAction*>(QStringLiteral("About")), &QAction::triggered, this,
            [this] { m_windows.ShowAbout(); });
}

PlayerList& FrmUT::Users() {
    return *m_users;
}

PlayerList& FrmUT::Passwords() {
    return *m_passwords;
}

void FrmUT::Load() {
    const FileSystem& files = m_windows.Files();
    UiServices& ui = m_windows.Ui();
    SetDirIniPath(files);
    // A file that cannot be used is explained, and Korvale starts all the same.
    try {
        LoadUTDir(files, ui);
    } catch (const FileError& error) {
        ShowFileError(ui, files, "Korvale could not read or create its game folder setting.",
                      error);
    }
    try {
        LoadPlayers(files, *m_users, *m_passwords);
    } catch (const FileError& error) {
        ShowFileError(ui, files, "Korvale could not load its list of players.", error);
    }
}

void FrmUT::closeEvent(QCloseEvent* event) {
    // Hidden, not deleted: a Play may be waiting in its event step on these lists.
    m_closed = true;
    event->accept();
}

void FrmUT::OnUserPicked() {
    if (m_users->SelectedIndex() < 0) {
        m_windows.Ui().showMessage("Please Select a user from the list");
        return;
    }
    m_passwords->SetSelectedIndex(m_users->SelectedIndex());
}

void FrmUT::OnRun() {
    PlayUT(PlayServices{m_windows.Files(), m_windows.Ui(), m_windows.Launcher(), *m_users,
                        *m_passwords});
}

void FrmUT::OnAddUser() {
    m_windows.ShowNewPlayer();
    m_cboUsers->update();
    m_cboUserPass->update();
}

}  // namespace korvale
