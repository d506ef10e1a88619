#include "play/ProfileLineRule.h"

namespace korvale {

namespace {

// The line rules hold for code units of one or two bytes alike; the keys, "=", the space and
// the line breaks are all ASCII, which in UTF-16LE is the byte followed by a zero byte.
template <std::size_t Unit>
bool isAscii(std::string_view text, std::size_t at, char ascii) noexcept {
    if constexpr (Unit == 1) {
        return text[at] == ascii;
    } else {
        return text[at] == ascii && text[at + 1] == '\0';
    }
}

template <std::size_t Unit>
std::string_view trimSpaces(std::string_view text) noexcept {
    std::size_t first = 0;
    std::size_t last = text.size() - text.size() % Unit;
    while (first < last && isAscii<Unit>(text, first, ' ')) {
        first += Unit;
    }
    while (last > first && isAscii<Unit>(text, last - Unit, ' ')) {
        last -= Unit;
    }
    return text.substr(first, last - first);
}

template <std::size_t Unit>
bool isKey(std::string_view key, std::string_view ascii) noexcept {
    if (key.size() != ascii.size() * Unit) {
        return false;
    }
    for (std::size_t i = 0; i < ascii.size(); ++i) {
        if (!isAscii<Unit>(key, i * Unit, ascii[i])) {
            return false;
        }
    }
    return true;
}

enum class LineKind { Other, PlayerName, StatsPassword };

// The game's ini reader takes a key as everything before the first "=": only whole keys match,
// so "NoName=" in the input bindings or "Name=" inside a value are left alone.
template <std::size_t Unit>
LineKind classify(std::string_view trimmed) noexcept {
    for (std::size_t at = 0; at + Unit <= trimmed.size(); at += Unit) {
        if (isAscii<Unit>(trimmed, at, '=')) {
            const std::string_view key = trimmed.substr(0, at);
            if (isKey<Unit>(key, "Name") || isKey<Unit>(key, "name")) {
                return LineKind::PlayerName;
            }
            return isKey<Unit>(key, "ngWorldSecret") ? LineKind::StatsPassword : LineKind::Other;
        }
    }
    return LineKind::Other;
}

// A line the rewrite would write back as it stands: it already ends with CR LF, has no space at
// either end to trim, and cannot hold one of the keys, which start with "N" or "n". Only the
// first byte of a code unit is looked at, so a few lines more than needed take the slow way.
template <std::size_t Unit>
bool unchangedLine(std::string_view line) noexcept {
    constexpr std::size_t kBreak = 2 * Unit;
    if (line.size() < kBreak || !isAscii<Unit>(line, line.size() - kBreak, '\r')) {
        return false;
    }
    if (line.size() == kBreak) {
        return true;  // an empty line
    }
    const char first = line.front();
    return first != ' ' && first != 'N' && first != 'n' && line[line.size() - kBreak - Unit] != ' ';
}

template <std::size_t Unit>
void writeRewritten(std::string_view line, TextStream& output, std::string_view nameLine,
                    std::string_view secretLine, std::string_view lineBreak) {
    const std::string_view trimmed = trimSpaces<Unit>(line);
    switch (classify<Unit>(trimmed)) {
        case LineKind::PlayerName:
            output.Write(nameLine);
            break;
        case LineKind::StatsPassword:
            output.Write(secretLine);
            break;
        case LineKind::Other:
            output.Write(trimmed);
            break;
    }
    output.Write(lineBreak);
}

}  // namespace

ProfileLineRule::ProfileLineRule(ProfileEncoding encoding, std::string_view playerName,
                                 std::string_view password)
    : m_unit(encoding == ProfileEncoding::Utf16Le ? 2 : 1),
      m_nameLine(fromLatin1("Name=", encoding) + fromLatin1(playerName, encoding)),
      m_secretLine(fromLatin1("ngWorldSecret=", encoding) + fromLatin1(password, encoding)),
      m_lineBreak(fromLatin1("\r\n", encoding)) {}

bool ProfileLineRule::keepsAsIs(std::string_view lineWithBreak) const noexcept {
    return m_unit == 1 ? unchangedLine<1>(lineWithBreak) : unchangedLine<2>(lineWithBreak);
}

void ProfileLineRule::rewrite(std::string_view line, TextStream& output) const {
    if (m_unit == 1) {
        writeRewritten<1>(line, output, m_nameLine, m_secretLine, m_lineBreak);
    } else {
        writeRewritten<2>(line, output, m_nameLine, m_secretLine, m_lineBreak);
    }
}

}  // namespace korvale
