#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/files/FileOps.h"
#include "platform/files/TextStream.h"

namespace korvale {

// A new file written beside the file it replaces and swapped in whole: the target holds either
// its old bytes or all the new ones, whenever the process stops. The new file is created
// exclusively under a name of its own, so two processes never write the same one; it is made
// durable before the swap.
class ReplacementFile {
public:
    // The swap lands on the file `target` finally names, so a symbolic link stays a link. The new
    // file gets the access of `model` (by default the target) when that file exists.
    ReplacementFile(FileOps& ops, const std::string& target, const std::string& model = {});
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;
    // Removes the new file unless it was swapped in.
    ~ReplacementFile();

    // The new file, open for writing.
    TextStream& stream() noexcept { return *m_stream; }
    // Writes out what is buffered, makes the new file durable, and the file at `alsoDurable` too
    // (a backup linked in), closes it and swaps it in.
    void commit(const std::string& alsoDurable = {});

    // Removes what a stopped process left of its new files for `target`: only names of this
    // pattern, and only when the caller knows that no one is writing one of them.
    static void removeLeftovers(FileOps& ops, const std::string& target);

private:
    FileOps& m_ops;
    std::string m_target;
    std::string m_path;
    std::optional<TextStream> m_stream;
    bool m_committed = false;
};

}  // namespace korvale
