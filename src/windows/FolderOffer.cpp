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
}

void FolderOffer::drop() {
    if (model()->rowCount() == 0) {
        return;
    }
    setCompletionPrefix(m_box.text());
    if (completionCount() == 0) {
        setCompletionPrefix({});
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
