#include "platform/files/FileLock.h"

#include <utility>

namespace korvale {

std::optional<FileLock> FileLock::take(FileOps& ops, const std::string& path) {
    std::optional<FileOps::Handle> handle = ops.lock(path);
    if (!handle) {
        return std::nullopt;
    }
    return FileLock(ops, std::move(*handle));
}

FileLock::FileLock(FileLock&& other) noexcept
    : m_ops(other.m_ops), m_handle(std::exchange(other.m_handle, FileOps::Handle{})) {}

FileLock::~FileLock() {
    if (m_handle.native != -1) {
        try {
            m_ops->close(m_handle);
        } catch (...) {
            // The lock goes with the handle whatever close says.
        }
    }
}

}  // namespace korvale
