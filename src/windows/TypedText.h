#pragma once

#include <optional>

#include <QString>
#include <QValidator>

namespace korvale {

// What a user may type into a box whose text Korvale keeps on one line of a Latin-1 file (User.ini,
// UTDir.ini, the game profile), and how a text it cannot keep is refused. One rule for every box;
// only the words differ.

// The words for one box; a null message means that check does not apply there.
struct TypedTextRule {
    const char* subject = nullptr;  // "The Player Name": what cannot hold a character
    const char* blank = nullptr;    // the message for an empty or all-space text
    const char* comma = nullptr;    // the message for a comma, with `commaDetail`
    const char* commaDetail = nullptr;
    const char* controlDetail = nullptr;  // %1: the character, as "U+000A"
    const char* latin1Detail = nullptr;
};

struct TextRefusal {
    QString text;
    QString detail;
};

// Checked in this order: blank, comma, control character, character beyond Latin-1.
std::optional<TextRefusal> refusal(const QString& text, const TypedTextRule& rule);
// Whether the text fits one line of a Latin-1 file: no control character, nothing beyond U+00FF.
bool fitsOneLatin1Line(const QString& text);

// Accepts only what fitsOneLatin1Line, so what is typed or pasted into a player list's edit box
// reaches the game profile exactly as shown, on its one line.
class Latin1Validator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& /*position*/) const override {
        return fitsOneLatin1Line(input) ? Acceptable : Invalid;
    }
};

// Empty, or spaces only: the emptiness test of every text a user types.
bool isBlank(const QString& text);
// The first character of `text` that Latin-1 cannot hold; empty when there is none.
QString firstNonLatin1(const QString& text);
// The first character below U+0020, or DEL, as "U+000A"; empty when there is none. A line break
// or the like would split the line a text is kept on in a file.
QString firstControl(const QString& text);

}  // namespace korvale
