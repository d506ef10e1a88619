// The player list file as anything may have left it: the load keeps the two lists paired, record
// for record, and an append after it lands where the lists end.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "MemoryFileOps.h"
#include "VectorPlayerList.h"
#include "platform/FileSystem.h"
#include "settings/PlayerFile.h"

using namespace korvale;
using namespace korvale::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    MemoryFileOps ops(input.ConsumeIntegralInRange<std::size_t>(1, 300));
    const FileSystem files(ops, "C:\\Korvale");
    const std::string path = "C:\\Korvale\\User.ini";
    const std::string before = input.ConsumeRemainingBytesAsString();
    ops.Put(path, before);

    // What the file holds, by the record rule: each line trimmed, split at its first comma,
    // lines without a comma left out.
    std::vector<std::string> names;
    std::vector<std::string> passwords;
    for (const std::string& line : LinesOf(before)) {
        const std::string record = SpacesTrimmed(line);
        const std::size_t comma = record.find(',');
        if (comma != std::string::npos) {
            names.push_back(record.substr(0, comma));
            passwords.push_back(record.substr(comma + 1));
        }
    }

    test::VectorPlayerList users;
    test::VectorPlayerList secrets;
    LoadPlayers(files, users, secrets);
    Require(users.Entries() == names, "the names are the records' names, in file order");
    Require(secrets.Entries() == passwords, "each password stands beside its own name");
    Require(ops.Get(path) == before, "the load leaves the file as it was");

    std::size_t lineBreaks = 0;
    for (const char byte : before) {
        lineBreaks += byte == '\n' ? 1u : 0u;
    }
    std::size_t handedIndex = SIZE_MAX;
    AppendPlayer(files, " New Player ", " secret ", [&](std::size_t index) {
        handedIndex = index;
        InsertPlayer(users, secrets, index, "New Player", "secret");
    });
    const std::string after = before + (before.empty() ? "" : "\r\n") + "New Player,secret";
    Require(ops.Get(path) == after, "the append adds one separated record and nothing else");
    Require(handedIndex == lineBreaks + (before.empty() ? 0u : 1u),
            "the index is the line breaks in the file after the append");
    Require(users.Count() == secrets.Count(), "the lists stay paired after the append");
    Require(users.Entries().back() == "New Player" && secrets.Entries().back() == "secret",
            "the new player goes last in both lists");

    test::VectorPlayerList reloadedUsers;
    test::VectorPlayerList reloadedSecrets;
    LoadPlayers(files, reloadedUsers, reloadedSecrets);
    names.push_back("New Player");
    passwords.push_back("secret");
    Require(reloadedUsers.Entries() == names && reloadedSecrets.Entries() == passwords,
            "the next start loads the old records and the new one");
    Require(ops.OpenHandles() == 0, "no file is left open");
    return 0;
}
