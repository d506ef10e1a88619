#pragma once

#include <utility>

#include "platform/files/TextStream.h"

namespace korvale {

// The host's lock on one file (FileSystem::lockBeside), held for as long as the object lives,
// across processes. It goes with the handle, which the stream closes when released, and the host
// lets it go when the process ends, however it ends.
class FileLock {
public:
    explicit FileLock(TextStream held) : m_held(std::move(held)) {}

private:
    TextStream m_held;
};

}  // namespace korvale
