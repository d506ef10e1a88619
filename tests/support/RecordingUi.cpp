#include "RecordingUi.h"

namespace korvale::test {

void PrintTo(const Message& message, std::ostream* out) {
    *out << "{\"" << message.text << "\", \"" << message.detail << "\"}";
}

void RecordingUi::showMessage(std::string_view text, std::string_view detail) {
    m_messages.push_back({std::string(text), std::string(detail)});
}

bool RecordingUi::processEvents() {
    ++m_eventRuns;
    if (m_events) {
        m_events();
    }
    return m_running;
}

}  // namespace korvale::test
