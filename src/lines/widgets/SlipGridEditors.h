#pragma once

#include "controls/NumText.h"
#include "lines/RowData.h"

#include <QString>
#include <QStringList>

#include <array>

class QComboBox;
class QLineEdit;
class QWidget;
class SlipGridView;
class TSaNumEdit;

// The nine in-place editors of the grid, one per field of a row, floating
// over the current row. Field indexes: 0 category, 1 rate, 2 description,
// 3 work name, 4 points, 5 labour, 6 unit price, 7 quantity, 8 amount.
//
// The editors remember what they were loaded with, so that a store takes
// only the fields the user changed: a value the editors cannot show exactly
// (more decimals or digits than allowed, a category missing from the list, a
// long work name) survives a visit to its row.
class SlipGridEditors {
public:
    static constexpr int FieldCount = 9;

    // The widgets become children of parent (the grid's viewport).
    explicit SlipGridEditors(QWidget *parent);

    QComboBox *Edit1 = nullptr;
    TSaNumEdit *UpEdit1 = nullptr;
    QLineEdit *UpEdit2 = nullptr;
    QComboBox *Edit2 = nullptr;
    TSaNumEdit *Edit3 = nullptr;
    TSaNumEdit *Edit4 = nullptr;
    TSaNumEdit *Edit5 = nullptr;
    TSaNumEdit *Edit6 = nullptr;
    TSaNumEdit *Edit7 = nullptr;

    QWidget *widget(int field) const { return widgets_[size_t(field)]; }
    static bool isUpper(int field) { return field == 1 || field == 2; }

    void setCategories(const QStringList &names);
    void setWorkNames(const QStringList &names);

    // Puts the row's values into the editors; a row that follows the slip's
    // rate shows slipRate.
    void load(const TRowData &row, qint64 slipRate);
    // Updates the editors of the fields whose value changed since the load.
    void refresh(const TRowData &row, qint64 slipRate);
    // The row with the fields the user changed taken from the editors. A rate
    // typed equal to the slip's rate gives -1, so the row keeps following it.
    TRowData collect(const TRowData &row, qint64 slipRate) const;
    // The current texts count as loaded from row.
    void markStored(const TRowData &row);

    void placeOnRow(const SlipGridView &view, int row);
    void showOnly(int field);
    void hideAll();

private:
    QString text(int field) const;
    void setText(int field, const QString &text);
    QString shownRate(qint64 rate, qint64 slipRate) const;
    NumTextRules rateRules() const;

    std::array<QWidget *, FieldCount> widgets_{};
    std::array<QString, FieldCount> loadedText_{};
    TRowData loaded_;
};
