#pragma once

#include "slip/SlipData.h"
#include "slip/Totals.h"

#include <QObject>

#include <functional>

class QTimer;
class TCostPanel;
class TTotalsPanel;

// Keeps the money of a slip current: publishes the tax rate, rounding and
// labour rate to the line items, recomputes the totals in the fixed order
// (rows, labour total, parts total, line tax, then costs and totals), and
// debounces typing with two one-shot 800 ms timers:
//   Timer1 -> recomputeTotals(), Timer2 -> recomputeAll().
//
// The header editor owns one SlipMoney beside the two panels and wires its
// own controls to it:
//   TaxRNValEditC changed  -> taxRateEdited(value)
//   TaxHComBox changed     -> roundingChanged(index)
//   RavorNValEditC changed -> labourRateEdited(value)
//   grid change notification -> linesChanged()
//   modified()             -> mark the document modified
//   lineTotalsChanged()    -> TecNValLabel, PartNValLabel
// The timers restart only while notify is on (setNotify), as the header
// editor's notify flag says.
class SlipMoney : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SlipMoney)
public:
    // What the totals need from the line-item grid. Empty functions count as
    // no line items.
    struct Lines {
        std::function<void()> recalcRows;      // RecalcRows
        std::function<qint64()> tecTotal;      // CalcTecTotal, whole yen
        std::function<qint64()> partTotal;     // CalcPartTotal, whole yen
        std::function<QList<TRowData>()> rows; // the line items, for their tax
    };

    static constexpr int DelayMs = 800;

    // The panels stay owned by their parents; they must outlive this object.
    SlipMoney(TCostPanel *costs, TTotalsPanel *totals, QObject *parent = nullptr);

    QTimer *Timer1; // recompute totals
    QTimer *Timer2; // recompute all

    void setLines(Lines lines);
    void setCategories(const LineCategoryList &categories) { categories_ = categories; }
    void setNotify(bool on);
    bool notify() const { return notify_; }

    // The values in effect, as published.
    qint64 taxRate() const { return taxRate_; }       // percent, fixed point
    int rounding() const { return rounding_; }        // 0, 1, 2
    int calcMode() const { return calcMode_; }        // Totals::CalcMode
    qint64 labourRate() const { return labourRate_; } // yen per point, fixed point
    qint64 tecTotal() const { return tecTotal_; }
    qint64 partTotal() const { return partTotal_; }

    // Publishes rate, rounding and labour rate of a slip (or of the settings
    // at start) without recomputing. Call it before the grid receives the
    // slip's rows, so that their recompute already uses these values.
    void applyTaxSettings(qint64 taxRate, int rounding, qint64 labourRate);
    // Shows a slip's costs and its stored totals as read (also publishing
    // its tax settings). Nothing is recomputed and nothing counts as a change;
    // the next recompute replaces the stored totals.
    void load(const SlipData &slip);
    // [Cost], [Price] and the line totals as shown. Call recomputeTotals()
    // first when the stored totals must match the controls (before a save).
    void store(SlipData &slip) const;

    // The inputs as the displays show them.
    Totals::Input input() const;

public Q_SLOTS:
    // Reads every amount as shown and writes the totals.
    void recomputeTotals();
    // Rows, labour total, parts total, then recomputeTotals().
    void recomputeAll();

    // TaxRNValEditC changed (percent, two decimals).
    void taxRateEdited(double percent);
    // TaxHComBox changed: recomputes all at once.
    void roundingChanged(int mode);
    // TaxCalcComBox changed (Totals::CalcMode): recomputes the totals at once.
    void calcModeChanged(int mode);
    // RavorNValEditC changed (yen per point).
    void labourRateEdited(double yenPerPoint);
    // The grid's change notification: recompute all, then modified().
    void linesChanged();

Q_SIGNALS:
    // The user changed a money value: the host marks the document modified.
    void modified();
    void taxRatePublished(qint64 taxRate);
    void roundingPublished(int rounding);
    void labourRatePublished(qint64 labourRate);
    // New labour and parts totals for TecNValLabel and PartNValLabel.
    void lineTotalsChanged(qint64 tecTotal, qint64 partTotal);
    // After every recompute of the totals.
    void totalsChanged(const Totals::Result &totals);

private:
    void restart(QTimer *timer);
    void userChange();
    void publishRate(qint64 rate);
    void publishRounding(int mode);
    void publishLabourRate(qint64 rate);

    TCostPanel *costs_;
    TTotalsPanel *totals_;
    Lines lines_;
    bool notify_ = true;
    qint64 taxRate_ = 0;
    int rounding_ = 0;
    qint64 labourRate_ = 0;
    qint64 tecTotal_ = 0;
    qint64 partTotal_ = 0;
    int calcMode_ = Totals::PerLine;
    LineCategoryList categories_;
};
