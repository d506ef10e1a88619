#pragma once

#include "platform/PlayerList.h"

class QComboBox;

namespace korvale {

class Latin1ListModel;

// One of the two player lists, over an editable QComboBox. Only a user's pick selects an entry:
// typing never does, and the list never grows from what is typed.
class ComboPlayerList final : public PlayerList {
public:
    explicit ComboPlayerList(QComboBox& combo);

    using PlayerList::Insert;
    void Insert(std::size_t index, std::span<const std::string> texts) override;
    std::size_t Count() const override;
    std::ptrdiff_t SelectedIndex() const override;
    void SetSelectedIndex(std::ptrdiff_t index) override;
    std::string Text() const override;

private:
    QComboBox* m_combo;
    Latin1ListModel* m_model;  // owned by the combo box
};

}  // namespace korvale
