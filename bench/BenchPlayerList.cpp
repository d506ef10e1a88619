#include "BenchPlayerList.h"

namespace korvale::bench {

void BenchPlayerList::Insert(std::size_t index, std::span<const std::string> texts) {
    m_entries.insert(m_entries.begin() + static_cast<std::ptrdiff_t>(index), texts.begin(),
                     texts.end());
}

std::string BenchPlayerList::Text() const {
    if (m_selected < 0 || static_cast<std::size_t>(m_selected) >= m_entries.size()) {
        return {};
    }
    return m_entries[static_cast<std::size_t>(m_selected)];
}

}  // namespace korvale::bench
