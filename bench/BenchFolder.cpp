#include "BenchFolder.h"

#include <random>

namespace fs = std::filesystem;

namespace korvale::bench {

BenchFolder::BenchFolder() {
    std::random_device random;
    do {
        m_path = fs::temp_directory_path() / ("korvale-bench-" + std::to_string(random()));
    } while (!fs::create_directory(m_path));
}

BenchFolder::~BenchFolder() {
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
}

std::string BenchFolder::Text(const fs::path& relative) const {
    const std::u8string text = (relative.empty() ? m_path : m_path / relative).u8string();
    return {text.begin(), text.end()};
}

}  // namespace korvale::bench
