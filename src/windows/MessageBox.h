#pragma once

#include <vector>

#include <QString>
#include <QStringList>

namespace korvale {

// The one way Korvale shows a message: a box titled "Korvale" with no icon and one OK button,
// modal to the whole program, with an optional detail under the text. Tests switch it to
// recording, so that no test ever waits on a real box.
class MessageBox {
public:
    struct Shown {
        QString text;
        QString detail;
        QStringList visibleWindows;  // object names of the windows on screen at that moment
    };

    static void Show(const QString& text, const QString& detail = {});

    static void StartRecording();
    static void StopRecording();
    // What was asked for since recording started or was last taken, in order.
    static std::vector<Shown> TakeRecorded();
};

}  // namespace korvale
