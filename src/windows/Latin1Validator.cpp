#include "windows/Latin1Validator.h"

#include "windows/TypedText.h"

namespace korvale {

QValidator::State Latin1Validator::validate(QString& input, int& /*position*/) const {
    return fitsOneLatin1Line(input) ? Acceptable : Invalid;
}

}  // namespace korvale
