#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "platform/FileOps.h"

namespace korvale::fuzz {

// Files held in memory under Korvale's own paths, so a fuzz run touches no disk. Reads hand back
// at most `readChunk` bytes at a time, as a pipe or a network file system may, which moves the
// ends of the file layer's buffers to every place in a line.
class MemoryFileOps final : public FileOps {
public:
    explicit MemoryFileOps(std::size_t readChunk) : m_readChunk(readChunk == 0 ? 1 : readChunk) {}

    void Put(const std::string& path, std::string bytes) { m_files[path] = std::move(bytes); }
    std::optional<std::string> Get(const std::string& path) const;
    std::size_t OpenHandles() const noexcept { return m_handles.size(); }

    bool exists(const std::string& path) override;
    std::uint64_t size(const std::string& path) override;
    Handle open(const std::string& path, OpenMode mode) override;
    std::size_t read(Handle& file, char* buffer, std::size_t capacity) override;
    void write(Handle& file, const char* data, std::size_t length) override;
    void flush(Handle& file) override;
    void truncate(Handle& file, std::uint64_t length) override;
    void close(Handle& file) override;
    void rename(const std::string& from, const std::string& to) override;
    void remove(const std::string& path) noexcept override;
    std::string resolve(const std::string& path) override { return path; }
    void copyPermissions(const std::string&, Handle&) override {}
    std::string nativeForm(const std::string& path) override { return path; }

private:
    struct OpenFile {
        std::string path;
        std::size_t position = 0;
        bool append = false;
    };

    OpenFile& opened(const Handle& file);
    std::string& bytesOf(const std::string& path);

    std::size_t m_readChunk;
    std::map<std::string, std::string> m_files;
    std::map<std::intptr_t, OpenFile> m_handles;
    std::intptr_t m_nextHandle = 3;
};

}  // namespace korvale::fuzz
