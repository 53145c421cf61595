#include "lines/YenText.h"
#include "slip/Totals.h"

#include <QTest>

using namespace Qt::StringLiterals;

using Totals::Input;
using Totals::Result;

Q_DECLARE_METATYPE(Totals::Result)

namespace {

// "10000t 200 abc" -> cost rows: a trailing "t" marks a taxable row.
Input withCosts(const QString &costs)
{
    Input in;
    const QStringList parts = costs.split(u' ', Qt::SkipEmptyParts);
    for (qsizetype k = 0; k < parts.size() && k < 5; ++k) {
        QString p = parts[k];
        const bool taxable = p.endsWith(u't');
        if (taxable)
            p.chop(1);
        in.costs[size_t(k)] = Totals::CostLine{p, taxable};
    }
    return in;
}

} // namespace

class TestTotals : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void priceOf_data();
    void priceOf();
    void costTax_data();
    void costTax();
    void compute_data();
    void compute();
    void slipTransfer();
    void groupedYen();
};

void TestTotals::priceOf_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isPrice");
    QTest::addColumn<qint64>("value");
    QTest::newRow("plain") << u"1050"_s << true << qint64(1050);
    QTest::newRow("negative") << u"-500"_s << true << qint64(-500);
    QTest::newRow("blanks") << u" 12 "_s << true << qint64(12);
    QTest::newRow("largest") << u"2147483647"_s << true << qint64(2147483647);
    QTest::newRow("smallest") << u"-2147483648"_s << true << qint64(-2147483648LL);
    QTest::newRow("too large") << u"2147483648"_s << false << qint64(0);
    QTest::newRow("empty") << QString() << false << qint64(0);
    QTest::newRow("sign only") << u"-"_s << false << qint64(0);
    QTest::newRow("letters") << u"abc"_s << false << qint64(0);
    QTest::newRow("grouped") << u"1,000"_s << false << qint64(0);
    QTest::newRow("decimal") << u"10.5"_s << false << qint64(0);
    QTest::newRow("full-width digits") << u"１２"_s << false << qint64(0);
}

void TestTotals::priceOf()
{
    QFETCH(QString, text);
    QFETCH(bool, isPrice);
    QFETCH(qint64, value);
    const std::optional<qint64> p = YenText::priceOf(text);
    QCOMPARE(p.has_value(), isPrice);
    if (isPrice)
        QCOMPARE(*p, value);
}

void TestTotals::costTax_data()
{
    QTest::addColumn<qint64>("amount");
    QTest::addColumn<qint64>("rate"); // percent × 10000
    QTest::addColumn<int>("mode");
    QTest::addColumn<qint64>("tax");
    QTest::newRow("1050 at 5 % half away") << qint64(1050) << qint64(50000) << 0 << qint64(53);
    QTest::newRow("1050 at 5 % truncate") << qint64(1050) << qint64(50000) << 1 << qint64(52);
    QTest::newRow("1050 at 5 % round up") << qint64(1050) << qint64(50000) << 2 << qint64(53);
    QTest::newRow("unknown mode rounds half away") << qint64(1050) << qint64(50000) << 7 << qint64(53);
    QTest::newRow("-1050 at 5 % half away") << qint64(-1050) << qint64(50000) << 0 << qint64(-53);
    QTest::newRow("-1050 at 5 % truncate") << qint64(-1050) << qint64(50000) << 1 << qint64(-52);
    QTest::newRow("-1050 at 5 % round up") << qint64(-1050) << qint64(50000) << 2 << qint64(-52);
    QTest::newRow("exact") << qint64(10000) << qint64(80000) << 2 << qint64(800);
    // 8.1 % is not exact in binary floating point; the result must still be exact.
    QTest::newRow("1000 at 8.1 % round up") << qint64(1000) << qint64(81000) << 2 << qint64(81);
    QTest::newRow("333 at 8.25 % half away") << qint64(333) << qint64(82500) << 0 << qint64(27);
    QTest::newRow("rate above 99.99 % is clamped") << qint64(10000) << qint64(5000000) << 0 << qint64(9999);
    QTest::newRow("negative rate is 0") << qint64(10000) << qint64(-50000) << 0 << qint64(0);
}

void TestTotals::costTax()
{
    QFETCH(qint64, amount);
    QFETCH(qint64, rate);
    QFETCH(int, mode);
    QFETCH(qint64, tax);
    QCOMPARE(Totals::costTax(amount, rate, mode), tax);
}

void TestTotals::compute_data()
{
    QTest::addColumn<Input>("in");
    QTest::addColumn<Result>("out");

    Input in = withCosts(u"10000t 200"_s);
    in.taxRate = 80000;
    in.wTax = 24600;
    in.ins = 17650;
    in.stamp = 1800;
    // mnt, mntTx, cst, cstTx, ttl, txTtl, last
    QTest::newRow("taxable and non-taxable at 8 %") << in << Result{0, 0, 54250, 800, 54250, 800, 55050};

    in = withCosts(u"1050t"_s);
    in.taxRate = 50000;
    for (int mode : {0, 1, 2}) {
        in.rounding = mode;
        const qint64 tax = mode == 1 ? 52 : 53;
        QTest::addRow("1050 at 5 %%, mode %d", mode) << in << Result{0, 0, 1050, tax, 1050, tax, 1050 + tax};
    }

    in = withCosts(u"-500t 1000t"_s);
    in.taxRate = 100000;
    QTest::newRow("negative and positive row") << in << Result{0, 0, 500, 50, 500, 50, 550};
    in = withCosts(u"-500t"_s);
    in.taxRate = 100000;
    QTest::newRow("negative row alone shows 0") << in << Result{0, 0, 0, 0, 0, 0, 0};

    in = withCosts(u"abc 12.5 1,000 500"_s);
    QTest::newRow("prices that are not integers count 0") << in << Result{0, 0, 500, 0, 500, 0, 500};

    in = Input{};
    in.tecTotal = 30000;
    in.partTotal = 12000;
    in.lineTax = 4200;
    in.inc = 50000;
    QTest::newRow("payment above the total") << in << Result{42000, 4200, 0, 0, 42000, 4200, 0};
    in.inc = 40000;
    QTest::newRow("payment below the total") << in << Result{42000, 4200, 0, 0, 42000, 4200, 6200};

    in = Input{};
    in.tecTotal = 90000000;
    in.partTotal = 20000000;
    in.lineTax = 11000000;
    in.wTax = 200000000;
    QTest::newRow("bounds carry into later totals")
        << in << Result{100000000, 11000000, 100000000, 0, 100000000, 11000000, 100000000};

    in = Input{};
    in.tecTotal = -5000;
    in.partTotal = 3000;
    in.lineTax = -300;
    QTest::newRow("negative line totals show 0") << in << Result{3000, 0, 0, 0, 3000, 0, 3000};
}

void TestTotals::compute()
{
    QFETCH(Input, in);
    QFETCH(Result, out);
    const Result r = Totals::compute(in);
    QCOMPARE(r.mnt, out.mnt);
    QCOMPARE(r.mntTx, out.mntTx);
    QCOMPARE(r.cst, out.cst);
    QCOMPARE(r.cstTx, out.cstTx);
    QCOMPARE(r.ttl, out.ttl);
    QCOMPARE(r.txTtl, out.txTtl);
    QCOMPARE(r.last, out.last);
}

void TestTotals::slipTransfer()
{
    // A slip as loaded with Cut=1: its stored totals are stale, the recompute
    // truncates at once.
    SlipData slip;
    slip.taxRate = 50000;
    slip.taxCut = 1;
    slip.costRows[0] = {u"車検代行料"_s, u"1050"_s, true};
    slip.wTax = 16400;
    slip.costTax = 53;
    slip.cstTx = 53;
    Totals::store(Totals::compute(Totals::inputOf(slip)), slip);
    QCOMPARE(slip.costTax, qint64(52));
    QCOMPARE(slip.cstTx, qint64(52));
    QCOMPARE(slip.cst, qint64(17450));
    QCOMPARE(slip.last, qint64(17502));
}

void TestTotals::groupedYen()
{
    QCOMPARE(YenText::grouped(0), u"0"_s);
    QCOMPARE(YenText::grouped(999), u"999"_s);
    QCOMPARE(YenText::grouped(15000), u"15,000"_s);
    QCOMPARE(YenText::grouped(100000000), u"100,000,000"_s);
    QCOMPARE(YenText::grouped(-1500), u"-1,500"_s);
    QCOMPARE(YenText::grouped(std::numeric_limits<qint64>::min()), u"-9,223,372,036,854,775,808"_s);
}

QTEST_GUILESS_MAIN(TestTotals)
#include "tst_totals.moc"
