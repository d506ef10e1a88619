#pragma once

#include "platform/ProgramLauncher.h"

namespace korvale {

// Starts programs on the host: one source file per platform.
class NativeLauncher final : public ProgramLauncher {
public:
    void Start(const std::string& path) override;
};

}  // namespace korvale
