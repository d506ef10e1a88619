#pragma once

#include "platform/ports/UiServices.h"

namespace korvale {

// The services the core asks of the windows, on Qt: message boxes through MessageBox, and the
// event step of Play.
class QtUiServices final : public UiServices {
public:
    void showMessage(std::string_view text, std::string_view detail = {}) override;
    // Runs the waiting window events; false once one of them has ended the program.
    bool processEvents() override;

    void setEnding() noexcept { m_ending = true; }
    bool Ending() const noexcept { return m_ending; }

private:
    bool m_ending = false;
};

}  // namespace korvale
