#include "platform/files/TextStream.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/files/Text.h"

namespace korvale {

namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
}  // namespace

TextStream::TextStream(FileOps& ops, FileOps::Handle handle, IOMode mode, std::size_t initialLine)
    : m_ops(&ops),
      m_handle(std::move(handle)),
      m_mode(mode),
      m_line(initialLine),
      m_buffer(std::make_unique<char[]>(kBufferSize)) {}

TextStream::TextStream(TextStream&& other) noexcept
    : m_ops(other.m_ops),
      m_handle(std::move(other.m_handle)),
      m_mode(other.m_mode),
      m_line(other.m_line),
      m_buffer(std::move(other.m_buffer)),
      m_begin(other.m_begin),
      m_end(other.m_end),
      m_eof(other.m_eof),
      m_open(std::exchange(other.m_open, false)) {}

TextStream::~TextStream() {
    // Released without Close only on a failure path: what is still buffered is dropped rather
    // than written after the caller has started to put things right.
    if (m_open) {
        m_open = false;
        try {
            m_ops->close(m_handle);
        } catch (...) {
        }
    }
}

bool TextStream::fill() {
    if (m_eof) {
        return false;
    }
    m_begin = 0;
    m_end = m_ops->read(m_handle, m_buffer.get(), kBufferSize);
    if (m_end == 0) {
        m_eof = true;
    }
    return m_end > 0;
}

bool TextStream::AtEndOfStream() {
    return m_begin == m_end && !fill();
}

std::string TextStream::ReadLine() {
    std::string line;
    ReadLine(line);
    return line;
}

bool TextStream::ReadLine(std::string& line) {
    line.clear();
    while (m_begin < m_end || fill()) {
        const char* start = m_buffer.get() + m_begin;
        const std::size_t available = m_end - m_begin;
        const void* found = std::memchr(start, '\n', available);
        if (found != nullptr) {
            const auto length = static_cast<std::size_t>(static_cast<const char*>(found) - start);
            line.append(start, length);
            m_begin += length + 1;
            ++m_line;
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            return true;
        }
        line.append(start, available);
        m_begin = m_end;
    }
    return !line.empty();  // a last line without a line break
}

std::string_view TextStream::bufferedLines() {
    if (m_begin == m_end && !fill()) {
        return {};
    }
    const std::string_view buffered(m_buffer.get() + m_begin, m_end - m_begin);
    const auto last = buffered.rfind('\n');
    return last == std::string_view::npos ? std::string_view() : buffered.substr(0, last + 1);
}

void TextStream::skip(std::size_t bytes, std::size_t lineBreaks) noexcept {
    m_begin += bytes;
    m_line += lineBreaks;
}

void TextStream::passLinesTo(TextStream& output, const LineRule& rule) {
    std::string line;
    while (!AtEndOfStream()) {
        const std::string_view lines = bufferedLines();
        if (lines.empty()) {
            // A line across the end of the buffer.
            ReadLine(line);
            rule.rewrite(line, output);
            continue;
        }
        std::size_t runStart = 0;
        std::size_t lineStart = 0;
        std::size_t lineBreaks = 0;
        while (lineStart < lines.size()) {
            const std::size_t lineEnd = lines.find('\n', lineStart) + 1;
            ++lineBreaks;
            std::string_view whole = lines.substr(lineStart, lineEnd - lineStart);
            lineStart = lineEnd;
            if (rule.keepsAsIs(whole)) {
                continue;
            }
            output.Write(lines.substr(runStart, lineEnd - whole.size() - runStart));
            runStart = lineEnd;
            whole.remove_suffix(whole.size() >= 2 && whole[whole.size() - 2] == '\r' ? 2 : 1);
            rule.rewrite(whole, output);
        }
        output.Write(lines.substr(runStart));
        skip(lines.size(), lineBreaks);
    }
}

std::string_view TextStream::peekBytes() {
    if (m_begin == m_end && !fill()) {
        return {};
    }
    return {m_buffer.get() + m_begin, m_end - m_begin};
}

void TextStream::skipBytes(std::size_t count) noexcept {
    m_line += countLineBreaks({m_buffer.get() + m_begin, count});
    m_begin += count;
}

bool TextStream::fillAtLeast(std::size_t count) {
    // Reads may come short, so the bytes already buffered move to the front and more follow.
    while (m_end - m_begin < count && !m_eof) {
        std::memmove(m_buffer.get(), m_buffer.get() + m_begin, m_end - m_begin);
        m_end -= m_begin;
        m_begin = 0;
        const std::size_t got = m_ops->read(m_handle, m_buffer.get() + m_end, kBufferSize - m_end);
        m_eof = got == 0;
        m_end += got;
    }
    return m_end - m_begin >= count;
}

bool TextStream::skipPrefix(std::string_view prefix) {
    if (!fillAtLeast(prefix.size()) ||
        std::string_view(m_buffer.get() + m_begin, prefix.size()) != prefix) {
        return false;
    }
    skipBytes(prefix.size());
    return true;
}

void TextStream::writeBuffered() {
    if (m_end > 0) {
        const std::size_t pending = std::exchange(m_end, 0);
        m_ops->write(m_handle, m_buffer.get(), pending);
    }
}

void TextStream::Write(std::string_view text) {
    m_line += countLineBreaks(text);
    // The buffer is filled to the brim before it goes out, so the file grows in whole buffers.
    while (m_end + text.size() > kBufferSize) {
        if (m_end == 0) {
            m_ops->write(m_handle, text.data(), text.size());
            return;
        }
        const std::size_t room = kBufferSize - m_end;
        std::memcpy(m_buffer.get() + m_end, text.data(), room);
        m_end = kBufferSize;
        text.remove_prefix(room);
        writeBuffered();
    }
    if (!text.empty()) {
        std::memcpy(m_buffer.get() + m_end, text.data(), text.size());
        m_end += text.size();
    }
}

void TextStream::WriteLine(std::string_view text) {
    if (m_end + text.size() + 2 > kBufferSize) {
        Write(text);
        Write("\r\n");
        return;
    }
    m_line += countLineBreaks(text) + 1;
    if (!text.empty()) {
        std::memcpy(m_buffer.get() + m_end, text.data(), text.size());
        m_end += text.size();
    }
    m_buffer[m_end++] = '\r';
    m_buffer[m_end++] = '\n';
}

void TextStream::WriteBlankLines(std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        Write("\r\n");
    }
}

void TextStream::flush() {
    writeBuffered();
    m_ops->flush(m_handle);
}

void TextStream::Close() {
    if (!m_open) {
        return;
    }
    if (m_mode != IOMode::ForReading) {
        writeBuffered();
    }
    m_open = false;
    m_ops->close(m_handle);
}

void TextStream::truncate(std::uint64_t length) {
    m_end = 0;
    m_ops->truncate(m_handle, length);
}

}  // namespace korvale
