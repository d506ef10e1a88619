#pragma once

#include <cstddef>
#include <optional>

#include <QWidget>

#include "platform/files/FileSystem.h"
#include "platform/ports/UiServices.h"
#include "settings/Identities.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace korvale {

// The player dialog: a player name and its ngStats password, checked and handed to the
// identities. As the New player dialog it appends; as the Edit dialog of one entry (captioned
// "Edit UT User", its boxes filled) it replaces that entry.
class FrmUserPass final : public QWidget {
    Q_OBJECT

public:
    FrmUserPass(Identities& identities, const FileSystem& files, UiServices& ui);
    FrmUserPass(Identities& identities, const FileSystem& files, UiServices& ui, std::size_t index);

    // Puts the texts into the two boxes, as if typed.
    void fill(const QString& name, const QString& password);

private:
    void onSave();
    // Adds or changes the player; false when it was not.
    bool save(const Player& player);

    Identities& m_identities;
    const FileSystem& m_files;
    UiServices& m_ui;
    std::optional<std::size_t> m_editing;
    QLineEdit* m_txtUtPlayer;
    QLabel* m_label1;
    QLineEdit* m_txtUtPassword;
    QLabel* m_label2;
    QLabel* m_label3;
    QPushButton* m_cmdUTSavePlayer;
    QPushButton* m_cmdExit;
};

}  // namespace korvale
