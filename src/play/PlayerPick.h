#pragma once

#include <cstddef>
#include <string>

namespace korvale {

// The identity the user has picked, as Play reads it: after the event step, so a pick or a
// change made meanwhile counts. Texts are Latin-1.
class PlayerPick {
public:
    virtual ~PlayerPick() = default;

    // -1 when no entry is picked.
    virtual std::ptrdiff_t selectedIndex() const = 0;
    // What the name box shows: the picked name, or what was typed over it.
    virtual std::string name() const = 0;
    // The password of the picked entry.
    virtual std::string password() const = 0;
};

}  // namespace korvale
