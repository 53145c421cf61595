#include "GridText.h"

using namespace Qt::StringLiterals;

namespace GridText {

namespace {

qint64 powerOfTen(int n)
{
    qint64 p = 1;
    for (int i = 0; i < n; ++i)
        p *= 10;
    return p;
}

QString grouped(quint64 whole)
{
    QString digits = QString::number(whole);
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, u',');
    return digits;
}

} // namespace

QString number(qint64 value, int width, int decimals)
{
    if (value == 0)
        return {};
    decimals = qBound(0, decimals, 4);
    const bool negative = value < 0;
    quint64 magnitude = negative ? quint64(0) - quint64(value) : quint64(value);
    // Round away from zero at the last shown decimal.
    const quint64 unit = quint64(powerOfTen(4 - decimals));
    magnitude = (magnitude / unit) + ((magnitude % unit) * 2 >= unit ? 1 : 0);
    const quint64 scale = quint64(powerOfTen(decimals));
    QString text = grouped(magnitude / scale);
    if (decimals > 0)
        text += u'.' + QString::number(magnitude % scale).rightJustified(decimals, u'0');
    if (negative)
        text.prepend(u'-');
    return text.rightJustified(width, u' ');
}

QString rate(qint64 taxRate)
{
    if (taxRate == -Fixed::One)
        return {};
    // A rate of 0 is a tax-free row and must show, unlike a 0 amount.
    QString text = taxRate == 0 ? u" 0.0"_s : number(taxRate, 4, 1);
    text.remove(u','); // %4.1f has no separators
    return u' ' + text + u'%';
}

QString lowerNumber(const TRowData &row, int column, bool discount)
{
    switch (column) {
    case 3:
        return number(row.WorkPoint, 6, 2);
    case 4:
        return discount && row.WorkPrice != 0 ? u"▲"_s + number(row.WorkPrice, 9, 0)
                                              : number(row.WorkPrice, 11, 0);
    case 5:
        return number(row.UnitPrice, 11, 0);
    case 6:
        return number(row.Count, 7, 2);
    case 7:
        return discount && row.Price != 0 ? u"▲"_s + number(row.Price, 9, 0) : number(row.Price, 11, 0);
    default:
        return {};
    }
}

} // namespace GridText
