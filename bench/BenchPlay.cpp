#include "BenchPlay.h"

#include "FixedPick.h"
#include "ProfileGenerator.h"
#include "platform/files/FileSystem.h"
#include "platform/host/NativeHostEnvironment.h"
#include "platform/ports/UiServices.h"
#include "play/PlayCommand.h"
#include "settings/GameFolder.h"

namespace fs = std::filesystem;

namespace korvale::bench {

namespace {

std::string utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

class SilentUi final : public UiServices {
public:
    void showMessage(std::string_view text, std::string_view detail) override {
        m_last = std::string(text) + " " + std::string(detail);
    }
    bool processEvents() override { return true; }
    const std::string& last() const noexcept { return m_last; }

private:
    std::string m_last;
};

}  // namespace

void layOutPlay(const fs::path& root, const fs::path& profile) {
    fs::create_directories(root / "program");
    fs::create_directories(root / "game" / "System");
    WriteBytes(root / "program" / "UTDir.ini", utf8(root / "game"));
    fs::copy_file(profile, root / "game" / "System" / "User.ini",
                  fs::copy_options::overwrite_existing);
}

std::string playOnce(const fs::path& root, FileOps& ops, ProgramLauncher& launcher) {
    const FileSystem files(ops, utf8(root / "program"));
    SilentUi ui;
    GameFolder setting(files);
    const NativeHostEnvironment host;
    PlayCommand(files, setting, ui, launcher, host)
        .PlayUT(test::FixedPick{0, "Bench Player", "s3cret"});
    return ui.last();
}

}  // namespace korvale::bench
