#pragma once

#include <string>
#include <vector>

#include "platform/PlayerList.h"

namespace korvale::fuzz {

// A player list over a plain vector.
class TextList final : public PlayerList {
public:
    using PlayerList::Insert;
    void Insert(std::size_t index, std::span<const std::string> texts) override;
    std::size_t Count() const override { return m_entries.size(); }
    std::ptrdiff_t SelectedIndex() const override { return -1; }
    void SetSelectedIndex(std::ptrdiff_t) override {}
    std::string Text() const override { return {}; }

    const std::vector<std::string>& Entries() const noexcept { return m_entries; }

private:
    std::vector<std::string> m_entries;
};

}  // namespace korvale::fuzz
