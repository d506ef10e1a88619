#pragma once

#include <cstddef>
#include <string>
#include <utility>

#include "play/PlayerPick.h"

namespace korvale::test {

// A pick as the main window would report it, without a display.
struct FixedPick final : PlayerPick {
    FixedPick(std::ptrdiff_t selected, std::string name, std::string secret)
        : index(selected), playerName(std::move(name)), playerPassword(std::move(secret)) {}

    std::ptrdiff_t selectedIndex() const override { return index; }
    std::string name() const override { return playerName; }
    std::string password() const override { return playerPassword; }

    std::ptrdiff_t index;
    std::string playerName;
    std::string playerPassword;
};

}  // namespace korvale::test
