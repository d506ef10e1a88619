#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvale {

// The primitive operations on the host's files. Paths are UTF-8 text in Korvale's own form
// (backslashes allowed); an implementation turns them into native paths where it touches the
// disk. Every failure is raised as FileError. Tests decorate this interface to make any one
// operation fail.
class FileOps {
public:
    enum class OpenMode {
        Read,             // existing file, from the start
        Append,           // existing file, at its end
        Create,           // created, or emptied when it exists
        CreateOwnerOnly,  // as Create; a new file is readable and writable by its owner only
        CreateNew,        // a new file that must not exist yet (a temporary file)
    };

    struct Handle {
        std::intptr_t native = -1;
        std::string path;  // as given to open, for messages
    };

    virtual ~FileOps() = default;

    virtual bool exists(const std::string& path) = 0;
    virtual std::uint64_t size(const std::string& path) = 0;
    // The names of the entries of a folder, without "." and "..".
    virtual std::vector<std::string> list(const std::string& folder) = 0;
    virtual Handle open(const std::string& path, OpenMode mode) = 0;
    // Returns 0 only at the end of the file.
    virtual std::size_t read(Handle& file, char* buffer, std::size_t capacity) = 0;
    virtual void write(Handle& file, const char* data, std::size_t length) = 0;
    // Makes the bytes written through this handle, open for writing, durable.
    virtual void flush(Handle& file) = 0;
    virtual void close(Handle& file) = 0;
    // Replaces `to` with `from` in one step.
    virtual void rename(const std::string& from, const std::string& to) = 0;
    virtual void remove(const std::string& path) noexcept = 0;
    // The file a path finally names, symbolic links followed; the path itself when it is no link.
    virtual std::string resolve(const std::string& path) = 0;
    // Gives `file` the access of the file at `model`, when there is one: its permission bits and,
    // where the host permits, its owner and group (POSIX); its attributes and access list
    // (Windows).
    virtual void copyPermissions(const std::string& model, Handle& file) = 0;
    // Takes the host's exclusive lock on the file at `path` (created empty when missing) without
    // waiting: none when another open of it holds the lock. Closing the handle releases the lock,
    // and so does the host when the process ends, however it ends.
    virtual std::optional<Handle> lock(const std::string& path) = 0;
    // The path as the host writes it, for messages.
    virtual std::string nativeForm(const std::string& path) = 0;
};

}  // namespace korvale
