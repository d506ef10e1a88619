#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "RecordingLauncher.h"
#include "RecordingQtUi.h"
#include "TempFolders.h"
#include "TopLevelWindows.h"
#include "platform/host/NativeShortcuts.h"
#include "settings/Identities.h"
#include "windows/WindowManager.h"

namespace korvale::test {

// Korvale's windows over a fresh program folder, with message boxes recorded instead of shown and
// a launcher that only records. Every test ends with no window left.
class WindowsTest : public TempFolders {
protected:
    void SetUp() override;
    void TearDown() override;
    // For the next row of a table: no windows, empty folders, no faults, a fresh program.
    void Restart();

    // Start-up: the main window is created, loads, and is shown.
    void Start();
    WindowManager& Windows() { return *m_windows; }
    RecordingQtUi& Ui() { return m_ui; }
    RecordingLauncher& Launcher() { return m_launcher; }

    // The window of that object name, shown the way the program shows it.
    QWidget* Open(std::string_view windowName);
    // The window of that object name, as it is now; null when there is none.
    static QWidget* Window(std::string_view windowName) { return TopLevelWindow(windowName); }
    static QWidget* MainWindow() { return Window("frmUT"); }
    // The area the window's layout table measures from.
    static QWidget* ClientArea(QWidget* window);

    template <typename Control>
    static Control* Child(QWidget* window, std::string_view name) {
        auto* control =
            window->findChild<Control*>(QString::fromUtf8(name.data(), qsizetype(name.size())));
        EXPECT_NE(control, nullptr) << "no control " << name;
        return control;
    }

    // Makes the window the active one, as a user's click on it would.
    static void Activate(QWidget* window);
    static void Click(QWidget* window, std::string_view button);
    // Types the text key by key, as a keyboard would; any character, not only ASCII.
    static void KeyClicks(QWidget* widget, const QString& text);
    // Empties a text box and types into it, key by key.
    static void Type(QWidget* window, std::string_view box, const QString& text);

    // Messages shown since the last call, "text" or "text | detail".
    std::vector<RecordingQtUi::Shown> TakeMessages() { return m_ui.takeRecorded(); }
    std::vector<std::string> TakeMessageTexts();

    // Both lists of the main window, entry by entry, one password for each name.
    QStringList UserEntries();
    QStringList PasswordEntries();

private:
    RecordingQtUi m_ui;
    RecordingLauncher m_launcher;
    // In the folder of the run's own that the suite's main sets.
    NativeShortcuts m_shortcuts = NativeShortcuts::forThisProgram("icon");
    std::unique_ptr<Identities> m_identities;
    std::unique_ptr<WindowManager> m_windows;
};

}  // namespace korvale::test
