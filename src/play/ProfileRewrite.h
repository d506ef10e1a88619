#pragma once

#include <string>
#include <string_view>

#include "platform/TextStream.h"

namespace korvale {

// The line the rewrite writes for one line of the game profile: the player-name key ("Name" or
// "name" before the line's first "=") becomes "Name=" and the player name, the "ngWorldSecret"
// key gets the password, and every other line passes through without its leading and trailing
// spaces.
std::string RewriteProfileLine(std::string_view line, std::string_view playerName,
                               std::string_view password);

// Streams `input` into `output`, one line at a time, each written with CR LF.
void RewriteProfile(TextStream& input, TextStream& output, std::string_view playerName,
                    std::string_view password);

}  // namespace korvale
