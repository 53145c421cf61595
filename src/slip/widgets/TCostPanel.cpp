#include "TCostPanel.h"

#include "TCostGrid.h"
#include "controls/widgets/TFloatEdit.h"
#include "master/TaxTables.h"
#include "master/widgets/TTaxGuideForm.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>

#include <cmath>

namespace {

qint64 shown(const TFloatEdit *edit)
{
    return qint64(std::trunc(edit->Value()));
}

} // namespace

TCostPanel::TCostPanel(const QString &appFolder, MessageService &messages, QWidget *parent)
    : QWidget(parent), appFolder_(appFolder), messages_(messages)
{
    WTaxNValEditC = makeAmountEdit();
    InsNValEditC = makeAmountEdit();
    StampNValEditC = makeAmountEdit();
    WTaxNValEditC->setObjectName(QStringLiteral("WTaxNValEditC"));
    InsNValEditC->setObjectName(QStringLiteral("InsNValEditC"));
    StampNValEditC->setObjectName(QStringLiteral("StampNValEditC"));
    SHTaxNValLabel = makeAmountEdit();
    SHTaxNValLabel->setObjectName(QStringLiteral("SHTaxNValLabel"));
    SHTaxNValLabel->setReadOnly(true);
    SHTaxNValLabel->setFocusPolicy(Qt::NoFocus);
    CostStGrid = new TCostGrid(this);
    CostStGrid->setObjectName(QStringLiteral("CostStGrid"));

    SpeedButton7 = makeButton(QStringLiteral("…"), QStringLiteral("重量税一覧の参照"));
    SpeedButton5 = makeButton(QStringLiteral("…"), QStringLiteral("自賠責一覧の参照"));
    SpeedButton19 = makeButton(QStringLiteral("行削除"), QStringLiteral("現在行の削除"));
    SpeedButton12 = makeButton(QStringLiteral("参照…"), QStringLiteral("諸費用の参照"));

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(8, 4, 8, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    const auto label = [this](const QString &text) { return new QLabel(text, this); };
    grid->addWidget(label(QStringLiteral("重量税")), 1, 0);
    grid->addWidget(WTaxNValEditC, 1, 1);
    grid->addWidget(SpeedButton7, 1, 2);
    grid->addWidget(label(QStringLiteral("自賠責")), 2, 0);
    grid->addWidget(InsNValEditC, 2, 1);
    grid->addWidget(SpeedButton5, 2, 2);
    grid->addWidget(label(QStringLiteral("印紙代")), 3, 0);
    grid->addWidget(StampNValEditC, 3, 1);
    grid->setColumnMinimumWidth(3, 12);

    auto *costBar = new QHBoxLayout;
    costBar->addWidget(label(QStringLiteral("諸費用")));
    costBar->addStretch(1);
    costBar->addWidget(SpeedButton19);
    costBar->addWidget(SpeedButton12);
    grid->addLayout(costBar, 0, 4);
    grid->addWidget(CostStGrid, 1, 4, 4, 1, Qt::AlignTop);
    auto *taxBar = new QHBoxLayout;
    taxBar->addStretch(1);
    taxBar->addWidget(label(QStringLiteral("消費税額")));
    taxBar->addWidget(SHTaxNValLabel);
    grid->addLayout(taxBar, 5, 4);
    grid->setColumnStretch(4, 1);
    grid->setRowStretch(4, 1);

    for (TFloatEdit *edit : {WTaxNValEditC, InsNValEditC, StampNValEditC}) {
        connect(edit, &TFloatEdit::OnChange, this, [this] {
            if (!updating_)
                Q_EMIT amountChanged();
        });
    }
    WTaxNValEditC->installEventFilter(this);
    InsNValEditC->installEventFilter(this);
    connect(CostStGrid, &TCostGrid::cellEdited, this, &TCostPanel::costEdited);
    connect(CostStGrid, &TCostGrid::rowDeleted, this, &TCostPanel::costRowDeleted);
    connect(CostStGrid, &TCostGrid::costListRequested, this, &TCostPanel::costListRequested);
    connect(SpeedButton19, &QToolButton::clicked, CostStGrid, &TCostGrid::deleteCurrentRow);
    connect(SpeedButton12, &QToolButton::clicked, this, &TCostPanel::costListRequested);
    connect(SpeedButton7, &QToolButton::clicked, this, [this] { pickAmount(TaxTables::WeightTax); });
    connect(SpeedButton5, &QToolButton::clicked, this, [this] { pickAmount(TaxTables::Insurance); });

    setAmountPicker({});
    setTabOrder(WTaxNValEditC, InsNValEditC);
    setTabOrder(InsNValEditC, StampNValEditC);
    setTabOrder(StampNValEditC, CostStGrid);
}

TFloatEdit *TCostPanel::makeAmountEdit()
{
    auto *edit = new TFloatEdit(this);
    edit->setDigits(0);
    edit->setMax(double(Totals::AmountMax));
    edit->setSupportsThousandSeparator(true);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("000,000,000")) + 16);
    return edit;
}

QToolButton *TCostPanel::makeButton(const QString &text, const QString &hint)
{
    auto *b = new QToolButton(this);
    b->setText(text);
    b->setToolTip(hint);
    b->setAccessibleName(hint);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

void TCostPanel::setAmount(TFloatEdit *edit, qint64 value)
{
    const bool was = updating_;
    updating_ = true;
    edit->setValue(double(value));
    updating_ = was;
}

void TCostPanel::load(const SlipData &slip)
{
    setAmount(WTaxNValEditC, slip.wTax);
    setAmount(InsNValEditC, slip.ins);
    setAmount(StampNValEditC, slip.stamp);
    CostStGrid->setCostRows(slip.costRows);
    showCostTax(slip.costTax);
}

void TCostPanel::store(SlipData &slip) const
{
    slip.wTax = shown(WTaxNValEditC);
    slip.ins = shown(InsNValEditC);
    slip.stamp = shown(StampNValEditC);
    slip.costRows = CostStGrid->costRows();
    slip.costTax = shown(SHTaxNValLabel);
}

void TCostPanel::fillInput(Totals::Input &in) const
{
    in.wTax = shown(WTaxNValEditC);
    in.ins = shown(InsNValEditC);
    in.stamp = shown(StampNValEditC);
    const auto rows = CostStGrid->costRows();
    for (size_t k = 0; k < rows.size(); ++k)
        in.costs[k] = Totals::CostLine{rows[k].price, rows[k].taxable};
}

void TCostPanel::showCostTax(qint64 tax)
{
    setAmount(SHTaxNValLabel, tax);
}

QWidget *TCostPanel::firstControl() const
{
    return WTaxNValEditC;
}

void TCostPanel::setAmountPicker(AmountPicker picker)
{
    if (picker) {
        picker_ = std::move(picker);
        return;
    }
    picker_ = [this](int kind) { return TTaxGuideForm::pick(appFolder_, messages_, kind, this); };
}

void TCostPanel::pickAmount(int kind)
{
    const std::optional<qint64> amount = picker_(kind);
    if (!amount)
        return;
    TFloatEdit *edit = kind == TaxTables::Insurance ? InsNValEditC : WTaxNValEditC;
    // A picked amount is the user's change like a typed one.
    edit->setValue(double(*amount));
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    Q_EMIT amountPicked();
}

bool TCostPanel::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::KeyPress) {
        const auto *k = static_cast<QKeyEvent *>(e);
        if (k->key() == Qt::Key_Space && (k->modifiers() & Qt::ControlModifier)) {
            if (watched == WTaxNValEditC || watched == InsNValEditC) {
                pickAmount(watched == InsNValEditC ? TaxTables::Insurance : TaxTables::WeightTax);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, e);
}
