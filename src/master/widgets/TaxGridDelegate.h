#pragma once

#include <QStyledItemDelegate>

// Draws the cells of a tax table: amounts grouped and right-aligned, headings
// left-aligned, the current cell highlighted, and (outside edit mode) the
// heading row and column as fixed cells.
class TaxGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TaxGridDelegate)
public:
    explicit TaxGridDelegate(QObject *parent = nullptr);

    // Whether row 0 and column 0 are drawn as fixed cells.
    void setFixedHeadings(bool on) { fixedHeadings_ = on; }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;

private:
    bool fixedHeadings_ = true;
};
