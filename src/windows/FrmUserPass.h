#pragma once

#include <cstddef>

#include <QWidget>

#include "platform/files/FileSystem.h"
#include "platform/ports/UiServices.h"
#include "settings/Players.h"

class QLineEdit;

namespace korvale {

// The New player dialog: a player name and its ngStats password, checked and appended to
// User.ini; whoever shows the lists is told of the new player.
class FrmUserPass final : public QWidget {
    Q_OBJECT

public:
    FrmUserPass(const FileSystem& files, UiServices& ui);

signals:
    // Saved to User.ini; to be inserted at `index`, with the texts as typed (not trimmed).
    void playerSaved(std::size_t index, const korvale::Player& player);

private:
    void onSave();
    // The first message the typed texts call for; empty when they can be saved.
    QString refusal(QString& detail) const;

    const FileSystem& m_files;
    UiServices& m_ui;
    QLineEdit* m_player = nullptr;
    QLineEdit* m_password = nullptr;
};

}  // namespace korvale
