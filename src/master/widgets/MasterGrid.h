#pragma once

#include <QList>
#include <QStringList>
#include <QTableWidget>

class QPushButton;

// The grid of the master lists and of the car master: no headings, rows of
// height 20, edited in place, and never fewer than one row. Read-only, it
// selects whole rows and cannot be edited, so a pick dialog only picks.
class MasterGrid : public QTableWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MasterGrid)
public:
    static constexpr int RowHeight = 20;

    explicit MasterGrid(QWidget *parent = nullptr);

    // Replaces every row (at least one row stays; short rows get empty cells).
    void setRows(const QList<QStringList> &rows);
    QList<QStringList> rows() const;
    // Replaces every row with one line each, in the first column.
    void setLines(const QStringList &lines);
    // One column's texts, top to bottom.
    QStringList columnTexts(int column = 0) const;
    void setColumnTexts(const QStringList &texts, int column = 0);
    QString text(int row, int column = 0) const;
    void setText(int row, int column, const QString &text);
    // The texts of the current row; empty texts when there is none.
    QStringList currentTexts() const;

    void setReadOnly(bool on);
    bool isReadOnly() const { return readOnly_; }
    // Column that holds whole-yen amounts: shown grouped and right-aligned.
    // -1 for none.
    void setAmountColumn(int column);
    int amountColumn() const { return amountColumn_; }

    // An editor still open hands its text to the cell now.
    void commitEdit();
    // Appends an empty row, focuses the grid and makes the new row current.
    void appendRow();
    // Removes the current row; the rows below move up. The last row left is
    // emptied instead.
    void deleteCurrentRow();
    // Swaps the current row with the one delta rows away (±1), the selection
    // moving with it; nothing happens at either end.
    void moveCurrentRow(int delta);

private:
    class CellDelegate;
    void fillEmptyCells();
    CellDelegate *delegate_ = nullptr;
    bool readOnly_ = false;
    int amountColumn_ = -1;
};

// A command button of the list frames and their dialog: named like its
// control, and never taking Enter from the grid.
QPushButton *commandButton(QWidget *parent, const QString &name, const QString &text);
