#pragma once

#include "ItemFiles.h"

#include <QList>
#include <QString>
#include <QStringList>

// The cells of the price-list grid of one category: row 0 holds the vehicle
// class names in columns 1..n (cell (0,0) stays empty), rows 1.. the items
// with the name in column 0 and one value per vehicle class. Every row has
// exactly n + 1 cells.
class ItemGrid {
public:
    using Kind = ItemFiles::Kind;

    explicit ItemGrid(Kind kind = Kind::Maintenance) : kind_(kind) { rows_.append(QStringList{QString()}); }

    Kind kind() const { return kind_; }
    void setKind(Kind kind) { kind_ = kind; }

    // Row 0 from the class names; the column count follows and every item
    // row is cut or padded to it.
    void setClasses(const QStringList &names);
    QStringList classes() const;
    // Item rows from the item file's rows: missing values are empty, values
    // beyond the vehicle classes are dropped.
    void setItems(const QList<QStringList> &items);
    // Rows 1.. as they are saved.
    QList<QStringList> items() const { return rows_.mid(1); }

    int rowCount() const { return int(rows_.size()); } // row 0 included
    int columnCount() const { return int(rows_.first().size()); }
    int itemCount() const { return rowCount() - 1; }
    QString cell(int row, int column) const { return rows_.value(row).value(column); }
    const QStringList &row(int row) const { return rows_.at(row); }

    // A cell edit as the grid stores it: cell (0,0) stays empty, a value
    // cell takes only numbers and is normalised, name cells and row 0 take
    // any text.
    void setCell(int row, int column, const QString &text);

    // Row commands of the editor. Rows are counted as in the grid (1 = first
    // item); the row 0 of the classes is never inserted before or removed.
    void insertRow(int row);
    void appendRow();
    void removeRow(int row);
    // A new vehicle class whose name is typed into row 0 afterwards.
    void appendColumn();
    // Removes the last vehicle class; the name column always stays.
    void removeLastColumn();

    // The line-item row text of an item for the vehicle class classIndex
    // (0-based): ten fields as the slip's grid inserts them. Empty when row
    // is not an item row.
    QString handOverText(int row, int classIndex) const;

    // A value cell's text as stored: rounded to four decimals first, then cut
    // to two decimals (maintenance points, at most 999.99) or to whole yen
    // (parts, at most 9,999,999), negative values made positive; zero and
    // text that is not a number give the empty text.
    static QString NormaliseValue(const QString &text, Kind kind);
    // Whether a value cell may hold the text: empty or a plain decimal number.
    static bool isValueText(const QString &text);
    // A value as the grid shows it, with digit grouping ("1,234.50",
    // "12,800"); empty for zero, empty text and text that is not a number.
    static QString displayValue(const QString &text, Kind kind);
    // The hand-over and the display agree on what a value is: the cell's
    // text when it is a number, else empty.
    static QString numericOrEmpty(const QString &text);

private:
    Kind kind_;
    QList<QStringList> rows_;
};

// The row text of one item handed to the slip, for its kind.
QString itemRowText(ItemFiles::Kind kind, const QString &name, const QString &value);
