#include "DatePattern.h"

#include "controls/EraTable.h"

namespace DatePattern {

QString format(QDate date, QStringView pattern, const EraTable &eras)
{
    QString out;
    const qsizetype n = pattern.size();
    qsizetype p = 0;
    const int eraIndex = eras.eraIndexAt(date);
    const QString eraName = eraIndex < 0 ? QString() : eras.eras().at(eraIndex).name;
    const int eraYear = eras.eraYearAt(date);
    auto runLength = [&](QChar letter) {
        qsizetype q = p;
        while (q < n && pattern[q].toUpper() == letter)
            ++q;
        return q - p;
    };
    auto two = [](int v) { return QString::number(v).rightJustified(2, u'0'); };
    while (p < n) {
        const QChar c = pattern[p];
        const QChar u = c.toUpper();
        if (c == u'"' || c == u'\'') {
            const qsizetype close = pattern.indexOf(c, p + 1);
            const qsizetype end = close < 0 ? n : close;
            out += pattern.mid(p + 1, end - p - 1);
            p = close < 0 ? n : close + 1;
        } else if (u == u'Y') {
            const qsizetype len = runLength(u);
            out += len >= 3 ? QString::number(date.year()).rightJustified(4, u'0') : two(date.year() % 100);
            p += len;
        } else if (u == u'K') {
            // Japanese documents write the first year of an era as 元.
            out += eraYear == 1 ? QStringLiteral("元") : QString::number(eraYear);
            p += runLength(u);
        } else if (u == u'M' || u == u'D' || u == u'G' || u == u'E') {
            const bool pair = runLength(u) >= 2;
            if (u == u'M')
                out += pair ? two(date.month()) : QString::number(date.month());
            else if (u == u'D')
                out += pair ? two(date.day()) : QString::number(date.day());
            else if (u == u'G')
                out += pair ? eraName : eraName.left(1);
            else
                out += pair ? two(eraYear) : QString::number(eraYear);
            p += pair ? 2 : 1;
        } else {
            out += c;
            ++p;
        }
    }
    return out;
}

std::optional<QDate> parseShortDate(QStringView text)
{
    const QStringView t = text.trimmed();
    int parts[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int part = 0;
    for (QChar c : t) {
        if (c == u'/') {
            if (++part > 2)
                return std::nullopt;
        } else if (c >= u'0' && c <= u'9') {
            if (++digits[part] > (part == 0 ? 4 : 2))
                return std::nullopt;
            parts[part] = parts[part] * 10 + (c.unicode() - u'0');
        } else {
            return std::nullopt;
        }
    }
    if (part != 2 || digits[0] == 0 || digits[1] == 0 || digits[2] == 0)
        return std::nullopt;
    const int year = digits[0] <= 2 ? 2000 + parts[0] : parts[0];
    const QDate d(year, parts[1], parts[2]);
    if (!d.isValid())
        return std::nullopt;
    return d;
}

} // namespace DatePattern
