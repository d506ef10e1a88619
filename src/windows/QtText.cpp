#include "windows/QtText.h"

#include <algorithm>

#include <QList>

namespace korvale {

QString FromLatin1(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::optional<std::string> ToLatin1(const QString& text) {
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

QString FirstNonLatin1(const QString& text) {
    for (const uint character : text.toUcs4()) {
        if (character > 0xFF) {
            const auto point = static_cast<char32_t>(character);
            return QString::fromUcs4(&point, 1);
        }
    }
    return {};
}

bool IsBlank(const QString& text) {
    return std::ranges::all_of(text, [](QChar character) { return character == u' '; });
}

}  // namespace korvale
