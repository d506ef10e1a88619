#include "windows/QtUiServices.h"

#include <utility>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>

#include "windows/QtText.h"

namespace korvale {

void QtUiServices::showMessage(std::string_view text, std::string_view detail) {
    if (m_boxes == Boxes::Record) {
        m_recorded.push_back({toQString(text), toQString(detail), visibleWindows()});
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Korvale"), toQString(text),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.setObjectName(QStringLiteral("MessageBox"));
    box.setTextFormat(Qt::PlainText);
    box.setInformativeText(toQString(detail));
    // Names and paths are shown as they are, never read as markup.
    if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"))) {
        label->setTextFormat(Qt::PlainText);
    }
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

bool QtUiServices::processEvents() {
    QCoreApplication::processEvents();
    return !m_ending;
}

std::vector<QtUiServices::Shown> QtUiServices::takeRecorded() {
    return std::exchange(m_recorded, {});
}

QStringList QtUiServices::visibleWindows() {
    QStringList names;
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible()) {
            names.append(window->objectName());
        }
    }
    names.sort();
    return names;
}

}  // namespace korvale
