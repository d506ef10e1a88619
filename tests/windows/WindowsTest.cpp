#include "WindowsTest.h"

#include <QComboBox>
#include <QMainWindow>
#include <QTest>

#include "windows/PasswordList.h"
#include "ui/QtText.h"

namespace korvale::test {

void WindowsTest::SetUp() {
    m_identities = std::make_unique<Identities>(Files(), &m_shortcuts);
    m_windows = std::make_unique<WindowManager>(Files(), *m_identities, m_ui, m_launcher);
}

void WindowsTest::TearDown() {
    m_windows.reset();
    m_identities.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(VisibleWindows().isEmpty())
        << VisibleWindows().join(u' ').toStdString();
    EXPECT_TRUE(m_ui.takeRecorded().empty()) << "a message no test looked at";
    TempFolders::TearDown();
}

void WindowsTest::Restart() {
    TearDown();
    std::filesystem::create_directories(ProgramDir());
    std::filesystem::create_directories(GameDir() / "System");
    ops().Clear();
    m_launcher = RecordingLauncher();
    SetUp();
}

void WindowsTest::Start() {
    m_windows->showMainWindow();
}

QWidget* WindowsTest::Open(std::string_view windowName) {
    if (windowName == "frmUT") {
        m_windows->showMainWindow();
    } else if (windowName == "frmuserpass") {
        m_windows->showNewPlayer();
    } else if (windowName == "frmSetDir") {
        m_windows->showGameFolder();
    } else {
        m_windows->showAbout();
    }
    return Window(windowName);
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
    for (const RecordingQtUi::Shown& shown : m_ui.takeRecorded()) {
        texts.push_back(shown.text.toStdString());
    }
    return texts;
}

QStringList WindowsTest::UserEntries() {
    QStringList entries;
    if (auto* users = Child<QComboBox>(MainWindow(), "cboUsers")) {
        for (int i = 0; i < users->count(); ++i) {
            entries.append(users->itemText(i));
        }
    }
    return entries;
}

QStringList WindowsTest::PasswordEntries() {
    QStringList entries;
    auto* passwords = Child<PasswordList>(MainWindow(), "cboUserPass");
    if (passwords == nullptr) {
        return entries;
    }
    // Its entries are as many as the names; each is read through a selection, put back after.
    const int selected = passwords->currentIndex();
    const auto names = static_cast<int>(UserEntries().size());
    for (int i = 0; i < names; ++i) {
        passwords->setCurrentIndex(i);
        entries.append(latin1ToQString(passwords->Text()));
    }
    passwords->setCurrentIndex(selected);
    return entries;
}

}  // namespace korvale::test
