#pragma once

#include "lines/LineCategories.h"
#include "lines/RowData.h"

#include <QAbstractScrollArea>
#include <QList>

#include <array>

// The self-drawn two-line grid of line items: a fixed header row, a fixed
// row-number column and whole rows selected, optionally as a range. Row r
// (r >= 1) shows rows()[r - 1]. It only shows and selects; editing belongs to
// TSlipGridFrame, which owns the rows.
class SlipGridView : public QAbstractScrollArea {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SlipGridView)

public:
    static constexpr int ColumnCount = 8;
    static constexpr int RowHeight = 48;
    static constexpr int LineWidth = 1; // grid line below each row and right of each cell

    SlipGridView(const QList<TRowData> &rows, const LineCategoryList &categories, QWidget *parent);

    const QList<TRowData> &rows() const { return rows_; }
    const LineCategoryList &categories() const { return categories_; }
    // Grid rows including the header row.
    int rowCount() const { return int(rows_.size()) + 1; }
    int currentRow() const { return current_; }
    // Makes row current (clamped to the data rows), scrolling it into view.
    // With extend the selection grows from its anchor, else it is the row.
    void setCurrentRow(int row, bool extend = false);
    // Selects the rows top..bottom with bottom current.
    void selectRows(int top, int bottom);
    int selectionTop() const { return qMin(anchor_, current_); }
    int selectionBottom() const { return qMax(anchor_, current_); }

    int topRow() const;
    void setTopRow(int row);
    // Data rows that fit wholly below the header.
    int visibleRowCount() const;
    bool isRowVisible(int row) const { return row >= topRow() && row < topRow() + visibleRowCount(); }
    void ensureVisible(int row);
    // Height of the viewport that shows the header and n data rows.
    static int viewportHeightFor(int n) { return (n + 1) * (RowHeight + LineWidth); }

    // Geometry in viewport coordinates.
    int columnLeft(int column) const { return lefts_[size_t(column)]; }
    int columnWidth(int column) const { return widths_[size_t(column)]; }
    int columnRight(int column) const { return columnLeft(column) + columnWidth(column); }
    int rowTop(int row) const;
    int rowAt(int y) const;    // -1 outside the rows
    int columnAt(int x) const; // -1 outside the columns

    // Call after the rows changed in number or content.
    void rowsChanged();

Q_SIGNALS:
    void currentRowChanged(int previous, int current);
    void topRowChanged();
    // The viewport was resized, so the columns may have moved.
    void geometryChanged();
    // A mouse press on a data row, after the row became current.
    void cellPressed(int row, int column, int yInRow, Qt::MouseButton button);
    void contextMenuRequested(const QPoint &globalPos);

protected:
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void changeEvent(QEvent *e) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void contextMenuEvent(QContextMenuEvent *e) override;

private:
    void layoutColumns();
    void updateScrollRange();

    const QList<TRowData> &rows_;
    const LineCategoryList &categories_;
    std::array<int, ColumnCount> lefts_{};
    std::array<int, ColumnCount> widths_{};
    int current_ = 1;
    int anchor_ = 1;
};
