#pragma once

#include <string_view>

#include "platform/files/TextStream.h"
#include "play/ProfileEncoding.h"

namespace korvale {

// Writes the profile's bytes to `output` in its own encoding (profileEncoding), its byte-order
// mark kept, one line at a time, each written with CR LF: the
// player-name key ("Name" or "name" before the line's first "=") becomes "Name=" and the player
// name, the "ngWorldSecret" key gets the password, and every other line passes through without
// its leading and trailing spaces. The identity is Latin-1.
void RewriteProfile(std::string_view profile, TextStream& output, std::string_view playerName,
                    std::string_view password);

}  // namespace korvale
