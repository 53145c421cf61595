#include "SlipMoney.h"

#include "TCostPanel.h"
#include "TTotalsPanel.h"
#include "lines/FixedPoint.h"

#include <QTimer>

namespace {

QTimer *oneShot(QObject *parent)
{
    auto *t = new QTimer(parent);
    t->setSingleShot(true);
    t->setInterval(SlipMoney::DelayMs);
    return t;
}

} // namespace

SlipMoney::SlipMoney(TCostPanel *costs, TTotalsPanel *totals, QObject *parent)
    : QObject(parent), Timer1(oneShot(this)), Timer2(oneShot(this)), costs_(costs), totals_(totals)
{
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer2->setObjectName(QStringLiteral("Timer2"));
    connect(Timer1, &QTimer::timeout, this, &SlipMoney::recomputeTotals);
    connect(Timer2, &QTimer::timeout, this, &SlipMoney::recomputeAll);

    const auto typed = [this] { userChange(); };
    connect(costs_, &TCostPanel::amountChanged, this, typed);
    connect(costs_, &TCostPanel::costEdited, this, typed);
    connect(totals_, &TTotalsPanel::paymentChanged, this, typed);
    connect(costs_, &TCostPanel::costRowDeleted, this, [this] {
        recomputeTotals();
        Q_EMIT modified();
    });
    connect(costs_, &TCostPanel::amountPicked, this, &SlipMoney::recomputeTotals);
}

void SlipMoney::setLines(Lines lines)
{
    lines_ = std::move(lines);
}

void SlipMoney::setNotify(bool on)
{
    notify_ = on;
}

void SlipMoney::restart(QTimer *timer)
{
    if (notify_)
        timer->start();
}

void SlipMoney::userChange()
{
    if (!notify_)
        return;
    Q_EMIT modified();
    restart(Timer1);
}

void SlipMoney::publishRate(qint64 rate)
{
    taxRate_ = rate;
    Q_EMIT taxRatePublished(rate);
}

void SlipMoney::publishRounding(int mode)
{
    rounding_ = mode;
    Q_EMIT roundingPublished(mode);
}

void SlipMoney::publishLabourRate(qint64 rate)
{
    labourRate_ = rate;
    Q_EMIT labourRatePublished(rate);
}

void SlipMoney::applyTaxSettings(qint64 taxRate, int rounding, qint64 labourRate)
{
    publishRate(taxRate);
    publishRounding(rounding);
    publishLabourRate(labourRate);
}

void SlipMoney::load(const SlipData &slip)
{
    applyTaxSettings(slip.taxRate, slip.taxCut, slip.ravor * Fixed::One);
    calcMode_ = slip.taxCalcMode == Totals::PerRate ? Totals::PerRate : Totals::PerLine;
    tecTotal_ = Totals::clampAmount(slip.tecTotal);
    partTotal_ = Totals::clampAmount(slip.partTotal);
    Q_EMIT lineTotalsChanged(tecTotal_, partTotal_);
    costs_->load(slip);
    totals_->load(slip);
}

void SlipMoney::store(SlipData &slip) const
{
    slip.tecTotal = tecTotal_;
    slip.partTotal = partTotal_;
    costs_->store(slip);
    totals_->store(slip);
}

Totals::Input SlipMoney::input() const
{
    Totals::Input in;
    in.tecTotal = tecTotal_;
    in.partTotal = partTotal_;
    if (lines_.rows)
        in.rows = lines_.rows();
    in.categories = categories_;
    costs_->fillInput(in);
    in.inc = totals_->payment();
    in.taxRate = taxRate_;
    in.rounding = rounding_;
    in.calcMode = calcMode_;
    return in;
}

void SlipMoney::recomputeTotals()
{
    Timer1->stop();
    Totals::TaxBreakdown breakdown;
    const Totals::Result r = Totals::compute(input(), &breakdown);
    costs_->showCostTax(r.cstTx);
    totals_->showTotals(r);
    totals_->showBreakdown(calcMode_ == Totals::PerRate ? breakdown : Totals::TaxBreakdown{});
    Q_EMIT totalsChanged(r);
}

void SlipMoney::recomputeAll()
{
    Timer2->stop();
    if (lines_.recalcRows)
        lines_.recalcRows();
    tecTotal_ = Totals::clampAmount(lines_.tecTotal ? lines_.tecTotal() : 0);
    partTotal_ = Totals::clampAmount(lines_.partTotal ? lines_.partTotal() : 0);
    Q_EMIT lineTotalsChanged(tecTotal_, partTotal_);
    recomputeTotals();
}

void SlipMoney::taxRateEdited(double percent)
{
    publishRate(Fixed::fromDouble(percent));
    restart(Timer2);
    if (notify_)
        Q_EMIT modified();
    restart(Timer1);
}

void SlipMoney::roundingChanged(int mode)
{
    publishRounding(mode);
    recomputeAll();
    if (notify_)
        Q_EMIT modified();
}

void SlipMoney::calcModeChanged(int mode)
{
    calcMode_ = mode == Totals::PerRate ? Totals::PerRate : Totals::PerLine;
    recomputeTotals();
    if (notify_)
        Q_EMIT modified();
}

void SlipMoney::labourRateEdited(double yenPerPoint)
{
    publishLabourRate(Fixed::fromDouble(yenPerPoint));
    restart(Timer2);
    if (notify_)
        Q_EMIT modified();
    restart(Timer1);
}

void SlipMoney::linesChanged()
{
    recomputeAll();
    if (notify_)
        Q_EMIT modified();
}
