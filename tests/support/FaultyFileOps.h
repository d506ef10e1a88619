#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "platform/FileOps.h"

namespace korvale::test {

// Decorates a FileOps (the host's, in tests) so that chosen calls fail the way a full disk or a
// refused write would, raised as FileError; and counts the handles left open.
class FaultyFileOps final : public FileOps {
public:
    // Any matches every kind: a test that makes each operation in turn fail counts them with it.
    enum class Op {
        Open,
        Read,
        Write,
        Flush,
        Truncate,
        Close,
        Rename,
        Size,
        Resolve,
        Permissions,
        Any
    };
    enum class Opened { Any, ForReading, ForWriting };

    struct Fault {
        Op op = Op::Open;
        std::size_t nth = 1;  // the first matching call that fails, counted from 1
        std::errc error = std::errc::no_space_on_device;
        // Only calls on a path holding this count ('\' and '/' alike). A plain pointer to a literal
        // keeps Fault trivially copyable: a std::string here sets off GCC's maybe-uninitialized
        // warning at -O3 wherever a table of faults is copied.
        const char* pathContains = "";
        Opened opened = Opened::Any;  // for Open: only opens of this kind count
        std::size_t times = 1;        // matching calls that fail in a row; 0 for all from nth on
    };

    explicit FaultyFileOps(FileOps& inner) : m_inner(&inner) {}

    void Inject(Fault fault) { m_faults.push_back({std::move(fault), 0}); }
    void Clear() { m_faults.clear(); }
    // How many calls were made to fail so far: a test checks that its fault was reached.
    std::size_t Injected() const noexcept { return m_injected; }
    std::size_t OpenHandles() const noexcept { return m_open.size(); }
    // How many calls that can fail were made so far, of every kind.
    std::size_t Operations() const noexcept { return m_operations; }

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
    std::string resolve(const std::string& path) override;
    void copyPermissions(const std::string& model, Handle& file) override;
    std::string nativeForm(const std::string& path) override;

private:
    struct Armed {
        Fault fault;
        std::size_t seen;
    };

    // The error to raise for this call, when one of the faults is due.
    std::optional<std::errc> due(Op op, const std::string& path,
                                 std::optional<OpenMode> mode = std::nullopt);
    [[noreturn]] void raise(const std::string& path, std::errc error);

    FileOps* m_inner;
    std::vector<Armed> m_faults;
    std::size_t m_injected = 0;
    std::size_t m_operations = 0;
    std::multiset<std::intptr_t> m_open;
};

}  // namespace korvale::test
