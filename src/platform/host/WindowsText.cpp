#include "platform/host/WindowsText.h"

#include <windows.h>

#include <filesystem>
#include <iterator>

#include "platform/files/FileError.h"

namespace korvale {

std::wstring WidePath(const std::string& path) {
    if (path.find('\0') != std::string::npos) {
        throw FileError(path, "The path is not valid");
    }
    try {
        return std::filesystem::path(std::u8string(path.begin(), path.end())).wstring();
    } catch (const std::exception&) {
        throw FileError(path, "The path is not valid UTF-8");
    }
}

std::string Utf8Text(std::wstring_view text) {
    try {
        const std::u8string utf8 = std::filesystem::path(text).u8string();
        return std::string(utf8.begin(), utf8.end());
    } catch (const std::exception&) {
        return {};  // not UTF-16: no text the system would give
    }
}

std::string SystemReason(unsigned long error) {
    wchar_t buffer[512];
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                       0, buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
    const std::wstring_view text(buffer, length);
    const std::size_t end = text.find_last_not_of(L"\r\n .");
    if (end == std::wstring_view::npos) {
        return "Windows error " + std::to_string(error);
    }
    return Utf8Text(text.substr(0, end + 1));
}

}  // namespace korvale
