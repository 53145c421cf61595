#include "controls/FloatText.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestFloatText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void format_data();
    void format();
    void value();
    void typed_data();
    void typed();
    void final();
};

void TestFloatText::format_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("digits");
    QTest::addColumn<double>("max");
    QTest::addColumn<bool>("grouping");
    QTest::addColumn<QString>("text");
    QTest::newRow("tax rate") << 10.0 << 2 << 99.99 << false << u"10.00"_s;
    QTest::newRow("clamped to max") << 150.0 << 2 << 99.99 << false << u"99.99"_s;
    QTest::newRow("clamped to min") << -5.0 << 0 << 100.0 << false << u"0"_s;
    QTest::newRow("grouped") << 1000000.0 << 0 << 1000000.0 << true << u"1,000,000"_s;
    QTest::newRow("ungrouped") << 12345.0 << 0 << 1000000.0 << false << u"12345"_s;
    QTest::newRow("rounded") << 2.25 << 1 << 100.0 << false << u"2.3"_s;
}

void TestFloatText::format()
{
    QFETCH(double, value);
    QFETCH(int, digits);
    QFETCH(double, max);
    QFETCH(bool, grouping);
    QFETCH(QString, text);
    QCOMPARE(FloatText::format(value, {digits, 0, max, grouping}), text);
}

void TestFloatText::value()
{
    const FloatTextRules r{0, 0, 1000000, true};
    QCOMPARE(FloatText::value(u"1,234"_s, r), 1234.0);
    QCOMPARE(FloatText::value(u"abc"_s, r), 0.0);
    QCOMPARE(FloatText::value(QString(), r), 0.0);
    QCOMPARE(FloatText::value(u"2000000"_s, r), 1000000.0);
    QCOMPARE(FloatText::value(u"1e3"_s, r), 0.0);
}

void TestFloatText::typed_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("empty") << QString() << true;
    QTest::newRow("number") << u"12.34"_s << true;
    QTest::newRow("trailing point") << u"12."_s << true;
    QTest::newRow("max") << u"99.99"_s << true;
    QTest::newRow("above max") << u"100"_s << false;
    QTest::newRow("too many decimals") << u"1.234"_s << false;
    QTest::newRow("exponent") << u"1e2"_s << false;
    QTest::newRow("minus with min 0") << u"-1"_s << false;
    QTest::newRow("letter") << u"1a"_s << false;
    QTest::newRow("two points") << u"1.2.3"_s << false;
}

void TestFloatText::typed()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QCOMPARE(FloatText::acceptsTyped(text, {2, 0, 99.99, false}), accepted);
}

void TestFloatText::final()
{
    const FloatTextRules r{2, 1, 99.99, false};
    QVERIFY(FloatText::acceptsFinal(u"1.5"_s, r));
    QVERIFY(!FloatText::acceptsFinal(u"0.5"_s, r));
    QVERIFY(!FloatText::acceptsFinal(u"."_s, r));
    QVERIFY(!FloatText::acceptsFinal(QString(), r));
}

QTEST_GUILESS_MAIN(TestFloatText)
#include "tst_floattext.moc"
