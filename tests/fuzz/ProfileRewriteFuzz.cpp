// Any profile, any identity, rewritten as Play does (its encoding detected first): the output is
// in the profile's encoding, its byte-order mark kept, with exactly one CR LF line per input
// line; the player-name and password lines go by the key before the first "=" and carry the
// identity in that encoding, and every other line comes out as it stood, trimmed. A UTF-16LE
// output decodes whenever its input did.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "FuzzFiles.h"
#include "platform/files/FileSystem.h"
#include "play/ProfileEncoding.h"
#include "play/ProfileRewrite.h"

using namespace korvale;
using namespace korvale::fuzz;

namespace {

// The identity comes from single-line boxes or from lines of the player list: no line feed.
std::string OneLine(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
    return text;
}

// Text as code units, whatever their width: bytes, or UTF-16LE code units.
using Units = std::u16string;

Units Decode(std::string_view bytes, bool utf16) {
    Units units;
    if (!utf16) {
        for (const char c : bytes) {
            units.push_back(static_cast<unsigned char>(c));
        }
        return units;
    }
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {  // a lone last byte is no code unit
        units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                              static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    return units;
}

// Each line ends at U+000A, a U+000D before it going with it; a last line without one counts
// when it holds anything.
std::vector<Units> LinesOf(const Units& text) {
    std::vector<Units> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find(u'\n', start);
        Units line = text.substr(start, end == Units::npos ? Units::npos : end - start);
        if (end != Units::npos && !line.empty() && line.back() == u'\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        if (end == Units::npos) {
            break;
        }
        start = end + 1;
    }
    return lines;
}

Units Trimmed(const Units& text) {
    const std::size_t first = text.find_first_not_of(u' ');
    return first == Units::npos ? Units()
                                : text.substr(first, text.find_last_not_of(u' ') - first + 1);
}

// Well-formed UTF-16: every surrogate in a pair.
bool Decodes(const Units& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() &&
            text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            ++i;
        } else if (text[i] >= 0xD800 && text[i] <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const FuzzFiles folder(input.ConsumeIntegralInRange<std::size_t>(1, 300));
    const FileSystem& files = folder.files();
    // Most profiles the engine writes beyond its code page are UTF-16LE: the fuzzer starts a
    // good share of inputs with that mark, and some with UTF-8's.
    static constexpr const char* kMarks[] = {"", "\xFF\xFE", "\xEF\xBB\xBF"};
    const std::string mark = kMarks[input.ConsumeIntegralInRange<int>(0, 2)];
    const std::string name = OneLine(input.ConsumeRandomLengthString(2048));
    const std::string password = OneLine(input.ConsumeRandomLengthString(256));
    const std::string profile = mark + input.ConsumeRemainingBytesAsString();
    folder.put("User.ini", "the profile before");

    const ProfileEncoding encoding = profileEncoding(profile, name, password);
    {
        TextStream out = files.CreateTextFile(folder.path("User.ini"));
        RewriteProfile(profile, out, name, password);
        out.Close();
    }
    const std::string output = folder.get("User.ini").value_or("(gone)");

    const std::string_view found = byteOrderMark(encoding);
    Require(std::string_view(profile).substr(0, found.size()) == found,
            "the encoding's mark is the profile's own");
    Require(std::string_view(output).substr(0, found.size()) == found, "the mark is kept");
    const bool utf16 = encoding == ProfileEncoding::Utf16Le;
    const Units in = Decode(std::string_view(profile).substr(found.size()), utf16);
    const Units out = Decode(std::string_view(output).substr(found.size()), utf16);
    Require(!utf16 || output.size() % 2 == 0, "UTF-16LE comes out in whole code units");
    Require(!utf16 || !Decodes(in) || Decodes(out), "UTF-16LE that decoded still decodes");

    const Units nameKey = Decode(latin1ToProfile("Name=", encoding), utf16);
    const Units secretKey = Decode(latin1ToProfile("ngWorldSecret=", encoding), utf16);
    const Units nameLine = nameKey + Decode(latin1ToProfile(name, encoding), utf16);
    const Units secretLine = secretKey + Decode(latin1ToProfile(password, encoding), utf16);
    const std::vector<Units> inLines = LinesOf(in);
    const std::vector<Units> outLines = LinesOf(out);
    Require(inLines.size() == outLines.size(), "exactly as many lines come out as went in");
    for (std::size_t i = 0; i < inLines.size(); ++i) {
        const Units trimmed = Trimmed(inLines[i]);
        const std::size_t equals = trimmed.find(u'=');
        const Units key = trimmed.substr(0, equals);
        if (equals != Units::npos && (key == u"Name" || key == u"name")) {
            Require(outLines[i] == nameLine, "a player-name line carries the name");
        } else if (equals != Units::npos && key == u"ngWorldSecret") {
            Require(outLines[i] == secretLine, "a password line carries the password");
        } else {
            Require(outLines[i] == trimmed, "every other line survives, trimmed");
        }
    }
    Units expected;
    for (const Units& line : outLines) {
        expected += line + u"\r\n";
    }
    Require(out == expected, "each line ends with CR LF, and nothing else comes out");
    Require(folder.openHandles() == 0, "no file is left open");
    return 0;
}
