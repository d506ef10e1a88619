#pragma once

#include <vector>

#include <QString>
#include <QStringList>

#include "ui/QtUiServices.h"

namespace korvale::test {

// Korvale's Qt services with the message boxes recorded instead of shown, so that no test ever
// waits on a real box; the event step is the real one.
class RecordingQtUi final : public QtUiServices {
public:
    struct Shown {
        QString text;
        QString detail;
        QStringList visibleWindows;  // object names of the windows on screen at that moment
    };

    void showMessage(std::string_view text, std::string_view detail = {}) override;
    // Recorded as a message; answered with the answer set last (No when none was).
    bool askYesNo(std::string_view question) override;
    void setAnswer(bool yes) { m_answer = yes; }
    // What was recorded since the last call, in order.
    std::vector<Shown> takeRecorded();

private:
    std::vector<Shown> m_recorded;
    bool m_answer = false;
};

}  // namespace korvale::test
