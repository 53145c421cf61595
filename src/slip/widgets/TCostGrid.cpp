#include "TCostGrid.h"

#include "CostGridDelegate.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace {

constexpr int RowHeight = 21;
constexpr int TaxColumnWidth = 20;

bool isCtrlSpace(const QKeyEvent *e)
{
    return e->key() == Qt::Key_Space && (e->modifiers() & Qt::ControlModifier);
}

} // namespace

TCostGrid::TCostGrid(QWidget *parent) : QTableWidget(RowCount, 3, parent)
{
    setItemDelegate(new CostGridDelegate(this));
    setHorizontalHeaderLabels({QStringLiteral("名称"), QStringLiteral("価格"), QStringLiteral("税")});
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(RowHeight);
    horizontalHeader()->setFixedHeight(RowHeight);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(false);
    setShowGrid(true);
    setWordWrap(false);

    updating_ = true;
    for (int r = 0; r < RowCount; ++r) {
        for (int c = 0; c < 3; ++c) {
            auto *item = new QTableWidgetItem;
            if (c == TaxColumn)
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            setItem(r, c, item);
        }
    }
    updating_ = false;
    layoutColumns();
    setCurrentCell(0, 0);

    connect(this, &QTableWidget::itemChanged, this, &TCostGrid::onItemChanged);
}

QString TCostGrid::text(int row, int column) const
{
    const QTableWidgetItem *i = item(row, column);
    return i ? i->text() : QString();
}

void TCostGrid::setText(int row, int column, const QString &text)
{
    const bool was = updating_;
    updating_ = true;
    item(row, column)->setText(text);
    updating_ = was;
}

SlipData::CostRow TCostGrid::costRow(int row) const
{
    return SlipData::CostRow{text(row, NameColumn), text(row, PriceColumn), !text(row, TaxColumn).isEmpty()};
}

std::array<SlipData::CostRow, TCostGrid::RowCount> TCostGrid::costRows() const
{
    std::array<SlipData::CostRow, RowCount> rows;
    for (int r = 0; r < RowCount; ++r)
        rows[size_t(r)] = costRow(r);
    return rows;
}

void TCostGrid::setCostRows(const std::array<SlipData::CostRow, RowCount> &rows)
{
    for (int r = 0; r < RowCount; ++r) {
        const SlipData::CostRow &c = rows[size_t(r)];
        setText(r, NameColumn, c.name);
        setText(r, PriceColumn, c.price);
        setText(r, TaxColumn, c.taxable ? QStringLiteral("1") : QString());
    }
}

void TCostGrid::setCurrentCost(const QString &name, const QString &price)
{
    if (state() == EditingState) {
        // Whatever is being typed gives way to the picked cost.
        if (QWidget *editor = indexWidget(currentIndex()))
            closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    const int r = qMax(0, currentRow());
    setText(r, NameColumn, name);
    setText(r, PriceColumn, price);
}

void TCostGrid::deleteCurrentRow()
{
    const int current = currentRow();
    if (current < 0)
        return;
    for (int r = current; r < RowCount; ++r) {
        const SlipData::CostRow next = r + 1 < RowCount ? costRow(r + 1) : SlipData::CostRow{};
        setText(r, NameColumn, next.name);
        setText(r, PriceColumn, next.price);
        setText(r, TaxColumn, next.taxable ? QStringLiteral("1") : QString());
    }
    Q_EMIT rowDeleted();
}

void TCostGrid::toggleTax(int row)
{
    if (row < 0 || row >= RowCount)
        return;
    setText(row, TaxColumn, text(row, TaxColumn).isEmpty() ? QStringLiteral("1") : QString());
    Q_EMIT cellEdited();
}

void TCostGrid::onItemChanged(QTableWidgetItem *)
{
    if (!updating_)
        Q_EMIT cellEdited();
}

void TCostGrid::keyPressEvent(QKeyEvent *e)
{
    if (isCtrlSpace(e)) {
        e->accept();
        Q_EMIT costListRequested();
        return;
    }
    if (e->key() == Qt::Key_Space && e->modifiers() == Qt::NoModifier && currentColumn() == TaxColumn) {
        e->accept();
        toggleTax(currentRow());
        return;
    }
    QTableWidget::keyPressEvent(e);
}

void TCostGrid::mouseReleaseEvent(QMouseEvent *e)
{
    QTableWidget::mouseReleaseEvent(e);
    if (e->button() != Qt::LeftButton)
        return;
    const QModelIndex index = indexAt(e->position().toPoint());
    if (!index.isValid())
        return;
    setCurrentIndex(index);
    if (index.column() == TaxColumn)
        toggleTax(index.row());
}

void TCostGrid::wheelEvent(QWheelEvent *e)
{
    e->ignore();
}

bool TCostGrid::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::KeyPress && isCtrlSpace(static_cast<QKeyEvent *>(e))) {
        if (auto *editor = qobject_cast<QWidget *>(watched)) {
            commitData(editor);
            closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
        Q_EMIT costListRequested();
        return true;
    }
    return QTableWidget::eventFilter(watched, e);
}

void TCostGrid::resizeEvent(QResizeEvent *e)
{
    QTableWidget::resizeEvent(e);
    layoutColumns();
}

void TCostGrid::layoutColumns()
{
    setColumnWidth(PriceColumn, fontMetrics().horizontalAdvance(QStringLiteral("000,000,000")) + 5);
    setColumnWidth(TaxColumn, TaxColumnWidth);
}

QSize TCostGrid::sizeHint() const
{
    const int frame = 2 * frameWidth();
    const int w = 160 + fontMetrics().horizontalAdvance(QStringLiteral("000,000,000")) + 5 + TaxColumnWidth;
    return {w + frame, RowHeight * (RowCount + 1) + frame};
}

QSize TCostGrid::minimumSizeHint() const
{
    return sizeHint() - QSize(80, 0);
}
