#include "lines/RowText.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

LineCategoryList categories()
{
    return LineCategoryList::fromLines({u"整備,1"_s, u"部品,2"_s, u"値引,3"_s, u"小計,4"_s});
}

TRowData row(const QString &div, qint64 workPrice, qint64 price)
{
    TRowData r;
    r.LineDiv = div;
    r.TextA = u"オイル交換"_s;
    r.WorkPrice = workPrice * Fixed::One;
    r.Price = price * Fixed::One;
    r.Count = Fixed::One;
    return r;
}

} // namespace

class TestRowText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void signRule_data();
    void signRule();
    void shortTextsAreSkipped();
    void extraFieldsAreIgnored();
};

void TestRowText::signRule_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("text");
    QTest::newRow("normal") << u"整備"_s << u"整備,-1,オイル交換,,0,500,1,0,1000,EOL"_s;
    QTest::newRow("discount negated") << u"値引"_s << u"値引,-1,オイル交換,,0,-500,1,0,-1000,EOL"_s;
    QTest::newRow("unknown category is normal") << u"洗車"_s << u"洗車,-1,オイル交換,,0,500,1,0,1000,EOL"_s;
    QTest::newRow("no category") << QString() << u",-1,オイル交換,,0,500,1,0,1000,EOL"_s;
}

void TestRowText::signRule()
{
    QFETCH(QString, category);
    QFETCH(QString, text);
    const TRowData r = row(category, 500, 1000);
    QCOMPARE(RowText::make(r, categories()), text);
    const std::optional<TRowData> back = RowText::parse(text, categories());
    QVERIFY(back);
    QCOMPARE(*back, r);
}

void TestRowText::shortTextsAreSkipped()
{
    QVERIFY(!RowText::parse(u"整備,-1,a,b,0,0,1,0"_s, categories()));
    QVERIFY(!RowText::parse(QString(), categories()));
}

void TestRowText::extraFieldsAreIgnored()
{
    const std::optional<TRowData> r =
        RowText::parse(u"部品,10,\"a,b\",x,0.5,x,2,1500,3000,EOL,more"_s, categories());
    QVERIFY(r);
    QCOMPARE(r->TextA, u"a,b"_s);
    QCOMPARE(r->TaxRate, 10 * Fixed::One);
    QCOMPARE(r->WorkPoint, Fixed::One / 2);
    QCOMPARE(r->WorkPrice, 0); // not a number
    QCOMPARE(r->Price, 3000 * Fixed::One);
}

QTEST_GUILESS_MAIN(TestRowText)
#include "tst_rowtext.moc"
