#include "platform/host/WindowsText.h"

#include <windows.h>

#include <climits>
#include <iterator>

#include "platform/files/FileError.h"

namespace korvale {

std::wstring WidePath(const std::string& path) {
    if (path.empty()) {
        return {};
    }
    if (path.find('\0') != std::string::npos || path.size() > INT_MAX) {
        throw FileError(path, "The path is not valid");
    }
    const int length = static_cast<int>(path.size());
    const int wideLength =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), length, nullptr, 0);
    if (wideLength <= 0) {
        throw FileError(path, "The path is not valid UTF-8");
    }
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), length, wide.data(),
                        wideLength);
    return wide;
}

std::string Utf8Text(std::wstring_view text) {
    if (text.empty() || text.size() > INT_MAX) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int utf8Length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (utf8Length <= 0) {
        return {};
    }
    std::string utf8(static_cast<std::size_t>(utf8Length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, utf8.data(), utf8Length, nullptr, nullptr);
    return utf8;
}

std::string SystemReason(unsigned long error) {
    wchar_t buffer[512];
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                       0, buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
    std::wstring_view text(buffer, length);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ' ||
                             text.back() == L'.')) {
        text.remove_suffix(1);
    }
    if (text.empty()) {
        return "Windows error " + std::to_string(error);
    }
    return Utf8Text(text);
}

}  // namespace korvale
