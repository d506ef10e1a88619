#pragma once

#include <QWidget>

#include "windows/FormLayout.h"

class QLineEdit;

namespace korvale {

class WindowManager;

// The Game folder dialog: shows the folder stored in UTDir.ini and saves a new one.
class FrmSetDir final : public QWidget {
    Q_OBJECT

public:
    explicit FrmSetDir(WindowManager& windows);

    static const FormLayout& Layout();

    // Opening: the stored folder replaces the initial text; a missing UTDir.ini is created empty.
    void Load();

private:
    void OnSave();

    WindowManager& m_windows;
    QLineEdit* m_folder = nullptr;
};

}  // namespace korvale
