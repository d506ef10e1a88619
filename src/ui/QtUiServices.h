#pragma once

#include "platform/ports/UiServices.h"

namespace korvale {

// The services the core asks of the windows, on Qt: the one way Korvale shows a message (a box
// titled "Korvale" with no icon and one OK button, modal to the whole program, with an optional
// detail under the text), a question of the same kind, and the event step of Play.
class QtUiServices : public UiServices {
public:
    void showMessage(std::string_view text, std::string_view detail = {}) override;
    // The same box with Yes and No, No being the answer to Enter and Escape; true for Yes.
    virtual bool askYesNo(std::string_view question);
    // Runs the waiting window events; false once one of them has ended the program.
    bool processEvents() override;

    void setEnding() noexcept { m_ending = true; }

private:
    bool m_ending = false;
};

}  // namespace korvale
