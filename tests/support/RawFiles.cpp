#include "RawFiles.h"

#include <chrono>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <thread>

namespace korvale::test {

std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + file.string());
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

std::string Utf16LeBytes(std::u16string_view text) {
    std::string bytes;
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

std::map<std::string, std::string> FolderBytes(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            std::string bytes = ReadBytes(entry.path());
            if (bytes.size() > 4096) {
                bytes = std::to_string(bytes.size()) + " bytes, hash " +
                        std::to_string(std::hash<std::string>()(bytes));
            }
            files.emplace(PathText(entry.path().lexically_relative(folder)), std::move(bytes));
        }
    }
    return files;
}

std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

bool WaitForText(const std::filesystem::path& file, std::string_view text, int seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    for (;;) {
        // A writer swapping the file in holds it for a moment, and Windows then refuses to open
        // it: that is "not yet", not a failure.
        std::ifstream in(file, std::ios::binary);
        if (in && std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>())
                          .find(text) != std::string::npos) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

}  // namespace korvale::test
