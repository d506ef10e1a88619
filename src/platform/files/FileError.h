#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace korvale {

// The one failure of the file layer (and of starting a program): the file in native form and the
// system's reason, both UTF-8, so a message box can say exactly what went wrong.
class FileError : public std::runtime_error {
public:
    FileError(std::string nativePath, std::string reason)
        : std::runtime_error(nativePath + ": " + reason),
          m_path(std::move(nativePath)),
          m_reason(std::move(reason)) {}

    const std::string& path() const noexcept { return m_path; }
    const std::string& reason() const noexcept { return m_reason; }

private:
    std::string m_path;
    std::string m_reason;
};

}  // namespace korvale
