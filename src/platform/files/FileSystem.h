#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "platform/files/FileOps.h"
#include "platform/files/ReplacementFile.h"
#include "platform/files/TextStream.h"

namespace korvale {

class File;

// The host's lock on one file (FileSystem::lockBeside), held for as long as the stream on it
// lives, across processes; the host lets it go when the process ends, however it ends.
using FileLock = TextStream;

// Korvale's file layer: a few operations on small single-byte text files, over the host's
// FileOps, and the few a Play needs to switch a profile safely. Paths are UTF-8 text; Korvale
// forms them with backslashes.
class FileSystem {
public:
    enum class Access { Default, OwnerOnly };

    FileSystem(FileOps& ops, std::string programFolder);

    bool FileExists(const std::string& path) const;
    // A missing file is a failure.
    File GetFile(const std::string& path) const;
    // Creates the file, or empties an existing one, and returns a stream open for writing.
    TextStream CreateTextFile(const std::string& path, Access access = Access::Default) const;

    // The folder of the program, without a trailing separator (a root keeps its own).
    const std::string& programFolder() const noexcept { return m_programFolder; }
    // The program folder, a backslash and the name.
    std::string programFile(std::string_view name) const;

    // Replaces the bytes of `path` (creating it when missing) in one step: the file holds either
    // its old bytes or all of `content`. A symbolic link stays a link; mode and owner are kept, or
    // taken from `model` when one is named (ReplacementFile).
    void replaceWhole(const std::string& path, std::string_view content,
                      const std::string& model = {}) const;
    // A new file that replaces `path` whole once committed (ReplacementFile).
    ReplacementFile replacement(const std::string& path) const {
        return ReplacementFile(*m_ops, path);
    }

    // The host's lock of one Play of the file `path` finally names, on a file beside it, across
    // processes; none while another holder has it.
    std::optional<FileLock> lockBeside(const std::string& path) const;
    // Removes what a stopped process left of its replacement files for these paths: only when
    // the caller knows that no one is writing one of them.
    void removeLeftovers(std::initializer_list<std::string> paths) const;

    // Raises the host's refusal when the file may not be opened for writing; changes nothing.
    void checkWritable(const std::string& path) const;

    // The path as the host writes it: for messages, and for what is handed to the host.
    std::string nativePath(const std::string& path) const { return m_ops->nativeForm(path); }

private:
    FileOps* m_ops;
    std::string m_programFolder;
};

// A handle on an existing file.
class File {
public:
    File(FileOps& ops, std::string path) : m_ops(&ops), m_path(std::move(path)) {}

    // The whole file.
    std::string ReadAll() const;

private:
    FileOps* m_ops;
    std::string m_path;
};

}  // namespace korvale
