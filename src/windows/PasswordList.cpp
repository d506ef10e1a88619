#include "windows/PasswordList.h"

#include <cstddef>

#include "windows/PlayerListModel.h"

namespace korvale {

PasswordList::PasswordList(const PlayerListModel& players, QObject* parent)
    : QObject(parent), m_players(players) {}

int PasswordList::currentIndex() const {
    return m_selected.isValid() ? m_selected.row() : -1;
}

void PasswordList::setCurrentIndex(int index) {
    m_selected = QPersistentModelIndex(m_players.index(index, 0));
}

std::string PasswordList::Text() const {
    if (!m_selected.isValid()) {
        return {};
    }
    return m_players.identities().at(static_cast<std::size_t>(m_selected.row())).password;
}

}  // namespace korvale
