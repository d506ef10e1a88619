#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QWidget>

#include "platform/files/FileSystem.h"
#include "platform/ports/UiServices.h"
#include "settings/GameFolder.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace korvale {
class FolderOffer;
}

namespace korvale {

// The Game folder dialog: shows the folder stored in UTDir.ini and saves a new one, offering the
// games found on this host (UTF-8 folders from `findGames`, asked once it is shown).
class FrmSetDir final : public QWidget {
    Q_OBJECT

public:
    using FindGames = std::function<std::vector<std::string>()>;
    FrmSetDir(GameFolder& folder, const FileSystem& files, UiServices& ui, FindGames findGames);

    // Opening: the stored folder replaces the initial text; a missing UTDir.ini is created empty.
    // The games found are offered, dropped down at once when no folder is stored.
    void load();

signals:
    // A new game folder is stored.
    void saved();

protected:
    void changeEvent(QEvent* event) override;

private:
    void onSave();
    // Drops the games found, once, when no folder is stored.
    void dropOffer();

    GameFolder& m_gameFolder;
    const FileSystem& m_files;
    UiServices& m_ui;
    FindGames m_findGames;
    QLabel* m_label1;
    QLineEdit* m_txtUTDir;
    QPushButton* m_cmdDirSave;
    QPushButton* m_cmdExit;
    FolderOffer* m_offer = nullptr;
    bool m_dropWhenActive = false;
};

}  // namespace korvale
