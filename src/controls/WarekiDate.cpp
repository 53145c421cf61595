#include "WarekiDate.h"

#include <QStringList>

#include <optional>

using namespace Qt::StringLiterals;

namespace WarekiDate {

namespace {

// An integer out of a slice of the date text; blanks of the mask around it
// are ignored. nullopt for anything else, including an empty slice.
std::optional<int> number(const QString &text, qsizetype start, qsizetype length)
{
    const QString slice = text.mid(start, length).trimmed();
    if (slice.isEmpty())
        return std::nullopt;
    for (const QChar c : slice)
        if (c.unicode() < u'0' || c.unicode() > u'9')
            return std::nullopt;
    return slice.toInt();
}

QString twoDigits(int n)
{
    return QString::number(n).rightJustified(2, u'0');
}

} // namespace

QString inputMask(Form form, bool dayEnabled)
{
    const QString year = form == Form::Era ? u"99"_s : u"9999"_s;
    return year + (dayEnabled ? u"/99/99; "_s : u"/99; "_s);
}

QString format(QDate date, Form form, bool dayEnabled, const EraTable &eras)
{
    QString year;
    if (form == Form::Era)
        year = twoDigits(eras.eraYearAt(date));
    else
        year = QString::number(date.year()).rightJustified(4, u'0');
    QString text = year + u'/' + twoDigits(date.month());
    if (dayEnabled)
        text += u'/' + twoDigits(date.day());
    return text;
}

Span partSpan(Part part, Form form)
{
    const int yearLength = form == Form::Era ? 2 : 4;
    switch (part) {
    case Part::Year:
        return {0, yearLength};
    case Part::Month:
        return {yearLength + 1, 2};
    case Part::Day:
        return {yearLength + 4, 2};
    }
    return {};
}

QDate latest(const EraTable &eras)
{
    if (eras.count() == 0)
        return QDate();
    return QDate(eras.calendarYear(int(eras.count()) - 1, 99), 12, 31);
}

QDate clamp(QDate date, const EraTable &eras)
{
    if (eras.count() == 0 || !date.isValid())
        return date;
    if (date < eras.earliest())
        return eras.earliest();
    if (date > latest(eras))
        return latest(eras);
    return date;
}

ParseResult parse(const QString &text, const QString &eraName, int currentEra, Form form,
                  const EraTable &eras)
{
    ParseResult r;
    r.eraIndex = currentEra;
    int year = 0;
    qsizetype monthAt = 0;
    if (form == Form::Western) {
        // A western year below the first era's century is raised to 1899;
        // an unreadable one reads as -1 and is raised the same way.
        year = qMax(number(text, 0, 4).value_or(-1), 1899);
        monthAt = 5;
    } else {
        const std::optional<int> eraYear = number(text, 0, 2);
        if (!eraYear)
            return r;
        const int named = eras.indexOfName(eraName);
        if (named < 0)
            r.beep = true;
        else
            r.eraIndex = named;
        if (r.eraIndex < 0 || r.eraIndex >= eras.count())
            return r;
        year = eras.calendarYear(r.eraIndex, *eraYear);
        monthAt = 3;
    }
    int month = number(text, monthAt, 2).value_or(1);
    int day = number(text, monthAt + 3, 2).value_or(1);
    if (month == 0 || day == 0)
        return r;
    if (month > 12) {
        r.beep = true;
        month = 12;
    }
    const int limit = QDate(year, month, 1).daysInMonth();
    if (day > limit) {
        r.beep = true;
        day = limit;
    }
    QDate date(year, month, day);
    if (!date.isValid())
        return r;
    const QDate clamped = clamp(date, eras);
    if (clamped != date)
        r.beep = true;
    r.date = clamped;
    r.changed = true;
    return r;
}

QDate step(QDate date, Part part, int n)
{
    switch (part) {
    case Part::Year:
        return date.addYears(n);
    case Part::Month:
        return date.addMonths(n);
    case Part::Day:
        return date.addDays(n);
    }
    return date;
}

QDate fromFixedText(const QString &text)
{
    const QStringList parts = text.trimmed().split(u'/');
    if (parts.size() != 3)
        return QDate();
    bool ok[3] = {};
    const int y = parts.at(0).toInt(&ok[0]);
    const int m = parts.at(1).toInt(&ok[1]);
    const int d = parts.at(2).toInt(&ok[2]);
    if (!ok[0] || !ok[1] || !ok[2])
        return QDate();
    return QDate(y, m, d);
}

} // namespace WarekiDate
