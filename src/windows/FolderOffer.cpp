#include "windows/FolderOffer.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStringListModel>

namespace korvale {

FolderOffer::FolderOffer(const QStringList& folders, QLineEdit& box)
    : QCompleter(new QStringListModel(folders, &box), &box), m_box(box) {
    setCaseSensitivity(Qt::CaseInsensitive);  // as Windows' folders are
    m_box.setCompleter(this);
    m_box.installEventFilter(this);
    // What is typed narrows the list again (before the box asks for completions).
    connect(&m_box, &QLineEdit::textEdited, this,
            [this] { setCompletionMode(QCompleter::PopupCompletion); });
}

void FolderOffer::drop() {
    if (model()->rowCount() == 0) {
        return;
    }
    // The box's text stays what the list gives back when the player moves off it; when no folder
    // begins with it, every folder is offered.
    setCompletionPrefix(m_box.text());
    if (completionCount() == 0) {
        setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    }
    complete();
}

bool FolderOffer::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QCompleter::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (watched == &m_box && key->key() == Qt::Key_Down && !popup()->isVisible()) {
        drop();
        return true;
    }
    // The popup holds the keyboard, and with it the window's access keys.
    if (watched == popup() && key->modifiers() == Qt::AltModifier) {
        const QKeySequence pressed(key->keyCombination());
        for (QAbstractButton* button : m_box.window()->findChildren<QAbstractButton*>()) {
            if (QKeySequence::mnemonic(button->text()) == pressed) {
                popup()->hide();
                button->animateClick();
                return true;
            }
        }
    }
    return QCompleter::eventFilter(watched, event);
}

}  // namespace korvale
