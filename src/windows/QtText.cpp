#include "windows/QtText.h"

#include <algorithm>

#include <QList>

namespace korvale {

QString toQString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString fromLatin1(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::optional<std::string> toLatin1(const QString& text) {
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

QString firstNonLatin1(const QString& text) {
    for (const uint character : text.toUcs4()) {
        if (character > 0xFF) {
            const auto point = static_cast<char32_t>(character);
            return QString::fromUcs4(&point, 1);
        }
    }
    return {};
}

QString firstControl(const QString& text) {
    for (const QChar character : text) {
        if (character.unicode() < 0x20 || character.unicode() == 0x7F) {
            return QStringLiteral("U+%1")
                .arg(character.unicode(), 4, 16, QLatin1Char('0'))
                .toUpper();
        }
    }
    return {};
}

bool isBlank(const QString& text) {
    return std::ranges::all_of(text, [](QChar character) { return character == u' '; });
}

}  // namespace korvale
