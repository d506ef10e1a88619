#include "MemoryFileOps.h"

#include <algorithm>
#include <cstring>
#include <system_error>

#include "platform/FileError.h"

namespace korvale::fuzz {

namespace {

[[noreturn]] void fail(const std::string& path, std::errc error) {
    throw FileError(path, std::make_error_code(error).message());
}

}  // namespace

std::optional<std::string> MemoryFileOps::Get(const std::string& path) const {
    const auto found = m_files.find(path);
    if (found == m_files.end()) {
        return std::nullopt;
    }
    return found->second;
}

std::string& MemoryFileOps::bytesOf(const std::string& path) {
    const auto found = m_files.find(path);
    if (found == m_files.end()) {
        fail(path, std::errc::no_such_file_or_directory);
    }
    return found->second;
}

MemoryFileOps::OpenFile& MemoryFileOps::opened(const Handle& file) {
    const auto found = m_handles.find(file.native);
    if (found == m_handles.end()) {
        fail(file.path, std::errc::bad_file_descriptor);
    }
    return found->second;
}

bool MemoryFileOps::exists(const std::string& path) {
    return m_files.count(path) > 0;
}

std::uint64_t MemoryFileOps::size(const std::string& path) {
    return bytesOf(path).size();
}

FileOps::Handle MemoryFileOps::open(const std::string& path, OpenMode mode) {
    OpenFile file{path};
    switch (mode) {
        case OpenMode::Read:
            bytesOf(path);
            break;
        case OpenMode::Write:
            bytesOf(path).clear();
            break;
        case OpenMode::Append:
            file.append = true;
            bytesOf(path);
            break;
        case OpenMode::Create:
        case OpenMode::CreateOwnerOnly:
            m_files[path].clear();
            break;
        case OpenMode::CreateNew:
            if (exists(path)) {
                fail(path, std::errc::file_exists);
            }
            m_files[path];
            break;
    }
    const std::intptr_t handle = m_nextHandle++;
    m_handles.emplace(handle, file);
    return Handle{handle, path};
}

std::size_t MemoryFileOps::read(Handle& file, char* buffer, std::size_t capacity) {
    OpenFile& open = opened(file);
    const std::string& bytes = bytesOf(open.path);
    const std::size_t left = bytes.size() - std::min(open.position, bytes.size());
    const std::size_t count = std::min({capacity, m_readChunk, left});
    if (count > 0) {
        std::memcpy(buffer, bytes.data() + open.position, count);
    }
    open.position += count;
    return count;
}

void MemoryFileOps::write(Handle& file, const char* data, std::size_t length) {
    OpenFile& open = opened(file);
    std::string& bytes = bytesOf(open.path);
    if (open.append) {
        open.position = bytes.size();
    }
    if (bytes.size() < open.position + length) {
        bytes.resize(open.position + length);
    }
    bytes.replace(open.position, length, data, length);
    open.position += length;
}

void MemoryFileOps::flush(Handle& file) {
    opened(file);
}

void MemoryFileOps::truncate(Handle& file, std::uint64_t length) {
    bytesOf(opened(file).path).resize(static_cast<std::size_t>(length));
}

void MemoryFileOps::close(Handle& file) {
    opened(file);
    m_handles.erase(file.native);
    file.native = -1;
}

void MemoryFileOps::rename(const std::string& from, const std::string& to) {
    std::string bytes = std::move(bytesOf(from));
    m_files.erase(from);
    m_files[to] = std::move(bytes);
}

void MemoryFileOps::remove(const std::string& path) noexcept {
    m_files.erase(path);
}

}  // namespace korvale::fuzz
