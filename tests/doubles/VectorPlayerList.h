#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/PlayerList.h"

namespace korvale::test {

// A player list over a plain vector: what the combo boxes are to the core, without a display.
// Tests, fuzz targets and benchmarks share it.
class VectorPlayerList final : public PlayerList {
public:
    VectorPlayerList() = default;
    explicit VectorPlayerList(std::vector<std::string> entries) : m_entries(std::move(entries)) {}

    using PlayerList::Insert;
    // An index past the end breaks the list's contract: it throws std::out_of_range.
    void Insert(std::size_t index, std::span<const std::string> texts) override;
    std::size_t Count() const override { return m_entries.size(); }
    std::ptrdiff_t SelectedIndex() const override { return m_selected; }
    // A pick: the edit box then shows the picked entry.
    void SetSelectedIndex(std::ptrdiff_t index) override;
    std::string Text() const override;

    // What the user typed into the edit box, over the picked entry.
    void Type(std::string text) { m_typed = std::move(text); }
    const std::vector<std::string>& Entries() const noexcept { return m_entries; }

private:
    std::vector<std::string> m_entries;
    std::ptrdiff_t m_selected = -1;
    std::optional<std::string> m_typed;
};

}  // namespace korvale::test
