#include "TopLevelWindows.h"

#include <QApplication>
#include <QWidget>

namespace korvale::test {

QStringList VisibleWindows() {
    QStringList names;
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible()) {
            names.append(window->objectName());
        }
    }
    names.sort();
    return names;
}

QWidget* TopLevelWindow(std::string_view name) {
    const QString wanted = QString::fromUtf8(name.data(), qsizetype(name.size()));
    // A closed dialog waits to be deleted while the next one may already be shown.
    QWidget* found = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == wanted) {
            if (window->isVisible()) {
                return window;
            }
            found = window;
        }
    }
    return found;
}

}  // namespace korvale::test
