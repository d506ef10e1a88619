#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/files/FileOps.h"

namespace korvale {

// A single-byte text stream on one open file, which is small: read whole, or written in pieces
// of 64 KiB and the rest when flushed or closed. Bytes pass through unchanged. Closed when
// released, so a handler that returns or throws leaves nothing open.
class TextStream {
public:
    TextStream(FileOps& ops, FileOps::Handle handle);
    TextStream(TextStream&& other) noexcept;
    TextStream& operator=(TextStream&&) = delete;
    TextStream(const TextStream&) = delete;
    TextStream& operator=(const TextStream&) = delete;
    ~TextStream();

    // Everything from the stream's position to the end of the file. `expected`, the file's size
    // when known, lets it be read in one piece.
    std::string ReadAll(std::size_t expected);

    void Write(std::string_view text);

    // Writes out what is held, and makes it durable.
    void flush();
    // Writes out what is held and closes; a failure is raised. Releasing without Close closes
    // quietly and writes nothing more.
    void Close();

private:
    void writeHeld();

    FileOps* m_ops;
    FileOps::Handle m_handle;
    std::string m_held;  // written, not yet handed to the host
    bool m_open = true;
};

}  // namespace korvale
