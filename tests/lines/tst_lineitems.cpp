#include "lines/LineItems.h"
#include "lines/RowText.h"

#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

using namespace LineItems;

namespace {

LineCategoryList categories()
{
    return LineCategoryList::fromLines({u"整備,1"_s, u"部品,2"_s, u"値引,3"_s, u"小計,4"_s});
}

// Rows written as row texts with magnitudes (no sign rule), one per entry.
QList<TRowData> rowsOf(const QStringList &texts)
{
    QList<TRowData> rows;
    for (const QString &text : texts)
        rows.append(*RowText::parse(text, LineCategoryList()));
    return rows;
}

QString column(const QList<TRowData> &rows, qint64 TRowData::*field)
{
    QStringList values;
    for (const TRowData &row : rows)
        values.append(Fixed::toText(row.*field));
    return values.join(u' ');
}

} // namespace

class TestLineItems : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void money_data();
    void money();
    void rowCountRule_data();
    void rowCountRule();
    void extremeValuesSaturate();
};

void TestLineItems::money_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("taxRate");
    QTest::addColumn<int>("rounding");
    QTest::addColumn<QString>("labourRate");
    QTest::addColumn<QString>("workPrices"); // after the recompute and the totals
    QTest::addColumn<QString>("prices");
    QTest::addColumn<qint64>("tec");
    QTest::addColumn<qint64>("part");
    QTest::addColumn<qint64>("tax");

    QTest::newRow("discount labour is subtracted")
        << QStringList{u"整備,-1,点検,,0,1000,0,0,0"_s, u"値引,-1,　値引,,0,500,0,0,0"_s} << u"10"_s << 0
        << u"0"_s << u"1000 500"_s << u"0 0"_s << qint64(500) << qint64(0) << qint64(50);
    QTest::newRow("subtotals take the running sums")
        << QStringList{u"部品,-1,,,0,0,1,1000,0"_s, u"値引,-1,,,0,0,0,0,200"_s, u"小計,-1,,,0,0,0,0,0"_s,
                       u"部品,-1,,,0,0,1,300,0"_s, u"小計,-1,,,0,0,0,0,0"_s}
        << u"10"_s << 0 << u"0"_s << u"0 0 0 0 0"_s << u"1000 200 800 300 300"_s << qint64(0) << qint64(1100)
        << qint64(110);
    QTest::newRow("amount kept exact, total rounded per row, tax on the exact amount")
        << QStringList{u"部品,-1,,,0,0,0.33,333,0"_s} << u"5"_s << 0 << u"0"_s << u"0"_s << u"109.89"_s
        << qint64(0) << qint64(110) << qint64(5); // 5.4945, not 5.5 of 110
    QTest::newRow("round up: discount tax 5.45 becomes 6 and is subtracted")
        << QStringList{u"値引,-1,,,0,0,0,0,109"_s} << u"5"_s << 2 << u"0"_s << u"0"_s << u"109"_s << qint64(0)
        << qint64(-109) << qint64(-6);
    QTest::newRow("round half away: 98.72 gives 99")
        << QStringList{u"部品,8,,,0,0,1,1234,0"_s} << u"10"_s << 0 << u"0"_s << u"0"_s << u"1234"_s
        << qint64(0) << qint64(1234) << qint64(99);
    QTest::newRow("truncate: 98.72 gives 98")
        << QStringList{u"部品,8,,,0,0,1,1234,0"_s} << u"10"_s << 1 << u"0"_s << u"0"_s << u"1234"_s
        << qint64(0) << qint64(1234) << qint64(98);
    QTest::newRow("truncate a discount toward zero")
        << QStringList{u"値引,-1,,,0,0,0,0,109"_s} << u"5"_s << 1 << u"0"_s << u"0"_s << u"109"_s << qint64(0)
        << qint64(-109) << qint64(-5);
    QTest::newRow("row rate 0 is tax-free, -1 follows the slip")
        << QStringList{u"部品,0,,,0,0,1,1000,0"_s, u"部品,-1,,,0,0,1,1000,0"_s} << u"10"_s << 0 << u"0"_s
        << u"0 0"_s << u"1000 1000"_s << qint64(0) << qint64(2000) << qint64(100);
    QTest::newRow("row without category: kept, untotalled, taxed")
        << QStringList{u",-1,貼り付け,,0,300,2,500,700"_s} << u"10"_s << 0 << u"0"_s << u"300"_s << u"700"_s
        << qint64(0) << qint64(0) << qint64(100);
    QTest::newRow("unknown category counts as normal")
        << QStringList{u"洗車,-1,,,0,0,2,500,0"_s} << u"10"_s << 0 << u"0"_s << u"0"_s << u"1000"_s
        << qint64(0) << qint64(1000) << qint64(100);
    QTest::newRow("labour from points, typed labour without points")
        << QStringList{u"整備,-1,,,1.5,0,0,0,0"_s, u"整備,-1,,,0,3000,0,0,0"_s} << u"10"_s << 0 << u"8000"_s
        << u"12000 3000"_s << u"0 0"_s << qint64(15000) << qint64(0) << qint64(1500);
    QTest::newRow("discount rows are never recomputed")
        << QStringList{u"値引,-1,,,1,100,2,100,50"_s} << u"10"_s << 0 << u"8000"_s << u"100"_s << u"50"_s
        << qint64(-100) << qint64(-50) << qint64(-15);
    QTest::newRow("subtotal row is excluded from tax")
        << QStringList{u"部品,-1,,,0,0,1,1000,0"_s, u"小計,-1,,,0,0,0,0,0"_s} << u"10"_s << 0 << u"0"_s
        << u"0 0"_s << u"1000 1000"_s << qint64(0) << qint64(1000) << qint64(100);
}

void TestLineItems::money()
{
    QFETCH(QStringList, rows);
    QFETCH(QString, taxRate);
    QFETCH(int, rounding);
    QFETCH(QString, labourRate);
    const LineCategoryList cats = categories();
    QList<TRowData> list = rowsOf(rows);
    const Settings settings{Fixed::fromText(taxRate), rounding, Fixed::fromText(labourRate)};

    // The host's order: rows, labour total, parts total, tax.
    recalcRows(list, cats, settings.labourRate);
    const qint64 tec = CalcTecTotal(list, cats);
    const qint64 part = CalcPartTotal(list, cats);
    const qint64 tax = CalcTaxTotal(list, cats, settings);

    QTEST(column(list, &TRowData::WorkPrice), "workPrices");
    QTEST(column(list, &TRowData::Price), "prices");
    QTEST(tec, "tec");
    QTEST(part, "part");
    QTEST(tax, "tax");
}

void TestLineItems::rowCountRule_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("filled"); // rows 1..filled carry a category
    QTest::addColumn<int>("expected");
    QTest::newRow("empty list grows to 30") << 0 << 0 << 30;
    QTest::newRow("after deletes back to 30") << 12 << 5 << 30;
    QTest::newRow("category typed into row 30 adds a blank 31st") << 30 << 30 << 31;
    QTest::newRow("extra trailing blanks are dropped") << 40 << 33 << 34;
    QTest::newRow("trailing blanks never below 30") << 40 << 10 << 30;
    QTest::newRow("one trailing blank stays") << 31 << 30 << 31;
}

void TestLineItems::rowCountRule()
{
    QFETCH(int, size);
    QFETCH(int, filled);
    QList<TRowData> rows(size);
    for (int i = 0; i < filled; ++i)
        rows[i].LineDiv = u"部品"_s;
    normalizeRowCount(rows);
    QTEST(int(rows.size()), "expected");
    QVERIFY(rows.constLast().LineDiv.isEmpty());
}

void TestLineItems::extremeValuesSaturate()
{
    const qint64 max = std::numeric_limits<qint64>::max();
    QCOMPARE(multiply(max, 2 * Fixed::One), max);
    QCOMPARE(multiply(-max, 2 * Fixed::One), std::numeric_limits<qint64>::min());
    QList<TRowData> rows = rowsOf(
        {u"部品,-1,,,0,0,900000000,900000000,0"_s, u"部品,-1,,,0,0,1,1,0"_s, u"小計,-1,,,0,0,0,0,0"_s});
    recalcRows(rows, categories(), 0);
    QCOMPARE(rows[0].Price, max);
    QCOMPARE(CalcPartTotal(rows, categories()), max / Fixed::One + 2);
    QCOMPARE(rows[2].Price, max); // the running sum in yen no longer fits as fixed point
    QVERIFY(CalcTaxTotal(rows, categories(), Settings{10 * Fixed::One, 2, 0}) > 0);
}

QTEST_GUILESS_MAIN(TestLineItems)
#include "tst_lineitems.moc"
