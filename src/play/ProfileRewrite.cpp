#include "play/ProfileRewrite.h"

#include "platform/Text.h"

namespace korvale {

namespace {

enum class LineKind { Other, PlayerName, StatsPassword };

// The game's ini reader takes a key as everything before the first "=": only whole keys match,
// so "NoName=" in the input bindings or "Name=" inside a value are left alone.
LineKind classify(std::string_view trimmed) {
    const auto equals = trimmed.find('=');
    if (equals == std::string_view::npos) {
        return LineKind::Other;
    }
    const std::string_view key = trimmed.substr(0, equals);
    if (key == "Name" || key == "name") {
        return LineKind::PlayerName;
    }
    if (key == "ngWorldSecret") {
        return LineKind::StatsPassword;
    }
    return LineKind::Other;
}

constexpr std::string_view kNameKey = "Name=";
constexpr std::string_view kSecretKey = "ngWorldSecret=";

}  // namespace

std::string RewriteProfileLine(std::string_view line, std::string_view playerName,
                               std::string_view password) {
    const std::string_view trimmed = Trim(line);
    switch (classify(trimmed)) {
        case LineKind::PlayerName:
            return std::string(kNameKey) + std::string(playerName);
        case LineKind::StatsPassword:
            return std::string(kSecretKey) + std::string(password);
        case LineKind::Other:
            break;
    }
    return std::string(trimmed);
}

void RewriteProfile(TextStream& input, TextStream& output, std::string_view playerName,
                    std::string_view password) {
    // One line at a time in a reused buffer: the profile is never held whole.
    std::string line;
    while (!input.AtEndOfStream()) {
        input.ReadLine(line);
        const std::string_view trimmed = Trim(line);
        switch (classify(trimmed)) {
            case LineKind::PlayerName:
                output.Write(kNameKey);
                output.WriteLine(playerName);
                break;
            case LineKind::StatsPassword:
                output.Write(kSecretKey);
                output.WriteLine(password);
                break;
            case LineKind::Other:
                output.WriteLine(trimmed);
                break;
        }
    }
}

}  // namespace korvale
