#include "FaultyFileOps.h"

#include <algorithm>

#include "platform/FileError.h"

namespace korvale::test {

namespace {

std::string Unified(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

bool Matches(FaultyFileOps::Opened opened, FileOps::OpenMode mode) {
    switch (opened) {
        case FaultyFileOps::Opened::Any:
            return true;
        case FaultyFileOps::Opened::ForReading:
            return mode == FileOps::OpenMode::Read;
        case FaultyFileOps::Opened::ForWriting:
            return mode != FileOps::OpenMode::Read;
    }
    return false;
}

}  // namespace

std::optional<std::errc> FaultyFileOps::due(Op op, const std::string& path,
                                            std::optional<OpenMode> mode) {
    ++m_operations;
    for (Armed& armed : m_faults) {
        const Fault& fault = armed.fault;
        if ((fault.op != op && fault.op != Op::Any) || (mode && !Matches(fault.opened, *mode)) ||
            Unified(path).find(Unified(fault.pathContains)) == std::string::npos) {
            continue;
        }
        ++armed.seen;
        if (armed.seen >= fault.nth && (fault.times == 0 || armed.seen < fault.nth + fault.times)) {
            ++m_injected;
            return fault.error;
        }
    }
    return std::nullopt;
}

void FaultyFileOps::raise(const std::string& path, std::errc error) {
    throw FileError(m_inner->nativeForm(path), std::make_error_code(error).message());
}

bool FaultyFileOps::exists(const std::string& path) {
    return m_inner->exists(path);
}

std::uint64_t FaultyFileOps::size(const std::string& path) {
    if (auto error = due(Op::Size, path)) {
        raise(path, *error);
    }
    return m_inner->size(path);
}

FileOps::Handle FaultyFileOps::open(const std::string& path, OpenMode mode) {
    if (auto error = due(Op::Open, path, mode)) {
        raise(path, *error);
    }
    Handle handle = m_inner->open(path, mode);
    m_open.insert(handle.native);
    return handle;
}

std::size_t FaultyFileOps::read(Handle& file, char* buffer, std::size_t capacity) {
    if (auto error = due(Op::Read, file.path)) {
        raise(file.path, *error);
    }
    return m_inner->read(file, buffer, capacity);
}

void FaultyFileOps::write(Handle& file, const char* data, std::size_t length) {
    if (auto error = due(Op::Write, file.path)) {
        raise(file.path, *error);
    }
    m_inner->write(file, data, length);
}

void FaultyFileOps::flush(Handle& file) {
    if (auto error = due(Op::Flush, file.path)) {
        raise(file.path, *error);
    }
    m_inner->flush(file);
}

void FaultyFileOps::truncate(Handle& file, std::uint64_t length) {
    if (auto error = due(Op::Truncate, file.path)) {
        raise(file.path, *error);
    }
    m_inner->truncate(file, length);
}

void FaultyFileOps::close(Handle& file) {
    // Like the host's close, a failing close still releases the handle.
    const auto error = due(Op::Close, file.path);
    if (auto found = m_open.find(file.native); found != m_open.end()) {
        m_open.erase(found);
    }
    m_inner->close(file);
    if (error) {
        raise(file.path, *error);
    }
}

void FaultyFileOps::rename(const std::string& from, const std::string& to) {
    // Named by the file it would replace, as that is the one a caller knows.
    if (auto error = due(Op::Rename, to)) {
        raise(to, *error);
    }
    m_inner->rename(from, to);
}

void FaultyFileOps::remove(const std::string& path) noexcept {
    m_inner->remove(path);
}

std::string FaultyFileOps::resolve(const std::string& path) {
    if (auto error = due(Op::Resolve, path)) {
        raise(path, *error);
    }
    return m_inner->resolve(path);
}

void FaultyFileOps::copyPermissions(const std::string& model, Handle& file) {
    if (auto error = due(Op::Permissions, file.path)) {
        raise(file.path, *error);
    }
    m_inner->copyPermissions(model, file);
}

std::string FaultyFileOps::nativeForm(const std::string& path) {
    return m_inner->nativeForm(path);
}

}  // namespace korvale::test
