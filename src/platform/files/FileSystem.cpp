#include "platform/files/FileSystem.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "platform/files/FileError.h"
#include "platform/files/ReplacementFile.h"
#include "platform/files/Text.h"

namespace korvale {

namespace {

constexpr std::size_t kCopyChunk = 64 * 1024;

// An open file that is closed, quietly, however the scope is left.
class OpenFile {
public:
    OpenFile(FileOps& ops, const std::string& path, FileOps::OpenMode mode)
        : m_ops(ops), m_handle(ops.open(path, mode)) {}
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    ~OpenFile() {
        if (m_open) {
            try {
                m_ops.close(m_handle);
            } catch (...) {
            }
        }
    }

    FileOps::Handle& handle() noexcept { return m_handle; }
    void close() {
        m_open = false;
        m_ops.close(m_handle);
    }

private:
    FileOps& m_ops;
    FileOps::Handle m_handle;
    bool m_open = true;
};

void copyBytes(FileOps& ops, OpenFile& from, OpenFile& to) {
    std::string buffer(kCopyChunk, '\0');
    for (;;) {
        const std::size_t got = ops.read(from.handle(), buffer.data(), buffer.size());
        if (got == 0) {
            return;
        }
        ops.write(to.handle(), buffer.data(), got);
    }
}

}  // namespace

FileSystem::FileSystem(FileOps& ops, std::string programFolder)
    : m_ops(&ops), m_programFolder(std::move(programFolder)) {}

bool FileSystem::FileExists(const std::string& path) const {
    return m_ops->exists(path);
}

File FileSystem::GetFile(const std::string& path) const {
    if (!m_ops->exists(path)) {
        throw FileError(m_ops->nativeForm(path),
                        std::make_error_code(std::errc::no_such_file_or_directory).message());
    }
    return File(*m_ops, path);
}

TextStream FileSystem::CreateTextFile(const std::string& path, Access access) const {
    const auto mode = access == Access::OwnerOnly ? FileOps::OpenMode::CreateOwnerOnly
                                                  : FileOps::OpenMode::Create;
    return TextStream(*m_ops, m_ops->open(path, mode), IOMode::ForWriting);
}

std::string FileSystem::programFile(std::string_view name) const {
    std::string path = m_programFolder;
    path += '\\';
    path += name;
    return path;
}

void FileSystem::copyWhole(const std::string& source, const std::string& destination) const {
    OpenFile from(*m_ops, source, FileOps::OpenMode::Read);
    // The copy holds what the source holds, so it is open to no one the source is not open to.
    ReplacementFile copy(*m_ops, destination, source);
    std::string buffer(kCopyChunk, '\0');
    while (const std::size_t got = m_ops->read(from.handle(), buffer.data(), buffer.size())) {
        copy.stream().Write(std::string_view(buffer.data(), got));
    }
    from.close();
    copy.commit();
}

void FileSystem::linkOrCopyWhole(const std::string& source, const std::string& destination) const {
    if (!ReplacementFile::linkIn(*m_ops, source, destination)) {
        copyWhole(source, destination);
    }
}

void FileSystem::copyInPlace(const std::string& source, const std::string& destination) const {
    OpenFile from(*m_ops, source, FileOps::OpenMode::Read);
    OpenFile to(*m_ops, destination, FileOps::OpenMode::Write);
    copyBytes(*m_ops, from, to);
    to.close();
    from.close();
}

void FileSystem::checkWritable(const std::string& path) const {
    OpenFile(*m_ops, path, FileOps::OpenMode::Append).close();
}

void FileSystem::replaceWhole(const std::string& path, std::string_view content) const {
    ReplacementFile replacement(*m_ops, path);
    replacement.stream().Write(content);
    replacement.commit();
}

std::uint64_t File::Size() const {
    return m_ops->size(m_path);
}

TextStream File::OpenAsTextStream(IOMode mode) const {
    switch (mode) {
        case IOMode::ForReading:
            return TextStream(*m_ops, m_ops->open(m_path, FileOps::OpenMode::Read), mode);
        case IOMode::ForWriting:
            return TextStream(*m_ops, m_ops->open(m_path, FileOps::OpenMode::Write), mode);
        case IOMode::ForAppending:
            break;
    }
    // An appending stream numbers its lines after those already in the file.
    std::size_t lineBreaks = 0;
    {
        OpenFile existing(*m_ops, m_path, FileOps::OpenMode::Read);
        std::string buffer(kCopyChunk, '\0');
        while (const std::size_t got =
                   m_ops->read(existing.handle(), buffer.data(), buffer.size())) {
            lineBreaks += countLineBreaks(std::string_view(buffer.data(), got));
        }
        existing.close();
    }
    return TextStream(*m_ops, m_ops->open(m_path, FileOps::OpenMode::Append), mode, lineBreaks + 1);
}

}  // namespace korvale
