#include "FaultyFileOps.h"

#include <algorithm>

#include "platform/files/FileError.h"

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

void FaultyFileOps::step() {
    if (!m_dead && m_killAt && m_steps >= *m_killAt) {
        m_dead = true;
    }
    if (m_dead) {
        throw Killed{};
    }
    ++m_steps;
}

void FaultyFileOps::Reap() {
    for (auto& [native, handle] : m_open) {
        try {
            inner().close(handle);
        } catch (...) {
        }
    }
    m_open.clear();
    m_killAt.reset();
    m_dead = false;
}

std::optional<std::errc> FaultyFileOps::due(Op op, const std::string& path,
                                            std::optional<OpenMode> mode) {
    step();
    ++m_operations;
    for (Armed& armed : m_faults) {
        const Fault& fault = armed.fault;
        if ((fault.op != op && !fault.anyOp) || (mode && !Matches(fault.opened, *mode)) ||
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

void FaultyFileOps::before(Op op, const std::string& path, std::optional<OpenMode> mode) {
    if (auto error = due(op, path, mode)) {
        raise(path, *error);
    }
}

void FaultyFileOps::raise(const std::string& path, std::errc error) {
    throw FileError(inner().nativeForm(path), std::make_error_code(error).message());
}

bool FaultyFileOps::exists(const std::string& path) {
    step();  // it answers rather than fails
    return ForwardingFileOps::exists(path);
}

FileOps::Handle FaultyFileOps::open(const std::string& path, OpenMode mode) {
    Handle handle = ForwardingFileOps::open(path, mode);
    m_open.emplace(handle.native, handle);
    return handle;
}

std::optional<FileOps::Handle> FaultyFileOps::lock(const std::string& path) {
    std::optional<Handle> handle = ForwardingFileOps::lock(path);
    if (handle) {
        m_open.emplace(handle->native, *handle);
    }
    return handle;
}

void FaultyFileOps::remove(const std::string& path) noexcept {
    try {
        step();
    } catch (const Killed&) {
        return;
    }
    ForwardingFileOps::remove(path);
}

void FaultyFileOps::close(Handle& file) {
    // Like the host's close, a failing close still releases the handle; a killed process closes
    // nothing (Reap does).
    std::optional<std::errc> error = due(Op::Close, file.path);
    if (auto found = m_open.find(file.native); found != m_open.end()) {
        m_open.erase(found);
    }
    inner().close(file);
    if (error) {
        raise(file.path, *error);
    }
}

}  // namespace korvale::test
