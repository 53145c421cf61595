#include "controls/EraTable.h"
#include "print/DatePattern.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestDatePattern : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void format_data();
    void format();
    void parseShortDate_data();
    void parseShortDate();
};

void TestDatePattern::format_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    const QDate d(2024, 3, 5);
    QTest::newRow("western") << d << u"YYYY/MM/DD"_s << u"2024/03/05"_s;
    QTest::newRow("short letters, any case") << d << u"yy/m/d"_s << u"24/3/5"_s;
    QTest::newRow("era") << d << u"GGEE/MM/DD"_s << u"令和06/03/05"_s;
    QTest::newRow("era short") << d << u"GE.M.D"_s << u"令6.3.5"_s;
    QTest::newRow("last day of Heisei") << QDate(2019, 4, 30) << u"GGEE"_s << u"平成31"_s;
    QTest::newRow("first day of Reiwa") << QDate(2019, 5, 1) << u"GGE"_s << u"令和1"_s;
    QTest::newRow("Showa 64") << QDate(1989, 1, 7) << u"GGEE"_s << u"昭和64"_s;
    QTest::newRow("quoted text") << d << u"YYYY'年'M\"月\"D'日'"_s << u"2024年3月5日"_s;
    QTest::newRow("quoted letters stay") << d << u"'YMD:'YYYY"_s << u"YMD:2024"_s;
    QTest::newRow("other characters stand") << d << u"YYYY-MM-DD H"_s << u"2024-03-05 H"_s;
    QTest::newRow("unclosed quote") << d << u"M'月"_s << u"3月"_s;

    // The era form of Japanese business documents: no leading zeros, 元年.
    const QString written = u"GGK年M月D日"_s;
    QTest::newRow("written, last day of Heisei") << QDate(2019, 4, 30) << written << u"平成31年4月30日"_s;
    QTest::newRow("written, first day of Reiwa") << QDate(2019, 5, 1) << written << u"令和元年5月1日"_s;
    QTest::newRow("written, Reiwa 8") << QDate(2026, 12, 10) << written << u"令和8年12月10日"_s;
    QTest::newRow("written, first day of Heisei") << QDate(1989, 1, 8) << written << u"平成元年1月8日"_s;
    QTest::newRow("written, year and month") << QDate(2019, 5, 1) << u"GGK年M月"_s << u"令和元年5月"_s;
    QTest::newRow("written, western") << QDate(2026, 12, 10) << u"YYYY年M月D日"_s << u"2026年12月10日"_s;
}

void TestDatePattern::format()
{
    QFETCH(QDate, date);
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QCOMPARE(DatePattern::format(date, pattern, EraTable::standard()), text);
}

void TestDatePattern::parseShortDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date"); // invalid: no date
    QTest::newRow("slip form") << u"2024/03/05"_s << QDate(2024, 3, 5);
    QTest::newRow("no leading zeros") << u" 2024/3/5 "_s << QDate(2024, 3, 5);
    QTest::newRow("day zero") << u"1899/12/30"_s << QDate(1899, 12, 30);
    QTest::newRow("month 13") << u"2024/13/01"_s << QDate();
    QTest::newRow("February 30") << u"2024/02/30"_s << QDate();
    QTest::newRow("two parts") << u"2024/03"_s << QDate();
    QTest::newRow("four parts") << u"2024/03/05/01"_s << QDate();
    QTest::newRow("words") << u"令和6年"_s << QDate();
    QTest::newRow("empty") << QString() << QDate();
    QTest::newRow("time appended") << u"2024/03/05 10:00"_s << QDate();
}

void TestDatePattern::parseShortDate()
{
    QFETCH(QString, text);
    QFETCH(QDate, date);
    QCOMPARE(DatePattern::parseShortDate(text).value_or(QDate()), date);
}

QTEST_GUILESS_MAIN(TestDatePattern)
#include "tst_datepattern.moc"
