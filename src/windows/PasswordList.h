#pragma once

#include <string>

#include <QObject>
#include <QPersistentModelIndex>

namespace korvale {

class PlayerListModel;

// cboUserPass: the passwords, entry i that of entry i of cboUsers. Its entries are the players'
// rows, inserted with their names and as many. Neither a widget nor a view, so neither the
// screen nor the accessibility layer can reach them. A selection stays on its entry when rows
// are inserted before it, as the name list's does.
class PasswordList final : public QObject {
    Q_OBJECT

public:
    PasswordList(const PlayerListModel& players, QObject* parent);

    // -1 when none is selected.
    int currentIndex() const;
    // An index outside the entries selects none.
    void setCurrentIndex(int index);
    // The selected entry, Latin-1; empty when none is selected.
    std::string Text() const;

private:
    const PlayerListModel& m_players;
    QPersistentModelIndex m_selected;
};

}  // namespace korvale
