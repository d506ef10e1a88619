#pragma once

#include <string>
#include <vector>

#include "platform/PlayerList.h"

namespace korvale::bench {

// A player list over a plain vector, so the benchmarks of the core measure the core.
class BenchPlayerList final : public PlayerList {
public:
    using PlayerList::Insert;
    void Insert(std::size_t index, std::span<const std::string> texts) override;
    std::size_t Count() const override { return m_entries.size(); }
    std::ptrdiff_t SelectedIndex() const override { return m_selected; }
    void SetSelectedIndex(std::ptrdiff_t index) override { m_selected = index; }
    std::string Text() const override;

private:
    std::vector<std::string> m_entries;
    std::ptrdiff_t m_selected = -1;
};

}  // namespace korvale::bench
