#pragma once

#include <vector>

#include <QString>
#include <QStringList>

#include "platform/ports/UiServices.h"

namespace korvale {

// The services the core asks of the windows, on Qt: the one way Korvale shows a message (a box
// titled "Korvale" with no icon and one OK button, modal to the whole program, with an optional
// detail under the text), and the event step of Play. Made for tests, it records the messages
// instead of showing them, so that no test ever waits on a real box.
class QtUiServices final : public UiServices {
public:
    enum class Boxes { Show, Record };

    struct Shown {
        QString text;
        QString detail;
        QStringList visibleWindows;  // object names of the windows on screen at that moment
    };

    explicit QtUiServices(Boxes boxes = Boxes::Show) : m_boxes(boxes) {}

    void showMessage(std::string_view text, std::string_view detail = {}) override;
    // Runs the waiting window events; false once one of them has ended the program.
    bool processEvents() override;

    void setEnding() noexcept { m_ending = true; }
    // What was recorded since the last call, in order.
    std::vector<Shown> takeRecorded();

    // Object names of the top-level windows on screen, sorted.
    static QStringList visibleWindows();

private:
    Boxes m_boxes;
    std::vector<Shown> m_recorded;
    bool m_ending = false;
};

}  // namespace korvale
