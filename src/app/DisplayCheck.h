#pragma once

#include <memory>
#include <string>

namespace korvale {

// Whether the windows can be shown here, asked before Qt is: without a display Qt would only
// abort. One implementation per host.
class DisplayCheck {
public:
    DisplayCheck();

    // Why they cannot, in one line for standard error; empty when they can, or when the platform
    // Qt is told to use is left to find its own way.
    const std::string& problem() const noexcept { return m_problem; }

private:
    std::string m_problem;
    // The check's own connection, held until Qt has made its own: an X server resets when its
    // last client leaves, and during the reset Qt would find no display.
    std::shared_ptr<void> m_connection;
};

}  // namespace korvale
