#pragma once

#include <memory>
#include <span>

#include <QMainWindow>

#include "platform/PlayerList.h"
#include "windows/FormLayout.h"

class QComboBox;

namespace korvale {

class ComboPlayerList;
class WindowManager;

// The main window: the player names to pick from, the Play button and the buttons that open the
// two dialogs. Owns the two parallel player lists.
class FrmUT final : public QMainWindow {
    Q_OBJECT

public:
    explicit FrmUT(WindowManager& windows);
    ~FrmUT() override;

    static const FormLayout& Layout();
    static std::span<const MenuSpec> Menus();

    // The start-up work, before the window is first shown: the game folder setting, then the
    // players.
    void Load();

    PlayerList& Users();
    PlayerList& Passwords();
    // Closed by the user: Korvale goes on while a dialog is open, but this window does not return.
    bool IsClosed() const noexcept { return m_closed; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void OnUserPicked();
    void OnRun();
    void OnAddUser();

    WindowManager& m_windows;
    QComboBox* m_cboUsers = nullptr;
    QComboBox* m_cboUserPass = nullptr;
    std::unique_ptr<ComboPlayerList> m_users;
    std::unique_ptr<ComboPlayerList> m_passwords;
    bool m_closed = false;
};

}  // namespace korvale
