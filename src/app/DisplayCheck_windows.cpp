#include "app/DisplayCheck.h"

namespace korvale {

// A Windows session always has its desktop.
std::string unreachableDisplay() {
    return {};
}

}  // namespace korvale
