#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/files/FileOps.h"

namespace korvale {

enum class IOMode { ForReading = 1, ForWriting = 2, ForAppending = 8 };

class TextStream;

// What becomes of each line a stream passes on.
class LineRule {
public:
    virtual ~LineRule() = default;
    // True only when the line, with its CR LF, would be written back exactly as it is. It may
    // answer false for a line that does come out unchanged: rewrite() then writes it.
    virtual bool keepsAsIs(std::string_view lineWithBreak) const noexcept = 0;
    // Writes the line (without its break) as the rule has it, with its line break.
    virtual void rewrite(std::string_view line, TextStream& output) const = 0;
};

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

    // Writes every line left in this stream to `output` as `rule` has it. Runs of lines the rule
    // keeps as they are are copied straight from the buffer, so a large file costs little more
    // than a copy.
    void passLinesTo(TextStream& output, const LineRule& rule);

    // For a caller that reads text of another encoding as bytes: the bytes buffered from the
    // stream's position on, read from the file when none are; empty only at the end. The view is
    // valid until the stream is next used.
    std::string_view peekBytes();
    // Moves past the first `count` bytes of peekBytes().
    void skipBytes(std::size_t count) noexcept;
    // Moves past `prefix` (a byte-order mark) when the stream's next bytes are exactly it; when
    // they are not, nothing moves and the result is false.
    bool skipPrefix(std::string_view prefix);

    void Write(std::string_view text);
    void WriteLine(std::string_view text);
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
    // The whole lines now buffered, each with its line break, from the stream's position on;
    // empty when no whole line is buffered. Valid until the stream is next used.
    std::string_view bufferedLines();
    // Moves past the first `bytes` of bufferedLines(), which hold `lineBreaks` line breaks.
    void skip(std::size_t bytes, std::size_t lineBreaks) noexcept;
    bool fill();
    bool fillAtLeast(std::size_t count);
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
