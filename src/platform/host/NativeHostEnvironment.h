#pragma once

#include "platform/ports/HostEnvironment.h"

namespace korvale {

// The host Korvale runs on: one source file per platform.
class NativeHostEnvironment final : public HostEnvironment {
public:
    System system() const override;
    Architecture architecture() const override;
    std::string homeFolder() const override;
    std::string localAppData() const override;
};

}  // namespace korvale
