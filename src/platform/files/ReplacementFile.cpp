#include "platform/files/ReplacementFile.h"

#include <random>

#include "platform/files/FileError.h"

namespace korvale {

namespace {

// A name beside `realTarget` that no file has now. The random part keeps names apart; creating
// the file exclusively makes sure that no one else has taken it meanwhile.
std::string freshName(FileOps& ops, const std::string& realTarget) {
    static std::random_device random;
    std::string name;
    do {
        name = realTarget + std::string(ReplacementFile::kMark) + "-" + std::to_string(random());
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
    m_stream.emplace(m_ops, handle);
    try {
        m_ops.copyPermissions(model.empty() ? m_target : model, handle);
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

void ReplacementFile::commit() {
    m_stream->flush();
    m_stream->Close();
    m_ops.rename(m_path, m_target);
    m_committed = true;
}

}  // namespace korvale
