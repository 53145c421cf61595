#pragma once

#include <QString>

// The registration number of a qualified-invoice issuer: "T" followed by
// 13 digits, the first of which is a check digit over the other twelve.
namespace RegistrationNumber {

// The number as it is stored and printed: full-width digits and letters made
// half-width, a lower-case "t" made upper-case, spaces and hyphens removed,
// and "T" put in front of 13 bare digits. Anything else is kept as typed.
QString normalise(const QString &typed);

// Whether normalised text is "T" + 13 digits whose check digit is right.
bool isValid(const QString &normalised);

// The check digit for the twelve digits after it, or -1 for anything else.
int checkDigit(const QString &twelveDigits);

// The warning shown when a number fails the check; it is saved all the same,
// because old data and some sole proprietors' numbers must not block work.
QString checkWarning();

} // namespace RegistrationNumber
