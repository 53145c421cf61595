#include "EraTable.h"

#include "platform/Cp932.h"

EraTable EraTable::standard()
{
    EraTable t;
    t.addEra(QStringLiteral("明治"), QDate(1868, 9, 8));
    t.addEra(QStringLiteral("大正"), QDate(1912, 7, 30));
    t.addEra(QStringLiteral("昭和"), QDate(1926, 12, 25));
    t.addEra(QStringLiteral("平成"), QDate(1989, 1, 8));
    // Without 令和 every date since May 2019 would count on as 平成31, 32, ...
    t.addEra(QStringLiteral("令和"), QDate(2019, 5, 1));
    return t;
}

bool EraTable::addEra(const QString &name, QDate start)
{
    if (!start.isValid())
        return false;
    if (!eras_.isEmpty() && start <= eras_.last().start)
        return false;
    QString cut = name;
    // Two UTF-16 units never take more than four bytes: the names of the
    // standard table need no converter, which costs the start of a window.
    while (cut.size() > 2 && Cp932::encode(cut).size() > 4)
        cut.chop(1);
    eras_.append(Era{cut, start});
    return true;
}

int EraTable::eraIndexAt(QDate date) const
{
    for (qsizetype i = eras_.size() - 1; i >= 0; --i)
        if (eras_.at(i).start <= date)
            return int(i);
    return -1;
}

int EraTable::eraYearAt(QDate date) const
{
    const int i = eraIndexAt(date);
    return i < 0 ? 0 : date.year() - eras_.at(i).start.year() + 1;
}

int EraTable::indexOfName(const QString &name) const
{
    for (qsizetype i = 0; i < eras_.size(); ++i)
        if (eras_.at(i).name == name)
            return int(i);
    return -1;
}

int EraTable::calendarYear(int eraIndex, int eraYear) const
{
    if (eraIndex < 0 || eraIndex >= eras_.size())
        return 0;
    return eras_.at(eraIndex).start.year() + eraYear - 1;
}
