#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "platform/ports/ProgramLauncher.h"

namespace korvale {

// Starts programs on the host and tells whether they run. What the hosts share is here; what
// differs, one source file per host.
class NativeLauncher final : public ProgramLauncher {
public:
    NativeLauncher() = default;
    NativeLauncher(const NativeLauncher&) = delete;
    NativeLauncher& operator=(const NativeLauncher&) = delete;
    ~NativeLauncher() override {
        for (const auto& [path, process] : m_started) {
            release(process);
        }
    }

    void start(const std::string& path) override;
    // The game started here is known by its own process from its start on: the host may not let
    // it be queried (Windows), and Wine shows it by its program only once it has loaded it.
    bool isRunning(const std::string& path) override {
        const auto found = m_started.find(path);
        if (found != m_started.end() && !hasEnded(found->second)) {
            return true;
        }
        forget(path);
        return isProgramRunning(path);
    }

private:
    // The host's: whether a process started here has ended, letting go of what tells it (a
    // process descriptor or handle), and whether any process runs the program.
    static bool hasEnded(std::intptr_t process);
    static void release(std::intptr_t process) noexcept;
    static bool isProgramRunning(const std::string& path);

    void remember(const std::string& path, std::intptr_t process) {
        forget(path);
        m_started.emplace(path, process);
    }
    void forget(const std::string& path) {
        if (const auto found = m_started.find(path); found != m_started.end()) {
            release(found->second);
            m_started.erase(found);
        }
    }

    // The programs started here, by path.
    std::map<std::string, std::intptr_t> m_started;
};

}  // namespace korvale
