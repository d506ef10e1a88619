#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/files/TextStream.h"
#include "play/ProfileEncoding.h"

namespace korvale {

// The rewrite's rule for one line of the game profile, in the profile's own encoding: a line
// whose key (the text before its first "=") is "Name" or "name" becomes "Name=" and the player
// name, one whose key is "ngWorldSecret" gets the password, and every other line passes through
// without its leading and trailing spaces. Each line is written with CR LF.
class ProfileLineRule final : public LineRule {
public:
    // The identity in Korvale's Latin-1.
    ProfileLineRule(ProfileEncoding encoding, std::string_view playerName,
                    std::string_view password);

    bool keepsAsIs(std::string_view lineWithBreak) const noexcept override;
    void rewrite(std::string_view line, TextStream& output) const override;

private:
    std::size_t m_unit;  // bytes in a code unit: 2 in UTF-16LE, else 1
    std::string m_nameLine;
    std::string m_secretLine;
    std::string m_lineBreak;
};

}  // namespace korvale
