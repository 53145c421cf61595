#pragma once

#include "controls/EraTable.h"

#include <QDate>
#include <QString>

// Date text of the era date edit: formatting, parsing, stepping and the
// range of dates the edit can hold. The text always uses the fixed pattern
// YYYY/MM/DD (or the era year in place of YYYY), whatever the locale.
namespace WarekiDate {

enum class Form { Era, Western };
enum class Part { Year = 0, Month = 1, Day = 2 };

// The input mask of the date text (Qt mask syntax, blank for empty places).
QString inputMask(Form form, bool dayEnabled);

// "31/04/30" in era form (with the era found by the table), "2019/04/30" in
// western form; without the day when dayEnabled is false.
QString format(QDate date, Form form, bool dayEnabled, const EraTable &eras);

// Start and length of a part in the date text.
struct Span {
    int start = 0;
    int length = 0;
};
Span partSpan(Part part, Form form);

// The latest date the two-digit era year can show: the last day of year 99
// of the last era. Later dates would need a three-digit era year, which the
// date text cannot hold, so the edit keeps dates up to here.
QDate latest(const EraTable &eras);

// Raises a date before the first era to its start and lowers a date beyond
// latest() to it.
QDate clamp(QDate date, const EraTable &eras);

struct ParseResult {
    bool changed = false; // false: the text does not give a date, keep the old one
    QDate date;
    int eraIndex = -1; // the era the text was read in
    bool beep = false; // something was corrected (month, day, range, era name)
};

// Reads the date text. eraName is the era field's text; an unknown name
// beeps and keeps currentEra. Months above 12 and days beyond the month are
// corrected with a beep; a month or day of 00 gives no date.
ParseResult parse(const QString &text, const QString &eraName, int currentEra, Form form,
                  const EraTable &eras);

// Moves one part by n: years keep month and day (29 February becomes the
// 28th in a common year), months keep the day within the target month.
QDate step(QDate date, Part part, int n);

// Reads "YYYY/MM/DD" (single-digit month and day accepted); invalid gives a null date.
QDate fromFixedText(const QString &text);

} // namespace WarekiDate
