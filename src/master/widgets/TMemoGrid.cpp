#include "TMemoGrid.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

using namespace Qt::StringLiterals;

namespace {

// Draws the three lines of the cell's row, one under the other.
class NoteDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette &pal = option.palette;
        p->fillRect(option.rect, selected ? pal.highlight() : pal.base());
        p->setPen(selected ? pal.highlightedText().color() : pal.text().color());
        p->setFont(option.font);
        const QFontMetrics fm(option.font);
        const int tops[] = {2, 15, 28};
        for (int line = 0; line < MemoOptions::NoteLines; ++line) {
            const QString text = index.sibling(index.row(), line).data().toString();
            const QRect r(option.rect.left() + 2, option.rect.top() + tops[line], option.rect.width() - 4,
                          fm.height());
            p->drawText(r, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                        fm.elidedText(text, Qt::ElideRight, r.width()));
        }
        if (option.state & QStyle::State_HasFocus) {
            QPen pen(pal.text().color(), 1, Qt::DotLine);
            p->setPen(pen);
            p->drawRect(option.rect.adjusted(0, 0, -1, -1));
        }
    }
};

} // namespace

TMemoGrid::TMemoGrid(QWidget *parent) : QTableWidget(parent)
{
    setColumnCount(MemoOptions::NoteLines);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(RowHeight);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegate(new NoteDelegate(this));
    setShowGrid(true);
    setWordWrap(false);
    setNotes({});
}

void TMemoGrid::showFirstColumnOnly()
{
    setColumnHidden(1, true);
    setColumnHidden(2, true);
    horizontalHeader()->setStretchLastSection(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void TMemoGrid::setNotes(const QList<MemoOptions::Note> &notes)
{
    clearContents();
    if (notes.isEmpty()) {
        setRowCount(MemoOptions::InitialNoteRows);
        for (int r = 0; r < rowCount(); ++r)
            setNote(r, {});
    } else {
        setRowCount(int(notes.size()));
        for (int r = 0; r < rowCount(); ++r)
            setNote(r, notes.at(r));
    }
    if (rowCount() > 0)
        setCurrentCell(0, 0);
}

QList<MemoOptions::Note> TMemoGrid::notes() const
{
    QList<MemoOptions::Note> out;
    for (int r = 0; r < rowCount(); ++r)
        out.append(note(r));
    return out;
}

MemoOptions::Note TMemoGrid::note(int row) const
{
    MemoOptions::Note n;
    for (int c = 0; c < MemoOptions::NoteLines; ++c)
        if (const QTableWidgetItem *cell = item(row, c))
            n[c] = cell->text();
    return n;
}

void TMemoGrid::setNote(int row, const MemoOptions::Note &note)
{
    for (int c = 0; c < MemoOptions::NoteLines; ++c)
        setItem(row, c, new QTableWidgetItem(note[c]));
}

void TMemoGrid::appendNote(const MemoOptions::Note &note)
{
    const int row = rowCount();
    setRowCount(row + 1);
    setNote(row, note);
}
