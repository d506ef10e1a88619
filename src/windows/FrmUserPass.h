#pragma once

#include <cstddef>
#include <optional>

#include <QWidget>

#include "platform/files/FileSystem.h"
#include "platform/ports/UiServices.h"
#include "settings/PlayerFile.h"
#include "settings/Players.h"

class QLineEdit;

namespace korvale {

// The player dialog: a player name and its ngStats password, checked and written to User.ini;
// whoever shows the lists is told of the player saved. As the New player dialog it appends; as
// the Edit dialog of one entry (captioned "Edit UT User", its boxes filled) it replaces that
// entry's record.
class FrmUserPass final : public QWidget {
    Q_OBJECT

public:
    FrmUserPass(PlayerFile& playerFile, const FileSystem& files, UiServices& ui);
    FrmUserPass(PlayerFile& playerFile, const FileSystem& files, UiServices& ui, std::size_t index,
                const Player& player);

    // Puts the texts into the two boxes, as if typed.
    void fill(const QString& name, const QString& password);

signals:
    // Saved to User.ini; to be inserted at `index`, with the texts as typed (not trimmed).
    void playerSaved(std::size_t index, const korvale::Player& player);
    // The record of the entry at `index` replaced; the entry to be replaced with the texts as
    // typed.
    void playerEdited(std::size_t index, const korvale::Player& player);

private:
    void onSave();
    // Writes the player to User.ini and tells of it; false when it was not written.
    bool save(const Player& player);

    PlayerFile& m_playerFile;
    const FileSystem& m_files;
    UiServices& m_ui;
    std::optional<std::size_t> m_editing;
    QLineEdit* m_player = nullptr;
    QLineEdit* m_password = nullptr;
};

}  // namespace korvale
