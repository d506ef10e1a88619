// Desktop entries in the applications folder, which menus, and Steam's "Add a Non-Steam Game",
// list, in freedesktop.org's desktop entry format.
#include <system_error>

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

#include "platform/files/FileError.h"
#include "platform/files/Text.h"
#include "windows/FormLayout.h"
#include "windows/QtText.h"
#include "windows/Shortcuts.h"

// Resources of a static library are registered by name, from the global namespace.
static void initShortcutResources() {
    Q_INIT_RESOURCE(korvale);
}

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
void writeWhole(const std::filesystem::path& path, const QByteArray& bytes,
                const std::string& shownPath) {
    QSaveFile file(QFile::decodeName(path.c_str()));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        throw FileError(shownPath, file.errorString().toStdString());
    }
}

}  // namespace

Shortcuts Shortcuts::forThisProgram() {
    return {QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString(),
            QFile::encodeName(
                QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation))
                .toStdString()};
}

std::filesystem::path Shortcuts::make(std::string_view name) const {
    std::error_code error;
    std::filesystem::create_directories(m_folder, error);
    if (error) {
        throw FileError(pathText(m_folder), error.message());
    }
    // The icon as a file of its own: an entry names its icon by path.
    initShortcutResources();
    QFile resource(toQString(kIconResource));
    const QByteArray icon = resource.open(QIODevice::ReadOnly) ? resource.readAll() : QByteArray();
    const std::filesystem::path iconPath = m_folder / "korvale.png";
    QFile existing(QFile::decodeName(iconPath.c_str()));
    if (!existing.open(QIODevice::ReadOnly) || existing.readAll() != icon) {
        writeWhole(iconPath, icon, pathText(iconPath));
    }

    const std::string text = latin1ToUtf8(name);
    const std::string entry = "[Desktop Entry]\nType=Application\nName=" +
                              fileValue("Unreal Tournament (" + text + ")") +
                              "\nExec=" + fileValue(execArgument(m_program.string()) + " --play " +
                                                    execArgument(text)) +
                              "\nIcon=" + fileValue(iconPath.string()) +
                              "\nCategories=Game;\nTerminal=false\n";
    const std::filesystem::path path = pathOf(name);
    writeWhole(path, QByteArray::fromStdString(entry), pathText(path));
    return path;
}

std::filesystem::path Shortcuts::pathOf(std::string_view name) const {
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
