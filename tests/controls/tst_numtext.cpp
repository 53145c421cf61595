#include "controls/NumText.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestNumText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void clean_data();
    void clean();
    void typing_data();
    void typing();
    void format_data();
    void format();
    void backspace();
};

// Rules written as "integer/decimal[/nominus]".
static NumTextRules rules(int integerLength, int decimalLength, bool minus = true)
{
    NumTextRules r;
    r.integerLength = integerLength;
    r.decimalLength = decimalLength;
    r.minus = minus;
    return r;
}

void TestNumText::clean_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("integerLength");
    QTest::addColumn<int>("decimalLength");
    QTest::addColumn<bool>("minus");
    QTest::addColumn<QString>("raw");
    QTest::newRow("grouping dropped") << u"1,234,567"_s << 7 << 0 << true << u"1234567"_s;
    QTest::newRow("too many digits give empty") << u"12345678"_s << 7 << 0 << true << QString();
    QTest::newRow("full-width digits") << u"１２３"_s << 9 << 3 << true << u"123"_s;
    QTest::newRow("full-width minus, point, comma")
        << u"－１，２３４．５"_s << 9 << 3 << true << u"-1234.5"_s;
    QTest::newRow("stops at other character") << u"12円34"_s << 9 << 3 << true << u"12"_s;
    QTest::newRow("stops at other double-byte") << u"1２あ3"_s << 9 << 3 << true << u"12"_s;
    QTest::newRow("decimals cut") << u"1.23456"_s << 9 << 3 << true << u"1.234"_s;
    QTest::newRow("second point stops") << u"1.2.3"_s << 9 << 3 << true << u"1.2"_s;
    QTest::newRow("point stops without decimals") << u"12.5"_s << 9 << 0 << true << u"12"_s;
    QTest::newRow("minus refused stops") << u"-5"_s << 9 << 3 << false << QString();
    QTest::newRow("minus inside stops") << u"5-3"_s << 9 << 3 << true << u"5"_s;
    QTest::newRow("leading zeros") << u"007"_s << 9 << 3 << true << u"7"_s;
    QTest::newRow("all zeros") << u"000"_s << 9 << 3 << true << u"0"_s;
    QTest::newRow("zeros before point") << u"00.5"_s << 9 << 3 << true << u"0.5"_s;
    QTest::newRow("bare point") << u".5"_s << 9 << 3 << true << u"0.5"_s;
    QTest::newRow("negative bare point") << u"-.5"_s << 9 << 3 << true << u"-0.5"_s;
    QTest::newRow("negative leading zeros") << u"-0012"_s << 9 << 3 << true << u"-12"_s;
    QTest::newRow("not a number") << u"abc"_s << 9 << 3 << true << QString();
}

void TestNumText::clean()
{
    QFETCH(QString, text);
    QFETCH(int, integerLength);
    QFETCH(int, decimalLength);
    QFETCH(bool, minus);
    QFETCH(QString, raw);
    QCOMPARE(NumText::clean(text, rules(integerLength, decimalLength, minus)), raw);
}

void TestNumText::typing_data()
{
    // keys: the characters typed one by one; result: the raw text; refused:
    // the indexes of keys that were refused.
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("integerLength");
    QTest::addColumn<int>("decimalLength");
    QTest::addColumn<bool>("minus");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("refused");
    QTest::newRow("integer limit") << u"1234"_s << 3 << 2 << true << u"123"_s << u"3"_s;
    QTest::newRow("decimal limit") << u"123.456"_s << 3 << 2 << true << u"123.45"_s << u"6"_s;
    QTest::newRow("leading zeros") << u"007"_s << 3 << 2 << true << u"7"_s << QString();
    QTest::newRow("zero then digit at limit") << u"05"_s << 1 << 0 << true << u"5"_s << QString();
    QTest::newRow("point first") << u"."_s << 3 << 2 << true << u"0."_s << QString();
    QTest::newRow("point after minus") << u"-.5"_s << 3 << 2 << true << u"-0.5"_s << QString();
    QTest::newRow("second point") << u"1..2"_s << 3 << 2 << true << u"1.2"_s << u"2"_s;
    QTest::newRow("no decimals") << u"1.2"_s << 3 << 0 << true << u"12"_s << u"1"_s;
    QTest::newRow("minus twice") << u"5--"_s << 3 << 2 << true << u"5"_s << QString();
    QTest::newRow("minus toggles late") << u"12-"_s << 3 << 2 << true << u"-12"_s << QString();
    QTest::newRow("minus refused") << u"-5"_s << 3 << 2 << false << u"5"_s << u"0"_s;
    QTest::newRow("letter refused") << u"1a"_s << 3 << 2 << true << u"1"_s << u"1"_s;
}

void TestNumText::typing()
{
    QFETCH(QString, keys);
    QFETCH(int, integerLength);
    QFETCH(int, decimalLength);
    QFETCH(bool, minus);
    QFETCH(QString, result);
    QFETCH(QString, refused);
    QString raw;
    QString refusedAt;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const auto next = NumText::typeChar(raw, keys.at(i), rules(integerLength, decimalLength, minus));
        if (next)
            raw = *next;
        else
            refusedAt += QString::number(i);
    }
    QCOMPARE(raw, result);
    QCOMPARE(refusedAt, refused);
}

void TestNumText::format_data()
{
    QTest::addColumn<QString>("raw");
    QTest::addColumn<bool>("comma");
    QTest::addColumn<bool>("integerFixed");
    QTest::addColumn<bool>("decimalFixed");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("typedLength");
    QTest::newRow("grouped") << u"1234567"_s << true << false << false << u"1,234,567"_s << 9;
    QTest::newRow("negative grouped") << u"-1234.5"_s << true << false << false << u"-1,234.5"_s << 8;
    QTest::newRow("ungrouped") << u"1234567"_s << false << false << false << u"1234567"_s << 7;
    QTest::newRow("empty") << QString() << true << false << false << QString() << 0;
    QTest::newRow("empty decimal fixed") << QString() << true << false << true << u"0.00"_s << 0;
    QTest::newRow("empty integer fixed") << QString() << true << true << false << u"0"_s << 0;
    QTest::newRow("decimal fixed pads") << u"12.5"_s << true << false << true << u"12.50"_s << 4;
    QTest::newRow("decimal fixed adds point") << u"12"_s << true << false << true << u"12.00"_s << 2;
    QTest::newRow("lone minus fixed") << u"-"_s << true << false << true << u"-0.00"_s << 1;
    QTest::newRow("trailing point") << u"3."_s << true << false << false << u"3."_s << 2;
}

void TestNumText::format()
{
    QFETCH(QString, raw);
    QFETCH(bool, comma);
    QFETCH(bool, integerFixed);
    QFETCH(bool, decimalFixed);
    QFETCH(QString, text);
    QFETCH(int, typedLength);
    NumTextRules r = rules(9, 2);
    r.comma = comma;
    r.integerFixed = integerFixed;
    r.decimalFixed = decimalFixed;
    const NumFormat f = NumText::format(raw, r);
    QCOMPARE(f.text, text);
    QCOMPARE(f.typedLength, typedLength);
}

void TestNumText::backspace()
{
    QCOMPARE(NumText::backspace(u"12.5"_s), u"12"_s);
    QCOMPARE(NumText::backspace(u"-5"_s), u"-"_s);
    QCOMPARE(NumText::backspace(u"12.50"_s), u"12.5"_s);
    QCOMPARE(NumText::backspace(QString()), QString());
}

QTEST_GUILESS_MAIN(TestNumText)
#include "tst_numtext.moc"
