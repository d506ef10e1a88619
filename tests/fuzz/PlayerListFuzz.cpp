// The player list file as anything may have left it: the load keeps each name with its own
// password, record for record, and an append after it lands where the list ends.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "FuzzFiles.h"
#include "platform/files/FileSystem.h"
#include "settings/Identities.h"

using namespace korvale;
using namespace korvale::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const FuzzFiles folder(input.ConsumeIntegralInRange<std::size_t>(1, 300));
    const FileSystem& files = folder.files();
    const std::string before = input.ConsumeRemainingBytesAsString();
    folder.put("User.ini", before);

    // What the file holds, by the record rule: each line trimmed, split at its first comma,
    // lines without a comma left out; a UTF-8 byte-order mark before the first line is no part of
    // it.
    std::vector<Player> records;
    bool first = true;
    for (std::string line : LinesOf(before)) {
        if (first && line.rfind("\xEF\xBB\xBF", 0) == 0) {
            line.erase(0, 3);
        }
        first = false;
        const std::string record = SpacesTrimmed(line);
        const std::size_t comma = record.find(',');
        if (comma != std::string::npos) {
            records.push_back({record.substr(0, comma), record.substr(comma + 1)});
        }
    }

    Identities players(files);
    players.LoadPlayers();
    Require(std::equal(players.begin(), players.end(), records.begin(), records.end()),
            "the players are the records, each name with its own password, in file order");
    Require(folder.get("User.ini") == before, "the load leaves the file as it was");

    const Player added{" New Player ", " secret "};
    const std::size_t index = players.AppendPlayer(added);
    const std::string after = before + (before.empty() ? "" : "\r\n") + "New Player,secret";
    Require(folder.get("User.ini") == after, "the append adds one separated record and nothing else");
    Require(index == records.size() && players.count() == records.size() + 1 &&
                players.at(index) == added,
            "the new player goes last in the list, as typed");

    records.push_back({"New Player", "secret"});
    players.LoadPlayers();
    Require(std::equal(players.begin(), players.end(), records.begin(), records.end()),
            "the next start loads the old records and the new one");
    Require(folder.openHandles() == 0, "no file is left open");
    return 0;
}
