#pragma once

#include <string>
#include <string_view>

namespace korvale {

// Korvale keeps paths as UTF-8 text; the wide Win32 calls take UTF-16. Windows builds only.

// The path as UTF-16. A path that is not valid UTF-8, or that holds a NUL (which would cut it
// short at the system), raises FileError.
std::wstring WidePath(const std::string& path);
// UTF-16 from the system as UTF-8 text.
std::string Utf8Text(std::wstring_view text);
// The system's text for an error code, without its closing line break and full stop.
std::string SystemReason(unsigned long error);

}  // namespace korvale
