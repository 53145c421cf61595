#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

// Line-item numbers: signed 64-bit integers counting ten-thousandths
// (1 yen = 10000), so that money is exact where it matters.
namespace Fixed {

constexpr qint64 One = 10000;

// Decimal text ("1500", "-0.5", "1e3") to the nearest 0.0001, halves away
// from zero. Text that is not a number, or is out of range, gives 0.
qint64 fromText(QStringView text);
// The shortest decimal text: "1500", "0.5", "-1", "109.89"; no grouping.
QString toText(qint64 value);

// A floating-point result to the nearest 0.0001 (halves away from zero).
qint64 fromDouble(double value);
inline double toDouble(qint64 value)
{
    return double(value) / double(One);
}

} // namespace Fixed
