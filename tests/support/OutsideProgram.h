#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace korvale::test {

// A program the test starts itself, in `folder`, as a desktop shortcut or another launcher
// would: never through Korvale. Killed, if it still runs, and waited for when the object goes.
class OutsideProgram {
public:
    OutsideProgram(const std::vector<std::string>& arguments, const std::filesystem::path& folder);
    OutsideProgram(const OutsideProgram&) = delete;
    OutsideProgram& operator=(const OutsideProgram&) = delete;
    ~OutsideProgram();

    // Waits (at most `seconds`) for its end; true when it has ended.
    bool WaitForEnd(int seconds = 30);

private:
    std::intptr_t m_process = -1;  // the process id, or its handle on Windows
    bool m_ended = false;
};

}  // namespace korvale::test
