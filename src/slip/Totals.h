#pragma once

#include "SlipData.h"
#include "lines/LineCategories.h"

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <array>
#include <optional>
#include <vector>

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

// How a slip rounds its consumption tax.
enum CalcMode {
    PerLine = 0, // 明細ごと: each line's tax rounded, then summed (every slip without the key)
    PerRate = 1, // 税率ごと: the amounts of each rate summed, taxed and rounded once
};

// The values the totals are computed from.
struct Input {
    qint64 tecTotal = 0;  // labour total of the line items
    qint64 partTotal = 0; // parts total of the line items
    QList<TRowData> rows; // the line items, for their tax
    LineCategoryList categories;
    qint64 wTax = 0, ins = 0, stamp = 0;
    std::array<CostLine, 5> costs{};
    qint64 inc = 0;     // payment received
    qint64 taxRate = 0; // percent, fixed point
    int rounding = 0;
    int calcMode = PerLine;
};

// The amounts and the tax of one consumption-tax rate.
struct RateShare {
    qint64 rate = 0; // percent, fixed point
    qint64 base =
        0; // whole yen: lines of this rate (discounts negative) and, at the slip's rate, taxable costs
    qint64 tax = 0; // whole yen
    friend bool operator==(const RateShare &, const RateShare &) = default;
};

// The slip's tax, rate by rate. Per line, a rate's tax is the sum of its
// lines' rounded taxes (and, at the slip's rate, of the taxable cost rows'
// taxes); per rate it is the rate's base taxed and rounded once. Either way
// lineTax + costTax is the sum over the rates.
struct TaxBreakdown {
    std::vector<RateShare> rates; // the rates that occur, highest first
    qint64 lineTax = 0;           // the line items' share of the tax
    qint64 costTax = 0;           // the taxable cost rows' share
    // Statutory costs and cost rows without tax: in no tax base.
    qint64 untaxed = 0;
    // The share of a rate, or a zero share of it.
    RateShare share(qint64 rate) const;
};

// The reduced consumption-tax rate (food and newspapers); lines at it are marked on invoices.
constexpr qint64 ReducedRate = 8 * 10000;

// "10%対象", "8.5%対象", and "非課税" for 0 %: how a rate's share is captioned.
QString rateCaption(qint64 rate);
// The rate in percent as its shortest decimal text: "10", "8", "8.5".
QString rateText(qint64 rate);

// The one computation of the slip's tax by rate; compute() takes its totals from it.
TaxBreakdown taxBreakdown(const Input &in);

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
// In per-line mode the maintenance tax is the sum of the lines' rounded
// taxes; in per-rate mode each rate is rounded once over its lines and the
// taxable costs, and the costs' share is the tax of their sum alone.
Result compute(const Input &in, TaxBreakdown *breakdown = nullptr);

// The inputs as a slip holds them (rate, rounding and tax mode from [Tax],
// line totals and rows from [Line]).
Input inputOf(const SlipData &slip, const LineCategoryList &categories);
// What the header editor does when it recomputes everything, on a slip
// value: each row recomputed at the slip's labour rate, the labour and parts
// totals (subtotal rows written), then the totals. Printing without a window
// uses it, so a slip prints the same totals wherever it is printed from.
void recompute(SlipData &slip, const LineCategoryList &categories);
// Writes the totals into the slip's [Cost] Tax and [Price] fields.
void store(const Result &result, SlipData &slip);

} // namespace Totals
