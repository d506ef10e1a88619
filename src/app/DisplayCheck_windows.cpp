#include "app/DisplayCheck.h"

namespace korvale {

// A Windows session always has its desktop.
DisplayCheck::DisplayCheck() = default;

}  // namespace korvale
