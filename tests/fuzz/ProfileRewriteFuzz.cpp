// Any profile, any identity: the rewrite writes exactly one CR LF line per input line, the
// player-name and password lines by the key before the first "=", and every other line as it
// stood, trimmed.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "FuzzFiles.h"
#include "platform/files/FileSystem.h"
#include "play/ProfileRewrite.h"

using namespace korvale;
using namespace korvale::fuzz;

namespace {

// The identity comes from single-line boxes or from lines of the player list: no line feed.
std::string OneLine(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const FuzzFiles folder(input.ConsumeIntegralInRange<std::size_t>(1, 300));
    const FileSystem& files = folder.files();
    const std::string name = OneLine(input.ConsumeRandomLengthString(2048));
    const std::string password = OneLine(input.ConsumeRandomLengthString(256));
    const std::string profile = input.ConsumeRemainingBytesAsString();
    folder.put("UserKorvale.old", profile);
    folder.put("User.ini", "the profile before");

    {
        TextStream in = files.GetFile(folder.path("UserKorvale.old"))
                            .OpenAsTextStream(IOMode::ForReading);
        TextStream out =
            files.GetFile(folder.path("User.ini")).OpenAsTextStream(IOMode::ForWriting);
        RewriteProfile(in, out, name, password);
        in.Close();
        out.Close();
    }
    const std::string output = folder.get("User.ini").value_or("(gone)");

    const std::vector<std::string> lines = LinesOf(profile);
    std::size_t position = 0;
    for (const std::string& line : lines) {
        const std::string trimmed = SpacesTrimmed(line);
        const std::string key = trimmed.substr(0, trimmed.find('='));
        const bool hasEquals = trimmed.find('=') != std::string::npos;
        std::string expected = trimmed;
        if (hasEquals && (key == "Name" || key == "name")) {
            expected = "Name=" + name;
        } else if (hasEquals && key == "ngWorldSecret") {
            expected = "ngWorldSecret=" + password;
        }
        Require(output.size() >= position + expected.size() + 2 &&
                    output.compare(position, expected.size() + 2, expected + "\r\n") == 0,
                "each line comes out by its rule, ended with CR LF, in input order");
        position += expected.size() + 2;
    }
    Require(position == output.size(), "as many lines come out as went in, and nothing more");
    Require(folder.openHandles() == 0, "no file is left open");
    return 0;
}
