#include "platform/files/ReplacementFile.h"

#include <random>

#include "platform/files/FileError.h"

namespace korvale {

namespace {

// Every new file for a target is the target's name, this mark and a random part.
constexpr std::string_view kMark = ".korvale-new";

// A name beside `realTarget` that no file has now. The random part keeps names apart; creating
// the file exclusively makes sure that no one else has taken it meanwhile.
std::string freshName(FileOps& ops, const std::string& realTarget) {
    static std::random_device random;
    std::string name;
    do {
        name = realTarget + std::string(kMark) + "-" + std::to_string(random());
    } while (ops.exists(name));
    return name;
}

}  // namespace

ReplacementFile::ReplacementFile(FileOps& ops, const std::string& target, const std::string& model)
    : m_ops(ops), m_target(ops.resolve(target)), m_path(freshName(ops, m_target)) {
    FileOps::Handle handle;
    try {
        handle = m_ops.open(m_path, FileOps::OpenMode::CreateNew);
    } catch (const FileError& error) {
        throw FileError(m_ops.nativeForm(m_target), error.reason());
    }
    // Failures are told by the file the user knows: the one being replaced.
    handle.path = m_target;
    FileOps::Handle same = handle;
    m_stream.emplace(m_ops, std::move(handle), IOMode::ForWriting);
    try {
        m_ops.copyPermissions(model.empty() ? m_target : model, same);
    } catch (...) {
        m_stream.reset();
        m_ops.remove(m_path);
        throw;
    }
}

ReplacementFile::~ReplacementFile() {
    if (!m_committed) {
        m_stream.reset();  // closed before it goes, as the host would refuse to remove it
        m_ops.remove(m_path);
    }
}

void ReplacementFile::commit(const std::string& alsoDurable) {
    m_stream->flush();
    if (!alsoDurable.empty()) {
        // After the new file's flush, which has committed the journal its name is in, this one
        // costs nothing unless the file has bytes that are not on the disk yet.
        TextStream other(m_ops, m_ops.open(alsoDurable, FileOps::OpenMode::Append),
                         IOMode::ForReading);
        other.flush();
        other.Close();
    }
    m_stream->Close();
    m_ops.rename(m_path, m_target);
    m_committed = true;
}

void ReplacementFile::removeLeftovers(FileOps& ops, const std::string& target) {
    const std::string real = ops.resolve(target);
    const std::size_t end = real.find_last_of("\\/");  // either separator
    if (end == std::string::npos) {
        return;
    }
    const std::string folder = real.substr(0, end + 1);
    const std::string prefix = real.substr(end + 1) + std::string(kMark);
    for (const std::string& name : ops.list(folder)) {
        if (name.starts_with(prefix)) {
            ops.remove(folder + name);
        }
    }
}

}  // namespace korvale
