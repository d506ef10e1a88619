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
    std::string variable(const std::string& name) const override;
    std::optional<std::string> registryString(RegistryRoot root, RegistryView view,
                                              const std::string& key,
                                              const std::string& value) const override;
    std::vector<std::string> registrySubkeys(RegistryRoot root, RegistryView view,
                                             const std::string& key) const override;
};

}  // namespace korvale
