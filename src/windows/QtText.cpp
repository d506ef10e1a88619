#include "windows/QtText.h"

namespace korvale {

QString toQString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString latin1ToQString(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::optional<std::string> qStringToLatin1(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar character : text) {
        if (character.unicode() > 0xFF) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<char>(character.unicode()));
    }
    return bytes;
}

}  // namespace korvale
