#pragma once

#include <filesystem>
#include <string>

namespace korvale::bench {

// A fresh folder under the system's temporary folder, removed with everything in it.
class BenchFolder {
public:
    BenchFolder();
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;
    ~BenchFolder();

    const std::filesystem::path& Path() const noexcept { return m_path; }
    // A path inside, as UTF-8 text for Korvale's file layer.
    std::string Text(const std::filesystem::path& relative = {}) const;

private:
    std::filesystem::path m_path;
};

}  // namespace korvale::bench
