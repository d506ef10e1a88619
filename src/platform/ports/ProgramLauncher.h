#pragma once

#include <string>

namespace korvale {

// Starts a program by its full path, shown minimized where the host has such a style, without
// waiting for it and without changing the working folder. A program that cannot be started
// raises FileError.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    virtual void start(const std::string& path) = 0;
    // Whether a program this launcher started by this path is still running. Never waits.
    virtual bool isRunning(const std::string& path) = 0;
};

}  // namespace korvale
