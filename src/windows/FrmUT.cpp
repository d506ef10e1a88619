#include "windows/FrmUT.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>

#include "platform/files/Text.h"
#include "play/GameIdentity.h"
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
    std::string name() const override {
        return qStringToLatin1(m_users.currentText()).value_or("");
    }
    std::string password() const override { return m_passwords.Text(); }

private:
    const QComboBox& m_users;
    const PasswordList& m_passwords;
};

}  // namespace

FrmUT::FrmUT(PlayerListModel& players, PlayerFile& playerFile, PlayCommand& play,
             GameFolder& folder, const FileSystem& files, const HostEnvironment& host,
             const Shortcuts& shortcuts, QtUiServices& ui)
    : m_players(players),
      m_playerFile(playerFile),
      m_play(play),
      m_folder(folder),
      m_files(files),
      m_host(host),
      m_shortcuts(shortcuts),
      m_ui(ui) {
    auto* client = new PictureBackground(QPixmap(toQString(kBackgroundResource)), this);
    buildWindow(*this, *client, kLayout);
    setCentralWidget(client);
    buildMenus();
    // The client area is fixed; the menu bar sits above it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    m_cboUsers = &control<PlayerCombo>(*this, "cboUsers");
    m_cboUsers->setModel(&m_players);
    m_cboUserPass = new PasswordList(m_players, this);
    m_cboUserPass->setObjectName(QStringLiteral("cboUserPass"));
    buildUserMenu();

    // activated is a pick by the user: the mouse in the dropped-down list, or the arrow keys.
    connect(m_cboUsers, &QComboBox::activated, this, &FrmUT::onUserPicked);
    connect(m_cboUsers, &PlayerCombo::menuRequested, this, &FrmUT::showUserMenu);
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

void FrmUT::buildUserMenu() {
    struct Item {
        std::string_view name;
        std::string_view caption;
        void (FrmUT::*action)();
        bool (FrmUT::*enabled)() const;
    };
    // In menu order; "&" marks the access key.
    static constexpr Item kItems[] = {
        {"mnuEditUser", "&Edit UT User...", &FrmUT::onEditUser, &FrmUT::hasPick},
        {"mnuRemoveUser", "&Remove UT User...", &FrmUT::onRemoveUser, &FrmUT::hasPick},
        {"mnuMoveUp", "Move &Up", &FrmUT::onMoveUp, &FrmUT::pickNotFirst},
        {"mnuMoveDown", "Move &Down", &FrmUT::onMoveDown, &FrmUT::pickNotLast},
        {"mnuAddGamePlayer", "Add the &Game's Player...", &FrmUT::onAddGamePlayer,
         &FrmUT::gameHasProfile},
        {"mnuCreateShortcut", "Create &Shortcut", &FrmUT::onCreateShortcut, &FrmUT::hasPick},
    };
    m_userMenu = new QMenu(this);
    m_userMenu->setObjectName(QStringLiteral("mnuUsers"));
    for (const Item& item : kItems) {
        QAction* action = m_userMenu->addAction(toQString(item.caption));
        action->setObjectName(toQString(item.name));
        connect(action, &QAction::triggered, this, item.action);
        // Enabled as things are when the menu opens.
        connect(m_userMenu, &QMenu::aboutToShow, action,
                [this, action, enabled = item.enabled] { action->setEnabled((this->*enabled)()); });
    }
}

void FrmUT::showUserMenu(const QPoint& position) {
    m_userMenu->popup(position);
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
        m_players.append(m_playerFile.load());
    } catch (const FileError& error) {
        showFileError(m_ui, m_files, "Korvale could not load its list of players.", error);
    }
    showGameIdentity();
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
    showGameIdentity();
}

void FrmUT::onAddUser() {
    emit newPlayerRequested();
    m_cboUsers->update();
}

void FrmUT::onEditUser() {
    if (hasPick()) {
        emit editPlayerRequested(static_cast<std::size_t>(m_cboUsers->currentIndex()));
    }
}

void FrmUT::onRemoveUser() {
    const int row = m_cboUsers->currentIndex();
    if (row < 0) {
        return;
    }
    const QString question =
        QStringLiteral("Remove the UT User %1?").arg(m_cboUsers->itemText(row));
    const auto index = static_cast<std::size_t>(row);
    if (!m_ui.askYesNo(question.toStdString()) ||
        !changePlayerFile(m_ui, [&] { return m_playerFile.remove(index); })) {
        return;
    }
    // A shortcut of an identity gone would only say that it is gone.
    changeShortcut(m_ui, [&] { m_shortcuts.remove(trim(m_players.players().at(index).name)); });
    m_players.remove(index);
    // The list would pick a neighbour of the entry gone; nothing is picked.
    m_cboUsers->setCurrentIndex(-1);
    m_cboUserPass->setCurrentIndex(-1);
}

void FrmUT::onMoveUp() {
    move(-1);
}

void FrmUT::onMoveDown() {
    move(1);
}

void FrmUT::move(int step) {
    const int row = m_cboUsers->currentIndex();
    const int other = row + step;
    if (row < 0 || other < 0 || other >= m_cboUsers->count()) {
        return;
    }
    const auto first = static_cast<std::size_t>(std::min(row, other));
    if (changePlayerFile(m_ui, [&] { return m_playerFile.swapWithNext(first); })) {
        m_players.swapWithNext(first);  // both lists' selections follow their entries
    }
}

void FrmUT::onAddGamePlayer() {
    if (const std::optional<GameIdentity> game = readGameIdentity(m_files, m_folder, m_host)) {
        emit gamePlayerRequested(toQString(game->name.value_or("")),
                                 toQString(game->secret.value_or("")));
    }
}

void FrmUT::onCreateShortcut() {
    if (!hasPick()) {
        return;
    }
    // Named as the file holds it, which is what `--play` looks for.
    const std::string_view name =
        trim(m_players.players().at(static_cast<std::size_t>(m_cboUsers->currentIndex())).name);
    changeShortcut(m_ui, [&] {
        const std::filesystem::path made = m_shortcuts.make(name);
        m_ui.showMessage(
            QStringLiteral("The shortcut to play as %1 was made:").arg(latin1ToQString(name)).toStdString(),
            QDir::toNativeSeparators(QString::fromStdU16String(made.u16string())).toStdString());
    });
}

void FrmUT::showGameIdentity() {
    m_cboUsers->keepPick(
        [this] { m_players.setGameIdentity(readGameIdentity(m_files, m_folder, m_host)); });
}

bool FrmUT::hasPick() const {
    return m_cboUsers->currentIndex() >= 0;
}

bool FrmUT::pickNotFirst() const {
    return m_cboUsers->currentIndex() > 0;
}

bool FrmUT::pickNotLast() const {
    return hasPick() && m_cboUsers->currentIndex() + 1 < m_cboUsers->count();
}

bool FrmUT::gameHasProfile() const {
    return readGameIdentity(m_files, m_folder, m_host).has_value();
}

}  // namespace korvale
