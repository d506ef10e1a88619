#pragma once

#include <QValidator>

namespace korvale {

// Accepts only text that Latin-1 can hold, without control characters, so what is typed or pasted
// into a player list's edit box reaches the game profile exactly as shown, on its one line.
class Latin1Validator final : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& position) const override;
};

}  // namespace korvale
