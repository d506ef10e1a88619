#pragma once

#include <bit>
#include <string>
#include <string_view>

namespace korvale {

// UTF-16LE code units are read and written as they lie in memory.
static_assert(std::endian::native == std::endian::little);

// How the game wrote its profile, and so how the rewrite writes it back. The engine saves an ini
// file as single bytes unless it holds a character outside its code page, and then as UTF-16LE
// with a byte-order mark; the 469 patches also read and write UTF-8.
enum class ProfileEncoding {
    Latin1,   // single bytes: no byte-order mark, and pure ASCII or not all valid UTF-8
    Utf8,     // no byte-order mark, and the bytes beyond ASCII are all valid UTF-8
    Utf8Bom,  // EF BB BF first
    Utf16Le,  // FF FE first
};

// The encoding the identity (Latin-1) is written in, from the profile's bytes. Latin-1 and UTF-8
// write an identity of pure ASCII alike, so for one only the byte-order mark counts.
ProfileEncoding profileEncoding(std::string_view profile, std::string_view playerName,
                                std::string_view password);

// The byte-order mark the encoding starts a file with; empty for none.
std::string_view byteOrderMark(ProfileEncoding encoding) noexcept;

// Korvale's Latin-1 text in the profile's encoding.
std::string latin1ToProfile(std::string_view latin1, ProfileEncoding encoding);

}  // namespace korvale
