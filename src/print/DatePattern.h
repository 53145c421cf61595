#pragma once

#include <QDate>
#include <QString>

#include <optional>

class EraTable;

// Date patterns of the print formats and the date text of the slip files.
namespace DatePattern {

// The western pattern and the era pattern a print run uses when a format
// names none (chosen by the settings' era-date switch).
inline constexpr char16_t Western[] = u"YYYY/MM/DD";
inline constexpr char16_t Japanese[] = u"GGEE/MM/DD";

// Formats date with the pattern. Letters are matched without regard to case:
// "YYYY" (a run of three or more Y) four-digit year, "YY" (or "Y") two-digit
// year, "MM"/"M" month with/without leading zero, "DD"/"D" day, "GG" era name
// and "G" its first character, "EE"/"E" year within the era with/without
// leading zero, "K" (any run) year within the era without leading zero and
// "元" for its first year, as in "GGK年M月D日" -> 令和元年5月1日. Longer runs of M, D, G and E are read two
// letters at a time.
// "/" prints "/"; text in double or single quotes prints as written; every
// other character prints as it stands. A date before the first era has an
// empty era name and era year 0.
QString format(QDate date, QStringView pattern, const EraTable &eras);

// A date in the slip files' short form, year/month/day separated by "/"
// (1- to 4-digit year, 1- or 2-digit month and day; a year of one or two
// digits counts from 2000), surrounding blanks ignored. Nothing when the
// text is no such date.
std::optional<QDate> parseShortDate(QStringView text);

// Day zero of the slip files (1899/12/30): the date of "no date".
inline QDate dayZero()
{
    return QDate(1899, 12, 30);
}

} // namespace DatePattern
