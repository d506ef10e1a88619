#pragma once

#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/ports/HostEnvironment.h"

namespace korvale::test {

// A host of the test's own: its system, architecture, home and local application data folders,
// and the environment variables and registry values each test sets.
class FakeHost final : public HostEnvironment {
public:
    FakeHost(System system, Architecture architecture, std::string home = {},
             std::string localAppData = {})
        : m_system(system),
          m_architecture(architecture),
          m_home(std::move(home)),
          m_localAppData(std::move(localAppData)) {}

    System system() const override { return m_system; }
    Architecture architecture() const override { return m_architecture; }
    std::string homeFolder() const override { return m_home; }
    std::string localAppData() const override { return m_localAppData; }

    using RegistryValue = std::tuple<RegistryRoot, RegistryView, std::string, std::string>;
    void Set(const std::string& variable, std::string value) {
        m_variables[variable] = std::move(value);
    }
    // A registry string by root, view, key and value name; one value a key.
    void Set(const RegistryValue& at, std::string data) { m_registry[at] = std::move(data); }

    std::string variable(const std::string& name) const override {
        return m_variables.contains(name) ? m_variables.at(name) : "";
    }
    std::optional<std::string> registryString(RegistryRoot root, RegistryView view,
                                              const std::string& key,
                                              const std::string& value) const override {
        const auto found = m_registry.find({root, view, key, value});
        return found != m_registry.end() ? std::optional(found->second) : std::nullopt;
    }
    std::vector<std::string> registrySubkeys(RegistryRoot root, RegistryView view,
                                             const std::string& key) const override {
        std::vector<std::string> names;
        for (const auto& [at, data] : m_registry) {
            const auto& [inRoot, inView, path, value] = at;
            if (inRoot == root && inView == view && path.starts_with(key + '\\')) {
                names.push_back(path.substr(key.size() + 1));
            }
        }
        return names;
    }

private:
    System m_system;
    Architecture m_architecture;
    std::string m_home;
    std::string m_localAppData;
    std::map<std::string, std::string> m_variables;
    std::map<RegistryValue, std::string> m_registry;
};

}  // namespace korvale::test
