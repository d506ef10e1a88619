#include "windows/ComboPlayerList.h"

#include <algorithm>

#include <QComboBox>
#include <QLineEdit>

#include "windows/Latin1ListModel.h"
#include "windows/Latin1Validator.h"
#include "windows/QtText.h"

namespace korvale {

ComboPlayerList::ComboPlayerList(QComboBox& combo)
    : m_combo(&combo), m_model(new Latin1ListModel(&combo)) {
    m_combo->setModel(m_model);
    m_combo->setEditable(true);
    m_combo->setInsertPolicy(QComboBox::NoInsert);
    m_combo->setDuplicatesEnabled(true);
    m_combo->setCompleter(nullptr);
    // The box's width is designed; measuring thousands of entries for a size hint is wasted.
    m_combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    if (QLineEdit* edit = m_combo->lineEdit()) {
        // QComboBox selects an entry whose text was typed exactly, when the edit box loses the
        // focus or Enter is pressed. A pick is the user's choice in the list, never typing.
        QObject::disconnect(edit, &QLineEdit::editingFinished, m_combo, nullptr);
        QObject::disconnect(edit, &QLineEdit::returnPressed, m_combo, nullptr);
        edit->setValidator(new Latin1Validator(edit));
    }
}

void ComboPlayerList::Insert(std::size_t index, std::span<const std::string> texts) {
    const int at = static_cast<int>(std::min(index, Count()));
    const int selectedBefore = m_combo->currentIndex();
    const QString typed = m_combo->currentText();
    m_model->InsertTexts(at, texts);
    // An empty QComboBox selects the first entry inserted into it; these lists stay unselected
    // until the user picks, and keep what was typed.
    if (selectedBefore < 0 && m_combo->currentIndex() >= 0) {
        m_combo->setCurrentIndex(-1);
        m_combo->setEditText(typed);
    }
}

std::size_t ComboPlayerList::Count() const {
    return static_cast<std::size_t>(m_combo->count());
}

std::ptrdiff_t ComboPlayerList::SelectedIndex() const {
    return m_combo->currentIndex();
}

void ComboPlayerList::SetSelectedIndex(std::ptrdiff_t index) {
    m_combo->setCurrentIndex(static_cast<int>(index));
}

std::string ComboPlayerList::Text() const {
    // Entries come from Latin-1 files and the edit box accepts only Latin-1.
    const QByteArray bytes = m_combo->currentText().toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace korvale
