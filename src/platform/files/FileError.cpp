#include "platform/files/FileError.h"

#include <utility>

namespace korvale {

FileError::FileError(std::string nativePath, std::string reason)
    : std::runtime_error(nativePath + ": " + reason),
      m_path(std::move(nativePath)),
      m_reason(std::move(reason)) {}

}  // namespace korvale
