#pragma once

#include <algorithm>
#include <string_view>

namespace korvale {

// The keys a Play switches: the player name ("Name", or "name" as some profiles spell it) and
// the ngStats password ("ngWorldSecret").
enum class ProfileKey { Other, Name, Secret };

// The key of a trimmed profile line, for bytes and for UTF-16 code units alike. The game's ini
// reader takes a key as everything before the line's first "=": only whole keys count, so
// "NoName=" in the input bindings or "Name=" inside a value are some other key. No key holds
// an "=", so a line is a key's when it starts with the key and "=".
template <typename Char>
ProfileKey profileKey(std::basic_string_view<Char> line) noexcept {
    const auto startsWith = [line](std::string_view key) {
        return line.size() >= key.size() &&
               std::ranges::equal(line.substr(0, key.size()), key,
                                  [](Char unit, char c) { return unit == Char(c); });
    };
    return startsWith("Name=") || startsWith("name=") ? ProfileKey::Name
           : startsWith("ngWorldSecret=")             ? ProfileKey::Secret
                                                      : ProfileKey::Other;
}

}  // namespace korvale
