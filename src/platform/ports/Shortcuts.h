#pragma once

#include <string>
#include <string_view>

namespace korvale {

// Shortcuts that play as one identity (`korvale --play NAME`), one per name and named for it, so
// that each can be started, or added to Steam, on its own. Names are Latin-1, as the player list
// keeps them; no password ever goes into a shortcut. A file that cannot be made or removed raises
// FileError; a shortcut is never left half written.
class Shortcuts {
public:
    virtual ~Shortcuts() = default;

    // Makes the shortcut of `name`, replacing one that is there; returns where it is (UTF-8).
    virtual std::string make(std::string_view name) const = 0;
    // The shortcut of `from`, when there is one, becomes that of `to`.
    virtual void rename(std::string_view from, std::string_view to) const = 0;
    // Removes the shortcut of `name`, when there is one.
    virtual void remove(std::string_view name) const = 0;
};

}  // namespace korvale
