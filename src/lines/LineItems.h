#pragma once

#include "lines/LineCategories.h"
#include "lines/RowData.h"

#include <QList>

// The computations over the line items of a slip. All money stays in 64-bit
// fixed point (Fixed::One = 1 yen); whole yen appear only where a total is
// returned.
namespace LineItems {

// The grid always offers this many rows at least.
constexpr qsizetype MinRows = 30;

enum class RowKind { Blank, Normal, Discount, Subtotal };

// Blank: no category. A category that is not in the list counts as normal.
RowKind kindOf(const TRowData &row, const LineCategoryList &categories);

// The slip settings that the computations read; the host owns them.
struct Settings {
    qint64 taxRate = 0;    // percent, fixed point
    int rounding = 0;      // 0 half away from zero, 1 toward zero, 2 toward +infinity
    qint64 labourRate = 0; // yen per point, fixed point
};

// a × b of two fixed-point values, to the nearest 0.0001 (halves away from
// zero), saturated to the 64-bit range instead of overflowing.
qint64 multiply(qint64 a, qint64 b);
// A fixed-point value to whole yen, halves away from zero.
qint64 roundToYen(qint64 value);

// Row count rule: at least MinRows rows; trailing blank rows beyond that are
// dropped; a full list always ends with one blank row to type into.
void normalizeRowCount(QList<TRowData> &rows);

// Price := UnitPrice × Count and, while WorkPoint is not 0, WorkPrice :=
// labour rate × WorkPoint. Blank and discount rows keep what was entered.
// Returns whether the row changed.
bool recalcRow(TRowData &row, const LineCategoryList &categories, qint64 labourRate);
void recalcRows(QList<TRowData> &rows, const LineCategoryList &categories, qint64 labourRate);

// Labour and parts totals in whole yen: each normal row adds its value
// rounded to yen, a discount row subtracts it, a subtotal row receives the
// running sum since the previous subtotal (not added again). Blank rows are
// left out. Both write the subtotal rows.
qint64 CalcTecTotal(QList<TRowData> &rows, const LineCategoryList &categories);
qint64 CalcPartTotal(QList<TRowData> &rows, const LineCategoryList &categories);

// Tax of one row in whole yen, rounded by the slip's mode; never signed.
qint64 rowTax(const TRowData &row, const Settings &settings);
// Line tax total in whole yen: tax rounded per row, subtotal rows skipped,
// discount rows subtracting their own rounded tax, blank rows taxed as normal.
qint64 CalcTaxTotal(const QList<TRowData> &rows, const LineCategoryList &categories,
                    const Settings &settings);

} // namespace LineItems
