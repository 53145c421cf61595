#pragma once

#include "lines/LineCategories.h"
#include "lines/LineItems.h"
#include "lines/RowData.h"

#include <QFrame>
#include <QList>
#include <QStringList>

#include <memory>

class QTimer;
class SlipGridCommands;
class SlipGridEditors;
class SlipGridView;

// The line-item grid of a slip. It owns the line items (at least 30, see
// LineItems::normalizeRowCount), draws them as two-line rows, edits the
// current row in place and offers the row commands.
//
// Host contract:
//  - setCategories() and setWorkNames() fill the editors' lists;
//    setTaxRate(), setRounding() and setLabourRate() hand over the slip's
//    settings, which every computation reads at the time it runs.
//  - changed() fires whenever the user's edits changed the rows (stored
//    editors, a category change, the 800 ms typing pause or commitEdits(),
//    delete, cut, paste) and after ReplaceRows, InsertRows and
//    InsertRowText; not for copy or inserting blank rows. The host then
//    recomputes, in this order: RecalcRows(), CalcTecTotal(),
//    CalcPartTotal(), and its own totals with CalcTaxTotal().
//  - The transfer operations move rows as row texts (nine fields plus "EOL",
//    discount rows negated) to and from the slip file and the item search.
class TSlipGridFrame : public QFrame {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TSlipGridFrame)

public:
    explicit TSlipGridFrame(QWidget *parent = nullptr);
    ~TSlipGridFrame() override;

    // --- settings owned by the host
    void setCategories(const LineCategoryList &categories);
    const LineCategoryList &categories() const { return categories_; }
    void setWorkNames(const QStringList &names);
    void setTaxRate(qint64 percent) { settings_.taxRate = percent; } // fixed point
    qint64 taxRate() const { return settings_.taxRate; }
    void setRounding(int mode) { settings_.rounding = mode; } // 0 half away, 1 down, 2 up
    int rounding() const { return settings_.rounding; }
    void setLabourRate(qint64 yenPerPoint) { settings_.labourRate = yenPerPoint; } // fixed point
    qint64 labourRate() const { return settings_.labourRate; }

    // --- totals
    // Row recompute of every row; the current row's editors follow; repaint.
    void RecalcRows();
    // Labour and parts totals in whole yen; both write the subtotal rows.
    qint64 CalcTecTotal();
    qint64 CalcPartTotal();
    // Line tax total in whole yen.
    qint64 CalcTaxTotal() const;

    // --- transfer operations
    // The row texts of the rows up to the last one with a category. Values
    // typed but not yet stored are stored first (which may fire changed()).
    void ExportRows(QStringList &texts);
    // All rows replaced by those of the texts (texts of fewer than nine fields
    // are skipped); row 1 becomes current; fires changed().
    void ReplaceRows(const QStringList &texts);
    // The rows inserted before the current row, which then shows the first of
    // them; each is recomputed; fires changed().
    void InsertRows(const QStringList &texts);
    // One row inserted before the current row, recomputed; the cursor stays
    // on the row it was on. A text of fewer than nine fields does nothing.
    void InsertRowText(const QString &text);

    // Stores the values typed into the editors whose typing pause is still
    // running, so that a command that follows sees them; fires changed()
    // like the pause would. Every way out of an editor does this.
    void commitEdits();

    // --- rows and cursor
    const QList<TRowData> &rows() const { return rows_; }
    int currentRow() const; // 1-based grid row
    void setCurrentRow(int row);
    int currentField() const { return field_; }
    // Selects the grid rows top..bottom with bottom current.
    void selectRows(int top, int bottom);
    SlipGridView *grid() const { return view_; }
    QWidget *editor(int field) const;
    // Frame height that shows the header and n data rows (5 or 9 in a slip).
    int heightForRows(int n) const;

    // --- row commands, also on the context menus and the row tool panel
    void EditCopy1Execute();
    void EditCut1Execute();
    void EditPaste1Execute();
    void EditInsertExecute();
    void EditDelete1Execute();

Q_SIGNALS:
    void changed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend class SlipGridCommands;

    // Editing (TSlipGridFrameEditing.cpp)
    void LoadEditors(int row);
    bool StoreEditors(int row);
    void FocusField();
    void MoveField(int step);
    bool Edit1KeyDown(int key);
    void Edit1KeyPress();
    void UpEdit1KeyPress();
    void moveBackward();
    void StringGrid1MouseDown(int row, int column, int yInRow, Qt::MouseButton button);
    void StringGrid1SelectCell(int previous, int current);
    void StringGrid1TopLeftChanged();
    void Edit1Change();
    void Edit2Change();
    void Timer1Timer();
    void connectEditors();
    void moveRowDown();

    // Structure
    void normalize();
    // Makes row current without storing the editors into the row left (its
    // item is gone or moved); loads the editors for it.
    void jumpTo(int row);
    void notifyChanged();

    QList<TRowData> rows_;
    LineCategoryList categories_;
    LineItems::Settings settings_;
    SlipGridView *view_ = nullptr;
    std::unique_ptr<SlipGridEditors> editors_;
    SlipGridCommands *commands_ = nullptr;
    QTimer *Timer1 = nullptr;
    int field_ = 0;
    bool updating_ = false;
};
