#pragma once

#include <functional>

#include <QComboBox>

namespace korvale {

// cboUsers: an editable view of the players' names, whose selection is the user's pick alone.
// The arrow keys and the dropped-down list pick; typing never does (QComboBox would select an
// entry whose text was typed, on Enter or when the box loses the focus) and any change the user
// makes to the text drops the pick; the list never grows from what is typed, and rows added to
// the list select nothing. Its menu is asked for by a right
// click on it or its text box, or by the Menu key or Shift+F10 while it has the focus; the text
// box keeps its editing keys.
class PlayerCombo final : public QComboBox {
    Q_OBJECT

public:
    explicit PlayerCombo(QWidget* parent);

    // A list loaded anew selects nothing, as QComboBox would select its first entry.
    void setModel(QAbstractItemModel* model) override;

    // Runs `change`; then the selection and the text are what they were before it. The combo's
    // own signals are held back meanwhile, so no one takes the change for a pick.
    void keepPick(const std::function<void()>& change);

signals:
    // Where to show the menu, in global coordinates.
    void menuRequested(const QPoint& position);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace korvale
