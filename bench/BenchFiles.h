#pragma once

// What the benchmarks lay out on the disk: a folder of their own, profiles shaped like the game's
// and player lists.
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace korvale {

// A fresh folder under the system's temporary folder, removed with everything in it. Flushes are
// measured there, so TMPDIR must be on the real disk.
class BenchFolder {
public:
    BenchFolder() {
        std::random_device random;
        do {
            m_path = std::filesystem::temp_directory_path() /
                     ("korvale-bench-" + std::to_string(random()));
        } while (!std::filesystem::create_directory(m_path));
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;
    ~BenchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }

    const std::filesystem::path& Path() const noexcept { return m_path; }

private:
    std::filesystem::path m_path;
};

inline void WriteBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream(file, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

// A profile shaped like the game's own User.ini: about 25 KB in about 600 lines with CR LF,
// sections, key bindings (with "NoName="), aliases, server favourites, one "Name=" and one
// "ngWorldSecret=" line. `extra` is a line of its own: a character outside ASCII.
inline std::string RealisticProfile(std::string_view extra) {
    std::string profile = "[Engine.Input]\r\n";
    for (int key = 0; key < 256; ++key) {
        profile += (key % 9 == 0 ? "NoName" : "Key" + std::to_string(key)) + "=\r\n";
    }
    for (int alias = 0; alias < 40; ++alias) {
        profile += "Aliases[" + std::to_string(alias) +
                   "]=(Command=\"Button bFire | Fire\",Alias=Fire" + std::to_string(alias) +
                   ")\r\n";
    }
    profile += "[DefaultPlayer]\r\nName=Player\r\nClass=Botpack.TMale1\r\nTeam=255\r\n";
    profile += "[Engine.GameReplicationInfo]\r\nngWorldSecret=old\r\n";
    profile += "[UBrowserAll]\r\n" + std::string(extra) + "\r\n";
    for (int server = 0; profile.size() < 25 * 1024; ++server) {
        profile += "Favorites[" + std::to_string(server) + "]=Server " + std::to_string(server) +
                   "\\192.168.0." + std::to_string(server % 250) + "\\7778\\False\r\n";
    }
    return profile;
}

// A player list of `records` records separated by CR LF, none after the last.
inline std::string PlayerList(std::size_t records) {
    std::string list;
    for (std::size_t record = 0; record < records; ++record) {
        list += (record > 0 ? "\r\n" : "") + ("Player " + std::to_string(record)) + ",secret" +
                std::to_string(record);
    }
    return list;
}

}  // namespace korvale
