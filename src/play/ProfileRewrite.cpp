#include "play/ProfileRewrite.h"

#include <cstring>
#include <string>

#include "platform/files/Text.h"
#include "play/ProfileKeys.h"

namespace korvale {

namespace {

// What the rewrite writes for the two keys and after each line, in the profile's encoding.
struct IdentityLines {
    std::string name;
    std::string secret;
    std::string lineBreak;
};

template <typename Char>
using Text = std::basic_string_view<Char>;

template <typename Char>
std::string_view bytesOf(const Char* from, const Char* to) noexcept {
    return {reinterpret_cast<const char*>(from),
            static_cast<std::size_t>(to - from) * sizeof(Char)};
}

// A line that comes out as it went in (trimmed already, ending in CR LF, and no key of the
// identity) is left where it is, and written with its neighbours in one run: most of a profile
// goes to the host straight from where it was read.
template <typename Char>
void rewriteLines(Text<Char> text, TextStream& output, const IdentityLines& identity) {
    const Char* unwritten = text.data();
    forEachLine(text, [&](Text<Char> line, Text<Char> lineBreak) {
        const Text<Char> trimmed = trim(line);
        const ProfileKey key = profileKey(trimmed);
        if (key == ProfileKey::Other && trimmed.size() == line.size() && lineBreak.size() == 2) {
            return;
        }
        output.Write(bytesOf(unwritten, line.data()));
        output.Write(key == ProfileKey::Name ? identity.name
                     : key == ProfileKey::Secret
                         ? identity.secret
                         : bytesOf(trimmed.data(), trimmed.data() + trimmed.size()));
        output.Write(identity.lineBreak);
        unwritten = line.data() + line.size() + lineBreak.size();
    });
    output.Write(bytesOf(unwritten, text.data() + text.size()));
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
