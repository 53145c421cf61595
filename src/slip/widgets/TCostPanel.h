#pragma once

#include "slip/SlipData.h"
#include "slip/Totals.h"

#include <QWidget>

#include <functional>
#include <optional>

class MessageService;
class QToolButton;
class TCostGrid;
class TFloatEdit;

// The inner panel of the header editor's section "税金・諸費用の設定(&5)":
// the statutory costs (weight tax, compulsory insurance, stamp fee), the five
// other costs in CostStGrid, and the consumption tax on those costs.
//
// The panel only shows and edits values; it tells its coordinator (SlipMoney)
// what changed through signals and never recomputes by itself. Writes made
// by load() and by the setters do not raise the change signals.
class TCostPanel : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TCostPanel)
public:
    // Asks for a weight tax (kind 2) or insurance (kind 1) amount; nullopt
    // when the user cancels. Tests replace it; by default it runs the table
    // dialog TTaxGuideForm on the tables under appFolder.
    using AmountPicker = std::function<std::optional<qint64>(int kind)>;

    // appFolder: the folder that holds Dat/ (the weight-tax and insurance
    // tables). messages: the boxes of the table dialog; it must outlive the panel.
    TCostPanel(const QString &appFolder, MessageService &messages, QWidget *parent = nullptr);

    // The controls, by the names the header editor knows them by. Owned by the panel.
    TFloatEdit *WTaxNValEditC;  // 重量税
    TFloatEdit *InsNValEditC;   // 自賠責
    TFloatEdit *StampNValEditC; // 印紙代
    TCostGrid *CostStGrid;      // 諸費用
    TFloatEdit *SHTaxNValLabel; // 消費税額 (read-only)
    QToolButton *SpeedButton19; // 現在行の削除
    QToolButton *SpeedButton12; // 諸費用の参照
    QToolButton *SpeedButton7;  // 重量税一覧の参照
    QToolButton *SpeedButton5;  // 自賠責一覧の参照

    // [Cost] of a slip: WTax, Ins, Stamp, LineA1..5 and Tax as stored.
    void load(const SlipData &slip);
    // Amounts truncated toward zero, the cost rows as the grid holds them.
    void store(SlipData &slip) const;
    // The amounts and cost rows as shown, for the totals.
    void fillInput(Totals::Input &in) const;
    void showCostTax(qint64 tax);
    // The first control focused when the section opens.
    QWidget *firstControl() const;

    void setAmountPicker(AmountPicker picker);
    // Opens the weight-tax (2) or insurance (1) list; on OK the amount goes
    // into its edit, which receives the focus, and amountPicked() follows.
    void pickAmount(int kind);

Q_SIGNALS:
    // The user changed the weight tax, insurance or stamp fee.
    void amountChanged();
    // The user edited a cost cell or toggled a tax flag.
    void costEdited();
    // The current cost row was deleted (SpeedButton19).
    void costRowDeleted();
    // An amount was picked from a table: recompute the totals now.
    void amountPicked();
    // SpeedButton12 or Ctrl+Space in the grid: the host opens the costs list
    // and hands the choice to CostStGrid->setCurrentCost().
    void costListRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    TFloatEdit *makeAmountEdit();
    QToolButton *makeButton(const QString &text, const QString &hint);
    void setAmount(TFloatEdit *edit, qint64 value);

    QString appFolder_;
    MessageService &messages_;
    AmountPicker picker_;
    bool updating_ = false;
};
