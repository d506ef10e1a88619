#include "RecordingLauncher.h"

#include "platform/files/FileError.h"

namespace korvale::test {

void RecordingLauncher::start(const std::string& path) {
    if (m_refusal) {
        throw FileError(path, *m_refusal);
    }
    m_started.push_back(path);
}

}  // namespace korvale::test
