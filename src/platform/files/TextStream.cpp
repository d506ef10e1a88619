#include "platform/files/TextStream.h"

#include <algorithm>
#include <utility>

namespace korvale {

namespace {
constexpr std::size_t kPiece = 64 * 1024;
}  // namespace

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

void TextStream::load(std::size_t expected) {
    if (m_loaded) {
        return;
    }
    // Room for the whole file, and a byte more so that the read that finds its end needs no more.
    m_text.resize(std::max<std::size_t>(expected + 1, 4096));
    std::size_t got = 0;
    while (const std::size_t read = m_ops->read(m_handle, m_text.data() + got, m_text.size() - got)) {
        got += read;
        if (got == m_text.size()) {
            m_text.resize(2 * got);
        }
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

std::string TextStream::ReadAll(std::size_t expected) {
    load(expected);
    std::string rest = m_next == 0 ? std::exchange(m_text, {}) : m_text.substr(m_next);
    m_next = m_text.size();
    return rest;
}

void TextStream::Write(std::string_view text) {
    m_line += static_cast<std::size_t>(std::ranges::count(text, '\n'));
    if (m_text.empty() && text.size() >= kPiece) {
        m_ops->write(m_handle, text.data(), text.size());  // a whole file: not copied first
        return;
    }
    m_text += text;
    if (m_text.size() >= kPiece) {
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
    const std::string held = std::exchange(m_text, {});
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
