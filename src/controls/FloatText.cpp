#include "FloatText.h"

#include <QLocale>

#include <cmath>

namespace FloatText {

namespace {

QString withoutGrouping(const QString &text)
{
    QString s = text.trimmed();
    s.remove(u',');
    return s;
}

// Sign, integer digits and decimals of a plain decimal text, or false.
bool splitPlain(const QString &s, bool *negative, QString *integer, QString *decimals, bool *point)
{
    qsizetype i = 0;
    *negative = s.startsWith(u'-');
    if (*negative)
        ++i;
    *point = false;
    integer->clear();
    decimals->clear();
    for (; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c == u'.') {
            if (*point)
                return false;
            *point = true;
        } else if (c.unicode() >= u'0' && c.unicode() <= u'9') {
            (*point ? *decimals : *integer) += c;
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

double clampValue(double value, const FloatTextRules &rules)
{
    if (std::isnan(value))
        return rules.min;
    return qBound(rules.min, value, qMax(rules.min, rules.max));
}

QString format(double value, const FloatTextRules &rules)
{
    const double v = clampValue(value, rules);
    QLocale c = QLocale::c();
    if (!rules.grouping)
        c.setNumberOptions(QLocale::OmitGroupSeparator);
    else
        c.setNumberOptions({});
    return c.toString(v, 'f', qMax(0, rules.digits));
}

std::optional<double> toNumber(const QString &text)
{
    const QString s = withoutGrouping(text);
    bool negative = false, point = false;
    QString integer, decimals;
    if (!splitPlain(s, &negative, &integer, &decimals, &point))
        return std::nullopt;
    if (integer.isEmpty() && decimals.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double v = s.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return v;
}

double value(const QString &text, const FloatTextRules &rules)
{
    const std::optional<double> v = toNumber(text);
    return v ? clampValue(*v, rules) : rules.min;
}

bool acceptsTyped(const QString &text, const FloatTextRules &rules)
{
    const QString s = withoutGrouping(text);
    bool negative = false, point = false;
    QString integer, decimals;
    if (!splitPlain(s, &negative, &integer, &decimals, &point))
        return false;
    if (negative && rules.min >= 0)
        return false;
    if (point && rules.digits <= 0)
        return false;
    if (decimals.size() > rules.digits)
        return false;
    if (integer.isEmpty() && decimals.isEmpty())
        return true;
    const std::optional<double> v = toNumber(s);
    return v && *v <= rules.max;
}

bool acceptsFinal(const QString &text, const FloatTextRules &rules)
{
    const std::optional<double> v = toNumber(text);
    return v && *v >= rules.min && *v <= rules.max;
}

} // namespace FloatText
