#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/FileOps.h"

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
    // The same into a buffer the caller reuses; false when nothing was left to read.
    bool ReadLine(std::string& line);

    // For a caller that passes runs of lines through unchanged, without copying them line by
    // line: the whole lines now buffered, each with its line break, from the stream's position
    // on. Empty when no whole line is buffered (ReadLine then reads on across the buffer's end).
    // The view is valid until the stream is next used.
    std::string_view BufferedLines();
    // Moves past the first `bytes` of BufferedLines(), which hold `lineBreaks` line breaks.
    void Skip(std::size_t bytes, std::size_t lineBreaks) noexcept;

    void Write(std::string_view text);
    void WriteLine(std::string_view text);
    void WriteBlankLines(std::size_t count);

    // One more than the line breaks before the stream's position.
    std::size_t Line() const noexcept { return m_line; }

    // Writes out what is buffered, and makes it durable.
    void Flush();
    // Flushes what is buffered and closes; a failure is raised. Releasing without Close closes
    // quietly.
    void Close();

    // Cuts the file back to `length` bytes, dropping anything still buffered.
    void Truncate(std::uint64_t length);

    const std::string& Path() const noexcept { return m_handle.path; }

private:
    bool fill();
    void writeBuffered();

    FileOps* m_ops;
    FileOps::Handle m_handle;
    IOMode m_mode;
    std::size_t m_line;
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_begin = 0;  // reading: next unread byte
    std::size_t m_end = 0;    // reading: end of valid bytes; writing: bytes pending
    bool m_eof = false;
    bool m_open = true;
};

}  // namespace korvale
