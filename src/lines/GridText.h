#pragma once

#include "lines/RowData.h"

#include <QString>

// The texts that the line-item grid draws in its cells.
namespace GridText {

// A fixed-point value with thousands separators and the given count of
// decimals (rounded half away from zero), padded on the left with blanks to
// width characters; 0 gives an empty text.
QString number(qint64 value, int width, int decimals);

// The row rate as " %4.1f%": "  8.0%"; empty for a row that follows the
// slip's rate (−1).
QString rate(qint64 taxRate);

// Lower-line text of a number column 3..7 (点数, 工賃, 単価, 数量, 金額);
// discount rows show labour and amount as "▲" + a 9-wide number.
QString lowerNumber(const TRowData &row, int column, bool discount);

} // namespace GridText
