#pragma once

#include <string_view>

#include "platform/files/TextStream.h"

namespace korvale {

// Streams `input` into `output`, one line at a time, each written with CR LF: the player-name key
// ("Name" or "name" before the line's first "=") becomes "Name=" and the player name, the
// "ngWorldSecret" key gets the password, and every other line passes through without its leading
// and trailing spaces.
void RewriteProfile(TextStream& input, TextStream& output, std::string_view playerName,
                    std::string_view password);

}  // namespace korvale
