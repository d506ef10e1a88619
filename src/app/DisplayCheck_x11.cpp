#include <xcb/xcb.h>

#include <cstdlib>
#include <string>
#include <string_view>

#include "app/DisplayCheck.h"

namespace korvale {

namespace {

std::string_view environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

std::string unreachableDisplay() {
    const std::string_view platform = environment("QT_QPA_PLATFORM");
    if (!platform.empty() && !platform.starts_with("xcb")) {
        return {};
    }
    const std::string display(environment("DISPLAY"));
    // The connection Qt's X11 platform would make first, tried the way it tries it.
    if (!display.empty()) {
        xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
        const bool reached = xcb_connection_has_error(connection) == 0;
        xcb_disconnect(connection);
        if (reached) {
            return {};
        }
    }
    if (platform.empty() && !environment("WAYLAND_DISPLAY").empty()) {
        return {};
    }
    return display.empty()
               ? "korvale: no display: DISPLAY is not set; start Korvale from a desktop session, "
                 "or under a virtual X server (xvfb-run korvale)"
               : "korvale: no display: cannot connect to the X display \"" + display +
                     "\"; start Korvale from a desktop session, or under a virtual X server "
                     "(xvfb-run korvale)";
}

}  // namespace korvale
