#pragma once

#include <string_view>

namespace korvale {

// What the core asks of the windowing toolkit. Texts are UTF-8.
class UiServices {
public:
    virtual ~UiServices() = default;

    // A modal box titled "Korvale" with one OK button; returns when the user has closed it.
    // `detail` is secondary text under the message, omitted when empty.
    virtual void showMessage(std::string_view text, std::string_view detail = {}) = 0;
    // Runs the window events already queued. False when the program is ending meanwhile.
    virtual bool processEvents() = 0;
};

}  // namespace korvale
