#include "Totals.h"

#include "lines/FixedPoint.h"
#include "lines/LineItems.h"
#include "lines/YenText.h"

#include <algorithm>
#include <limits>
#include <map>

namespace Totals {

qint64 costTax(qint64 amount, qint64 ratePercentFixed, int mode)
{
    // t = amount × rate / 100 with the rate in ten-thousandths of a percent.
    // Prices are 32-bit and rates below 100 %, so the product cannot overflow.
    constexpr qint64 denominator = 100 * Fixed::One;
    const qint64 rate = qBound(qint64(0), ratePercentFixed, MaxRate);
    const qint64 price = qBound(qint64(std::numeric_limits<qint32>::min()), amount,
                                qint64(std::numeric_limits<qint32>::max()));
    const qint64 numerator = price * rate;
    qint64 q = numerator / denominator; // toward zero
    const qint64 r = numerator % denominator;
    if (r == 0)
        return q;
    switch (mode) {
    case TowardZero:
        return q;
    case Up:
        return r > 0 ? q + 1 : q;
    default: {
        const qint64 twice = r < 0 ? -2 * r : 2 * r;
        if (twice >= denominator)
            q += r < 0 ? -1 : 1;
        return q;
    }
    }
}

QString rateText(qint64 rate)
{
    return Fixed::toText(rate);
}

QString rateCaption(qint64 rate)
{
    return rate == 0 ? QStringLiteral("非課税") : rateText(rate) + QStringLiteral("%対象");
}

RateShare TaxBreakdown::share(qint64 rate) const
{
    for (const RateShare &r : rates)
        if (r.rate == rate)
            return r;
    return RateShare{rate, 0, 0};
}

TaxBreakdown taxBreakdown(const Input &in)
{
    using LineItems::RowKind;
    const LineItems::Settings settings{in.taxRate, in.rounding, 0};
    const bool perRate = in.calcMode == PerRate;
    // Highest rate first.
    std::map<qint64, RateShare, std::greater<>> shares;
    const auto shareOf = [&shares](qint64 rate) -> RateShare & {
        RateShare &r = shares[rate];
        r.rate = rate;
        return r;
    };

    TaxBreakdown out;
    for (const TRowData &row : in.rows) {
        const RowKind kind = LineItems::kindOf(row, in.categories);
        if (kind == RowKind::Subtotal)
            continue;
        const qint64 sign = kind == RowKind::Discount ? -1 : 1;
        const qint64 rate = row.TaxRate == -Fixed::One ? in.taxRate : row.TaxRate;
        // The base counts what the labour and parts totals count: each
        // amount in whole yen as shown. Rows without category are left out
        // there, so they are in no base either.
        if (kind != RowKind::Blank)
            shareOf(rate).base +=
                sign * (LineItems::roundToYen(row.WorkPrice) + LineItems::roundToYen(row.Price));
        if (!perRate && (kind != RowKind::Blank || row.Price != 0 || row.WorkPrice != 0))
            shareOf(rate).tax += sign * LineItems::rowTax(row, settings);
    }
    if (!perRate)
        out.lineTax = LineItems::CalcTaxTotal(in.rows, in.categories, settings);

    qint64 taxedCosts = 0;
    for (const CostLine &c : in.costs) {
        const qint64 price = YenText::priceOf(c.price).value_or(0);
        if (!c.taxable) {
            out.untaxed += price;
            continue;
        }
        taxedCosts += price;
        shareOf(in.taxRate).base += price;
        if (!perRate) {
            const qint64 t = costTax(price, in.taxRate, in.rounding);
            shareOf(in.taxRate).tax += t;
            out.costTax += t;
        }
    }
    out.untaxed += clampAmount(in.wTax) + clampAmount(in.ins) + clampAmount(in.stamp);

    if (perRate) {
        qint64 total = 0;
        for (auto &[rate, share] : shares) {
            share.tax = costTax(share.base, rate, in.rounding);
            total += share.tax;
        }
        // The costs' share is the tax on their sum; the lines carry the rest,
        // so that the two add up to the tax of the rates.
        out.costTax = costTax(taxedCosts, in.taxRate, in.rounding);
        out.lineTax = total - out.costTax;
    }
    for (const auto &[rate, share] : shares)
        if (share.base != 0 || share.tax != 0)
            out.rates.push_back(share);
    return out;
}

Result compute(const Input &in, TaxBreakdown *breakdown)
{
    const TaxBreakdown tax = taxBreakdown(in);
    Result out;
    out.mnt = clampAmount(clampAmount(in.tecTotal) + clampAmount(in.partTotal));
    out.mntTx = clampAmount(tax.lineTax);

    qint64 costSum = 0;
    for (const CostLine &c : in.costs)
        costSum += YenText::priceOf(c.price).value_or(0);
    out.cstTx = clampAmount(tax.costTax);
    out.cst = clampAmount(clampAmount(in.wTax) + costSum + clampAmount(in.ins) + clampAmount(in.stamp));
    out.ttl = clampAmount(out.mnt + out.cst);
    out.txTtl = clampAmount(out.mntTx + out.cstTx);
    out.last = clampAmount(out.mnt + out.cst + out.txTtl - clampAmount(in.inc));
    if (breakdown)
        *breakdown = tax;
    return out;
}

Input inputOf(const SlipData &slip, const LineCategoryList &categories)
{
    Input in;
    in.tecTotal = slip.tecTotal;
    in.partTotal = slip.partTotal;
    in.rows = slip.rows;
    in.categories = categories;
    in.wTax = slip.wTax;
    in.ins = slip.ins;
    in.stamp = slip.stamp;
    for (size_t k = 0; k < in.costs.size(); ++k)
        in.costs[k] = CostLine{slip.costRows[k].price, slip.costRows[k].taxable};
    in.inc = slip.inc;
    in.taxRate = slip.taxRate;
    in.rounding = slip.taxCut;
    in.calcMode = slip.taxCalcMode;
    return in;
}

void recompute(SlipData &slip, const LineCategoryList &categories)
{
    LineItems::recalcRows(slip.rows, categories, slip.ravor * Fixed::One);
    slip.tecTotal = clampAmount(LineItems::CalcTecTotal(slip.rows, categories));
    slip.partTotal = clampAmount(LineItems::CalcPartTotal(slip.rows, categories));
    store(compute(inputOf(slip, categories)), slip);
}

void store(const Result &result, SlipData &slip)
{
    slip.costTax = result.cstTx;
    slip.mnt = result.mnt;
    slip.cst = result.cst;
    slip.ttl = result.ttl;
    slip.mntTx = result.mntTx;
    slip.cstTx = result.cstTx;
    slip.txTtl = result.txTtl;
    slip.last = result.last;
}

} // namespace Totals
