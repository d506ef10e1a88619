#include "platform/files/TextStream.h"

#include <algorithm>
#include <utility>

namespace korvale {

namespace {
constexpr std::size_t kPiece = 64 * 1024;
}  // namespace

TextStream::TextStream(FileOps& ops, FileOps::Handle handle)
    : m_ops(&ops), m_handle(std::move(handle)) {}

TextStream::TextStream(TextStream&& other) noexcept
    : m_ops(other.m_ops),
      m_handle(std::move(other.m_handle)),
      m_held(std::move(other.m_held)),
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

std::string TextStream::ReadAll(std::size_t expected) {
    // Room for the whole file, and a byte more so that the read that finds its end needs no more.
    std::string bytes(std::max<std::size_t>(expected + 1, 4096), '\0');
    std::size_t got = 0;
    while (const std::size_t read = m_ops->read(m_handle, bytes.data() + got, bytes.size() - got)) {
        got += read;
        if (got == bytes.size()) {
            bytes.resize(2 * got);
        }
    }
    bytes.resize(got);
    return bytes;
}

void TextStream::Write(std::string_view text) {
    if (text.size() >= kPiece) {
        writeHeld();
        m_ops->write(m_handle, text.data(), text.size());  // not copied first
        return;
    }
    m_held += text;
    if (m_held.size() >= kPiece) {
        writeHeld();  // a whole profile held twice would double a Play's memory
    }
}

void TextStream::writeHeld() {
    // What failed to go out is dropped, as a stream released after a failure drops it; what went
    // out leaves its room to the next piece.
    std::string held = std::exchange(m_held, {});
    if (!held.empty()) {
        m_ops->write(m_handle, held.data(), held.size());
    }
    held.clear();
    m_held = std::move(held);
}

void TextStream::flush() {
    writeHeld();
    m_ops->flush(m_handle);
}

void TextStream::Close() {
    if (!m_open) {
        return;
    }
    writeHeld();
    m_open = false;
    m_ops->close(m_handle);
}

}  // namespace korvale
