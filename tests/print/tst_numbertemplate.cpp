#include "print/NumberTemplate.h"

#include <QTest>

using namespace Qt::StringLiterals;

using NumberTemplate::Value;
Q_DECLARE_METATYPE(Value)

class TestNumberTemplate : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void format_data();
    void format();
};

void TestNumberTemplate::format_data()
{
    QTest::addColumn<QString>("tmpl");
    QTest::addColumn<QList<Value>>("values");
    QTest::addColumn<QString>("expected"); // "<error>": the template does not fit

    const QString error = u"<error>"_s;
    auto amount = [](double v) { return QList<Value>{Value(v)}; };
    const QList<Value> page{Value(qint64(3)), Value(qint64(5))};

    QTest::newRow("page of pages") << u"%d/%d"_s << page << u"3/5"_s;
    QTest::newRow("zero-padded page") << u"%.2d/%.2d"_s << page << u"03/05"_s;
    QTest::newRow("extra value ignored") << u"%d頁"_s << page << u"3頁"_s;
    QTest::newRow("too few values") << u"%d/%d/%d"_s << page << error;
    QTest::newRow("integer to float conversion") << u"%f"_s << page << error;
    QTest::newRow("float to integer conversion") << u"%d"_s << amount(5) << error;
    QTest::newRow("negative zero-padded") << u"%.3d"_s << QList<Value>{Value(qint64(-5))} << u"-005"_s;
    QTest::newRow("width pads with blanks") << u"[%5d]"_s << page << u"[    3]"_s;
    QTest::newRow("leading zero in width still blanks") << u"[%05d]"_s << page << u"[    3]"_s;
    QTest::newRow("left justified") << u"[%-6.0f]"_s << amount(12) << u"[12    ]"_s;

    QTest::newRow("fixed default two decimals") << u"%f"_s << amount(1.5) << u"1.50"_s;
    QTest::newRow("fixed half away from zero") << u"%.2f"_s << amount(0.125) << u"0.13"_s;
    QTest::newRow("fixed decimal half of 1.005") << u"%.2f"_s << amount(1.005) << u"1.01"_s;
    QTest::newRow("fixed negative half") << u"%.0f"_s << amount(-2.5) << u"-3"_s;
    QTest::newRow("rounds to zero without sign") << u"%.0f"_s << amount(-0.4) << u"0"_s;
    QTest::newRow("thousands") << u"%.0n"_s << amount(1234567) << u"1,234,567"_s;
    QTest::newRow("thousands carry") << u"%.0n"_s << amount(999.5) << u"1,000"_s;
    QTest::newRow("thousands default decimals") << u"%n"_s << amount(-1234.5) << u"-1,234.50"_s;
    QTest::newRow("small thousands") << u"%.0n"_s << amount(12) << u"12"_s;
    QTest::newRow("discount mark") << u"▲%.0n"_s << amount(1000) << u"▲1,000"_s;
    QTest::newRow("money") << u"%m"_s << amount(12345) << u"￥12,345"_s;
    QTest::newRow("money negative") << u"%m"_s << amount(-12345) << u"-￥12,345"_s;
    QTest::newRow("money decimals") << u"%.2m"_s << amount(1.5) << u"￥1.50"_s;
    QTest::newRow("scientific") << u"%e"_s << amount(1234.5) << u"1.23450000000000E+003"_s;
    QTest::newRow("scientific small") << u"%.3e"_s << amount(-0.0012345) << u"-1.23E-003"_s;
    QTest::newRow("general") << u"%g"_s << amount(1234.5) << u"1234.5"_s;
    QTest::newRow("general large") << u"%g"_s << amount(1e20) << u"1E20"_s;
    QTest::newRow("general tiny") << u"%g"_s << amount(0.000001) << u"1E-6"_s;
    QTest::newRow("general precision") << u"%.3g"_s << amount(1234.5) << u"1.23E3"_s;
    QTest::newRow("width with text") << u"%8.0n円"_s << amount(1234) << u"   1,234円"_s;
    QTest::newRow("percent") << u"%%%.0f"_s << amount(5) << u"%5"_s;
    QTest::newRow("no conversion") << u"合計"_s << amount(5) << u"合計"_s;
    QTest::newRow("empty template") << QString() << amount(5) << QString();

    QTest::newRow("lone percent") << u"100%"_s << amount(5) << error;
    QTest::newRow("string conversion") << u"%s"_s << amount(5) << error;
    QTest::newRow("asterisk width") << u"%*d"_s << page << error;
    QTest::newRow("absurd width") << u"%999999999d"_s << page << error;
    QTest::newRow("absurd precision") << u"%.99999f"_s << amount(1) << error;
}

void TestNumberTemplate::format()
{
    QFETCH(QString, tmpl);
    QFETCH(QList<Value>, values);
    QFETCH(QString, expected);
    const auto text = NumberTemplate::format(tmpl, values);
    if (expected == u"<error>"_s)
        QVERIFY2(!text, qPrintable(text.value_or(QString())));
    else
        QCOMPARE(text.value_or(u"<error>"_s), expected);
}

QTEST_GUILESS_MAIN(TestNumberTemplate)
#include "tst_numbertemplate.moc"
