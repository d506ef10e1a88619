// Desktop entries in the applications folder, which menus, and Steam's "Add a Non-Steam Game",
// list, in freedesktop.org's desktop entry format.
#include <cstdlib>
#include <fstream>
#include <system_error>

#include "platform/files/FileError.h"
#include "platform/files/Text.h"
#include "platform/host/NativeFileOps.h"
#include "platform/host/NativeShortcuts.h"

namespace korvale {

namespace {

// One argument of the Exec key, always quoted: inside the quotes a backslash goes before each of
// the four characters a desktop's parsing gives a meaning there, and a % is doubled, as field
// codes are.
std::string execArgument(std::string_view text) {
    std::string quoted = "\"";
    for (const char character : text) {
        if (character == '"' || character == '`' || character == '$' || character == '\\') {
            quoted += '\\';
        }
        quoted += character;
        if (character == '%') {
            quoted += '%';
        }
    }
    return quoted + '"';
}

// A value as the file's string type holds it: one line, its spaces kept.
std::string fileValue(std::string_view text) {
    std::string value;
    for (const char character : text) {
        switch (character) {
            case '\\': value += "\\\\"; break;
            case '\n': value += "\\n"; break;
            case '\t': value += "\\t"; break;
            case '\r': value += "\\r"; break;
            case ' ': value += value.empty() ? "\\s" : " "; break;
            default: value += character;
        }
    }
    return value;
}

// Written beside, then renamed over the old file: a reader sees the old file or the whole new one.
void writeWhole(const std::filesystem::path& path, std::string_view bytes,
                const std::string& shownPath) {
    std::filesystem::path beside = path;
    beside += ".korvale-new";
    std::ofstream file(beside, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    std::error_code error;
    if (file.fail()) {
        error = std::make_error_code(std::errc::io_error);
    } else {
        std::filesystem::rename(beside, path, error);
    }
    if (error) {
        std::filesystem::remove(beside, error);
        throw FileError(shownPath, file.fail() ? "it could not be written" : error.message());
    }
}

}  // namespace

NativeShortcuts NativeShortcuts::forThisProgram(std::string icon) {
    // The applications folder of the XDG base directories.
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    const std::filesystem::path share = data != nullptr && *data == '/' ? std::filesystem::path(data)
                                        : std::filesystem::path(home != nullptr ? home : "") /
                                              ".local" / "share";
    return {NativeFileOps::programPath(), share / "applications", std::move(icon)};
}

std::string NativeShortcuts::make(std::string_view name) const {
    std::error_code error;
    std::filesystem::create_directories(m_folder, error);
    if (error) {
        throw FileError(pathText(m_folder), error.message());
    }
    // The icon as a file of its own: an entry names its icon by path.
    const std::filesystem::path iconPath = m_folder / "korvale.png";
    std::ifstream existing(iconPath, std::ios::binary);
    if (std::string(std::istreambuf_iterator<char>(existing), {}) != m_icon) {
        writeWhole(iconPath, m_icon, pathText(iconPath));
    }

    const std::string text = latin1ToUtf8(name);
    const std::string entry = "[Desktop Entry]\nType=Application\nName=" +
                              fileValue("Unreal Tournament (" + text + ")") +
                              "\nExec=" + fileValue(execArgument(m_program.string()) + " --play " +
                                                    execArgument(text)) +
                              "\nIcon=" + fileValue(iconPath.string()) +
                              "\nCategories=Game;\nTerminal=false\n";
    const std::filesystem::path path = pathOf(name);
    writeWhole(path, entry, pathText(path));
    return pathText(path);
}

std::filesystem::path NativeShortcuts::pathOf(std::string_view name) const {
    // Letters, digits and "-" stand for themselves, any other byte for "_" and its hex digits:
    // safe in any file name, and one name to one file.
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string file = "korvale-";
    for (const char character : name) {
        const auto byte = static_cast<unsigned char>(character);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
            (byte >= '0' && byte <= '9') || byte == '-') {
            file += character;
        } else {
            file += {'_', kHex[byte >> 4], kHex[byte & 0xF]};
        }
    }
    return m_folder / (file + ".desktop");
}

}  // namespace korvale
