#pragma once

#include "master/TaxTables.h"

#include <QWidget>

class MessageService;
class QComboBox;
class QLabel;
class QTableWidget;
class QToolButton;
class TaxGridDelegate;

// One kind of amount table (1 compulsory insurance, any other value weight
// tax) with its classifications: a drop-down of classifications over a grid
// whose row 0 and column 0 are headings and whose other cells are whole yen.
// Outside edit mode the headings are fixed and the cells read-only, so the
// user can only pick an amount; in edit mode a toolbar maintains rows,
// columns and classifications.
//
// A table is written to Dat/Tax/ when the classification or kind changes and
// when the frame is destroyed, and only when it was changed: a frame that
// merely showed a table never overwrites what another process saved.
class TTaxGridFrame : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TTaxGridFrame)
public:
    // appFolder: the folder that holds Dat/. messages: where failures and
    // questions go; it must outlive the frame.
    TTaxGridFrame(const QString &appFolder, MessageService &messages, QWidget *parent = nullptr);
    ~TTaxGridFrame() override;

    QLabel *Label1;            // "自賠責" or "重量税"
    QComboBox *ComboBox1;      // classifications
    QWidget *Panel2;           // the edit-mode toolbar
    QTableWidget *StringGrid1; // the table

    // Saves the current table, then shows the first classification of kind.
    void SetTableKind(int kind);
    void SetEditing(bool on);
    bool editing() const { return editing_; }
    int kind() const { return kind_; }
    QString classification() const { return current_; }

    // The integer in the current cell; 0 for a heading or a cell without one.
    qint64 selectedAmount() const;
    // The table as the grid holds it.
    TaxTables::Grid grid() const;

    // Writes the current table when it was changed. On failure tells the user
    // and returns false; the table stays changed.
    bool saveTable();

    // The toolbar's commands.
    void addRow();
    void deleteLastRow();
    void addColumn();
    void deleteLastColumn();
    void addClassification();
    void deleteClassification();
    void renameClassification();

private:
    QToolButton *toolButton(const QString &text, const QString &hint);
    void ComboBox1Change();
    void loadTable();
    void showGrid(const TaxTables::Grid &grid);
    void applyItemFlags();
    void fitColumns();
    void fillNewCells();
    void onItemChanged(int row, int column);
    bool writeList(const QStringList &names);
    void selectClassification(int index);
    QStringList listNames() const;

    QString appFolder_;
    MessageService &messages_;
    TaxGridDelegate *delegate_;
    int kind_ = 0;
    QString current_;
    bool editing_ = false;
    bool dirty_ = false;
    bool updating_ = false;
};
