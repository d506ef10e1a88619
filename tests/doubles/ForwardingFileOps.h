#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/files/FileOps.h"

namespace korvale::test {

// Passes every call on to another FileOps. A test double derives from it and overrides only
// what it changes; before() sees each call that can fail, ahead of it.
class ForwardingFileOps : public FileOps {
public:
    enum class Op {
        Open,
        Read,
        Write,
        Flush,
        Close,
        Rename,
        Size,
        Resolve,
        Permissions,
        List,
        Lock
    };

    explicit ForwardingFileOps(FileOps& inner) : m_inner(&inner) {}

    bool exists(const std::string& path) override { return m_inner->exists(path); }
    std::uint64_t size(const std::string& path) override {
        before(Op::Size, path);
        return m_inner->size(path);
    }
    Handle open(const std::string& path, OpenMode mode) override {
        before(Op::Open, path, mode);
        return m_inner->open(path, mode);
    }
    std::size_t read(Handle& file, char* buffer, std::size_t capacity) override {
        before(Op::Read, file.path);
        return m_inner->read(file, buffer, capacity);
    }
    void write(Handle& file, const char* data, std::size_t length) override {
        before(Op::Write, file.path);
        m_inner->write(file, data, length);
    }
    void flush(Handle& file) override {
        before(Op::Flush, file.path);
        m_inner->flush(file);
    }
    void close(Handle& file) override {
        before(Op::Close, file.path);
        m_inner->close(file);
    }
    // Named by the file it would replace, as that is the one a caller knows.
    void rename(const std::string& from, const std::string& to) override {
        before(Op::Rename, to);
        m_inner->rename(from, to);
    }
    void remove(const std::string& path) noexcept override { m_inner->remove(path); }
    std::string resolve(const std::string& path) override {
        before(Op::Resolve, path);
        return m_inner->resolve(path);
    }
    void copyPermissions(const std::string& model, Handle& file) override {
        before(Op::Permissions, file.path);
        m_inner->copyPermissions(model, file);
    }
    std::vector<std::string> list(const std::string& folder) override {
        before(Op::List, folder);
        return m_inner->list(folder);
    }
    std::optional<Handle> lock(const std::string& path) override {
        before(Op::Lock, path);
        return m_inner->lock(path);
    }
    std::string nativeForm(const std::string& path) override { return m_inner->nativeForm(path); }

protected:
    virtual void before(Op /*op*/, const std::string& /*path*/,
                        std::optional<OpenMode> /*mode*/ = std::nullopt) {}
    FileOps& inner() const noexcept { return *m_inner; }

private:
    FileOps* m_inner;
};

}  // namespace korvale::test
