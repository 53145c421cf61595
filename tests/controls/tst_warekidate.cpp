#include "controls/WarekiDate.h"

#include <QTest>

using namespace Qt::StringLiterals;

using WarekiDate::Form;
using WarekiDate::Part;

class TestWarekiDate : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void eraForm_data();
    void eraForm();
    void parse_data();
    void parse();
    void unknownEraBeepsAndKeepsEra();
    void step_data();
    void step();
    void clampRange();
};

void TestWarekiDate::eraForm_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("era");
    QTest::addColumn<QString>("text");
    QTest::newRow("last 明治 day") << QDate(1912, 7, 29) << u"明治"_s << u"45/07/29"_s;
    QTest::newRow("first 大正 day") << QDate(1912, 7, 30) << u"大正"_s << u"01/07/30"_s;
    QTest::newRow("last 昭和 day") << QDate(1989, 1, 7) << u"昭和"_s << u"64/01/07"_s;
    QTest::newRow("first 平成 day") << QDate(1989, 1, 8) << u"平成"_s << u"01/01/08"_s;
    QTest::newRow("last 平成 day") << QDate(2019, 4, 30) << u"平成"_s << u"31/04/30"_s;
    QTest::newRow("first 令和 day") << QDate(2019, 5, 1) << u"令和"_s << u"01/05/01"_s;
    QTest::newRow("令和 8") << QDate(2026, 12, 10) << u"令和"_s << u"08/12/10"_s;
}

void TestWarekiDate::eraForm()
{
    QFETCH(QDate, date);
    QFETCH(QString, era);
    QFETCH(QString, text);
    const EraTable eras = EraTable::standard();
    QCOMPARE(eras.eras().at(eras.eraIndexAt(date)).name, era);
    QCOMPARE(WarekiDate::format(date, Form::Era, true, eras), text);
    QCOMPARE(WarekiDate::format(date, Form::Western, false, eras), date.toString(u"yyyy/MM"_s));
}

void TestWarekiDate::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("era");
    QTest::addColumn<bool>("western");
    QTest::addColumn<QDate>("date"); // null: the old date stays
    QTest::addColumn<bool>("beep");
    QTest::newRow("plain") << u"15/06/21"_s << u"平成"_s << false << QDate(2003, 6, 21) << false;
    QTest::newRow("no day") << u"15/06"_s << u"平成"_s << false << QDate(2003, 6, 1) << false;
    QTest::newRow("month 13") << u"15/13/01"_s << u"平成"_s << false << QDate(2003, 12, 1) << true;
    QTest::newRow("leap day limit") << u"12/02/30"_s << u"平成"_s << false << QDate(2000, 2, 29) << true;
    QTest::newRow("1900 not leap") << u"33/02/29"_s << u"明治"_s << false << QDate(1900, 2, 28) << true;
    QTest::newRow("day 31 in April") << u"2003/04/31"_s << QString() << true << QDate(2003, 4, 30) << true;
    QTest::newRow("western 0150") << u"0150/03/04"_s << QString() << true << QDate(1899, 3, 4) << false;
    QTest::newRow("western blank year")
        << u"    /03/04"_s << QString() << true << QDate(1899, 3, 4) << false;
    QTest::newRow("before 明治") << u"01/01/01"_s << u"明治"_s << false << QDate(1868, 9, 8) << true;
    QTest::newRow("era year beyond era")
        << u"60/01/01"_s << u"平成"_s << false << QDate(2048, 1, 1) << false;
    QTest::newRow("half-typed month") << u"15/1 /21"_s << u"平成"_s << false << QDate(2003, 1, 21) << false;
    QTest::newRow("month 00") << u"15/00/21"_s << u"平成"_s << false << QDate() << false;
    QTest::newRow("half-typed month 0") << u"15/0 /21"_s << u"平成"_s << false << QDate() << false;
    QTest::newRow("day 00") << u"2003/06/00"_s << QString() << true << QDate() << false;
    QTest::newRow("blank era year") << u"  /06/21"_s << u"平成"_s << false << QDate() << false;
    QTest::newRow("beyond last era year")
        << u"9999/01/01"_s << QString() << true << QDate(2117, 12, 31) << true;
}

void TestWarekiDate::parse()
{
    QFETCH(QString, text);
    QFETCH(QString, era);
    QFETCH(bool, western);
    QFETCH(QDate, date);
    QFETCH(bool, beep);
    const EraTable eras = EraTable::standard();
    const auto r = WarekiDate::parse(text, era, 3, western ? Form::Western : Form::Era, eras);
    QCOMPARE(r.changed, date.isValid());
    if (r.changed)
        QCOMPARE(r.date, date);
    QCOMPARE(r.beep, beep);
}

void TestWarekiDate::unknownEraBeepsAndKeepsEra()
{
    const auto r = WarekiDate::parse(u"02/03/04"_s, u"光文"_s, 2, Form::Era, EraTable::standard());
    QVERIFY(r.beep);
    QCOMPARE(r.eraIndex, 2);
    QCOMPARE(r.date, QDate(1927, 3, 4));
}

void TestWarekiDate::step_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<int>("part");
    QTest::addColumn<int>("n");
    QTest::addColumn<QDate>("to");
    QTest::newRow("month to short February")
        << QDate(2008, 1, 31) << int(Part::Month) << 1 << QDate(2008, 2, 29);
    QTest::newRow("month down over year")
        << QDate(2008, 1, 15) << int(Part::Month) << -1 << QDate(2007, 12, 15);
    QTest::newRow("year from leap day") << QDate(2008, 2, 29) << int(Part::Year) << 1 << QDate(2009, 2, 28);
    QTest::newRow("day over month end") << QDate(2008, 2, 29) << int(Part::Day) << 1 << QDate(2008, 3, 1);
}

void TestWarekiDate::step()
{
    QFETCH(QDate, from);
    QFETCH(int, part);
    QFETCH(int, n);
    QFETCH(QDate, to);
    QCOMPARE(WarekiDate::step(from, Part(part), n), to);
}

void TestWarekiDate::clampRange()
{
    const EraTable eras = EraTable::standard();
    QCOMPARE(WarekiDate::clamp(QDate(1800, 1, 1), eras), QDate(1868, 9, 8));
    QCOMPARE(WarekiDate::clamp(QDate(2117, 12, 31), eras), QDate(2117, 12, 31));
    QCOMPARE(WarekiDate::clamp(QDate(2118, 1, 1), eras), QDate(2117, 12, 31));
    QCOMPARE(WarekiDate::format(QDate(2117, 12, 31), Form::Era, true, eras), u"99/12/31"_s);
}

QTEST_GUILESS_MAIN(TestWarekiDate)
#include "tst_warekidate.moc"
