#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "platform/ports/ProgramLauncher.h"

namespace korvale {

// Starts programs on the host and tells whether they run: one source file per host.
class NativeLauncher final : public ProgramLauncher {
public:
    NativeLauncher() = default;
    NativeLauncher(const NativeLauncher&) = delete;
    NativeLauncher& operator=(const NativeLauncher&) = delete;
    ~NativeLauncher() override;

    void start(const std::string& path) override;
    bool isRunning(const std::string& path) override;

private:
    void forget(const std::string& path);

    // The programs started here, by path: what the host tells their end by (a process descriptor
    // or handle).
    std::map<std::string, std::intptr_t> m_started;
};

}  // namespace korvale
