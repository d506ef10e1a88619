#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "ForwardingFileOps.h"

namespace korvale::test {

// Raised by every operation of a FaultyFileOps that was stopped dead. It is no std::exception, so
// no handler of Korvale's takes it for a failure it could report or put right.
struct Killed {};

// Decorates a FileOps (the host's, in tests) so that chosen calls fail the way a full disk or a
// refused write would, raised as FileError; counts the handles left open; and can stop dead, as a
// killed process does.
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

    // After `steps` more operations of any kind the process is as good as killed: that operation
    // and every later one does nothing and raises Killed (remove, which cannot raise, only does
    // nothing), so the files stay as a kill would leave them. Steps() counts what a run takes.
    void KillAfter(std::size_t steps) { m_killAt = m_steps + steps; }
    std::size_t Steps() const noexcept { return m_steps; }
    bool Dead() const noexcept { return m_dead; }
    // What the host does once a killed process is gone: every handle it held is closed, and its
    // locks are let go. The layer then works again.
    void Reap();

    bool exists(const std::string& path) override;
    Handle open(const std::string& path, OpenMode mode) override;
    void close(Handle& file) override;
    void remove(const std::string& path) noexcept override;
    std::optional<Handle> lock(const std::string& path) override;

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
    // Counts one step; raises Killed from the step the kill is due on.
    void step();

    std::vector<Armed> m_faults;
    std::size_t m_injected = 0;
    std::size_t m_operations = 0;
    std::multimap<std::intptr_t, Handle> m_open;
    std::size_t m_steps = 0;
    std::optional<std::size_t> m_killAt;
    bool m_dead = false;
};

}  // namespace korvale::test
