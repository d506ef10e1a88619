#pragma once

#include <string>
#include <utility>

#include "platform/ports/HostEnvironment.h"

namespace korvale::test {

// A host of the test's own: its system, architecture, home and local application data folders.
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

private:
    System m_system;
    Architecture m_architecture;
    std::string m_home;
    std::string m_localAppData;
};

}  // namespace korvale::test
