#include "play/ProfileRewrite.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

#include "platform/files/Text.h"

namespace korvale {

namespace {

// UTF-16LE code units are read and written as they lie in memory.
static_assert(std::endian::native == std::endian::little);

// What the rewrite writes for the two keys and after each line, in the profile's encoding.
struct IdentityLines {
    std::string name;
    std::string secret;
    std::string lineBreak;
};

template <typename Char>
using Text = std::basic_string_view<Char>;

template <typename Char>
std::string_view bytesOf(Text<Char> text) noexcept {
    return {reinterpret_cast<const char*>(text.data()), text.size() * sizeof(Char)};
}

template <typename Char>
bool isKey(Text<Char> key, std::string_view ascii) noexcept {
    return std::ranges::equal(key, ascii, [](Char unit, char c) { return unit == Char(c); });
}

// The game's ini reader takes a key as everything before the first "=": only whole keys match,
// so "NoName=" in the input bindings or "Name=" inside a value are left alone.
template <typename Char>
std::string_view rewrittenLine(Text<Char> line, const IdentityLines& identity) noexcept {
    const std::size_t equals = line.find(Char('='));
    if (equals == Text<Char>::npos) {
        return bytesOf(line);
    }
    const Text<Char> key = line.substr(0, equals);
    if (isKey(key, "Name") || isKey(key, "name")) {
        return identity.name;
    }
    return isKey(key, "ngWorldSecret") ? std::string_view(identity.secret) : bytesOf(line);
}

// A line ends at the code unit LF, a CR before it going with it.
template <typename Char>
void rewriteLines(Text<Char> text, TextStream& output, const IdentityLines& identity) {
    while (!text.empty()) {
        const std::size_t end = text.find(Char('\n'));
        Text<Char> line = text.substr(0, end);
        text.remove_prefix(end == Text<Char>::npos ? text.size() : end + 1);
        if (end != Text<Char>::npos && line.ends_with(Char('\r'))) {
            line.remove_suffix(1);
        }
        output.Write(rewrittenLine(trim(line), identity));
        output.Write(identity.lineBreak);
    }
}

}  // namespace

void RewriteProfile(std::string_view profile, TextStream& output, std::string_view playerName,
                    std::string_view password) {
    const ProfileEncoding encoding = profileEncoding(profile, playerName, password);
    const IdentityLines identity{
        latin1ToProfile("Name=", encoding) + latin1ToProfile(playerName, encoding),
        latin1ToProfile("ngWorldSecret=", encoding) + latin1ToProfile(password, encoding),
        latin1ToProfile("\r\n", encoding)};
    const std::string_view mark = byteOrderMark(encoding);
    output.Write(mark);
    const std::string_view text = profile.substr(mark.size());
    if (encoding != ProfileEncoding::Utf16Le) {
        rewriteLines(Text<char>(text), output, identity);
        return;
    }
    // A lone byte at the very end, half a code unit, is dropped.
    std::u16string units(text.size() / 2, u'\0');
    std::memcpy(units.data(), text.data(), units.size() * 2);
    rewriteLines(Text<char16_t>(units), output, identity);
}

}  // namespace korvale
