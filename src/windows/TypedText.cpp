#include "windows/TypedText.h"

#include <algorithm>

#include <QList>

namespace korvale {

std::optional<TextRefusal> refusal(const QString& text, const TypedTextRule& rule) {
    const QString subject = QString::fromUtf8(rule.subject);
    if (rule.blank != nullptr && isBlank(text)) {
        return TextRefusal{QString::fromUtf8(rule.blank), {}};
    }
    if (rule.comma != nullptr && text.contains(u',')) {
        return TextRefusal{QString::fromUtf8(rule.comma), QString::fromUtf8(rule.commaDetail)};
    }
    if (const QString code = firstControl(text); !code.isEmpty()) {
        return TextRefusal{subject + QStringLiteral(" cannot hold a control character"),
                       QString::fromUtf8(rule.controlDetail).arg(code)};
    }
    if (const QString character = firstNonLatin1(text); !character.isEmpty()) {
        return TextRefusal{subject + QStringLiteral(" cannot hold the character \"%1\"").arg(character),
                       QString::fromUtf8(rule.latin1Detail)};
    }
    return std::nullopt;
}

bool fitsOneLatin1Line(const QString& text) {
    return firstNonLatin1(text).isEmpty() && firstControl(text).isEmpty();
}

bool isBlank(const QString& text) {
    return std::ranges::all_of(text, [](QChar character) { return character == u' '; });
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

}  // namespace korvale
