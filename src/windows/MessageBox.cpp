#include "windows/MessageBox.h"

#include <utility>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>

namespace korvale {

namespace {

struct Recording {
    bool on = false;
    std::vector<MessageBox::Shown> shown;
};

Recording& TheRecording() {
    static Recording recording;
    return recording;
}

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

}  // namespace

void MessageBox::Show(const QString& text, const QString& detail) {
    Recording& recording = TheRecording();
    if (recording.on) {
        recording.shown.push_back({text, detail, VisibleWindows()});
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Korvale"), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setObjectName(QStringLiteral("MessageBox"));
    box.setTextFormat(Qt::PlainText);
    box.setInformativeText(detail);
    // Names and paths are shown as they are, never read as markup.
    if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"))) {
        label->setTextFormat(Qt::PlainText);
    }
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

void MessageBox::StartRecording() {
    TheRecording().on = true;
    TheRecording().shown.clear();
}

void MessageBox::StopRecording() {
    TheRecording().on = false;
    TheRecording().shown.clear();
}

std::vector<MessageBox::Shown> MessageBox::TakeRecorded() {
    return std::exchange(TheRecording().shown, {});
}

}  // namespace korvale
