#pragma once

#include <QCompleter>
#include <QStringList>

class QLineEdit;

namespace korvale {

// The game folders found on this host, offered under a text box the way completions are: the Down
// key drops the list, typing narrows it to the folders that begin with the text, and Down and
// Enter, or a click, put one into the box. What is typed is never replaced unasked. While the list
// is down, Alt with a button's access key still presses that button of the box's window.
class FolderOffer final : public QCompleter {
    Q_OBJECT

public:
    FolderOffer(const QStringList& folders, QLineEdit& box);

    // Drops the list: the folders that begin with the box's text, or all when none does.
    void drop();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit& m_box;
};

}  // namespace korvale
