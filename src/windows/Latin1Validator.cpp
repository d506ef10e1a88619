#include "windows/Latin1Validator.h"

#include "windows/QtText.h"

namespace korvale {

QValidator::State Latin1Validator::validate(QString& input, int& /*position*/) const {
    return firstNonLatin1(input).isEmpty() && firstControl(input).isEmpty() ? Acceptable : Invalid;
}

}  // namespace korvale
