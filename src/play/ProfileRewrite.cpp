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

// A whole line with its break that the rewrite would write back as it stands: it already ends
// with CR LF, has no space at either end to trim, and cannot hold one of the keys, which start
// with "N", "n" or space-trimmed text.
bool PassesUnchanged(std::string_view line) noexcept {
    if (line.size() < 2 || line[line.size() - 2] != '\r') {
        return false;
    }
    if (line.size() == 2) {
        return true;  // an empty line
    }
    const char first = line.front();
    return first != ' ' && first != 'N' && first != 'n' && line[line.size() - 3] != ' ';
}

constexpr std::string_view kNameKey = "Name=";
constexpr std::string_view kSecretKey = "ngWorldSecret=";

// The line the rewrite writes, in two pieces so that nothing is copied to form it.
struct OutputLine {
    std::string_view key;
    std::string_view rest;
};

OutputLine rewriteLine(std::string_view line, std::string_view playerName,
                       std::string_view password) {
    const std::string_view trimmed = Trim(line);
    switch (classify(trimmed)) {
        case LineKind::PlayerName:
            return {kNameKey, playerName};
        case LineKind::StatsPassword:
            return {kSecretKey, password};
        case LineKind::Other:
            break;
    }
    return {{}, trimmed};
}

}  // namespace

std::string RewriteProfileLine(std::string_view line, std::string_view playerName,
                               std::string_view password) {
    const OutputLine output = rewriteLine(line, playerName, password);
    return std::string(output.key) + std::string(output.rest);
}

void RewriteProfile(TextStream& input, TextStream& output, std::string_view playerName,
                    std::string_view password) {
    const auto writeRewritten = [&](std::string_view line) {
        const OutputLine rewritten = rewriteLine(line, playerName, password);
        output.Write(rewritten.key);
        output.WriteLine(rewritten.rest);
    };
    // The profile is never held whole: the lines are taken from the input's buffer as they come,
    // and runs of lines that come out as they went in are copied in one piece.
    std::string line;
    while (!input.AtEndOfStream()) {
        const std::string_view lines = input.BufferedLines();
        if (lines.empty()) {
            // A line across the end of the buffer.
            input.ReadLine(line);
            writeRewritten(line);
            continue;
        }
        std::size_t runStart = 0;
        std::size_t lineStart = 0;
        std::size_t lineBreaks = 0;
        while (lineStart < lines.size()) {
            const std::size_t lineEnd = lines.find('\n', lineStart) + 1;
            ++lineBreaks;
            std::string_view whole = lines.substr(lineStart, lineEnd - lineStart);
            lineStart = lineEnd;
            if (PassesUnchanged(whole)) {
                continue;
            }
            output.Write(lines.substr(runStart, lineEnd - whole.size() - runStart));
            runStart = lineEnd;
            whole.remove_suffix(whole.size() >= 2 && whole[whole.size() - 2] == '\r' ? 2 : 1);
            writeRewritten(whole);
        }
        output.Write(lines.substr(runStart));
        input.Skip(lines.size(), lineBreaks);
    }
}

}  // namespace korvale
