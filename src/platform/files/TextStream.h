#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/files/FileOps.h"

namespace korvale {

enum class IOMode { ForReading = 1, ForWriting = 2, ForAppending = 8 };

// A single-byte text stream on one open file. Bytes pass through unchanged; a line ends at LF or
// CR LF, and a lone CR is an ordinary byte of its line. Closed when released, so a handler that
// returns or throws leaves nothing open.
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
    // Everything from the stream's position to the end of the file, held in one piece of at least
    // `expected` bytes.
    std::string ReadAll(std::size_t expected = 0);

    void Write(std::string_view text);
    void WriteBlankLines(std::size_t count);

    // One more than the line breaks before the stream's position.
    std::size_t Line() const noexcept { return m_line; }

    // Writes out what is buffered, and makes it durable.
    void flush();
    // Flushes what is buffered and closes; a failure is raised. Releasing without Close closes
    // quietly.
    void Close();

    // Cuts the file back to `length` bytes, dropping anything still buffered.
    void truncate(std::uint64_t length);

private:
    // The one read of the stream: up to `room` bytes more of the file onto the end of `into`;
    // false at its end.
    bool fill(std::string& into, std::size_t room);
    void writeBuffered();

    FileOps* m_ops;
    FileOps::Handle m_handle;
    IOMode m_mode;
    std::size_t m_line;
    std::string m_buffer;     // reading: the bytes read; writing: the bytes not yet written
    std::size_t m_begin = 0;  // reading: the next unread byte of the buffer
    bool m_open = true;
};

}  // namespace korvale
