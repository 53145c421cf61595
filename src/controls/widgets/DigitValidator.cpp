#include "DigitValidator.h"

#include <algorithm>

DigitValidator::DigitValidator(int maxLength, QObject *parent) : QValidator(parent), maxLength_(maxLength) {}

QValidator::State DigitValidator::validate(QString &input, int &) const
{
    if (input.size() > maxLength_)
        return Invalid;
    const bool digits =
        std::all_of(input.cbegin(), input.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    return digits ? Acceptable : Invalid;
}
