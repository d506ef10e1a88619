#pragma once

#include <optional>
#include <string>

#include "platform/files/FileOps.h"

namespace korvale {

// The host's lock on one file, held for as long as the object lives, across processes. The host
// lets it go when the process ends, however it ends.
class FileLock {
public:
    // None when another holder has it.
    static std::optional<FileLock> take(FileOps& ops, const std::string& path);

    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&&) = delete;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();

private:
    FileLock(FileOps& ops, FileOps::Handle handle) : m_ops(&ops), m_handle(std::move(handle)) {}

    FileOps* m_ops;
    FileOps::Handle m_handle;
};

}  // namespace korvale
