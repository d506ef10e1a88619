#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace korvale::bench {

// A game profile shaped like the game's own User.ini: about 25 KB in 600 lines with CR LF breaks,
// sections, key bindings (with "NoName="), aliases, one "Name=" and one "ngWorldSecret=" line.
std::string RealisticProfile();

// Writes at least `bytes` bytes of profile (the realistic one repeated) to `file`, streamed, so
// that a 200 MB profile is never held in memory.
void WriteProfile(const std::filesystem::path& file, std::uint64_t bytes);

// The same profile as the engine saves it once it holds a character outside its code page:
// UTF-16LE after a byte-order mark, with a few characters beyond Latin-1 (one beyond the BMP).
// `bytes` counts the whole file, the mark included.
void WriteUtf16LeProfile(const std::filesystem::path& file, std::uint64_t bytes);

// A player list file of `records` "name,password" records separated by CR LF, none after the last.
void WritePlayerFile(const std::filesystem::path& file, std::size_t records);

// The bytes as they are, replacing the file.
void WriteBytes(const std::filesystem::path& file, std::string_view bytes);

// A large file under the system's temporary folder, made once and reused by later runs.
std::filesystem::path CachedProfile(std::uint64_t bytes);

}  // namespace korvale::bench
