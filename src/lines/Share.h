#pragma once

#include <QString>
#include <QtGlobal>

// Decimal text with "." as the decimal point to a number; 0 when the text is
// not a number (also for infinities, NaN and grouped digits).
double TextToFloat(const QString &text);

// The nearest whole number, halves away from zero (2.5 -> 3, -2.5 -> -3).
qint64 RoundHalfAway(double value);

// A new unique file name or code: the local date and time as a day number
// (days since 1899/12/30 with the time as the fraction) in shortest decimal
// text, then the millisecond tick count, then suffix.
QString MakeUniqueCode(const QString &suffix = {});
