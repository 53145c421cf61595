#include "FixedPoint.h"

#include "Share.h"

#include <cmath>
#include <limits>

namespace Fixed {

namespace {

constexpr qint64 Max = std::numeric_limits<qint64>::max();

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

qint64 fromText(QStringView input)
{
    const QStringView text = input.trimmed();
    qsizetype p = 0;
    const qsizetype n = text.size();
    bool negative = false;
    if (p < n && (text[p] == u'-' || text[p] == u'+'))
        negative = text[p++] == u'-';

    // Mantissa digits with the position of the decimal point.
    QString digits;
    qsizetype pointAt = -1;
    for (; p < n; ++p) {
        if (isDigit(text[p]))
            digits += text[p];
        else if (text[p] == u'.' && pointAt < 0)
            pointAt = digits.size();
        else
            break;
    }
    if (digits.isEmpty())
        return 0;
    if (pointAt < 0)
        pointAt = digits.size();
    if (p < n && (text[p] == u'e' || text[p] == u'E')) {
        ++p;
        bool expNegative = false;
        if (p < n && (text[p] == u'-' || text[p] == u'+'))
            expNegative = text[p++] == u'-';
        if (p >= n || !isDigit(text[p]))
            return 0;
        int exponent = 0;
        for (; p < n && isDigit(text[p]); ++p)
            exponent = qMin(exponent * 10 + (text[p].unicode() - u'0'), 100000);
        pointAt += expNegative ? -exponent : exponent;
    }
    if (p != n)
        return 0;

    // value = digits * 10^(pointAt - digits.size()); scale by 10^4 and round
    // at the first dropped digit.
    const qsizetype keep = pointAt + 4; // digits that form the integer result
    qint64 result = 0;
    for (qsizetype i = 0; i < keep; ++i) {
        const int d = i < digits.size() ? digits[i].unicode() - u'0' : 0;
        if (result > (Max - d) / 10)
            return 0; // out of range
        result = result * 10 + d;
    }
    if (keep >= 0 && keep < digits.size() && digits[keep] >= u'5') {
        if (result == Max)
            return 0;
        ++result;
    }
    return negative ? -result : result;
}

QString toText(qint64 value)
{
    const bool negative = value < 0;
    const quint64 magnitude = negative ? quint64(0) - quint64(value) : quint64(value);
    const quint64 whole = magnitude / quint64(One);
    quint64 frac = magnitude % quint64(One);
    QString out;
    if (negative)
        out += u'-';
    out += QString::number(whole);
    if (frac != 0) {
        QString f = QString::number(frac).rightJustified(4, u'0');
        while (f.endsWith(u'0'))
            f.chop(1);
        out += u'.' + f;
    }
    return out;
}

qint64 fromDouble(double value)
{
    return RoundHalfAway(value * double(One));
}

} // namespace Fixed
