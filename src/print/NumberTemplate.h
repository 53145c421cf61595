#pragma once

#include <QList>
#include <QString>

#include <optional>
#include <variant>

// Number templates of the print formats: literal text with conversions of
// the printf family, "%" [ "-" ] [ width ] [ "." precision ] type.
//
// Integer values take d (decimal; the precision is the least number of
// digits, padded with zeros), u (the 32 bits as unsigned) and x (upper-case
// hexadecimal). Floating-point values take f (fixed, two decimals unless a
// precision is given), n (as f with thousands separators), m (money: the yen
// sign, thousands separators, no decimals unless a precision is given),
// e (scientific with precision significant digits, default 15, exponent of at
// least three digits) and g (shortest of fixed and scientific, at most
// precision significant digits, default 15). The width pads with blanks on the
// left, or on the right after "-"; a width written with a leading zero still
// pads with blanks. "%%" prints one percent sign. Type letters may be written
// in either case.
//
// Rounding works on the shortest decimal text of the value and goes half
// away from zero, so an amount of 0.125 yen prints "0.13" with "%.2f" and
// 500.5 prints "501" with "%.0n", as a clerk reading the number would expect.
//
// The template is never handed to the C library: user text cannot reach a
// printf format string.
namespace NumberTemplate {

using Value = std::variant<qint64, double>;

// The text, or nothing when the template does not fit the values: a
// conversion without a value left, a floating-point conversion given an
// integer or the other way round, an unknown type letter, a width or
// precision above 999, or a lone "%" at the end. Values beyond the last
// conversion are ignored.
std::optional<QString> format(QStringView tmpl, const QList<Value> &values);

// Convenience for amounts and page sums.
inline std::optional<QString> formatAmount(QStringView tmpl, double amount)
{
    return format(tmpl, {Value(amount)});
}

// Convenience for the page number and page count.
inline std::optional<QString> formatPage(QStringView tmpl, qint64 page, qint64 count)
{
    return format(tmpl, {Value(page), Value(count)});
}

} // namespace NumberTemplate
