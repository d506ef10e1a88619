#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <set>
#include <string>

#include "ForwardingFileOps.h"
#include "platform/files/FileSystem.h"
#include "platform/host/NativeFileOps.h"

namespace korvale::fuzz {

// The host's files, with reads handed back at most `readChunk` bytes at a time, as a pipe or a
// network file system may: that moves the ends of the file layer's buffers to every place in a
// line. Counts the handles left open.
class ChunkedFileOps final : public test::ForwardingFileOps {
public:
    ChunkedFileOps(FileOps& inner, std::size_t readChunk)
        : ForwardingFileOps(inner), m_readChunk(std::max<std::size_t>(readChunk, 1)) {}

    Handle open(const std::string& path, OpenMode mode) override {
        Handle handle = ForwardingFileOps::open(path, mode);
        m_open.insert(handle.native);
        return handle;
    }
    void close(Handle& file) override {
        m_open.erase(file.native);
        ForwardingFileOps::close(file);
    }
    std::size_t read(Handle& file, char* buffer, std::size_t capacity) override {
        return ForwardingFileOps::read(file, buffer, std::min(capacity, m_readChunk));
    }
    std::size_t openHandles() const noexcept { return m_open.size(); }

private:
    std::size_t m_readChunk;
    std::multiset<std::intptr_t> m_open;
};

// A program folder of the run's own, emptied for every input.
class FuzzFiles {
public:
    explicit FuzzFiles(std::size_t readChunk) : m_ops(m_native, readChunk) {
        // One folder for the whole run, removed when it ends.
        static const struct RunFolder {
            RunFolder() {
                std::random_device random;
                do {
                    path = std::filesystem::temp_directory_path() /
                           ("korvale-fuzz-" + std::to_string(random()));
                } while (!std::filesystem::create_directory(path));
            }
            ~RunFolder() {
                std::error_code ignored;
                std::filesystem::remove_all(path, ignored);
            }
            std::filesystem::path path;
        } run;
        for (const auto& entry : std::filesystem::directory_iterator(run.path)) {
            std::filesystem::remove_all(entry.path());
        }
        m_folder = run.path;
        m_files.emplace(m_ops, m_folder.string());
    }

    const FileSystem& files() const { return *m_files; }
    std::size_t openHandles() const noexcept { return m_ops.openHandles(); }
    // A file beside the program, as Korvale names it.
    std::string path(const std::string& name) const { return m_files->programFile(name); }

    void put(const std::string& name, const std::string& bytes) const {
        std::ofstream(m_folder / name, std::ios::binary) << bytes;
    }
    std::optional<std::string> get(const std::string& name) const {
        std::ifstream in(m_folder / name, std::ios::binary);
        if (!in) {
            return std::nullopt;
        }
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    NativeFileOps m_native;
    ChunkedFileOps m_ops;
    std::filesystem::path m_folder;
    std::optional<FileSystem> m_files;
};

}  // namespace korvale::fuzz
