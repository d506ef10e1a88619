#include "RecordingLauncher.h"

#include <algorithm>

#include "platform/files/FileError.h"

namespace korvale::test {

void RecordingLauncher::start(const std::string& path) {
    if (m_refusal) {
        throw FileError(path, *m_refusal);
    }
    m_started.push_back(path);
    m_running.push_back(path);
}

bool RecordingLauncher::isRunning(const std::string& path) {
    return std::find(m_running.begin(), m_running.end(), path) != m_running.end();
}

}  // namespace korvale::test
