#include "Totals.h"

#include "FixedPoint.h"

#include <limits>

namespace Totals {

std::optional<qint64> priceOf(QStringView text)
{
    text = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > qint64(std::numeric_limits<qint32>::max()) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return value;
}

QString groupedYen(qint64 value)
{
    const QString digits = QString::number(value < 0 ? -(value + 1) + 1ULL : quint64(value));
    QString out;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += u',';
        out += digits[i];
    }
    return value < 0 ? u'-' + out : out;
}

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
        const qint64 price = priceOf(c.price).value_or(0);
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
