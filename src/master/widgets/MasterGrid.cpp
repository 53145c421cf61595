#include "MasterGrid.h"

#include "lines/YenText.h"

#include <QHeaderView>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QStyledItemDelegate>

using namespace Qt::StringLiterals;

// Cells drawn flat in the grid's own colours: highlight for the selection,
// text 2 pixels in from the left and top; whole-yen amounts grouped and 3
// pixels in from the right.
class MasterGrid::CellDelegate : public QStyledItemDelegate {
public:
    explicit CellDelegate(MasterGrid *grid) : QStyledItemDelegate(grid), grid_(grid) {}

    // The editor open now, if any.
    QPointer<QWidget> editor;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        QWidget *made = QStyledItemDelegate::createEditor(parent, option, index);
        const_cast<CellDelegate *>(this)->editor = made;
        return made;
    }

    void paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette &pal = option.palette;
        p->fillRect(option.rect, selected ? pal.highlight() : pal.base());
        p->setPen(selected ? pal.highlightedText().color() : pal.text().color());
        QFont font = option.font;
        font.setBold(false);
        font.setItalic(false);
        p->setFont(font);
        const QString text = index.data().toString();
        const QRect r = option.rect.adjusted(2, 2, -3, 0);
        if (index.column() == grid_->amountColumn()) {
            if (const std::optional<qint64> yen = YenText::priceOf(text)) {
                p->drawText(r, Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine, YenText::grouped(*yen));
                return;
            }
        }
        p->drawText(r, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    }

private:
    MasterGrid *grid_;
};

MasterGrid::MasterGrid(QWidget *parent) : QTableWidget(parent)
{
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(RowHeight);
    horizontalHeader()->setMinimumSectionSize(8);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    delegate_ = new CellDelegate(this);
    setItemDelegate(delegate_);
    setColumnCount(1);
    setRowCount(1);
    fillEmptyCells();
    setReadOnly(false);
}

void MasterGrid::setRows(const QList<QStringList> &rows)
{
    clearContents();
    setRowCount(qMax(1, int(rows.size())));
    for (int r = 0; r < int(rows.size()); ++r)
        for (int c = 0; c < columnCount(); ++c)
            setItem(r, c, new QTableWidgetItem(rows.at(r).value(c)));
    fillEmptyCells();
    setCurrentCell(0, 0);
}

void MasterGrid::setLines(const QStringList &lines)
{
    QList<QStringList> rows;
    rows.reserve(lines.size());
    for (const QString &line : lines)
        rows.append(QStringList{line});
    setRows(rows);
}

QList<QStringList> MasterGrid::rows() const
{
    QList<QStringList> out;
    for (int r = 0; r < rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < columnCount(); ++c)
            row.append(text(r, c));
        out.append(row);
    }
    return out;
}

QStringList MasterGrid::columnTexts(int column) const
{
    QStringList out;
    for (int r = 0; r < rowCount(); ++r)
        out.append(text(r, column));
    return out;
}

void MasterGrid::setColumnTexts(const QStringList &texts, int column)
{
    for (int r = 0; r < rowCount() && r < texts.size(); ++r)
        setText(r, column, texts.at(r));
}

QString MasterGrid::text(int row, int column) const
{
    const QTableWidgetItem *cell = item(row, column);
    return cell ? cell->text() : QString();
}

void MasterGrid::setText(int row, int column, const QString &text)
{
    if (QTableWidgetItem *cell = item(row, column))
        cell->setText(text);
    else
        setItem(row, column, new QTableWidgetItem(text));
}

QStringList MasterGrid::currentTexts() const
{
    QStringList out;
    for (int c = 0; c < columnCount(); ++c)
        out.append(text(currentRow(), c));
    return out;
}

void MasterGrid::setReadOnly(bool on)
{
    readOnly_ = on;
    commitEdit();
    setSelectionBehavior(on ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    setEditTriggers(on ? QAbstractItemView::NoEditTriggers
                       : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed);
    if (currentIndex().isValid())
        setCurrentIndex(currentIndex()); // the selection takes the new behaviour
}

void MasterGrid::setAmountColumn(int column)
{
    amountColumn_ = column;
    viewport()->update();
}

void MasterGrid::commitEdit()
{
    if (QWidget *editor = delegate_->editor.data(); editor && state() == QAbstractItemView::EditingState) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void MasterGrid::appendRow()
{
    commitEdit();
    const int row = rowCount();
    insertRow(row);
    fillEmptyCells();
    setFocus();
    setCurrentCell(row, 0);
}

void MasterGrid::deleteCurrentRow()
{
    commitEdit();
    const int row = currentRow();
    if (row < 0)
        return;
    if (rowCount() <= 1) {
        for (int c = 0; c < columnCount(); ++c)
            setText(0, c, QString());
        return;
    }
    removeRow(row);
    setCurrentCell(qMin(row, rowCount() - 1), qMax(0, currentColumn()));
}

void MasterGrid::moveCurrentRow(int delta)
{
    commitEdit();
    const int row = currentRow();
    const int other = row + delta;
    if (row < 0 || other < 0 || other >= rowCount())
        return;
    for (int c = 0; c < columnCount(); ++c) {
        QTableWidgetItem *a = takeItem(row, c);
        QTableWidgetItem *b = takeItem(other, c);
        setItem(row, c, b);
        setItem(other, c, a);
    }
    setCurrentCell(other, qMax(0, currentColumn()));
}

void MasterGrid::fillEmptyCells()
{
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c)
            if (!item(r, c))
                setItem(r, c, new QTableWidgetItem);
}

QPushButton *commandButton(QWidget *parent, const QString &name, const QString &text)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}
