#include "VectorPlayerList.h"

#include <stdexcept>
#include <string>

namespace korvale::test {

void VectorPlayerList::Insert(std::size_t index, std::span<const std::string> texts) {
    if (index > m_entries.size()) {
        throw std::out_of_range("insert at " + std::to_string(index) + " into a list of " +
                                std::to_string(m_entries.size()));
    }
    m_entries.insert(m_entries.begin() + static_cast<std::ptrdiff_t>(index), texts.begin(),
                     texts.end());
}

void VectorPlayerList::SetSelectedIndex(std::ptrdiff_t index) {
    m_selected = index;
    m_typed.reset();
}

std::string VectorPlayerList::Text() const {
    if (m_typed) {
        return *m_typed;
    }
    if (m_selected >= 0 && static_cast<std::size_t>(m_selected) < m_entries.size()) {
        return m_entries[static_cast<std::size_t>(m_selected)];
    }
    return {};
}

}  // namespace korvale::test
