#pragma once

#include <string>

namespace korvale {

// Starts a program by its full path in the host's form (as GameFolder::gamePaths gives it),
// shown minimized where the host has such a style, without waiting for it and without changing
// the working folder. A program that cannot be started raises FileError.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    virtual void start(const std::string& path) = 0;
    // Whether the program at this path runs, whoever started it (this launcher, a shortcut,
    // another launcher): a process of the same file, whatever path started it. Never waits.
    virtual bool isRunning(const std::string& path) = 0;
};

}  // namespace korvale
