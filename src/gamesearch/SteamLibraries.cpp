#include "gamesearch/SteamLibraries.h"

#include <algorithm>
#include <optional>

namespace korvale {

namespace {

bool isNumber(std::string_view text) {
    return !text.empty() && std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; });
}

// The quoted string that starts at `at`, past its opening quote, with its escapes read; `at` ends
// past its closing quote. None when it is never closed.
std::optional<std::string> quoted(std::string_view text, std::size_t& at) {
    std::string value;
    while (at < text.size()) {
        const char c = text[at++];
        if (c == '"') {
            return value;
        }
        if (c != '\\' || at == text.size()) {
            value += c;
            continue;
        }
        const char escaped = text[at++];
        if (escaped != '\\' && escaped != '"' && escaped != 'n' && escaped != 't') {
            value += c;  // no escape: a backslash in a path that Steam did not double
        }
        value += escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped;
    }
    return std::nullopt;
}

}  // namespace

std::vector<std::string> steamLibraries(std::string_view vdf) {
    std::vector<std::string> libraries;
    std::optional<std::string> key;  // waiting for its value, or its block
    int depth = 0;
    for (std::size_t at = 0; at < vdf.size();) {
        const char c = vdf[at++];
        if (c == '{' || c == '}') {
            depth += c == '{' ? 1 : -1;
            key.reset();
        } else if (c == '"') {
            std::optional<std::string> text = quoted(vdf, at);
            if (!text) {
                break;
            }
            if (!key) {
                key = std::move(text);
                continue;
            }
            // A library's own block, or the older file's numbered value.
            if ((depth == 2 && *key == "path") || (depth == 1 && isNumber(*key))) {
                libraries.push_back(std::move(*text));
            }
            key.reset();
        }
    }
    return libraries;
}

}  // namespace korvale
