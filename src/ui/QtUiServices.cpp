#include "ui/QtUiServices.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>

#include "ui/QtText.h"

namespace korvale {

void QtUiServices::showMessage(std::string_view text, std::string_view detail) {
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

bool QtUiServices::askYesNo(std::string_view question) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Korvale"), toQString(question),
                    QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
    box.setObjectName(QStringLiteral("QuestionBox"));
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec() == QMessageBox::Yes;
}

bool QtUiServices::processEvents() {
    QCoreApplication::processEvents();
    return !m_ending;
}

}  // namespace korvale
