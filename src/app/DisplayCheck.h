#pragma once

#include <string>

namespace korvale {

// Why the windows could not be shown here, in one line for standard error; empty when they can,
// or when the toolkit is left to find its own way (a platform chosen by QT_QPA_PLATFORM, Wayland).
// Without a display the toolkit would only abort. One implementation per host.
std::string unreachableDisplay();

}  // namespace korvale
