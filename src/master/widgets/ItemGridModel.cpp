#include "ItemGridModel.h"

#include <QApplication>
#include <QLineEdit>
#include <QPainter>

using namespace Qt::StringLiterals;

void ItemGridModel::showHits(const ItemSearch *search, QList<int> hits, QStringList categoryNames)
{
    beginResetModel();
    search_ = search;
    hits_ = std::move(hits);
    categoryNames_ = std::move(categoryNames);
    endResetModel();
}

void ItemGridModel::clearHits()
{
    if (!search_)
        return;
    beginResetModel();
    search_ = nullptr;
    hits_.clear();
    endResetModel();
}

const QStringList *ItemGridModel::rowCells(int row) const
{
    if (row == 0)
        return &grid_.row(0);
    if (search_) {
        if (row < 1 || row > hits_.size())
            return nullptr;
        return &search_->entries().at(hits_.at(row - 1)).cells;
    }
    if (row < 1 || row >= grid_.rowCount())
        return nullptr;
    return &grid_.row(row);
}

QString ItemGridModel::handOverText(int row, int classIndex) const
{
    if (row < 1)
        return {};
    const QStringList *cells = rowCells(row);
    if (!cells)
        return {};
    return itemRowText(grid_.kind(), cells->value(0), ItemGrid::numericOrEmpty(cells->value(classIndex + 1)));
}

QString ItemGridModel::nameAt(int row) const
{
    const QStringList *cells = rowCells(row);
    return cells ? cells->value(0) : QString();
}

bool ItemGridModel::isValueCell(const QModelIndex &index) const
{
    return index.row() >= 1 && index.column() >= 1 && index.column() < grid_.columnCount();
}

int ItemGridModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return search_ ? int(hits_.size()) + 1 : grid_.rowCount();
}

int ItemGridModel::columnCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return grid_.columnCount() + (search_ ? 1 : 0);
}

QVariant ItemGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    if (index.column() == categoryColumn()) {
        if (index.row() == 0)
            return u"分類"_s;
        return categoryNames_.value(search_->entries().at(hits_.at(index.row() - 1)).category);
    }
    const QStringList *cells = rowCells(index.row());
    return cells ? cells->value(index.column()) : QString();
}

QVariant ItemGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section;
    if (section == categoryColumn())
        return u"分類"_s;
    return grid_.cell(0, section);
}

bool ItemGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !editable_ || search_)
        return false;
    grid_.setCell(index.row(), index.column(), value.toString());
    Q_EMIT dataChanged(index, index);
    if (index.row() == 0)
        Q_EMIT headerDataChanged(Qt::Horizontal, index.column(), index.column());
    return true;
}

Qt::ItemFlags ItemGridModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (editable_ && !search_ && !(index.row() == 0 && index.column() == 0))
        f |= Qt::ItemIsEditable;
    return f;
}

void ItemGridModel::insertItemRow(int row)
{
    row = qBound(1, row, grid_.rowCount());
    beginInsertRows({}, row, row);
    grid_.insertRow(row);
    endInsertRows();
}

void ItemGridModel::removeItemRow(int row)
{
    if (row < 1 || row >= grid_.rowCount())
        return;
    beginRemoveRows({}, row, row);
    grid_.removeRow(row);
    endRemoveRows();
}

void ItemGridModel::appendColumn()
{
    const int column = grid_.columnCount();
    beginInsertColumns({}, column, column);
    grid_.appendColumn();
    endInsertColumns();
}

void ItemGridModel::removeLastColumn()
{
    if (grid_.columnCount() <= 1)
        return;
    const int column = grid_.columnCount() - 1;
    beginRemoveColumns({}, column, column);
    grid_.removeLastColumn();
    endRemoveColumns();
}

// ---- drawing ----------------------------------------------------------------------------------

void ItemCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                             const QModelIndex &index) const
{
    const auto *model = qobject_cast<const ItemGridModel *>(index.model());
    const QPalette &pal = option.palette;
    const bool selected = option.state & QStyle::State_Selected;
    const bool fixedRow = index.row() == 0;
    QColor background = pal.color(QPalette::Base);
    QColor foreground = pal.color(QPalette::Text);
    if (selected && !fixedRow) {
        background = pal.color(QPalette::Highlight);
        foreground = pal.color(QPalette::HighlightedText);
    } else if (fixedRow) {
        background = pal.color(QPalette::Button);
        foreground = pal.color(QPalette::ButtonText);
    }
    painter->save();
    painter->fillRect(option.rect, background);
    QFont font = option.font;
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    painter->setFont(font);
    painter->setPen(foreground);
    const QString raw = index.data().toString();
    QRect r = option.rect;
    if (model && model->isValueCell(index)) {
        r.adjust(0, 0, -3, 0);
        painter->drawText(r, Qt::AlignRight | Qt::AlignVCenter,
                          ItemGrid::displayValue(raw, model->grid().kind()));
    } else {
        r.adjust(2, 0, 0, 0);
        painter->drawText(r, Qt::AlignLeft | Qt::AlignVCenter, raw);
    }
    painter->setPen(pal.color(QPalette::Mid));
    painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
    painter->restore();
}

void ItemCellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    const auto *model = qobject_cast<const ItemGridModel *>(index.model());
    auto *line = qobject_cast<QLineEdit *>(editor);
    if (model && line && model->isValueCell(index)) {
        line->setText(ItemGrid::NormaliseValue(index.data().toString(), model->grid().kind()));
        line->setAlignment(Qt::AlignRight);
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}
