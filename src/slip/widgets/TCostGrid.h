#pragma once

#include "slip/SlipData.h"

#include <QTableWidget>

#include <array>

// The grid of the five other costs of a slip (名称, 価格, 税). Prices are whole
// yen; the tax column holds "1" (taxable) or nothing and is toggled by a click
// or Space, never typed. Rows are addressed 0..4 here, like SlipData::costRows.
class TCostGrid : public QTableWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TCostGrid)
public:
    static constexpr int RowCount = 5;
    enum Column { NameColumn = 0, PriceColumn = 1, TaxColumn = 2 };

    explicit TCostGrid(QWidget *parent = nullptr);

    SlipData::CostRow costRow(int row) const;
    std::array<SlipData::CostRow, RowCount> costRows() const;
    // Replaces all five rows; nothing of the previous rows stays. Emits nothing.
    void setCostRows(const std::array<SlipData::CostRow, RowCount> &rows);

    // The costs-list hand-over: name and price into the current row (the tax
    // flag stays). Emits nothing; the host recomputes and marks the change.
    void setCurrentCost(const QString &name, const QString &price);
    // Each row below the current one moves up; the last row becomes empty.
    // Emits rowDeleted().
    void deleteCurrentRow();
    // Flips the tax flag of a row. Emits cellEdited().
    void toggleTax(int row);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    // A name or price typed (a price that is not an integer is emptied
    // first), or a tax flag toggled.
    void cellEdited();
    void rowDeleted();
    // Ctrl+Space anywhere in the grid, also while a cell is being edited.
    void costListRequested();

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    // The wheel belongs to the header editor around the grid, which scrolls.
    void wheelEvent(QWheelEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;

private:
    QString text(int row, int column) const;
    void setText(int row, int column, const QString &text);
    void onItemChanged(QTableWidgetItem *item);
    void layoutColumns();

    bool updating_ = false;
};
