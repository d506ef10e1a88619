#include "windows/PlayerCombo.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

#include "windows/TypedText.h"

namespace korvale {

namespace {

constexpr char kMenuHint[] = "Right-click for more";

// The combo's text box: the ends of typing, where QComboBox looks for an entry with the typed
// text, leave the pick as it was.
class NameEdit final : public QLineEdit {
public:
    explicit NameEdit(PlayerCombo& combo) : QLineEdit(&combo), m_combo(combo) {
        setValidator(new Latin1Validator(this));
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            m_combo.keepPick([&] { QLineEdit::keyPressEvent(event); });
        } else {
            QLineEdit::keyPressEvent(event);
        }
    }
    void focusOutEvent(QFocusEvent* event) override {
        m_combo.keepPick([&] { QLineEdit::focusOutEvent(event); });
    }

private:
    PlayerCombo& m_combo;
};

}  // namespace

PlayerCombo::PlayerCombo(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setLineEdit(new NameEdit(*this));
    setInsertPolicy(QComboBox::NoInsert);
    setDuplicatesEnabled(true);
    setCompleter(nullptr);
    // The box's width is designed; measuring thousands of entries for a size hint is wasted.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    // With a placeholder, rows added to an empty list leave it unselected, as documented; an
    // editable combo draws its text box instead, so the placeholder is never seen.
    setPlaceholderText(QString::fromUtf8(kMenuHint));
    setToolTip(QString::fromUtf8(kMenuHint));
    // Text the user changes is no pick: Play then asks for one, rather than playing the typed name
    // with the password of the entry picked before.
    connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        if (currentIndex() < 0) {
            return;
        }
        const int cursor = lineEdit()->cursorPosition();
        setCurrentIndex(-1);
        setEditText(text);
        lineEdit()->setCursorPosition(cursor);
    });
}

void PlayerCombo::setModel(QAbstractItemModel* model) {
    QComboBox::setModel(model);
    connect(model, &QAbstractItemModel::modelReset, this, [this] { setCurrentIndex(-1); });
}

void PlayerCombo::keepPick(const std::function<void()>& change) {
    const int picked = currentIndex();
    const QString text = currentText();
    const QSignalBlocker quiet(this);
    change();
    if (currentIndex() != picked) {
        setCurrentIndex(picked);
    }
    if (currentText() != text) {
        setEditText(text);
    }
}

void PlayerCombo::contextMenuEvent(QContextMenuEvent* event) {
    // From the keyboard, the menu opens under the box rather than at the mouse.
    emit menuRequested(event->reason() == QContextMenuEvent::Mouse
                           ? event->globalPos()
                           : mapToGlobal(rect().bottomLeft()));
    event->accept();
}

void PlayerCombo::keyPressEvent(QKeyEvent* event) {
    // Shift+F10 asks for the menu as the Menu key does; X11 hosts make no menu event of it.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        emit menuRequested(mapToGlobal(rect().bottomLeft()));
        return;
    }
    QComboBox::keyPressEvent(event);
}

}  // namespace korvale
