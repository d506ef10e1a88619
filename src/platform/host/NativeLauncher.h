#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "platform/ports/ProgramLauncher.h"

namespace korvale {

// Starts programs on the host and keeps track of them: one source file per platform.
class NativeLauncher final : public ProgramLauncher {
public:
    // `formatHandlers`: where the host lists the handlers it runs programs of other formats with
    // (Linux's binfmt_misc), for telling whether it can start a Windows program by itself.
    explicit NativeLauncher(std::string formatHandlers = "/proc/sys/fs/binfmt_misc");
    NativeLauncher(const NativeLauncher&) = delete;
    NativeLauncher& operator=(const NativeLauncher&) = delete;
    ~NativeLauncher() override;

    void start(const std::string& path) override;
    bool isRunning(const std::string& path) override;

private:
    std::string m_formatHandlers;
    // The programs started, by path: what the host tells their end by (a process descriptor or
    // handle).
    std::map<std::string, std::intptr_t> m_started;
};

}  // namespace korvale
