#include "platform/files/TextStream.h"

#include <algorithm>
#include <utility>

namespace korvale {

TextStream::TextStream(FileOps& ops, FileOps::Handle handle, IOMode mode, std::size_t initialLine)
    : m_ops(&ops), m_handle(std::move(handle)), m_mode(mode), m_line(initialLine) {}

TextStream::TextStream(TextStream&& other) noexcept
    : m_ops(other.m_ops),
      m_handle(std::move(other.m_handle)),
      m_mode(other.m_mode),
      m_line(other.m_line),
      m_text(std::move(other.m_text)),
      m_next(other.m_next),
      m_loaded(other.m_loaded),
      m_open(std::exchange(other.m_open, false)) {}

TextStream::~TextStream() {
    // Released without Close only on a failure path: what is held is dropped rather than written
    // after the caller has started to put things right.
    if (m_open) {
        m_open = false;
        try {
            m_ops->close(m_handle);
        } catch (...) {
        }
    }
}

void TextStream::load() {
    if (m_loaded) {
        return;
    }
    // Each read asks for as much again as the file has given so far, and the one that finds the
    // end gives 0.
    std::size_t got = 0;
    for (std::size_t room = 64 * 1024;; room = std::max(room, got)) {
        m_text.resize(got + room);
        const std::size_t read = m_ops->read(m_handle, m_text.data() + got, room);
        if (read == 0) {
            break;
        }
        got += read;
    }
    m_text.resize(got);
    m_loaded = true;
}

bool TextStream::AtEndOfStream() {
    load();
    return m_next >= m_text.size();
}

std::string TextStream::ReadLine() {
    load();
    const std::size_t end = std::min(m_text.find('\n', m_next), m_text.size());
    std::string line = m_text.substr(m_next, end - m_next);
    if (end < m_text.size()) {
        ++m_line;
        if (line.ends_with('\r')) {
            line.pop_back();
        }
    }
    m_next = std::min(end + 1, m_text.size());
    return line;
}

std::string TextStream::ReadAll() {
    load();
    std::string rest = m_text.substr(std::min(m_next, m_text.size()));
    m_next = m_text.size();
    m_line += static_cast<std::size_t>(std::ranges::count(rest, '\n'));
    return rest;
}

void TextStream::Write(std::string_view text) {
    m_line += static_cast<std::size_t>(std::ranges::count(text, '\n'));
    m_text += text;
    if (m_text.size() >= 64 * 1024) {
        writeHeld();  // a whole profile held twice would double a Play's memory
    }
}

void TextStream::WriteBlankLines(std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        Write("\r\n");
    }
}

void TextStream::writeHeld() {
    // What failed to go out is dropped, as a stream released after a failure drops it.
    std::string held = std::exchange(m_text, {});
    if (!held.empty()) {
        m_ops->write(m_handle, held.data(), held.size());
    }
}

void TextStream::flush() {
    writeHeld();
    m_ops->flush(m_handle);
}

void TextStream::Close() {
    if (!m_open) {
        return;
    }
    if (m_mode != IOMode::ForReading) {
        writeHeld();
    }
    m_open = false;
    m_ops->close(m_handle);
}

}  // namespace korvale
