#include "platform/files/Utf16LeLines.h"

#include <cstring>
#include <string>

namespace korvale {

namespace {

constexpr std::size_t kNone = std::string_view::npos;

// Just past the first line break of `bytes` at a code unit that starts an even number of bytes
// after `from`; kNone when no whole one is there.
std::size_t lineEnd(std::string_view bytes, std::size_t from) noexcept {
    std::size_t next = from;
    while (next < bytes.size()) {
        const void* found = std::memchr(bytes.data() + next, '\n', bytes.size() - next);
        if (found == nullptr) {
            return kNone;
        }
        const auto at = static_cast<std::size_t>(static_cast<const char*>(found) - bytes.data());
        if ((at - from) % 2 == 0) {
            if (at + 1 == bytes.size()) {
                return kNone;  // the code unit's second byte is still to come
            }
            if (bytes[at + 1] == '\0') {
                return at + 2;
            }
        }
        next = at + 1;
    }
    return kNone;
}

void rewriteLine(std::string_view lineWithBreak, TextStream& output, const LineRule& rule) {
    std::string_view line = lineWithBreak.substr(0, lineWithBreak.size() - 2);
    if (line.size() >= 2 && line.substr(line.size() - 2) == std::string_view("\r\0", 2)) {
        line.remove_suffix(2);
    }
    rule.rewrite(line, output);
}

}  // namespace

void passUtf16LeLines(TextStream& input, TextStream& output, const LineRule& rule) {
    std::string carried;  // the start of a line that runs across the end of the buffer
    for (std::string_view bytes = input.peekBytes(); !bytes.empty(); bytes = input.peekBytes()) {
        std::size_t position = 0;
        if (!carried.empty()) {
            if (carried.size() % 2 != 0) {
                carried.push_back(bytes[position++]);  // completes the code unit
            }
            const bool ended =
                carried.size() >= 2 && carried.compare(carried.size() - 2, 2, "\n\0", 2) == 0;
            const std::size_t end = ended ? position : lineEnd(bytes, position);
            if (end == kNone) {
                carried.append(bytes.substr(position));
                input.skipBytes(bytes.size());
                continue;
            }
            carried.append(bytes.substr(position, end - position));
            rewriteLine(carried, output, rule);
            carried.clear();
            position = end;
        }
        std::size_t runStart = position;
        for (std::size_t end = lineEnd(bytes, position); end != kNone;
             end = lineEnd(bytes, position)) {
            const std::string_view line = bytes.substr(position, end - position);
            if (!rule.keepsAsIs(line)) {
                output.Write(bytes.substr(runStart, position - runStart));
                rewriteLine(line, output, rule);
                runStart = end;
            }
            position = end;
        }
        output.Write(bytes.substr(runStart, position - runStart));
        carried.assign(bytes.substr(position));
        input.skipBytes(bytes.size());
    }
    carried.resize(carried.size() - carried.size() % 2);
    if (!carried.empty()) {
        rule.rewrite(carried, output);  // a last line without a line break
    }
}

}  // namespace korvale
