#include "LineItems.h"

#include <limits>

namespace LineItems {

namespace {

constexpr qint64 Max = std::numeric_limits<qint64>::max();
constexpr qint64 Min = std::numeric_limits<qint64>::min();

qint64 saturate(__int128 v)
{
    if (v > Max)
        return Max;
    if (v < Min)
        return Min;
    return qint64(v);
}

// n / d to the nearest integer, halves away from zero (d > 0).
__int128 divideRounded(__int128 n, __int128 d)
{
    __int128 q = n / d;
    const __int128 r = n % d;
    if (2 * r >= d)
        ++q;
    else if (-2 * r >= d)
        --q;
    return q;
}

qint64 add(qint64 a, qint64 b)
{
    return saturate(__int128(a) + b);
}

enum class Field { WorkPrice, Price };

qint64 columnTotal(QList<TRowData> &rows, const LineCategoryList &categories, Field field)
{
    qint64 total = 0;
    qint64 running = 0;
    for (TRowData &row : rows) {
        qint64 &value = field == Field::Price ? row.Price : row.WorkPrice;
        switch (kindOf(row, categories)) {
        case RowKind::Blank:
            break;
        case RowKind::Normal:
            total = add(total, roundToYen(value));
            running = add(running, roundToYen(value));
            break;
        case RowKind::Discount:
            total = add(total, -roundToYen(value));
            running = add(running, -roundToYen(value));
            break;
        case RowKind::Subtotal:
            value = saturate(__int128(running) * Fixed::One);
            running = 0;
            break;
        }
    }
    return total;
}

} // namespace

RowKind kindOf(const TRowData &row, const LineCategoryList &categories)
{
    if (row.LineDiv.isEmpty())
        return RowKind::Blank;
    const QString code = categories.typeCodeOf(row.LineDiv);
    if (code == LineCategoryList::DiscountCode)
        return RowKind::Discount;
    if (code == LineCategoryList::SubtotalCode)
        return RowKind::Subtotal;
    return RowKind::Normal;
}

qint64 multiply(qint64 a, qint64 b)
{
    return saturate(divideRounded(__int128(a) * b, Fixed::One));
}

qint64 roundToYen(qint64 value)
{
    return saturate(divideRounded(value, Fixed::One));
}

void normalizeRowCount(QList<TRowData> &rows)
{
    while (rows.size() < MinRows)
        rows.append(TRowData());
    while (rows.size() > MinRows && rows.constLast().LineDiv.isEmpty())
        rows.removeLast();
    if (!rows.constLast().LineDiv.isEmpty())
        rows.append(TRowData());
}

bool recalcRow(TRowData &row, const LineCategoryList &categories, qint64 labourRate)
{
    const RowKind kind = kindOf(row, categories);
    if (kind == RowKind::Blank || kind == RowKind::Discount)
        return false;
    const qint64 price = multiply(row.UnitPrice, row.Count);
    const qint64 workPrice = multiply(labourRate, row.WorkPoint);
    if (row.Price == price && row.WorkPrice == workPrice)
        return false;
    const TRowData before = row;
    row.Price = price;
    // Without points the labour charge is whatever the user typed.
    if (row.WorkPoint != 0)
        row.WorkPrice = workPrice;
    return !(row == before);
}

void recalcRows(QList<TRowData> &rows, const LineCategoryList &categories, qint64 labourRate)
{
    for (TRowData &row : rows)
        recalcRow(row, categories, labourRate);
}

qint64 CalcTecTotal(QList<TRowData> &rows, const LineCategoryList &categories)
{
    return columnTotal(rows, categories, Field::WorkPrice);
}

qint64 CalcPartTotal(QList<TRowData> &rows, const LineCategoryList &categories)
{
    return columnTotal(rows, categories, Field::Price);
}

qint64 rowTax(const TRowData &row, const Settings &settings)
{
    const qint64 rate = row.TaxRate == -Fixed::One ? settings.taxRate : row.TaxRate;
    // Tax to the nearest ten-thousandth of a yen from the unrounded amounts:
    // (Price + WorkPrice) × rate / 100, with rate itself in ten-thousandths.
    const __int128 base = __int128(row.Price) + row.WorkPrice;
    const __int128 t = divideRounded(base * rate, __int128(100) * Fixed::One);
    __int128 yen = t / Fixed::One;
    const __int128 rest = t % Fixed::One;
    switch (settings.rounding) {
    case 1:
        break;
    case 2:
        if (rest > 0)
            ++yen;
        break;
    default:
        yen = divideRounded(t, Fixed::One);
        break;
    }
    return saturate(yen);
}

qint64 CalcTaxTotal(const QList<TRowData> &rows, const LineCategoryList &categories, const Settings &settings)
{
    qint64 total = 0;
    for (const TRowData &row : rows) {
        const RowKind kind = kindOf(row, categories);
        if (kind == RowKind::Subtotal)
            continue;
        const qint64 t = rowTax(row, settings);
        total = add(total, kind == RowKind::Discount ? -t : t);
    }
    return total;
}

} // namespace LineItems
