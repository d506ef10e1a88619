#include "TextList.h"

#include <cstdio>
#include <cstdlib>

namespace korvale::fuzz {

void TextList::Insert(std::size_t index, std::span<const std::string> texts) {
    if (index > m_entries.size()) {
        std::fprintf(stderr, "insert at %zu into a list of %zu\n", index, m_entries.size());
        std::abort();
    }
    m_entries.insert(m_entries.begin() + static_cast<std::ptrdiff_t>(index), texts.begin(),
                     texts.end());
}

}  // namespace korvale::fuzz
