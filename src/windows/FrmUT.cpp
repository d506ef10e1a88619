#include "windows/FrmUT.h"

#include <optional>
#include <string>
#include <string_view>

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>

#include "platform/files/Text.h"
#include "play/GameIdentity.h"
#include "settings/FileErrorMessage.h"
#include "windows/FormLayout.h"
#include "windows/PasswordList.h"
#include "windows/PictureBackground.h"
#include "windows/PlayerCombo.h"
#include "windows/PlayerListModel.h"
#include "ui/QtText.h"

namespace korvale {

namespace {

// One row a control, as the window was designed: name, text, {left, top, width, height} in
// twips, tab order (0: takes no focus), then font, alignment, word wrap and text colour.
constexpr FontSpec kPlayFont{.family = "Times New Roman", .points = 21.75};
constexpr QRgb kWhite = qRgb(255, 255, 255);

// clang-format off
constexpr ControlSpec kControls[] = {
    {"cboUsers", {}, {840, 840, 3495, 315}, 1},
    {"cmdRun", "PLAY UNREAL TOURNAMENT", {120, 1320, 6495, 735}, 2, kPlayFont},
    {"cmdSetDir", "&Set UT Dir", {4440, 120, 2175, 495}, 3},
    {"cmdAddUser", "&Add UT User", {4440, 720, 2175, 495}, 4},
    {"Label1", "UT User", {120, 840, 735, 255}, 0, {}, Qt::AlignLeft, false, kWhite},
};
// clang-format on

// Name, title, client area width and height in twips, controls.
constexpr FormLayout kLayout{"frmUT", "Korvale", 6735, 2130, kControls};

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

FrmUT::FrmUT(PlayerListModel& players, Identities& identities, PlayCommand& play,
             GameFolder& folder, const FileSystem& files, const HostEnvironment& host,
             QtUiServices& ui)
    : m_players(players),
      m_identities(identities),
      m_play(play),
      m_folder(folder),
      m_files(files),
      m_host(host),
      m_ui(ui) {
    auto* client = new PictureBackground(QPixmap(toQString(kBackgroundResource)), this);
    m_cboUsers = new PlayerCombo(client);
    m_cmdRun = new QPushButton(client);
    m_cmdSetDir = new QPushButton(client);
    m_cmdAddUser = new QPushButton(client);
    m_label1 = new QLabel(client);
    buildWindow(*this, *client, kLayout, {m_cboUsers, m_cmdRun, m_cmdSetDir, m_cmdAddUser, m_label1});
    m_label1->setBuddy(m_cboUsers);  // names the list to screen readers
    setCentralWidget(client);
    buildMenus();
    // The client area is fixed; the menu bar sits above it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    m_cboUsers->setModel(&m_players);
    m_cboUserPass = new PasswordList(m_players, this);
    m_cboUserPass->setObjectName(QStringLiteral("cboUserPass"));
    buildUserMenu();

    // activated is a pick by the user: the mouse in the dropped-down list, or the arrow keys.
    connect(m_cboUsers, &QComboBox::activated, this, &FrmUT::onUserPicked);
    connect(m_cboUsers, &PlayerCombo::menuRequested, m_userMenu,
            [this](const QPoint& position) { m_userMenu->popup(position); });
    connect(m_cmdRun, &QPushButton::clicked, this, &FrmUT::onRun);
    connect(m_cmdSetDir, &QPushButton::clicked, this, &FrmUT::gameFolderRequested);
    connect(m_cmdAddUser, &QPushButton::clicked, this, &FrmUT::onAddUser);
}

void FrmUT::buildMenus() {
    // Menu and item, each with its name and caption, as designed.
    const auto add = [this](const char* name, const char* caption, const char* itemName,
                            const char* itemCaption, void (FrmUT::*action)()) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(caption));
        menu->setObjectName(QString::fromUtf8(name));
        QAction* item = menu->addAction(QString::fromUtf8(itemCaption));
        item->setObjectName(QString::fromUtf8(itemName));
        connect(item, &QAction::triggered, this, action);
    };
    add("File", "&File", "Exit", "&Exit", &FrmUT::exitRequested);
    add("Help", "&Help", "About", "&About", &FrmUT::aboutRequested);
}

void FrmUT::buildUserMenu() {
    struct Item {
        std::string_view name;
        std::string_view caption;
        std::function<void()> action;
        std::function<bool()> enabled;
    };
    const auto picked = [this] { return pick() >= 0; };
    // An item acts on the entry picked when it runs, and only on one.
    const auto onPick = [this](std::function<void()> action) {
        return [this, action = std::move(action)] {
            if (pick() >= 0) {
                action();
            }
        };
    };
    // In menu order; "&" marks the access key.
    const Item items[] = {
        {"mnuEditUser", "&Edit UT User...",
         onPick([this] { emit editPlayerRequested(std::size_t(pick())); }), picked},
        {"mnuRemoveUser", "&Remove UT User...", onPick([this] { onRemoveUser(); }), picked},
        {"mnuMoveUp", "Move &Up", onPick([this] { move(-1); }), [this] { return pick() > 0; }},
        {"mnuMoveDown", "Move &Down", onPick([this] { move(1); }),
         [this] { return pick() >= 0 && pick() + 1 < m_cboUsers->count(); }},
        {"mnuAddGamePlayer", "Add the &Game's Player...", [this] { onAddGamePlayer(); },
         [this] { return readGameIdentity(m_files, m_folder, m_host).has_value(); }},
        {"mnuCreateShortcut", "Create &Shortcut", onPick([this] { onCreateShortcut(); }), picked},
    };
    m_userMenu = new QMenu(this);
    m_userMenu->setObjectName(QStringLiteral("mnuUsers"));
    for (const Item& item : items) {
        QAction* action = m_userMenu->addAction(toQString(item.caption));
        action->setObjectName(toQString(item.name));
        connect(action, &QAction::triggered, this, item.action);
        // Enabled as things are when the menu opens.
        connect(m_userMenu, &QMenu::aboutToShow, action,
                [action, enabled = item.enabled] { action->setEnabled(enabled()); });
    }
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
        m_identities.LoadPlayers();
    } catch (const FileError& error) {
        showFileError(m_ui, m_files, "Korvale could not load its list of players.", error);
    }
    showGameIdentity();
}

void FrmUT::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        showGameIdentity();
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
    showGameIdentity();
}

void FrmUT::onAddUser() {
    emit newPlayerRequested();
    m_cboUsers->update();
}

bool FrmUT::report(const std::function<Refusal()>& change) {
    try {
        const Refusal refused = change();
        if (!refused) {
            return true;
        }
        m_ui.showMessage(*refused);
    } catch (const FileError& error) {
        m_ui.showMessage("Error", error.what());
    }
    return false;
}

void FrmUT::onRemoveUser() {
    const int row = pick();
    const QString question =
        QStringLiteral("Remove the UT User %1?").arg(m_cboUsers->itemText(row));
    if (!m_ui.askYesNo(question.toStdString())) {
        return;
    }
    if (report([&] { return m_identities.remove(std::size_t(row)); })) {
        // The list would pick a neighbour of the entry gone; nothing is picked.
        m_cboUsers->setCurrentIndex(-1);
        m_cboUserPass->setCurrentIndex(-1);
    }
}

void FrmUT::move(int step) {
    const int row = pick();
    const int other = row + step;
    if (other < 0 || other >= m_cboUsers->count()) {
        return;
    }
    // Both lists' selections follow their entries.
    report([&] { return m_identities.swapWithNext(std::size_t(std::min(row, other))); });
}

void FrmUT::onAddGamePlayer() {
    if (const std::optional<GameIdentity> game = readGameIdentity(m_files, m_folder, m_host)) {
        emit gamePlayerRequested(toQString(game->name.value_or("")),
                                 toQString(game->secret.value_or("")));
    }
}

void FrmUT::onCreateShortcut() {
    std::string where;
    report([&]() -> Refusal {
        if (Refusal refused = m_identities.makeShortcut(std::size_t(pick()), where)) {
            return refused;
        }
        const std::string name(trim(m_identities.at(std::size_t(pick())).name));
        m_ui.showMessage("The shortcut to play as " + latin1ToUtf8(name) + " was made:", where);
        return std::nullopt;
    });
}

void FrmUT::showGameIdentity() {
    m_cboUsers->keepPick(
        [this] { m_players.setGameIdentity(readGameIdentity(m_files, m_folder, m_host)); });
}

int FrmUT::pick() const {
    return m_cboUsers->currentIndex();
}

}  // namespace korvale
