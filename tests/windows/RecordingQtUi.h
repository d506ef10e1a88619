#pragma once

#include <vector>

#include <QString>
#include <QStringList>

#include "windows/QtUiServices.h"

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
    // What was recorded since the last call, in order.
    std::vector<Shown> takeRecorded();

private:
    std::vector<Shown> m_recorded;
};

}  // namespace korvale::test
