#include "SlipGridPainter.h"

#include "SlipGridView.h"
#include "lines/GridText.h"
#include "lines/LineItems.h"

#include <QPainter>

using namespace Qt::StringLiterals;

namespace SlipGridPainter {

namespace {

const QColor FixedColour(0, 71, 136);
const QColor SelectedColour(0, 101, 191);
const QColor OddRowColour(217, 237, 255);
const QColor Silver(192, 192, 192);

constexpr int UpperLine = 2;
constexpr int LowerLine = 26;

struct Cell {
    int left;
    int right; // exclusive
    int top;
};

void text(QPainter &p, const Cell &cell, int line, const QString &s, Qt::Alignment align, int inset)
{
    if (s.isEmpty())
        return;
    const int h = p.fontMetrics().height();
    const QRect r(cell.left + inset, cell.top + line, cell.right - cell.left - 2 * inset, h);
    p.drawText(r, int(align | Qt::AlignTop) | Qt::TextSingleLine, s);
}

void vertical(QPainter &p, int x, int top, int from, int to)
{
    p.drawLine(x, top + from, x, top + to);
}

void paintHeader(QPainter &p, const SlipGridView &view)
{
    static const QString upper[] = {{}, u"税率"_s, u"明細"_s, {}, {}, {}, {}, {}};
    static const QString lower[] = {u"行№"_s,  u"区分"_s, u"作業名"_s, u"点数"_s,
                                    u"工賃"_s, u"単価"_s, u"数量"_s,   u"金額"_s};
    const int right = view.columnRight(SlipGridView::ColumnCount - 1);
    p.fillRect(0, 0, right + 1, SlipGridView::RowHeight, FixedColour);
    p.setPen(Qt::white);
    for (int c = 0; c < SlipGridView::ColumnCount; ++c) {
        const Cell cell{view.columnLeft(c), view.columnRight(c), 0};
        text(p, cell, UpperLine, upper[c], Qt::AlignLeft, 4);
        text(p, cell, LowerLine, lower[c], Qt::AlignLeft, 4);
    }
    p.setPen(Silver);
    p.drawLine(view.columnLeft(1), 23, right, 23);
    for (int c = 0; c < SlipGridView::ColumnCount; ++c) {
        const int x = view.columnRight(c) - 1;
        vertical(p, x, 0, 24, 47);
        if (c == 1)
            vertical(p, x, 0, 0, 24);
    }
}

void paintRow(QPainter &p, const SlipGridView &view, int row)
{
    const TRowData &data = view.rows().at(row - 1);
    const int top = view.rowTop(row);
    const int right = view.columnRight(SlipGridView::ColumnCount - 1);
    const bool selected = row >= view.selectionTop() && row <= view.selectionBottom();
    const bool discount = LineItems::kindOf(data, view.categories()) == LineItems::RowKind::Discount;

    // Row number on the fixed colour.
    const Cell number{view.columnLeft(0), view.columnRight(0), top};
    p.fillRect(number.left, top, number.right - number.left + SlipGridView::LineWidth,
               SlipGridView::RowHeight, FixedColour);
    p.setPen(Qt::white);
    text(p, number, LowerLine, QString::number(row).rightJustified(5, u' '), Qt::AlignRight, 5);

    const int left = view.columnLeft(1);
    p.fillRect(left, top, right - left, SlipGridView::RowHeight,
               selected ? SelectedColour : (row % 2 ? OddRowColour : QColor(Qt::white)));
    p.setPen(selected ? Qt::white : Qt::black);

    const auto cell = [&](int c) { return Cell{view.columnLeft(c), view.columnRight(c), top}; };
    text(p, cell(1), UpperLine, GridText::rate(data.TaxRate), Qt::AlignRight, 5);
    text(p, cell(1), LowerLine, data.LineDiv, Qt::AlignLeft, 3);
    // The description runs across columns 2 to 7.
    text(p, Cell{view.columnLeft(2), right, top}, UpperLine, data.TextA, Qt::AlignLeft, 3);
    text(p, cell(2), LowerLine, data.WorkName, Qt::AlignLeft, 3);
    for (int c = 3; c <= 7; ++c)
        text(p, cell(c), LowerLine, GridText::lowerNumber(data, c, discount), Qt::AlignRight, c == 7 ? 3 : 5);

    QPen dotted(Silver);
    dotted.setStyle(Qt::DotLine);
    for (int c = 1; c < SlipGridView::ColumnCount; ++c) {
        p.setPen(dotted);
        p.drawLine(view.columnLeft(c), top + 23, view.columnRight(c) - 1, top + 23);
        p.setPen(Silver);
        const int x = view.columnRight(c) - 1;
        vertical(p, x, top, 40, 47);
        if (c == 1)
            vertical(p, x, top, 16, 23);
    }
    // The grid line under the row.
    p.setPen(Silver);
    p.drawLine(0, top + SlipGridView::RowHeight, right, top + SlipGridView::RowHeight);
}

} // namespace

void paint(QPainter &p, const SlipGridView &view, const QRect &exposed)
{
    p.fillRect(exposed, view.palette().color(QPalette::Base));
    p.setFont(view.font());
    paintHeader(p, view);
    const int last = qMin(view.rowCount() - 1, view.topRow() + view.visibleRowCount());
    for (int row = view.topRow(); row <= last; ++row) {
        const int top = view.rowTop(row);
        if (top > exposed.bottom())
            break;
        if (top + SlipGridView::RowHeight >= exposed.top())
            paintRow(p, view, row);
    }
}

} // namespace SlipGridPainter
