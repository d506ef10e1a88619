#include "WindowsTest.h"

#include <QApplication>
#include <QComboBox>
#include <QMainWindow>
#include <QTest>

#include "windows/FrmAbout.h"
#include "windows/FrmSetDir.h"
#include "windows/FrmUT.h"
#include "windows/FrmUserPass.h"

namespace korvale::test {

void WindowsTest::SetUp() {
    TempFolders::SetUp();
    MessageBox::StartRecording();
    m_windows = std::make_unique<WindowManager>(Files(), m_ui, m_launcher);
}

void WindowsTest::TearDown() {
    m_windows.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(VisibleWindows().isEmpty()) << VisibleWindows().join(u' ').toStdString();
    EXPECT_TRUE(MessageBox::TakeRecorded().empty()) << "a message no test looked at";
    MessageBox::StopRecording();
    TempFolders::TearDown();
}

void WindowsTest::Start() {
    m_windows->ShowMainWindow();
}

QWidget* WindowsTest::Open(std::string_view windowName) {
    if (windowName == "frmUT") {
        m_windows->ShowMainWindow();
        return m_windows->MainWindow();
    }
    if (windowName == "frmuserpass") {
        m_windows->ShowNewPlayer();
        return m_windows->NewPlayerWindow();
    }
    if (windowName == "frmSetDir") {
        m_windows->ShowGameFolder();
        return m_windows->GameFolderWindow();
    }
    m_windows->ShowAbout();
    return m_windows->AboutWindow();
}

QWidget* WindowsTest::MainWindow() {
    return m_windows->MainWindow();
}

QWidget* WindowsTest::ClientArea(QWidget* window) {
    if (auto* main = qobject_cast<QMainWindow*>(window)) {
        return main->centralWidget();
    }
    return window;
}

void WindowsTest::Activate(QWidget* window) {
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
}

void WindowsTest::Click(QWidget* window, std::string_view button) {
    auto* control = Child<QPushButton>(window, button);
    ASSERT_NE(control, nullptr);
    QTest::mouseClick(control, Qt::LeftButton);
}

void WindowsTest::Type(QWidget* window, std::string_view box, const QString& text) {
    auto* edit = Child<QLineEdit>(window, box);
    ASSERT_NE(edit, nullptr);
    edit->clear();
    KeyClicks(edit, text);
}

void WindowsTest::KeyClicks(QWidget* widget, const QString& text) {
    for (const uint character : text.toUcs4()) {
        const auto point = static_cast<char32_t>(character);
        const QString key = QString::fromUcs4(&point, 1);
        if (character < 0x80) {
            QTest::keyClick(widget, key.at(0).toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, key, Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, key, Qt::NoModifier);
        }
    }
}

std::vector<std::string> WindowsTest::TakeMessageTexts() {
    std::vector<std::string> texts;
    for (const MessageBox::Shown& shown : MessageBox::TakeRecorded()) {
        texts.push_back(shown.text.toStdString());
    }
    return texts;
}

namespace {

QStringList Entries(QWidget* main, std::string_view list) {
    QStringList entries;
    if (auto* combo =
            main->findChild<QComboBox*>(QString::fromLatin1(list.data(), qsizetype(list.size())))) {
        for (int i = 0; i < combo->count(); ++i) {
            entries.append(combo->itemText(i));
        }
    }
    return entries;
}

}  // namespace

QStringList WindowsTest::UserEntries() {
    return Entries(MainWindow(), "cboUsers");
}

QStringList WindowsTest::PasswordEntries() {
    return Entries(MainWindow(), "cboUserPass");
}

QStringList WindowsTest::VisibleWindows() {
    QStringList names;
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible()) {
            names.append(window->objectName());
        }
    }
    names.sort();
    return names;
}

}  // namespace korvale::test
