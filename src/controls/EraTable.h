#pragma once

#include <QDate>
#include <QList>
#include <QString>

// The Japanese eras, shared by the era date edit and the date patterns of
// the print formats ("GG", "G", "EE", "E").
struct Era {
    QString name; // at most two kanji ("平成")
    QDate start;  // first day of the era
    // The one-character short form ("平").
    QString abbreviation() const { return name.left(1); }
};

class EraTable {
public:
    EraTable() = default;

    // 明治, 大正, 昭和, 平成 and 令和, in that order.
    static EraTable standard();

    // Appends an era. Refused (false) when its start is not later than the
    // last era's start; the name is cut to four CP932 bytes.
    bool addEra(const QString &name, QDate start);

    const QList<Era> &eras() const { return eras_; }
    qsizetype count() const { return eras_.size(); }
    // The smallest date the table can express (the first era's start).
    QDate earliest() const { return eras_.isEmpty() ? QDate() : eras_.first().start; }

    // Index of the last era that starts on or before date; -1 before the first.
    int eraIndexAt(QDate date) const;
    // Year within the era that holds date (1 for the era's first year); 0 before the first era.
    int eraYearAt(QDate date) const;
    // Index of the era of that exact name, or -1.
    int indexOfName(const QString &name) const;
    // Calendar year of eraYear within era index (eraYear 1 = the era's start year).
    int calendarYear(int eraIndex, int eraYear) const;

private:
    QList<Era> eras_;
};
