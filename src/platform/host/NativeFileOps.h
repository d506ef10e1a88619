#pragma once

#include <utility>

#include "platform/files/FileOps.h"

namespace korvale {

// The host's files: one source file per platform.
class NativeFileOps final : public FileOps {
public:
    // The running executable, and the folder that holds it without a trailing separator: as the
    // host names them.
    static std::string programPath();
    static std::string programFolder();

    // Paths in `folder`, the program's, keep it as the host gave it: only what Korvale adds after
    // it takes the host's separators.
    explicit NativeFileOps(std::string folder = programFolder())
        : m_programFolder(std::move(folder)) {}

    bool exists(const std::string& path) override;
    std::uint64_t size(const std::string& path) override;
    std::vector<std::string> list(const std::string& folder) override;
    Handle open(const std::string& path, OpenMode mode) override;
    std::size_t read(Handle& file, char* buffer, std::size_t capacity) override;
    void write(Handle& file, const char* data, std::size_t length) override;
    void flush(Handle& file) override;
    void close(Handle& file) override;
    void rename(const std::string& from, const std::string& to) override;
    void remove(const std::string& path) noexcept override;
    std::string resolve(const std::string& path) override;
    void copyPermissions(const std::string& model, Handle& file) override;
    std::optional<Handle> lock(const std::string& path) override;
    std::string nativeForm(const std::string& path) override;

private:
    std::string m_programFolder;
};

}  // namespace korvale
