#include "play/ProfileRewrite.h"

#include "platform/files/Utf16LeLines.h"
#include "play/ProfileLineRule.h"

namespace korvale {

void RewriteProfile(TextStream& input, TextStream& output, ProfileEncoding encoding,
                    std::string_view playerName, std::string_view password) {
    const ProfileLineRule rule(encoding, playerName, password);
    const std::string_view mark = byteOrderMark(encoding);
    if (!mark.empty()) {
        input.skipPrefix(mark);
        output.Write(mark);
    }
    // The profile is never held whole: lines are taken from the input's buffer as they come.
    if (encoding == ProfileEncoding::Utf16Le) {
        passUtf16LeLines(input, output, rule);
    } else {
        input.passLinesTo(output, rule);
    }
}

}  // namespace korvale
