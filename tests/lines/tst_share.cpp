#include "lines/FixedPoint.h"
#include "lines/Share.h"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

class TestShare : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fixedFromText_data();
    void fixedFromText();
    void fixedToText_data();
    void fixedToText();
    void roundHalfAway_data();
    void roundHalfAway();
    void textToFloat_data();
    void textToFloat();
    void uniqueCode();
};

void TestShare::fixedFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("value");
    QTest::newRow("integer") << u"1500"_s << qint64(15000000);
    QTest::newRow("fraction") << u"0.5"_s << qint64(5000);
    QTest::newRow("negative") << u"-1"_s << qint64(-10000);
    QTest::newRow("plus sign") << u"+2"_s << qint64(20000);
    QTest::newRow("four decimals") << u"109.8900"_s << qint64(1098900);
    QTest::newRow("round half away up") << u"0.00005"_s << qint64(1);
    QTest::newRow("round half away down") << u"-0.00005"_s << qint64(-1);
    QTest::newRow("below half") << u"0.000049999"_s << qint64(0);
    QTest::newRow("exponent") << u"1.5E3"_s << qint64(15000000);
    QTest::newRow("negative exponent") << u"25e-2"_s << qint64(2500);
    QTest::newRow("leading point") << u".25"_s << qint64(2500);
    QTest::newRow("trailing point") << u"3."_s << qint64(30000);
    QTest::newRow("blanks") << u"  12 "_s << qint64(120000);
    QTest::newRow("empty") << QString() << qint64(0);
    QTest::newRow("letters") << u"abc"_s << qint64(0);
    QTest::newRow("trailing garbage") << u"12x"_s << qint64(0);
    QTest::newRow("grouping") << u"1,000"_s << qint64(0);
    QTest::newRow("two points") << u"1.2.3"_s << qint64(0);
    QTest::newRow("out of range") << u"1e30"_s << qint64(0);
    QTest::newRow("largest whole yen") << u"922337203685477"_s << qint64(9223372036854770000);
    QTest::newRow("many zeros") << QString(u"0."_s + QString(5000, u'0') + u'1') << qint64(0);
}

void TestShare::fixedFromText()
{
    QFETCH(QString, text);
    QFETCH(qint64, value);
    QCOMPARE(Fixed::fromText(text), value);
}

void TestShare::fixedToText_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("integer") << qint64(15000000) << u"1500"_s;
    QTest::newRow("half") << qint64(5000) << u"0.5"_s;
    QTest::newRow("minus one") << qint64(-10000) << u"-1"_s;
    QTest::newRow("small negative") << qint64(-1) << u"-0.0001"_s;
    QTest::newRow("zero") << qint64(0) << u"0"_s;
    QTest::newRow("two decimals") << qint64(1098900) << u"109.89"_s;
    QTest::newRow("smallest") << std::numeric_limits<qint64>::min() << u"-922337203685477.5808"_s;
}

void TestShare::fixedToText()
{
    QFETCH(qint64, value);
    QFETCH(QString, text);
    QCOMPARE(Fixed::toText(value), text);
    if (value != std::numeric_limits<qint64>::min())
        QCOMPARE(Fixed::fromText(text), value);
}

void TestShare::roundHalfAway_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("rounded");
    QTest::newRow("2.5") << 2.5 << qint64(3);
    QTest::newRow("-2.5") << -2.5 << qint64(-3);
    QTest::newRow("2.4") << 2.4 << qint64(2);
    QTest::newRow("-0.4") << -0.4 << qint64(0);
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << qint64(0);
}

void TestShare::roundHalfAway()
{
    QFETCH(double, value);
    QFETCH(qint64, rounded);
    QCOMPARE(RoundHalfAway(value), rounded);
}

void TestShare::textToFloat_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("decimal") << u"8.5"_s << 8.5;
    QTest::newRow("negative") << u"-1"_s << -1.0;
    QTest::newRow("exponent") << u"1E3"_s << 1000.0;
    QTest::newRow("comma is no decimal point") << u"8,5"_s << 0.0;
    QTest::newRow("not a number") << u"x"_s << 0.0;
    QTest::newRow("infinity") << u"inf"_s << 0.0;
}

void TestShare::textToFloat()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(TextToFloat(text), value);
}

void TestShare::uniqueCode()
{
    const QString a = MakeUniqueCode(u".tvt"_s);
    QVERIFY2(QRegularExpression(u"^\\d{5}(\\.\\d+)?\\d+\\.tvt$"_s).match(a).hasMatch(), qPrintable(a));
    QTest::qWait(2);
    QVERIFY(a != MakeUniqueCode(u".tvt"_s));
}

QTEST_GUILESS_MAIN(TestShare)
#include "tst_share.moc"
