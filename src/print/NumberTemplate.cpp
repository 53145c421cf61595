#include "NumberTemplate.h"

#include <charconv>
#include <cmath>
#include <string>

using namespace Qt::StringLiterals;

namespace {

constexpr int MaxWidth = 999;

// A non-negative decimal value: 0.d1d2d3... × 10^exp10. No digits is zero.
struct Decimal {
    std::string digits;
    int exp10 = 0;
};

Decimal toDecimal(double v)
{
    Decimal d;
    v = std::fabs(v);
    if (v == 0.0)
        return d;
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
    const std::string s(buf, r.ptr);
    // "d.ddde+xx" or "de+xx"
    const auto e = s.find('e');
    std::string mantissa = s.substr(0, e);
    const int exponent = std::stoi(s.substr(e + 1));
    for (char c : mantissa)
        if (c != '.')
            d.digits += c;
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    d.exp10 = exponent + 1;
    return d;
}

// Keeps the first keep digits, rounding half away from zero.
void roundTo(Decimal &d, int keep)
{
    if (keep >= int(d.digits.size()))
        return;
    if (keep < 0) {
        d.digits.clear();
        return;
    }
    const bool up = d.digits[size_t(keep)] >= '5';
    d.digits.resize(size_t(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[size_t(i)] == '9') {
            d.digits[size_t(i)] = '0';
            --i;
        }
        if (i < 0) {
            d.digits.insert(d.digits.begin(), '1');
            d.exp10 += 1;
        } else {
            ++d.digits[size_t(i)];
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
}

QString groupThousands(const QString &integer)
{
    QString out;
    const qsizetype n = integer.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += u',';
        out += integer.at(i);
    }
    return out;
}

// Fixed notation with precision decimals; *isZero tells whether every digit
// printed is zero (so that no minus sign goes in front of it).
QString fixed(double v, int precision, bool grouped, bool *isZero)
{
    Decimal d = toDecimal(v);
    roundTo(d, d.exp10 + precision);
    *isZero = d.digits.empty();
    QString integer;
    if (d.exp10 <= 0 || d.digits.empty()) {
        integer = u"0"_s;
    } else {
        for (int i = 0; i < d.exp10; ++i)
            integer += i < int(d.digits.size()) ? QChar(u'0' + (d.digits[size_t(i)] - '0')) : QChar(u'0');
    }
    if (grouped)
        integer = groupThousands(integer);
    if (precision <= 0)
        return integer;
    QString fraction;
    for (int k = 0; k < precision; ++k) {
        const int pos = d.exp10 + k; // index into digits
        fraction += (!d.digits.empty() && pos >= 0 && pos < int(d.digits.size()))
                        ? QChar(u'0' + (d.digits[size_t(pos)] - '0'))
                        : QChar(u'0');
    }
    return integer + u'.' + fraction;
}

QString digitsText(const std::string &digits, size_t from, size_t count)
{
    QString s;
    for (size_t i = from; i < from + count; ++i)
        s += i < digits.size() ? QChar(u'0' + (digits[i] - '0')) : QChar(u'0');
    return s;
}

// "d.dddE+ddd" with precision significant digits.
QString scientific(double v, int precision)
{
    precision = qBound(1, precision, MaxWidth);
    Decimal d = toDecimal(v);
    roundTo(d, precision);
    const int exponent = d.digits.empty() ? 0 : d.exp10 - 1;
    QString s = digitsText(d.digits, 0, 1);
    if (precision > 1)
        s += u'.' + digitsText(d.digits, 1, size_t(precision - 1));
    s += exponent < 0 ? u"E-"_s : u"E+"_s;
    s += QString::number(std::abs(exponent)).rightJustified(3, u'0');
    return s;
}

// Fixed notation when the value has no more than precision integer digits and
// is not below 0.00001, else scientific; trailing zeros dropped.
QString general(double v, int precision)
{
    precision = qBound(1, precision, MaxWidth);
    Decimal d = toDecimal(v);
    roundTo(d, precision);
    if (d.digits.empty())
        return u"0"_s;
    const int n = int(d.digits.size());
    if (d.exp10 <= precision && d.exp10 > -4) {
        if (d.exp10 <= 0)
            return u"0."_s + QString(-d.exp10, u'0') + digitsText(d.digits, 0, size_t(n));
        if (d.exp10 >= n)
            return digitsText(d.digits, 0, size_t(n)) + QString(d.exp10 - n, u'0');
        return digitsText(d.digits, 0, size_t(d.exp10)) + u'.' +
               digitsText(d.digits, size_t(d.exp10), size_t(n - d.exp10));
    }
    QString s = digitsText(d.digits, 0, 1);
    if (n > 1)
        s += u'.' + digitsText(d.digits, 1, size_t(n - 1));
    const int exponent = d.exp10 - 1;
    s += u'E';
    if (exponent < 0)
        s += u'-';
    s += QString::number(std::abs(exponent));
    return s;
}

QString nonFinite(double v)
{
    if (std::isnan(v))
        return u"NAN"_s;
    return v < 0 ? u"-INF"_s : u"INF"_s;
}

} // namespace

namespace NumberTemplate {

std::optional<QString> format(QStringView tmpl, const QList<Value> &values)
{
    QString out;
    qsizetype next = 0;
    const qsizetype n = tmpl.size();
    qsizetype p = 0;
    while (p < n) {
        const QChar c = tmpl[p];
        if (c != u'%') {
            out += c;
            ++p;
            continue;
        }
        ++p;
        if (p < n && tmpl[p] == u'%') {
            out += u'%';
            ++p;
            continue;
        }
        bool left = false;
        if (p < n && tmpl[p] == u'-') {
            left = true;
            ++p;
        }
        auto readNumber = [&](int *target) {
            int v = 0;
            bool any = false;
            while (p < n && tmpl[p] >= u'0' && tmpl[p] <= u'9') {
                v = v * 10 + (tmpl[p].unicode() - u'0');
                any = true;
                ++p;
                if (v > MaxWidth)
                    return false;
            }
            if (any)
                *target = v;
            return true;
        };
        int width = 0;
        int precision = -1;
        if (!readNumber(&width))
            return std::nullopt;
        if (p < n && tmpl[p] == u'.') {
            ++p;
            precision = 0;
            if (!readNumber(&precision))
                return std::nullopt;
        }
        if (p >= n || next >= values.size())
            return std::nullopt;
        const char16_t type = QChar(tmpl[p]).toLower().unicode();
        ++p;
        const Value &value = values.at(next++);
        QString text;
        if (type == u'd' || type == u'u' || type == u'x') {
            if (!std::holds_alternative<qint64>(value))
                return std::nullopt;
            const qint64 v = std::get<qint64>(value);
            QString digits;
            bool negative = false;
            if (type == u'd') {
                negative = v < 0;
                digits = QString::number(negative ? -(quint64(v)) : quint64(v));
            } else {
                const quint32 bits = quint32(v);
                digits = type == u'u' ? QString::number(bits) : QString::number(bits, 16).toUpper();
            }
            if (precision > digits.size())
                digits = digits.rightJustified(precision, u'0');
            text = negative ? u'-' + digits : digits;
        } else if (type == u'f' || type == u'n' || type == u'm' || type == u'e' || type == u'g') {
            if (!std::holds_alternative<double>(value))
                return std::nullopt;
            const double v = std::get<double>(value);
            if (!std::isfinite(v)) {
                text = nonFinite(v);
            } else if (type == u'e') {
                text = scientific(v, precision < 0 ? 15 : precision);
                if (v < 0) // a non-zero value keeps at least one significant digit
                    text.prepend(u'-');
            } else if (type == u'g') {
                text = general(v, precision < 0 ? 15 : precision);
                if (v < 0)
                    text.prepend(u'-');
            } else {
                const int prec = precision < 0 ? (type == u'm' ? 0 : 2) : precision;
                bool zero = false;
                const QString number = fixed(v, prec, type != u'f', &zero);
                const bool negative = v < 0 && !zero;
                if (type == u'm')
                    text = (negative ? u"-￥"_s : u"￥"_s) + number;
                else
                    text = negative ? u'-' + number : number;
            }
        } else {
            return std::nullopt;
        }
        if (text.size() < width)
            text = left ? text.leftJustified(width, u' ') : text.rightJustified(width, u' ');
        out += text;
    }
    return out;
}

} // namespace NumberTemplate
