#include "play/ProfileRewrite.h"

#include "platform/files/Text.h"

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

class IdentityRule final : public LineRule {
public:
    IdentityRule(std::string_view playerName, std::string_view password)
        : m_playerName(playerName), m_password(password) {}

    // A line that already ends with CR LF, has no space at either end to trim, and cannot hold
    // one of the keys, which start with "N", "n" or space-trimmed text.
    bool keepsAsIs(std::string_view line) const noexcept override {
        if (line.size() < 2 || line[line.size() - 2] != '\r') {
            return false;
        }
        if (line.size() == 2) {
            return true;  // an empty line
        }
        const char first = line.front();
        return first != ' ' && first != 'N' && first != 'n' && line[line.size() - 3] != ' ';
    }

    void rewrite(std::string_view line, TextStream& output) const override {
        const std::string_view trimmed = trim(line);
        switch (classify(trimmed)) {
            case LineKind::PlayerName:
                output.Write(kNameKey);
                output.WriteLine(m_playerName);
                return;
            case LineKind::StatsPassword:
                output.Write(kSecretKey);
                output.WriteLine(m_password);
                return;
            case LineKind::Other:
                output.WriteLine(trimmed);
                return;
        }
    }

private:
    std::string_view m_playerName;
    std::string_view m_password;
};

}  // namespace

void RewriteProfile(TextStream& input, TextStream& output, std::string_view playerName,
                    std::string_view password) {
    // The profile is never held whole: lines are taken from the input's buffer as they come.
    input.passLinesTo(output, IdentityRule(playerName, password));
}

}  // namespace korvale
