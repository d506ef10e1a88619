#include "platform/files/TextStream.h"

#include <algorithm>
#include <utility>

namespace korvale {

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

std::size_t lineBreaks(std::string_view text) {
    // Summed a byte wide, 255 bytes at a time so that no byte overflows: the compiler then
    // compares 16 bytes an instruction, where a wider sum costs as much as the rewrite itself.
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); at += 255) {
        unsigned char block = 0;
        for (const char c : text.substr(at, 255)) {
            block = static_cast<unsigned char>(block + (c == '\n'));
        }
        count += block;
    }
    return count;
}

}  // namespace

TextStream::TextStream(FileOps& ops, FileOps::Handle handle, IOMode mode, std::size_t initialLine)
    : m_ops(&ops), m_handle(std::move(handle)), m_mode(mode), m_line(initialLine) {}

TextStream::TextStream(TextStream&& other) noexcept
    : m_ops(other.m_ops),
      m_handle(std::move(other.m_handle)),
      m_mode(other.m_mode),
      m_line(other.m_line),
      m_buffer(std::move(other.m_buffer)),
      m_begin(other.m_begin),
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

bool TextStream::fill(std::string& into, std::size_t room) {
    const std::size_t old = into.size();
    into.resize(old + room);
    into.resize(old + m_ops->read(m_handle, into.data() + old, room));
    return into.size() > old;
}

bool TextStream::AtEndOfStream() {
    if (m_begin < m_buffer.size()) {
        return false;
    }
    m_buffer.clear();
    m_begin = 0;
    return !fill(m_buffer, kBufferSize);
}

std::string TextStream::ReadLine() {
    std::string line;
    while (!AtEndOfStream()) {
        const std::size_t end = m_buffer.find('\n', m_begin);
        if (end != std::string::npos) {
            line.append(m_buffer, m_begin, end - m_begin);
            m_begin = end + 1;
            ++m_line;
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            return line;
        }
        line.append(m_buffer, m_begin);
        m_begin = m_buffer.size();
    }
    return line;  // a last line without a line break
}

std::string TextStream::ReadAll(std::size_t expected) {
    std::string rest = m_buffer.substr(m_begin);
    m_begin = m_buffer.size();
    // Room for the whole file at once, and for the read that finds its end.
    rest.reserve(rest.size() + expected + kBufferSize);
    while (fill(rest, std::max(kBufferSize, rest.capacity() - rest.size()))) {
    }
    m_line += lineBreaks(rest);
    return rest;
}

void TextStream::writeBuffered() {
    if (m_buffer.empty()) {
        return;
    }
    // What failed to go out is dropped, as a stream released after a failure drops it.
    try {
        m_ops->write(m_handle, m_buffer.data(), m_buffer.size());
    } catch (...) {
        m_buffer.clear();
        throw;
    }
    m_buffer.clear();
}

void TextStream::Write(std::string_view text) {
    m_line += lineBreaks(text);
    if (m_buffer.empty() && text.size() >= kBufferSize) {
        m_ops->write(m_handle, text.data(), text.size());  // not copied first
        return;
    }
    m_buffer += text;
    if (m_buffer.size() >= kBufferSize) {
        writeBuffered();
    }
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
    m_buffer.clear();
    m_ops->truncate(m_handle, length);
}

}  // namespace korvale
