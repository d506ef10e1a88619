#include "windows/PlayerCombo.h"

#include <memory>

#include <QComboBox>
#include <QLineEdit>

#include "windows/Latin1Validator.h"
#include "windows/PlayerListModel.h"

namespace korvale {

void showPlayerNames(QComboBox& combo, PlayerListModel& model) {
    combo.setModel(&model);
    combo.setEditable(true);
    combo.setInsertPolicy(QComboBox::NoInsert);
    combo.setDuplicatesEnabled(true);
    combo.setCompleter(nullptr);
    // The box's width is designed; measuring thousands of entries for a size hint is wasted.
    combo.setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    if (QLineEdit* edit = combo.lineEdit()) {
        // QComboBox selects an entry whose text was typed exactly, when the edit box loses the
        // focus or Enter is pressed. A pick is the user's choice in the list, never typing.
        QObject::disconnect(edit, &QLineEdit::editingFinished, &combo, nullptr);
        QObject::disconnect(edit, &QLineEdit::returnPressed, &combo, nullptr);
        edit->setValidator(new Latin1Validator(edit));
    }
    // An empty QComboBox selects the first rows inserted into it; the player lists stay
    // unselected until the user picks. Connected after the combo's own handler, so runs after it.
    struct Before {
        int selected = -1;
        QString typed;
    };
    auto before = std::make_shared<Before>();
    QObject::connect(&model, &QAbstractItemModel::rowsAboutToBeInserted, &combo, [&combo, before] {
        *before = {combo.currentIndex(), combo.currentText()};
    });
    QObject::connect(&model, &QAbstractItemModel::rowsInserted, &combo, [&combo, before] {
        if (before->selected < 0 && combo.currentIndex() >= 0) {
            combo.setCurrentIndex(-1);
            combo.setEditText(before->typed);
        }
    });
}

}  // namespace korvale
