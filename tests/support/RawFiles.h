#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace korvale::test {

// Whole files as raw bytes, straight from the disk (not through Korvale's file layer).
std::string ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, std::string_view bytes);

// Every file under `folder`, by its path relative to it, with its bytes (a file beyond 4 KiB with
// its size and a hash of them, which keeps a failure's message readable).
std::map<std::string, std::string> FolderBytes(const std::filesystem::path& folder);

// UTF-16 text as the bytes of UTF-16LE, without a byte-order mark.
std::string Utf16LeBytes(std::u16string_view text);

// A path as UTF-8 text, the form Korvale's file layer and its messages use.
std::string PathText(const std::filesystem::path& path);

// Waits until `file` holds `text` or `seconds` have passed; true when it does.
bool WaitForText(const std::filesystem::path& file, std::string_view text, int seconds = 20);

}  // namespace korvale::test
