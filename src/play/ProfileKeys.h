#pragma once

#include <algorithm>
#include <string_view>

namespace korvale {

// The keys a Play switches: the player name ("Name", or "name" as some profiles spell it) and
// the ngStats password ("ngWorldSecret").
enum class ProfileKey { Other, Name, Secret };

// The key of a trimmed profile line, for bytes and for UTF-16 code units alike. The game's ini
// reader takes a key as everything before the line's first "=": only whole keys count, so
// "NoName=" in the input bindings or "Name=" inside a value are some other key.
template <typename Char>
ProfileKey profileKey(std::basic_string_view<Char> line) noexcept {
    const std::size_t equals = line.find(Char('='));
    const auto is = [key = line.substr(0, equals)](std::string_view ascii) {
        return std::ranges::equal(key, ascii, [](Char unit, char c) { return unit == Char(c); });
    };
    if (equals == std::basic_string_view<Char>::npos) {
        return ProfileKey::Other;
    }
    return is("Name") || is("name") ? ProfileKey::Name
           : is("ngWorldSecret")    ? ProfileKey::Secret
                                    : ProfileKey::Other;
}

}  // namespace korvale
