#include "TTotalsPanel.h"

#include "controls/widgets/TFloatEdit.h"
#include "lines/YenText.h"

#include <QGridLayout>
#include <QLabel>

#include <cmath>

namespace {

qint64 shown(const TFloatEdit *edit)
{
    return qint64(std::trunc(edit->Value()));
}

} // namespace

TTotalsPanel::TTotalsPanel(QWidget *parent) : QWidget(parent)
{
    STNValLabel = makeTotal("STNValLabel", true);
    TSNValLabel = makeTotal("TSNValLabel", true);
    CTNValLabel = makeTotal("CTNValLabel", true);
    TCNValLabel = makeTotal("TCNValLabel", true);
    PriceNValLabel = makeTotal("PriceNValLabel", true);
    TTNValLabel = makeTotal("TTNValLabel", true);
    ITNValEditC = makeTotal("ITNValEditC", false);
    AllPriceNValLabel = makeTotal("AllPriceNValLabel", true);
    // The payment is typed by clicking into it; Tab passes it by.
    ITNValEditC->setFocusPolicy(Qt::ClickFocus);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(8, 4, 8, 4);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    const auto label = [this](const QString &text, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
        auto *l = new QLabel(text, this);
        l->setAlignment(align);
        return l;
    };
    grid->addWidget(label(QStringLiteral("金　額"), Qt::AlignCenter), 0, 1);
    grid->addWidget(label(QStringLiteral("消費税"), Qt::AlignCenter), 0, 2);
    grid->addWidget(label(QStringLiteral("整備")), 1, 0);
    grid->addWidget(STNValLabel, 1, 1);
    grid->addWidget(TSNValLabel, 1, 2);
    grid->addWidget(label(QStringLiteral("諸費用")), 2, 0);
    grid->addWidget(CTNValLabel, 2, 1);
    grid->addWidget(TCNValLabel, 2, 2);
    grid->addWidget(label(QStringLiteral("金額合計")), 3, 0);
    grid->addWidget(PriceNValLabel, 3, 1);
    grid->addWidget(TTNValLabel, 3, 2);
    grid->addWidget(label(QStringLiteral("現金入金額")), 4, 0);
    grid->addWidget(ITNValEditC, 4, 1);

    // The amount due stands out: caption and amount two points larger.
    QLabel *dueCaption = label(QStringLiteral("総合計金額"));
    QFont big = font();
    big.setPointSizeF(big.pointSizeF() + 2);
    dueCaption->setFont(big);
    AllPriceNValLabel->setFont(big);
    AllPriceNValLabel->setMinimumHeight(AllPriceNValLabel->sizeHint().height());
    grid->addWidget(dueCaption, 5, 0);
    grid->addWidget(AllPriceNValLabel, 5, 1);
    RateLabel = new QLabel(this);
    RateLabel->setObjectName(QStringLiteral("RateLabel"));
    RateLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    RateLabel->setTextFormat(Qt::RichText);
    RateLabel->hide();
    grid->addWidget(RateLabel, 1, 3, 4, 1);
    grid->setColumnStretch(4, 1);

    connect(ITNValEditC, &TFloatEdit::OnChange, this, [this] {
        if (!updating_)
            Q_EMIT paymentChanged();
    });
}

TFloatEdit *TTotalsPanel::makeTotal(const char *name, bool readOnly)
{
    auto *edit = new TFloatEdit(this);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setDigits(0);
    edit->setMax(double(Totals::AmountMax));
    edit->setSupportsThousandSeparator(true);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("000,000,000")) + 16);
    if (readOnly) {
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::NoFocus);
    }
    return edit;
}

void TTotalsPanel::set(TFloatEdit *edit, qint64 value)
{
    const bool was = updating_;
    updating_ = true;
    edit->setValue(double(value));
    updating_ = was;
}

void TTotalsPanel::load(const SlipData &slip)
{
    set(STNValLabel, slip.mnt);
    set(TSNValLabel, slip.mntTx);
    set(CTNValLabel, slip.cst);
    set(TCNValLabel, slip.cstTx);
    set(PriceNValLabel, slip.ttl);
    set(TTNValLabel, slip.txTtl);
    set(ITNValEditC, slip.inc);
    set(AllPriceNValLabel, slip.last);
}

void TTotalsPanel::store(SlipData &slip) const
{
    slip.mnt = shown(STNValLabel);
    slip.mntTx = shown(TSNValLabel);
    slip.cst = shown(CTNValLabel);
    slip.cstTx = shown(TCNValLabel);
    slip.ttl = shown(PriceNValLabel);
    slip.txTtl = shown(TTNValLabel);
    slip.inc = shown(ITNValEditC);
    slip.last = shown(AllPriceNValLabel);
}

void TTotalsPanel::showTotals(const Totals::Result &totals)
{
    set(STNValLabel, totals.mnt);
    set(TSNValLabel, totals.mntTx);
    set(CTNValLabel, totals.cst);
    set(TCNValLabel, totals.cstTx);
    set(PriceNValLabel, totals.ttl);
    set(TTNValLabel, totals.txTtl);
    set(AllPriceNValLabel, totals.last);
}

void TTotalsPanel::showBreakdown(const Totals::TaxBreakdown &breakdown)
{
    if (breakdown.rates.empty()) {
        RateLabel->clear();
        RateLabel->hide();
        return;
    }
    // A table keeps the amounts of the rates under one another.
    QString html = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"1\">");
    for (const Totals::RateShare &r : breakdown.rates) {
        html += QStringLiteral("<tr><td>") + Totals::rateCaption(r.rate) +
                QStringLiteral("</td><td align=\"right\">&nbsp;") + YenText::grouped(r.base) +
                QStringLiteral("</td>");
        if (r.rate != 0)
            html += QStringLiteral("<td>&nbsp;&nbsp;消費税</td><td align=\"right\">&nbsp;") +
                    YenText::grouped(r.tax) + QStringLiteral("</td>");
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table>");
    RateLabel->setText(html);
    RateLabel->show();
}

qint64 TTotalsPanel::payment() const
{
    return shown(ITNValEditC);
}

QWidget *TTotalsPanel::firstControl() const
{
    return ITNValEditC;
}
