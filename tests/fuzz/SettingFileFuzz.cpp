// The game folder setting file as anything may have left it, and any text saved into it: the
// folder is exactly the first line, the message comes exactly when it is blank, and a save reads
// back as the trimmed text's first line.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "FuzzFiles.h"
#include "platform/files/FileSystem.h"
#include "platform/ports/UiServices.h"
#include "settings/GameFolder.h"

using namespace korvale;
using namespace korvale::fuzz;

namespace {

class CountingUi final : public UiServices {
public:
    void showMessage(std::string_view text, std::string_view) override {
        messages.emplace_back(text);
    }
    bool processEvents() override { return true; }
    std::vector<std::string> messages;
};

// The first line as the file layer reads it; none for an empty file.
std::optional<std::string> FirstLine(const std::string& bytes) {
    const std::vector<std::string> lines = LinesOf(bytes);
    if (bytes.empty()) {
        return std::nullopt;
    }
    // A UTF-8 byte-order mark before the first line is no part of it.
    std::string line = lines.empty() ? std::string() : lines.front();
    if (line.rfind("\xEF\xBB\xBF", 0) == 0) {
        line.erase(0, 3);
    }
    return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const FuzzFiles folder(input.ConsumeIntegralInRange<std::size_t>(1, 300));
    const std::string typed = input.ConsumeRandomLengthString(512);
    const std::string before = input.ConsumeRemainingBytesAsString();
    GameFolder setting(folder.files());
    setting.SetDirIniPath();
    Require(setting.gDirIniPath() == folder.path("UTDir.ini"),
            "the setting file lies beside the program");
    folder.put("UTDir.ini", before);

    const std::optional<std::string> expected = FirstLine(before);
    Require(setting.ReadUTDirLine() == expected, "the read gives the first line, none when empty");
    CountingUi ui;
    setting.LoadUTDir(ui);
    Require(setting.gUTDir() == expected.value_or(""), "start-up keeps the first line untrimmed");
    const bool blank = SpacesTrimmed(setting.gUTDir()).empty();
    Require(ui.messages == (blank ? std::vector<std::string>{"The Path to UT Needs to be set"}
                                  : std::vector<std::string>{}),
            "the message comes exactly when the folder is blank");
    Require(folder.get("UTDir.ini") == before, "start-up only reads an existing setting file");

    setting.SaveUTDir(typed);
    const std::string saved = SpacesTrimmed(typed);
    Require(folder.get("UTDir.ini") == saved,
            "a save writes the trimmed text, no line break after it");
    Require(setting.gUTDir() == saved, "a save keeps the trimmed text in memory");
    Require(setting.ReadUTDirLine() == FirstLine(saved), "a save reads back as its first line");
    Require(folder.openHandles() == 0, "no file is left open");
    return 0;
}
