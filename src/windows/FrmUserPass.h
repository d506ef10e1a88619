#pragma once

#include <QWidget>

#include "windows/FormLayout.h"

class QLineEdit;

namespace korvale {

class WindowManager;

// The New player dialog: a player name and its ngStats password, checked, appended to User.ini
// and inserted into the main window's lists.
class FrmUserPass final : public QWidget {
    Q_OBJECT

public:
    explicit FrmUserPass(WindowManager& windows);

    static const FormLayout& Layout();

private:
    void OnSave();
    // The first message the typed texts call for; empty when they can be saved.
    QString Refusal(QString& detail) const;

    WindowManager& m_windows;
    QLineEdit* m_player = nullptr;
    QLineEdit* m_password = nullptr;
};

}  // namespace korvale
