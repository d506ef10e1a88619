#pragma once

#include "platform/ports/ProgramLauncher.h"

namespace korvale {

// Starts programs on the host: one source file per platform.
class NativeLauncher final : public ProgramLauncher {
public:
    void start(const std::string& path) override;
};

}  // namespace korvale
