#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "ForwardingFileOps.h"

namespace korvale::test {

// Decorates a FileOps (the host's, in tests) so that chosen calls fail the way a full disk or a
// refused write would, raised as FileError; and counts the handles left open.
class FaultyFileOps final : public ForwardingFileOps {
public:
    using Op = ForwardingFileOps::Op;
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
        bool anyOp = false;           // every kind of call counts, not only `op`
    };

    explicit FaultyFileOps(FileOps& inner) : ForwardingFileOps(inner) {}

    void Inject(Fault fault) { m_faults.push_back({fault, 0}); }
    void Clear() { m_faults.clear(); }
    // How many calls were made to fail so far: a test checks that its fault was reached.
    std::size_t Injected() const noexcept { return m_injected; }
    std::size_t OpenHandles() const noexcept { return m_open.size(); }
    // How many calls that can fail were made so far, of every kind.
    std::size_t Operations() const noexcept { return m_operations; }

    Handle open(const std::string& path, OpenMode mode) override;
    void close(Handle& file) override;

protected:
    void before(Op op, const std::string& path, std::optional<OpenMode> mode) override;

private:
    struct Armed {
        Fault fault;
        std::size_t seen;
    };

    // The error to raise for this call, when one of the faults is due.
    std::optional<std::errc> due(Op op, const std::string& path,
                                 std::optional<OpenMode> mode = std::nullopt);
    [[noreturn]] void raise(const std::string& path, std::errc error);

    std::vector<Armed> m_faults;
    std::size_t m_injected = 0;
    std::size_t m_operations = 0;
    std::multiset<std::intptr_t> m_open;
};

}  // namespace korvale::test
