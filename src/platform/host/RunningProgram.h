#pragma once

#include <string>

namespace korvale {

// Whether a process of the host runs the program at `path` (a file-layer path), whoever started
// it: the same file, whatever path it was started by. One source file per host; never waits.
bool isProgramRunning(const std::string& path);

// Hosts other than Windows: whether the file at `program` (a native path) is a Windows program,
// which runs under Wine.
bool isWindowsProgram(const std::string& program);

}  // namespace korvale
