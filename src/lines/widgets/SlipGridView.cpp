#include "SlipGridView.h"

#include "SlipGridPainter.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

using namespace Qt::StringLiterals;

namespace {
constexpr int Pitch = SlipGridView::RowHeight + SlipGridView::LineWidth;
} // namespace

SlipGridView::SlipGridView(const QList<TRowData> &rows, const LineCategoryList &categories, QWidget *parent)
    : QAbstractScrollArea(parent), rows_(rows), categories_(categories)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(false);
    verticalScrollBar()->setSingleStep(1);
    layoutColumns();
}

void SlipGridView::setCurrentRow(int row, bool extend)
{
    row = qBound(1, row, rowCount() - 1);
    const int previous = current_;
    ensureVisible(row);
    current_ = row;
    if (!extend)
        anchor_ = row;
    viewport()->update();
    if (previous != row)
        Q_EMIT currentRowChanged(previous, row);
}

void SlipGridView::selectRows(int top, int bottom)
{
    setCurrentRow(bottom);
    anchor_ = qBound(1, top, rowCount() - 1);
    viewport()->update();
}

int SlipGridView::topRow() const
{
    return verticalScrollBar()->value() + 1;
}

void SlipGridView::setTopRow(int row)
{
    verticalScrollBar()->setValue(row - 1);
}

int SlipGridView::visibleRowCount() const
{
    return qMax(0, viewport()->height() / Pitch - 1);
}

void SlipGridView::ensureVisible(int row)
{
    if (row < topRow())
        setTopRow(row);
    else if (row >= topRow() + visibleRowCount())
        setTopRow(row - qMax(1, visibleRowCount()) + 1);
}

int SlipGridView::rowTop(int row) const
{
    return row == 0 ? 0 : (row - topRow() + 1) * Pitch;
}

int SlipGridView::rowAt(int y) const
{
    if (y < 0)
        return -1;
    if (y < Pitch)
        return 0;
    const int row = y / Pitch - 1 + topRow();
    return row < rowCount() ? row : -1;
}

int SlipGridView::columnAt(int x) const
{
    for (int c = 0; c < ColumnCount; ++c) {
        if (x >= columnLeft(c) && x < columnRight(c) + LineWidth)
            return c;
    }
    return -1;
}

void SlipGridView::rowsChanged()
{
    current_ = qBound(1, current_, rowCount() - 1);
    anchor_ = qBound(1, anchor_, rowCount() - 1);
    updateScrollRange();
    viewport()->update();
}

void SlipGridView::layoutColumns()
{
    const QFontMetrics fm(font());
    const int narrow = fm.horizontalAdvance(u"0123456"_s);
    const int wide = fm.horizontalAdvance(u"012345678901"_s);
    widths_ = {42, narrow, 0, narrow, wide, wide, fm.horizontalAdvance(u"01234567"_s), wide};
    int others = 0;
    for (int c = 0; c < ColumnCount; ++c)
        others += c == 2 ? 0 : widths_[size_t(c)];
    // The description column takes what the others leave.
    widths_[2] = qMax(fm.horizontalAdvance(u"0123456"_s), viewport()->width() - others - 7);
    int x = 0;
    for (int c = 0; c < ColumnCount; ++c) {
        lefts_[size_t(c)] = x;
        x += widths_[size_t(c)] + LineWidth;
    }
}

void SlipGridView::updateScrollRange()
{
    const int dataRows = rowCount() - 1;
    verticalScrollBar()->setRange(0, qMax(0, dataRows - visibleRowCount()));
    verticalScrollBar()->setPageStep(qMax(1, visibleRowCount()));
}

void SlipGridView::paintEvent(QPaintEvent *e)
{
    QPainter p(viewport());
    SlipGridPainter::paint(p, *this, e->rect());
}

void SlipGridView::resizeEvent(QResizeEvent *e)
{
    QAbstractScrollArea::resizeEvent(e);
    layoutColumns();
    updateScrollRange();
    Q_EMIT geometryChanged();
}

void SlipGridView::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::FontChange)
        layoutColumns();
    QAbstractScrollArea::changeEvent(e);
}

void SlipGridView::scrollContentsBy(int, int)
{
    viewport()->update();
    Q_EMIT topRowChanged();
}

void SlipGridView::mousePressEvent(QMouseEvent *e)
{
    const QPoint pos = e->position().toPoint();
    const int row = rowAt(pos.y());
    if (row < 1)
        return;
    if (e->button() == Qt::LeftButton || row < selectionTop() || row > selectionBottom())
        setCurrentRow(row, e->button() == Qt::LeftButton && (e->modifiers() & Qt::ShiftModifier));
    Q_EMIT cellPressed(row, columnAt(pos.x()), pos.y() - rowTop(row), e->button());
}

void SlipGridView::mouseMoveEvent(QMouseEvent *e)
{
    if (!(e->buttons() & Qt::LeftButton))
        return;
    const int row = rowAt(e->position().toPoint().y());
    if (row >= 1 && row != current_)
        setCurrentRow(row, true);
}

void SlipGridView::keyPressEvent(QKeyEvent *e)
{
    const bool extend = e->modifiers() & Qt::ShiftModifier;
    switch (e->key()) {
    case Qt::Key_Up:
        setCurrentRow(current_ - 1, extend);
        break;
    case Qt::Key_Down:
        setCurrentRow(current_ + 1, extend);
        break;
    case Qt::Key_PageUp:
        setCurrentRow(current_ - qMax(1, visibleRowCount()), extend);
        break;
    case Qt::Key_PageDown:
        setCurrentRow(current_ + qMax(1, visibleRowCount()), extend);
        break;
    case Qt::Key_Home:
        setCurrentRow(1, extend);
        break;
    case Qt::Key_End:
        setCurrentRow(rowCount() - 1, extend);
        break;
    default:
        QAbstractScrollArea::keyPressEvent(e);
        return;
    }
    e->accept();
}

void SlipGridView::contextMenuEvent(QContextMenuEvent *e)
{
    Q_EMIT contextMenuRequested(e->globalPos());
}
