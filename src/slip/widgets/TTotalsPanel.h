#pragma once

#include "slip/SlipData.h"
#include "slip/Totals.h"

#include <QWidget>

class QLabel;
class TFloatEdit;

// The inner panel of the header editor's section "合計金額(&6)": the totals
// of the slip, all read-only except the payment received. Values are whole
// yen shown within 0 .. 100,000,000 with digit grouping. Writes made by
// load() and show() do not raise paymentChanged().
class TTotalsPanel : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TTotalsPanel)
public:
    explicit TTotalsPanel(QWidget *parent = nullptr);

    // The controls, by the names the header editor knows them by. Owned by the panel.
    TFloatEdit *STNValLabel;       // 整備 金額
    TFloatEdit *TSNValLabel;       // 整備 消費税
    TFloatEdit *CTNValLabel;       // 諸費用 金額
    TFloatEdit *TCNValLabel;       // 諸費用 消費税
    TFloatEdit *PriceNValLabel;    // 金額合計
    TFloatEdit *TTNValLabel;       // 金額合計 消費税
    TFloatEdit *ITNValEditC;       // 現金入金額 (editable, not a tab stop)
    TFloatEdit *AllPriceNValLabel; // 総合計金額

    // [Price] of a slip as stored (the next recompute replaces it).
    void load(const SlipData &slip);
    // [Price] from the displays, truncated toward zero.
    void store(SlipData &slip) const;
    void showTotals(const Totals::Result &totals);
    // The amounts and tax of each rate, one line per rate, beside the totals;
    // an empty breakdown (a slip taxed per line) hides them.
    void showBreakdown(const Totals::TaxBreakdown &breakdown);
    QLabel *RateLabel; // the breakdown as shown
    // The payment received as shown.
    qint64 payment() const;
    // The first control focused when the section opens.
    QWidget *firstControl() const;

Q_SIGNALS:
    // The user changed the payment received.
    void paymentChanged();

private:
    TFloatEdit *makeTotal(const char *name, bool readOnly);
    void set(TFloatEdit *edit, qint64 value);

    bool updating_ = false;
};
