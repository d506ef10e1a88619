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
    // Writes out the new file, makes it durable, closes it and swaps it in.
    void commit();

    // Every new file for a target is named after it: the target's name, this mark and a random
    // part.
    static constexpr std::string_view kMark = ".korvale-new";

private:
    FileOps& m_ops;
    std::string m_target;
    std::string m_path;
    std::optional<TextStream> m_stream;
    bool m_committed = false;
};

}  // namespace korvale
