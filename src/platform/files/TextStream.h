#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/files/FileOps.h"

namespace korvale {

enum class IOMode { ForReading = 1, ForWriting = 2, ForAppending = 8 };

// A single-byte text stream on one open file, which is small: a reading stream reads it whole at
// its first read; a writing stream writes in pieces of 64 KiB, and the rest when flushed or
// closed. Bytes pass
// through unchanged; a line ends at LF or CR LF, and a lone CR is an ordinary byte of its line.
// Closed when released, so a handler that returns or throws leaves nothing open.
class TextStream {
public:
    // `initialLine` is 1 for reading and writing; for appending, one more than the line breaks
    // already in the file.
    TextStream(FileOps& ops, FileOps::Handle handle, IOMode mode, std::size_t initialLine = 1);
    TextStream(TextStream&& other) noexcept;
    TextStream& operator=(TextStream&&) = delete;
    TextStream(const TextStream&) = delete;
    TextStream& operator=(const TextStream&) = delete;
    ~TextStream();

    bool AtEndOfStream();
    // The next line without its line break.
    std::string ReadLine();
    // Everything from the stream's position to the end of the file, for a file read whole: its
    // line breaks are not counted in Line. `expected`, the file's size when known, lets it be
    // read in one piece.
    std::string ReadAll(std::size_t expected = 0);

    void Write(std::string_view text);
    void WriteBlankLines(std::size_t count);

    // One more than the line breaks before the stream's position.
    std::size_t Line() const noexcept { return m_line; }

    // Writes out what is held, and makes it durable.
    void flush();
    // Writes out what is held and closes; a failure is raised. Releasing without Close closes
    // quietly and writes nothing more.
    void Close();

private:
    void load(std::size_t expected = 0);
    void writeHeld();

    FileOps* m_ops;
    FileOps::Handle m_handle;
    IOMode m_mode;
    std::size_t m_line;
    std::string m_text;      // reading: the whole file; writing: the bytes not yet written
    std::size_t m_next = 0;  // reading: the next unread byte
    bool m_loaded = false;
    bool m_open = true;
};

}  // namespace korvale
