#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace korvale::fuzz {

// Ends the run, so the fuzzer keeps the input, when an invariant does not hold.
inline void Require(bool holds, const char* invariant) {
    if (!holds) {
        std::fprintf(stderr, "invariant broken: %s\n", invariant);
        std::abort();
    }
}

// The lines of a file as the file layer reads them: each ends at LF, one CR before the LF goes
// with it; a last line without LF counts when it holds anything.
inline std::vector<std::string> LinesOf(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(bytes.substr(start));
            break;
        }
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

// Spaces off both ends, nothing else.
inline std::string SpacesTrimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace korvale::fuzz
