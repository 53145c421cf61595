#pragma once

#include "SlipData.h"

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <array>
#include <optional>

// The money side of a slip: the consumption tax on the other costs and the
// totals of the header. Amounts are whole yen.
namespace Totals {

// Every amount the header shows lies in 0 .. AmountMax; a value outside is
// shown as the nearest bound, and the next total is computed from what is shown.
constexpr qint64 AmountMax = 100000000;
constexpr qint64 clampAmount(qint64 value)
{
    return value < 0 ? 0 : (value > AmountMax ? AmountMax : value);
}

// Rounding modes of a slip.
enum Rounding { HalfAwayFromZero = 0, TowardZero = 1, Up = 2 };

// The tax on amount x at rate (percent, fixed point: 8 % = 80000), rounded by
// mode: 1 toward zero, 2 toward plus infinity, 0 and any other value half away
// from zero. Computed exactly, so 1050 at 5 % is exactly 52.5. The rate is
// taken as the rate edit shows it, clamped into 0 .. MaxRate.
constexpr qint64 MaxRate = 999900; // 99.99 %
qint64 costTax(qint64 amount, qint64 ratePercentFixed, int mode);

struct CostLine {
    QString price; // the price cell's text
    bool taxable = false;
};

// The values the totals are computed from.
struct Input {
    qint64 tecTotal = 0;  // labour total of the line items
    qint64 partTotal = 0; // parts total of the line items
    qint64 lineTax = 0;   // the line items' tax total
    qint64 wTax = 0, ins = 0, stamp = 0;
    std::array<CostLine, 5> costs{};
    qint64 inc = 0;     // payment received
    qint64 taxRate = 0; // percent, fixed point
    int rounding = 0;
};

// The totals as shown, each within 0 .. AmountMax.
struct Result {
    qint64 mnt = 0;   // maintenance total
    qint64 mntTx = 0; // maintenance tax
    qint64 cst = 0;   // costs total
    qint64 cstTx = 0; // costs tax (also shown in the cost section)
    qint64 ttl = 0;   // total before tax
    qint64 txTtl = 0; // tax total
    qint64 last = 0;  // amount due
    friend bool operator==(const Result &, const Result &) = default;
};

// Recomputes the totals. Every input is first taken as its display shows it
// (clamped) and every result is clamped before a later step uses it. The
// costs tax is rounded per row and then summed, so a negative row lowers it.
Result compute(const Input &in);

// The inputs as a slip holds them (rate and rounding from [Tax], line totals
// from [Line]); the line tax is not stored in a slip, so it is taken from the
// stored maintenance tax.
Input inputOf(const SlipData &slip);
// Writes the totals into the slip's [Cost] Tax and [Price] fields.
void store(const Result &result, SlipData &slip);

} // namespace Totals
