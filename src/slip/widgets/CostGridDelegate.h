#pragma once

#include <QStyledItemDelegate>

// Draws and edits the cells of the cost grid: amounts grouped and
// right-aligned, the tax flag as a check or an empty box, prices that are not
// integers emptied when the edit is committed.
class CostGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CostGridDelegate)
public:
    explicit CostGridDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

    // 16 x 16 images of the tax column.
    static QPixmap checkImage();
    static QPixmap emptyBoxImage();
};
