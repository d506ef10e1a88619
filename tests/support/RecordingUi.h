#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/ports/UiServices.h"

namespace korvale::test {

struct Message {
    std::string text;
    std::string detail;
    bool operator==(const Message&) const = default;
};
void PrintTo(const Message& message, std::ostream* out);

// Records every message box in order; runs a test's code as the "waiting events" of the event step.
class RecordingUi final : public UiServices {
public:
    void showMessage(std::string_view text, std::string_view detail = {}) override;
    bool processEvents() override;

    // Runs inside every later ProcessEvents: a click or a Save queued while a handler runs.
    void OnProcessEvents(std::function<void()> events) { m_events = std::move(events); }
    // From now on ProcessEvents reports that the program is ending.
    void EndProgram() { m_running = false; }

    const std::vector<Message>& Messages() const noexcept { return m_messages; }
    std::size_t EventRuns() const noexcept { return m_eventRuns; }

private:
    std::vector<Message> m_messages;
    std::function<void()> m_events;
    bool m_running = true;
    std::size_t m_eventRuns = 0;
};

}  // namespace korvale::test
