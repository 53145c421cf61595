#include "NumText.h"

using namespace Qt::StringLiterals;

namespace {

// Drops leading zeros of the integer part, keeping one before a point or when
// nothing else is left; the sign stays in front.
QString dropLeadingZeros(const QString &raw)
{
    const bool negative = raw.startsWith(u'-');
    QString body = negative ? raw.mid(1) : raw;
    qsizetype n = 0;
    while (n < body.size() && body.at(n) == u'0')
        ++n;
    if (n > 0) {
        body.remove(0, n);
        if (body.isEmpty() || body.at(0) == u'.')
            body.prepend(u'0');
    } else if (body.startsWith(u'.')) {
        body.prepend(u'0');
    }
    return negative ? u'-' + body : body;
}

QString groupThousands(const QString &digits)
{
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += u',';
        out += digits.at(i);
    }
    return out;
}

struct Parts {
    QString sign, integer, decimals;
    bool point = false;
};

Parts split(const QString &raw)
{
    Parts p;
    QString rest = raw;
    if (rest.startsWith(u'-')) {
        p.sign = u"-"_s;
        rest.remove(0, 1);
    }
    const qsizetype dot = rest.indexOf(u'.');
    if (dot >= 0) {
        p.point = true;
        p.integer = rest.left(dot);
        p.decimals = rest.mid(dot + 1);
    } else {
        p.integer = rest;
    }
    return p;
}

} // namespace

namespace NumText {

QChar toHalfWidth(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= 0xFF10 && u <= 0xFF19)
        return QChar(char16_t(u'0' + (u - 0xFF10)));
    switch (u) {
    case 0xFF0D: // full-width hyphen-minus, what CP932 0x817C decodes to
    case 0x2212: // minus sign, the same code point under other mappings
        return u'-';
    case 0xFF0E:
        return u'.';
    case 0xFF0C:
        return u',';
    default:
        return c;
    }
}

QString clean(const QString &text, const NumTextRules &rules)
{
    QString out;
    bool point = false;
    for (const QChar raw : text) {
        const QChar c = toHalfWidth(raw);
        if (c == u',')
            continue;
        if (c.isDigit() && c.unicode() < 0x80) {
            out += c;
        } else if (c == u'.') {
            if (point || rules.decimalLength <= 0)
                break;
            point = true;
            out += c;
        } else if (c == u'-') {
            if (!out.isEmpty() || !rules.minus)
                break;
            out += c;
        } else {
            break;
        }
    }
    if (point) {
        const qsizetype dot = out.indexOf(u'.');
        out.truncate(dot + 1 + qMin<qsizetype>(out.size() - dot - 1, rules.decimalLength));
    }
    if (integerDigits(out) > rules.integerLength)
        return QString();
    return dropLeadingZeros(out);
}

qsizetype integerDigits(const QString &raw)
{
    const Parts p = split(raw);
    return p.integer.size();
}

NumFormat format(const QString &raw, const NumTextRules &rules)
{
    Parts p = split(raw);
    NumFormat f;
    QString integer = rules.comma ? groupThousands(p.integer) : p.integer;
    f.typedLength = p.sign.size() + integer.size() + (p.point ? 1 : 0) + p.decimals.size();
    QString decimals = p.decimals;
    bool point = p.point;
    if (rules.decimalFixed) {
        decimals = decimals.left(rules.decimalLength).leftJustified(rules.decimalLength, u'0');
        point = rules.decimalLength > 0;
        f.typedLength =
            qMin(f.typedLength, p.sign.size() + integer.size() + 1 + qsizetype(rules.decimalLength));
    }
    if ((rules.integerFixed || rules.decimalFixed) && integer.isEmpty())
        integer = u"0"_s;
    f.text = p.sign + integer + (point ? u"."_s : QString()) + decimals;
    if (!point)
        f.typedLength = qMin(f.typedLength, f.text.size());
    return f;
}

QString widestImage(const QString &raw, const NumTextRules &rules)
{
    const Parts p = split(raw);
    QString integer;
    if (rules.integerFixed) {
        const QString zeros(qMax(0, rules.integerLength), u'0');
        integer = (rules.minus ? u"-"_s : QString()) + (rules.comma ? groupThousands(zeros) : zeros);
    } else {
        integer = p.sign + (rules.comma ? groupThousands(p.integer) : p.integer);
        if (rules.decimalFixed && p.integer.isEmpty())
            integer += u'0';
    }
    QString decimals;
    if (rules.decimalFixed) {
        if (rules.decimalLength > 0)
            decimals = u'.' + QString(rules.decimalLength, u'0');
    } else if (p.point) {
        decimals = u'.' + p.decimals;
    }
    const QString actual = format(raw, rules).text;
    const QString reserved = integer + decimals;
    return reserved.size() >= actual.size() ? reserved : actual;
}

std::optional<QString> typeChar(const QString &raw, QChar c, const NumTextRules &rules)
{
    const Parts p = split(raw);
    if (c.unicode() >= u'0' && c.unicode() <= u'9') {
        if (p.point && p.decimals.size() >= rules.decimalLength)
            return std::nullopt;
        if (!p.point && p.integer.size() >= rules.integerLength && p.integer != u"0"_s)
            return std::nullopt;
        if (!p.point && rules.integerLength <= 0)
            return std::nullopt;
        return dropLeadingZeros(raw + c);
    }
    if (c == u'.') {
        if (rules.decimalLength <= 0 || p.point)
            return std::nullopt;
        return dropLeadingZeros(raw + c);
    }
    if (c == u'-') {
        if (!rules.minus)
            return std::nullopt;
        return p.sign.isEmpty() ? u'-' + raw : raw.mid(1);
    }
    return std::nullopt;
}

QString backspace(const QString &raw)
{
    QString out = raw;
    out.chop(1);
    if (out.endsWith(u'.'))
        out.chop(1);
    return out;
}

} // namespace NumText
