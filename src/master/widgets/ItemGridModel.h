#pragma once

#include "master/ItemGrid.h"
#include "master/ItemSearch.h"

#include <QAbstractTableModel>
#include <QStyledItemDelegate>

// The price-list grid as a table: model row 0 is the row of vehicle-class
// names (hidden behind the header in view mode, editable in edit mode), rows
// 1.. the items. While a text search is active the rows are the hits of all
// categories, with the category's name in one more column.
class ItemGridModel : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ItemGridModel)
public:
    explicit ItemGridModel(QObject *parent = nullptr) : QAbstractTableModel(parent) {}

    ItemGrid &grid() { return grid_; }
    const ItemGrid &grid() const { return grid_; }
    // Call around direct changes of grid().
    void beginChange() { beginResetModel(); }
    void endChange() { endResetModel(); }

    void setEditable(bool on) { editable_ = on; }
    bool editable() const { return editable_; }

    // Shows the hits of a search (entries of search by index) instead of
    // the category; categoryNames names the extra column's cells.
    void showHits(const ItemSearch *search, QList<int> hits, QStringList categoryNames);
    void clearHits();
    bool searching() const { return search_ != nullptr; }
    int hitCount() const { return int(hits_.size()); }
    // The column of the category while searching, else -1.
    int categoryColumn() const { return searching() ? grid_.columnCount() : -1; }

    // The hand-over text of a row as shown (an item of the category or a hit).
    QString handOverText(int row, int classIndex) const;
    QString nameAt(int row) const;
    bool isValueCell(const QModelIndex &index) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Row commands of the editor, in grid rows.
    void insertItemRow(int row);
    void removeItemRow(int row);
    void appendColumn();
    void removeLastColumn();

private:
    const QStringList *rowCells(int row) const;

    ItemGrid grid_;
    bool editable_ = false;
    const ItemSearch *search_ = nullptr;
    QList<int> hits_;
    QStringList categoryNames_;
};

// Draws the cells as the price list shows them: names left with 2 pixels
// of room, values grouped and right-aligned 3 pixels from the edge, the row
// of classes in the fixed colour while it is editable; opens value editors
// with the normalised value.
class ItemCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
};
