#include "support/FakeMessageService.h"
#include "support/TestFiles.h"

#include "controls/widgets/TFloatEdit.h"
#include "slip/widgets/SlipMoney.h"
#include "slip/widgets/TCostGrid.h"
#include "slip/widgets/TCostPanel.h"
#include "slip/widgets/TTotalsPanel.h"

#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

qint64 shown(const TFloatEdit *edit)
{
    return qint64(edit->Value());
}

} // namespace

// The panels and the coordinator together, with a stand-in for the line items.
class TestSlipMoney : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void loadShowsStoredTotalsAndPublishes();
    void loadedTruncationAppliesAtOnce();
    void paymentAboveTotalShowsZeroDue();
    void perRateSlipShowsEachRate();
    void typingDebounces();
    void notifyOffNeitherMarksNorStartsTimers();
    void ratesRestartBothTimers();
    void roundingRecomputesAllAtOnce();
    void deletingACostRowRecomputesAndMarks();
    void pickedAmountGoesIntoItsEdit_data();
    void pickedAmountGoesIntoItsEdit();
    void storeRoundTrip();

private:
    FakeMessageService messages_;
    std::unique_ptr<QWidget> host_;
    TCostPanel *costs_ = nullptr;
    TTotalsPanel *totals_ = nullptr;
    SlipMoney *money_ = nullptr;
    int recalcRows_ = 0;
    qint64 tec_ = 0, part_ = 0;
    QList<TRowData> rows_;
};

void TestSlipMoney::init()
{
    host_ = std::make_unique<QWidget>();
    costs_ = new TCostPanel(QString(), messages_, host_.get());
    totals_ = new TTotalsPanel(host_.get());
    money_ = new SlipMoney(costs_, totals_, host_.get());
    recalcRows_ = 0;
    tec_ = part_ = 0;
    rows_.clear();
    money_->setLines({[this] { ++recalcRows_; }, [this] { return tec_; }, [this] { return part_; },
                      [this] { return rows_; }});
    costs_->setAmountPicker([](int) { return std::optional<qint64>(); });
}

void TestSlipMoney::cleanup()
{
    host_.reset();
}

void TestSlipMoney::loadShowsStoredTotalsAndPublishes()
{
    SlipData slip;
    slip.taxRate = 80000;
    slip.taxCut = 2;
    slip.ravor = 8000;
    slip.wTax = 24600;
    slip.costRows[1] = {u"代行料"_s, u"10000"_s, true};
    slip.costTax = 999; // stale on purpose: shown as stored until the next recompute
    slip.cst = 12345;
    slip.last = 777;
    QSignalSpy modified(money_, &SlipMoney::modified);
    QSignalSpy rounding(money_, &SlipMoney::roundingPublished);
    QSignalSpy labour(money_, &SlipMoney::labourRatePublished);
    money_->load(slip);
    QCOMPARE(modified.count(), 0);
    QVERIFY(!money_->Timer1->isActive());
    QCOMPARE(rounding.count(), 1);
    QCOMPARE(rounding.first().first().toInt(), 2);
    QCOMPARE(labour.first().first().toLongLong(), qint64(80000000));
    QCOMPARE(money_->taxRate(), qint64(80000));
    QCOMPARE(shown(costs_->WTaxNValEditC), qint64(24600));
    QCOMPARE(shown(costs_->SHTaxNValLabel), qint64(999));
    QCOMPARE(shown(totals_->CTNValLabel), qint64(12345));
    QCOMPARE(shown(totals_->AllPriceNValLabel), qint64(777));
    QCOMPARE(costs_->CostStGrid->costRow(1).name, u"代行料"_s);
}

void TestSlipMoney::loadedTruncationAppliesAtOnce()
{
    SlipData slip;
    slip.taxRate = 50000;
    slip.taxCut = 1;
    slip.costRows[0] = {u"代行料"_s, u"1050"_s, true};
    money_->load(slip);
    // Nobody touched the rounding control, yet the next recompute truncates.
    money_->recomputeTotals();
    QCOMPARE(shown(costs_->SHTaxNValLabel), qint64(52));
    QCOMPARE(shown(totals_->TCNValLabel), qint64(52));
}

void TestSlipMoney::paymentAboveTotalShowsZeroDue()
{
    tec_ = 30000;
    part_ = 12000;
    TRowData line; // 42,000 yen at 10 %
    line.LineDiv = u"整備"_s;
    line.TaxRate = 100000;
    line.Price = qint64(42000) * 10000;
    rows_ = {line};
    money_->recomputeAll();
    QCOMPARE(shown(totals_->AllPriceNValLabel), qint64(46200));
    totals_->ITNValEditC->setValue(50000);
    money_->recomputeTotals();
    QCOMPARE(shown(totals_->AllPriceNValLabel), qint64(0));
    QCOMPARE(shown(totals_->PriceNValLabel), qint64(42000));
}

// Lines at 10 % and 8 % with a taxable and an untaxed cost row: per rate the
// panel lists each rate's amount and tax; per line the list goes away and the
// 8 % tax is the two lines' rounded taxes (8 + 8 instead of 16.8 -> 17).
void TestSlipMoney::perRateSlipShowsEachRate()
{
    SlipData slip;
    slip.taxRate = 100000;
    slip.taxCalcMode = Totals::PerRate;
    slip.costRows[0] = {u"代行手数料"_s, u"3000"_s, true};
    slip.costRows[1] = {u"検査手数料"_s, u"1800"_s, false};
    money_->load(slip);
    const auto line = [](qint64 yen, qint64 rate) {
        TRowData r;
        r.LineDiv = u"部品"_s;
        r.TaxRate = rate;
        r.Price = yen * 10000;
        return r;
    };
    rows_ = {line(10645, -10000), line(105, 80000), line(105, 80000)};
    part_ = 10855;
    money_->recomputeAll();
    totals_->resize(totals_->sizeHint());
    QVERIFY(totals_->RateLabel->isVisibleTo(totals_));
    const QString text = totals_->RateLabel->text();
    for (const QString &shownText :
         {u"10%対象"_s, u"13,645"_s, u"1,365"_s, u"8%対象"_s, u"210"_s, u"&nbsp;17</td>"_s})
        QVERIFY2(text.contains(shownText), qPrintable(text));
    QCOMPARE(shown(totals_->TTNValLabel), qint64(1382));
    QCOMPARE(shown(totals_->AllPriceNValLabel), qint64(17037));
    grabTo(*totals_, u"totals-per-rate.png"_s);

    money_->calcModeChanged(Totals::PerLine);
    QVERIFY(!totals_->RateLabel->isVisibleTo(totals_));
    QCOMPARE(shown(totals_->TTNValLabel), qint64(1381));
}

void TestSlipMoney::typingDebounces()
{
    QSignalSpy modified(money_, &SlipMoney::modified);
    costs_->StampNValEditC->setText(u"1"_s);
    QVERIFY(money_->Timer1->isActive());
    QTest::qWait(400);
    costs_->StampNValEditC->setText(u"18"_s);
    QTest::qWait(500);
    // 900 ms after the first key but only 500 after the last: not yet.
    QCOMPARE(shown(totals_->CTNValLabel), qint64(0));
    QTRY_COMPARE_WITH_TIMEOUT(shown(totals_->CTNValLabel), qint64(18), 1000);
    QVERIFY(!money_->Timer1->isActive());
    QCOMPARE(modified.count(), 2);

    // A cost cell and the payment go the same way.
    costs_->CostStGrid->toggleTax(0);
    QVERIFY(money_->Timer1->isActive());
    money_->Timer1->stop();
    totals_->ITNValEditC->setValue(5);
    QVERIFY(money_->Timer1->isActive());
    QCOMPARE(modified.count(), 4);
}

void TestSlipMoney::notifyOffNeitherMarksNorStartsTimers()
{
    QSignalSpy modified(money_, &SlipMoney::modified);
    money_->setNotify(false);
    costs_->WTaxNValEditC->setValue(16400);
    money_->taxRateEdited(10);
    QCOMPARE(modified.count(), 0);
    QVERIFY(!money_->Timer1->isActive());
    QVERIFY(!money_->Timer2->isActive());
    // The rate is in effect all the same.
    QCOMPARE(money_->taxRate(), qint64(100000));
}

void TestSlipMoney::ratesRestartBothTimers()
{
    QSignalSpy modified(money_, &SlipMoney::modified);
    QSignalSpy published(money_, &SlipMoney::taxRatePublished);
    money_->taxRateEdited(8.5);
    QCOMPARE(published.first().first().toLongLong(), qint64(85000));
    QVERIFY(money_->Timer1->isActive());
    QVERIFY(money_->Timer2->isActive());
    QCOMPARE(modified.count(), 1);
    QCOMPARE(recalcRows_, 0);
    tec_ = 1000;
    QTRY_COMPARE_WITH_TIMEOUT(recalcRows_, 1, 2000);
    QCOMPARE(shown(totals_->STNValLabel), qint64(1000));

    money_->labourRateEdited(8000);
    QCOMPARE(money_->labourRate(), qint64(80000000));
    QVERIFY(money_->Timer2->isActive());
}

void TestSlipMoney::roundingRecomputesAllAtOnce()
{
    QSignalSpy modified(money_, &SlipMoney::modified);
    QSignalSpy lineTotals(money_, &SlipMoney::lineTotalsChanged);
    money_->applyTaxSettings(50000, 0, 0);
    costs_->CostStGrid->setCostRows({SlipData::CostRow{u"a"_s, u"1050"_s, true}});
    part_ = 2000;
    money_->roundingChanged(2);
    QCOMPARE(recalcRows_, 1);
    QCOMPARE(lineTotals.last().at(1).toLongLong(), qint64(2000));
    QCOMPARE(shown(costs_->SHTaxNValLabel), qint64(53));
    money_->roundingChanged(1);
    QCOMPARE(shown(costs_->SHTaxNValLabel), qint64(52));
    QCOMPARE(modified.count(), 2);
}

void TestSlipMoney::deletingACostRowRecomputesAndMarks()
{
    SlipData slip;
    for (int k = 0; k < 5; ++k)
        slip.costRows[size_t(k)] = {u"r"_s + QString::number(k + 1), QString::number((k + 1) * 100), false};
    money_->load(slip);
    QSignalSpy modified(money_, &SlipMoney::modified);
    costs_->CostStGrid->setCurrentCell(2, 0);
    costs_->SpeedButton19->click();
    QCOMPARE(costs_->CostStGrid->costRow(2).name, u"r4"_s);
    QCOMPARE(costs_->CostStGrid->costRow(3).name, u"r5"_s);
    QCOMPARE(costs_->CostStGrid->costRow(4), SlipData::CostRow{});
    QCOMPARE(modified.count(), 1);
    QCOMPARE(shown(totals_->CTNValLabel), qint64(1200));
}

void TestSlipMoney::pickedAmountGoesIntoItsEdit_data()
{
    QTest::addColumn<bool>("byKey");
    QTest::addColumn<int>("kind");
    QTest::newRow("weight tax button") << false << 2;
    QTest::newRow("insurance button") << false << 1;
    QTest::newRow("weight tax Ctrl+Space") << true << 2;
    QTest::newRow("insurance Ctrl+Space") << true << 1;
}

void TestSlipMoney::pickedAmountGoesIntoItsEdit()
{
    QFETCH(bool, byKey);
    QFETCH(int, kind);
    QList<int> asked;
    std::optional<qint64> answer = 17650;
    costs_->setAmountPicker([&](int k) {
        asked.append(k);
        return answer;
    });
    host_->show();
    QVERIFY(QTest::qWaitForWindowExposed(host_.get()));
    TFloatEdit *edit = kind == 1 ? costs_->InsNValEditC : costs_->WTaxNValEditC;
    TFloatEdit *other = kind == 1 ? costs_->WTaxNValEditC : costs_->InsNValEditC;
    QSignalSpy modified(money_, &SlipMoney::modified);
    const auto open = [&] {
        if (byKey) {
            edit->setFocus();
            QTest::keyClick(edit, Qt::Key_Space, Qt::ControlModifier);
        } else {
            (kind == 1 ? costs_->SpeedButton5 : costs_->SpeedButton7)->click();
        }
    };
    open();
    QCOMPARE(asked, QList<int>{kind});
    QCOMPARE(shown(edit), qint64(17650));
    QCOMPARE(shown(other), qint64(0));
    QCOMPARE(QApplication::focusWidget(), edit);
    // The totals follow at once, not after the pause.
    QCOMPARE(shown(totals_->CTNValLabel), qint64(17650));
    QVERIFY(modified.count() >= 1);
    // The Ctrl+Space is swallowed: no blank typed into the amount.
    QCOMPARE(edit->text(), u"17,650"_s);

    answer.reset();
    open();
    QCOMPARE(shown(edit), qint64(17650));
}

void TestSlipMoney::storeRoundTrip()
{
    SlipData in;
    in.tecTotal = 30000;
    in.partTotal = 12000;
    in.wTax = 24600;
    in.ins = 17650;
    in.stamp = 1800;
    in.costRows[0] = {u"代行料"_s, u"10000"_s, true};
    in.costRows[3] = {u"値引き"_s, u"-500"_s, false};
    in.costTax = 1000;
    in.mnt = 42000, in.cst = 53550, in.ttl = 95550, in.inc = 50000;
    in.mntTx = 4200, in.cstTx = 1000, in.txTtl = 5200, in.last = 50750;
    money_->load(in);
    SlipData out;
    money_->store(out);
    QCOMPARE(out.tecTotal, in.tecTotal);
    QCOMPARE(out.partTotal, in.partTotal);
    QCOMPARE(out.wTax, in.wTax);
    QCOMPARE(out.ins, in.ins);
    QCOMPARE(out.stamp, in.stamp);
    QCOMPARE(out.costRows, in.costRows);
    QCOMPARE(out.costTax, in.costTax);
    QCOMPARE(out.mnt, in.mnt);
    QCOMPARE(out.cst, in.cst);
    QCOMPARE(out.ttl, in.ttl);
    QCOMPARE(out.inc, in.inc);
    QCOMPARE(out.mntTx, in.mntTx);
    QCOMPARE(out.cstTx, in.cstTx);
    QCOMPARE(out.txTtl, in.txTtl);
    QCOMPARE(out.last, in.last);
}

QTEST_MAIN(TestSlipMoney)
#include "tst_slipmoney.moc"
