#include "lines/FixedPoint.h"
#include "lines/YenText.h"
#include "platform/IniFile.h"
#include "slip/SlipFile.h"
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

// A line item at 10 % whose own tax is the given amount (a discount row when negative).
TRowData lineTaxed(qint64 tax)
{
    TRowData row;
    row.LineDiv = tax < 0 ? u"値引"_s : u"整備"_s;
    row.TaxRate = 10 * Fixed::One;
    row.Price = (tax < 0 ? -tax : tax) * 10 * Fixed::One;
    return row;
}

// A line item: category, rate in percent (-1 follows the slip), amount and labour in yen.
TRowData item(const QString &div, qint64 rate, qint64 price, qint64 work = 0)
{
    TRowData row;
    row.LineDiv = div;
    row.TaxRate = rate * Fixed::One;
    row.Price = price * Fixed::One;
    row.WorkPrice = work * Fixed::One;
    return row;
}

// "10:315/32 8:2020/162": each rate's base and tax, highest rate first.
QString sharesText(const Totals::TaxBreakdown &b)
{
    QStringList parts;
    for (const Totals::RateShare &r : b.rates)
        parts << Totals::rateText(r.rate) + u':' + QString::number(r.base) + u'/' + QString::number(r.tax);
    return parts.join(u' ');
}

const LineCategoryList Categories =
    LineCategoryList::fromLines({u"整備,1"_s, u"部品,2"_s, u"値引,3"_s, u"小計,4"_s});

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
    void byRate_data();
    void byRate();
    void oldSlipComputesAsBefore();
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
    in.rows = {lineTaxed(4200)};
    in.inc = 50000;
    QTest::newRow("payment above the total") << in << Result{42000, 4200, 0, 0, 42000, 4200, 0};
    in.inc = 40000;
    QTest::newRow("payment below the total") << in << Result{42000, 4200, 0, 0, 42000, 4200, 6200};

    in = Input{};
    in.tecTotal = 90000000;
    in.partTotal = 20000000;
    in.rows = {lineTaxed(11000000)};
    in.wTax = 200000000;
    QTest::newRow("bounds carry into later totals")
        << in << Result{100000000, 11000000, 100000000, 0, 100000000, 11000000, 100000000};

    in = Input{};
    in.tecTotal = -5000;
    in.partTotal = 3000;
    in.rows = {lineTaxed(-300)};
    in.categories = Categories;
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
    Totals::store(Totals::compute(Totals::inputOf(slip, Categories)), slip);
    QCOMPARE(slip.costTax, qint64(52));
    QCOMPARE(slip.cstTx, qint64(52));
    QCOMPARE(slip.cst, qint64(17450));
    QCOMPARE(slip.last, qint64(17502));
}

// Worked examples, each checked by hand. Amounts are whole yen; rates percent.
void TestTotals::byRate_data()
{
    QTest::addColumn<Input>("in");
    QTest::addColumn<qint64>("lineTax");
    QTest::addColumn<qint64>("costTax");
    QTest::addColumn<QString>("shares");
    QTest::addColumn<qint64>("untaxed");

    const auto slip = [](QList<TRowData> rows, const QString &costs, int rounding, int mode) {
        Input in = withCosts(costs);
        in.rows = std::move(rows);
        in.categories = Categories;
        in.taxRate = 10 * Fixed::One;
        in.rounding = rounding;
        in.calcMode = mode;
        return in;
    };

    // Three parts of 105 at the slip's 10 % (10.5 each) and two of 1,010 at
    // 8 % (80.8 each). Per line: 11×3 + 81×2 = 195 rounded, 10×3 + 80×2 = 190
    // truncated, 11×3 + 81×2 = 195 rounded up. Per rate: 315 → 31.5 and
    // 2,020 → 161.6, i.e. 32 + 162, 31 + 161, 32 + 162.
    const QList<TRowData> mixed{item(u"部品"_s, -1, 105), item(u"部品"_s, -1, 105), item(u"部品"_s, -1, 105),
                                item(u"部品"_s, 8, 1010), item(u"部品"_s, 8, 1010)};
    QTest::newRow("mixed, 四捨五入, per line")
        << slip(mixed, {}, 0, 0) << qint64(195) << qint64(0) << u"10:315/33 8:2020/162"_s << qint64(0);
    QTest::newRow("mixed, 四捨五入, per rate")
        << slip(mixed, {}, 0, 1) << qint64(194) << qint64(0) << u"10:315/32 8:2020/162"_s << qint64(0);
    QTest::newRow("mixed, 切り捨て, per line")
        << slip(mixed, {}, 1, 0) << qint64(190) << qint64(0) << u"10:315/30 8:2020/160"_s << qint64(0);
    QTest::newRow("mixed, 切り捨て, per rate")
        << slip(mixed, {}, 1, 1) << qint64(192) << qint64(0) << u"10:315/31 8:2020/161"_s << qint64(0);
    QTest::newRow("mixed, 切り上げ, per line")
        << slip(mixed, {}, 2, 0) << qint64(195) << qint64(0) << u"10:315/33 8:2020/162"_s << qint64(0);
    QTest::newRow("mixed, 切り上げ, per rate")
        << slip(mixed, {}, 2, 1) << qint64(194) << qint64(0) << u"10:315/32 8:2020/162"_s << qint64(0);

    // Labour 12,345 and parts 6,789 at 10 %, parts 2,150 at 8 % less a
    // discount of 333 at 8 %, and a subtotal row that holds the running sum.
    // Per line: 1,234.5 → 1,235, 678.9 → 679, 172, −26.64 → −27: 2,059.
    // Per rate: 19,134 → 1,913.4 → 1,913; 1,817 → 145.36 → 145: 2,058.
    TRowData subtotal = item(u"小計"_s, -1, 21273);
    const QList<TRowData> discount{item(u"整備"_s, -1, 0, 12345), item(u"部品"_s, -1, 6789),
                                   item(u"部品"_s, 8, 2150), item(u"値引"_s, 8, 333), subtotal};
    QTest::newRow("discount at 8 %, per line") << slip(discount, {}, 0, 0) << qint64(2059) << qint64(0)
                                               << u"10:19134/1914 8:1817/145"_s << qint64(0);
    QTest::newRow("discount at 8 %, per rate") << slip(discount, {}, 0, 1) << qint64(2058) << qint64(0)
                                               << u"10:19134/1913 8:1817/145"_s << qint64(0);

    // Labour 8,005 at 10 %, a taxable cost of 10,005 and an untaxed one of
    // 200, weight tax 24,600, insurance 17,650, stamp 1,800; truncated.
    // Per line: 800 + 1,000. Per rate: 18,010 → 1,801, of which the cost's
    // own 1,000.5 → 1,000 and the lines the remaining 801. The statutory
    // costs and the untaxed row are in no base: 44,250.
    Input costs = slip({item(u"整備"_s, -1, 0, 8005)}, u"10005t 200"_s, 1, 0);
    costs.wTax = 24600;
    costs.ins = 17650;
    costs.stamp = 1800;
    QTest::newRow("costs, per line") << costs << qint64(800) << qint64(1000) << u"10:18010/1800"_s
                                     << qint64(44250);
    costs.calcMode = 1;
    QTest::newRow("costs, per rate") << costs << qint64(801) << qint64(1000) << u"10:18010/1801"_s
                                     << qint64(44250);

    // A part at 0 % is its own share, without tax.
    const QList<TRowData> exempt{item(u"整備"_s, -1, 0, 3000), item(u"部品"_s, 0, 5000)};
    QTest::newRow("0 %, per line") << slip(exempt, {}, 0, 0) << qint64(300) << qint64(0)
                                   << u"10:3000/300 0:5000/0"_s << qint64(0);
    QTest::newRow("0 %, per rate") << slip(exempt, {}, 0, 1) << qint64(300) << qint64(0)
                                   << u"10:3000/300 0:5000/0"_s << qint64(0);
}

void TestTotals::byRate()
{
    QFETCH(Input, in);
    QFETCH(qint64, lineTax);
    QFETCH(qint64, costTax);
    QFETCH(QString, shares);
    QFETCH(qint64, untaxed);
    Totals::TaxBreakdown b;
    const Result r = Totals::compute(in, &b);
    QCOMPARE(b.lineTax, lineTax);
    QCOMPARE(b.costTax, costTax);
    QCOMPARE(sharesText(b), shares);
    QCOMPARE(b.untaxed, untaxed);
    QCOMPARE(r.mntTx, lineTax);
    QCOMPARE(r.cstTx, costTax);
    qint64 sum = 0;
    for (const Totals::RateShare &share : b.rates)
        sum += share.tax;
    QCOMPARE(r.txTtl, sum);
}

// A slip file from before the per-rate method has no CalcMode: it reads as
// per line, and recomputing it gives every total the earlier program stored.
void TestTotals::oldSlipComputesAsBefore()
{
    const IniFile ini(QStringLiteral(TORVANE_SAMPLES "/estimate-with-vehicle.tvx"));
    QVERIFY(ini.readable());
    QVERIFY(!ini.keys(u"Tax"_s).contains(u"CalcMode"_s, Qt::CaseInsensitive));
    SlipData stored;
    SlipFile::read(ini, stored, sstAll, {Categories, QDate(2026, 12, 10)});
    QCOMPARE(stored.taxCalcMode, 0);
    SlipData slip = stored;
    Totals::recompute(slip, Categories);
    QCOMPARE(slip.tecTotal, stored.tecTotal);
    QCOMPARE(slip.partTotal, stored.partTotal);
    QCOMPARE(slip.mnt, stored.mnt);
    QCOMPARE(slip.mntTx, stored.mntTx);
    QCOMPARE(slip.cst, stored.cst);
    QCOMPARE(slip.cstTx, stored.cstTx);
    QCOMPARE(slip.costTax, stored.costTax);
    QCOMPARE(slip.ttl, stored.ttl);
    QCOMPARE(slip.txTtl, stored.txTtl);
    QCOMPARE(slip.last, stored.last);
    QCOMPARE(slip.rows, stored.rows);
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
