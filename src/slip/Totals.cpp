#include "Totals.h"

#include "lines/FixedPoint.h"
#include "lines/YenText.h"

#include <limits>

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

Result compute(const Input &in)
{
    Result out;
    out.mnt = clampAmount(clampAmount(in.tecTotal) + clampAmount(in.partTotal));
    out.mntTx = clampAmount(in.lineTax);

    qint64 costSum = 0;
    qint64 tax = 0;
    for (const CostLine &c : in.costs) {
        const qint64 price = YenText::priceOf(c.price).value_or(0);
        costSum += price;
        if (c.taxable)
            tax += costTax(price, in.taxRate, in.rounding);
    }
    out.cstTx = clampAmount(tax);
    out.cst = clampAmount(clampAmount(in.wTax) + costSum + clampAmount(in.ins) + clampAmount(in.stamp));
    out.ttl = clampAmount(out.mnt + out.cst);
    out.txTtl = clampAmount(out.mntTx + out.cstTx);
    out.last = clampAmount(out.mnt + out.cst + out.txTtl - clampAmount(in.inc));
    return out;
}

Input inputOf(const SlipData &slip)
{
    Input in;
    in.tecTotal = slip.tecTotal;
    in.partTotal = slip.partTotal;
    in.lineTax = slip.mntTx;
    in.wTax = slip.wTax;
    in.ins = slip.ins;
    in.stamp = slip.stamp;
    for (size_t k = 0; k < in.costs.size(); ++k)
        in.costs[k] = CostLine{slip.costRows[k].price, slip.costRows[k].taxable};
    in.inc = slip.inc;
    in.taxRate = slip.taxRate;
    in.rounding = slip.taxCut;
    return in;
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
