#include "platform/files/FileSystem.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/files/FileError.h"

namespace korvale {

namespace {
// Beside the profile's file: one Play at a time for each profile, whatever program runs it.
constexpr std::string_view kLockSuffix = ".korvale-lock";
}  // namespace

FileSystem::FileSystem(FileOps& ops, std::string programFolder)
    : m_ops(&ops), m_programFolder(std::move(programFolder)) {}

bool FileSystem::FileExists(const std::string& path) const {
    return m_ops->exists(path);
}

File FileSystem::GetFile(const std::string& path) const {
    if (!m_ops->exists(path)) {
        throw FileError(m_ops->nativeForm(path),
                        std::make_error_code(std::errc::no_such_file_or_directory).message());
    }
    return File(*m_ops, path);
}

TextStream FileSystem::CreateTextFile(const std::string& path, Access access) const {
    const auto mode = access == Access::OwnerOnly ? FileOps::OpenMode::CreateOwnerOnly
                                                  : FileOps::OpenMode::Create;
    return TextStream(*m_ops, m_ops->open(path, mode));
}

std::string FileSystem::programFile(std::string_view name) const {
    return m_programFolder + '\\' + std::string(name);
}

void FileSystem::replaceWhole(const std::string& path, std::string_view content,
                              const std::string& model) const {
    ReplacementFile replacement(*m_ops, path, model);
    replacement.stream().Write(content);
    replacement.commit();
}

void FileSystem::checkWritable(const std::string& path) const {
    TextStream(*m_ops, m_ops->open(path, FileOps::OpenMode::Append)).Close();
}

std::optional<FileLock> FileSystem::lockBeside(const std::string& path) const {
    std::optional<FileOps::Handle> held =
        m_ops->lock(m_ops->resolve(path) + std::string(kLockSuffix));
    if (!held) {
        return std::nullopt;
    }
    return std::optional<FileLock>(std::in_place, *m_ops, std::move(*held));
}

void FileSystem::removeLeftovers(std::initializer_list<std::string> paths) const {
    // Each folder is listed once, for all the files it holds new files of.
    std::map<std::string, std::vector<std::string>> prefixes;
    for (const std::string& path : paths) {
        const std::string real = m_ops->resolve(path);
        const std::size_t end = real.find_last_of("\\/");  // either separator
        if (end != std::string::npos) {
            prefixes[real.substr(0, end + 1)].push_back(real.substr(end + 1) +
                                                        std::string(ReplacementFile::kMark));
        }
    }
    for (const auto& [folder, starts] : prefixes) {
        for (const std::string& name : m_ops->list(folder)) {
            if (std::ranges::any_of(starts,
                                    [&](const auto& start) { return name.starts_with(start); })) {
                m_ops->remove(folder + name);
            }
        }
    }
}

std::string File::ReadAll() const {
    const std::uint64_t size = m_ops->size(m_path);
    TextStream stream(*m_ops, m_ops->open(m_path, FileOps::OpenMode::Read));
    std::string bytes = stream.ReadAll(static_cast<std::size_t>(size));
    stream.Close();
    return bytes;
}

}  // namespace korvale
