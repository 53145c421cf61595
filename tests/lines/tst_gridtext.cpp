#include "lines/GridText.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestGridText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void number_data();
    void number();
    void rate_data();
    void rate();
    void discountColumns();
};

void TestGridText::number_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("text");
    QTest::newRow("grouped amount") << u"1234567"_s << 11 << 0 << u"  1,234,567"_s;
    QTest::newRow("amount rounded half away") << u"109.5"_s << 11 << 0 << u"        110"_s;
    QTest::newRow("zero shows nothing") << u"0"_s << 11 << 0 << QString();
    QTest::newRow("points with two decimals") << u"1.5"_s << 6 << 2 << u"  1.50"_s;
    QTest::newRow("quantity rounded to two decimals") << u"0.005"_s << 7 << 2 << u"   0.01"_s;
    QTest::newRow("negative") << u"-1000"_s << 11 << 0 << u"     -1,000"_s;
    QTest::newRow("wider than the width") << u"123456789012"_s << 11 << 0 << u"123,456,789,012"_s;
}

void TestGridText::number()
{
    QFETCH(QString, value);
    QFETCH(int, width);
    QFETCH(int, decimals);
    QTEST(GridText::number(Fixed::fromText(value), width, decimals), "text");
}

void TestGridText::rate_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("follows the slip") << u"-1"_s << QString();
    QTest::newRow("eight percent") << u"8"_s << u"  8.0%"_s;
    QTest::newRow("tax-free row") << u"0"_s << u"  0.0%"_s;
    QTest::newRow("two digits") << u"10.5"_s << u" 10.5%"_s;
}

void TestGridText::rate()
{
    QFETCH(QString, value);
    QTEST(GridText::rate(Fixed::fromText(value)), "text");
}

void TestGridText::discountColumns()
{
    TRowData row;
    row.WorkPrice = 500 * Fixed::One;
    row.Price = 1234 * Fixed::One;
    QCOMPARE(GridText::lowerNumber(row, 4, true), u"▲      500"_s);
    QCOMPARE(GridText::lowerNumber(row, 7, true), u"▲    1,234"_s);
    QCOMPARE(GridText::lowerNumber(row, 7, false), u"      1,234"_s);
    row.Price = 0;
    QCOMPARE(GridText::lowerNumber(row, 7, true), QString());
}

QTEST_GUILESS_MAIN(TestGridText)
#include "tst_gridtext.moc"
