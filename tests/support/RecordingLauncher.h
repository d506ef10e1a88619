#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/ports/ProgramLauncher.h"

namespace korvale::test {

// Records the programs it is asked to start; can refuse, as a missing game program would.
class RecordingLauncher final : public ProgramLauncher {
public:
    void start(const std::string& path) override;
    // A program started here runs until Finish.
    bool isRunning(const std::string& path) override;

    void Refuse(std::string reason) { m_refusal = std::move(reason); }
    void Finish() { m_running.clear(); }
    const std::vector<std::string>& Started() const noexcept { return m_started; }

private:
    std::vector<std::string> m_started;
    std::vector<std::string> m_running;
    std::optional<std::string> m_refusal;
};

}  // namespace korvale::test
