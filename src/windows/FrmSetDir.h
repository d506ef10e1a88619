#pragma once

#include <QWidget>

#include "platform/files/FileSystem.h"
#include "platform/ports/UiServices.h"
#include "settings/GameFolder.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace korvale {

// The Game folder dialog: shows the folder stored in UTDir.ini and saves a new one.
class FrmSetDir final : public QWidget {
    Q_OBJECT

public:
    FrmSetDir(GameFolder& folder, const FileSystem& files, UiServices& ui);

    // Opening: the stored folder replaces the initial text; a missing UTDir.ini is created empty.
    void load();

signals:
    // A new game folder is stored.
    void saved();

private:
    void onSave();

    GameFolder& m_gameFolder;
    const FileSystem& m_files;
    UiServices& m_ui;
    QLabel* m_label1;
    QLineEdit* m_txtUTDir;
    QPushButton* m_cmdDirSave;
    QPushButton* m_cmdExit;
};

}  // namespace korvale
