#include "TaiueoForm.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// Column by column; a space is a gap in the row.
const char16_t *const KanaColumns[TaiueoForm::Columns] = {
    u"あいうえお", u"かきくけこ", u"さしすせそ", u"たちつてと", u"なにぬねの",
    u"はひふへほ", u"まみむめも", u"や ゆ よ",   u"らりるれろ", u"わ を ん"};

constexpr int ColumnWidth = 24;
constexpr int RowHeight = 26;

} // namespace

TaiueoForm::TaiueoForm(QWidget *parent) : QDialog(parent, Qt::Tool)
{
    setObjectName(u"aiueoForm"_s);
    setWindowTitle(u"かな文字選択"_s);
    QFont larger = font();
    larger.setPointSizeF(larger.pointSizeF() + 2);

    StringGrid1 = new QTableWidget(Rows, Columns, this);
    StringGrid1->setObjectName(u"StringGrid1"_s);
    StringGrid1->setFont(larger);
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->horizontalHeader()->setMinimumSectionSize(ColumnWidth);
    StringGrid1->horizontalHeader()->setDefaultSectionSize(ColumnWidth);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->verticalHeader()->setMinimumSectionSize(RowHeight);
    StringGrid1->verticalHeader()->setDefaultSectionSize(RowHeight);
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setTabKeyNavigation(false);
    for (int c = 0; c < Columns; ++c) {
        const QString kana = QString::fromUtf16(KanaColumns[c]);
        for (int r = 0; r < Rows; ++r) {
            auto *cell = new QTableWidgetItem(kana.mid(r, 1).trimmed());
            cell->setTextAlignment(Qt::AlignCenter);
            StringGrid1->setItem(r, c, cell);
        }
    }
    const int frame = 2 * StringGrid1->frameWidth();
    StringGrid1->setFixedSize(Columns * ColumnWidth + frame, Rows * RowHeight + frame);
    StringGrid1->setCurrentCell(0, 0);
    StringGrid1->viewport()->installEventFilter(this);
    StringGrid1->installEventFilter(this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(StringGrid1);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TaiueoForm::placeUnder(const QWidget *field)
{
    adjustSize();
    const QPoint bottomRight = field->mapToGlobal(QPoint(field->width(), field->height()));
    move(bottomRight.x() - frameGeometry().width(), bottomRight.y());
}

std::optional<QString> TaiueoForm::pick(QWidget *field)
{
    TaiueoForm form(field);
    form.placeUnder(field);
    if (form.exec() != Accepted)
        return std::nullopt;
    return form.kana();
}

bool TaiueoForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == StringGrid1->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const QModelIndex at = StringGrid1->indexAt(mouse->position().toPoint());
        if (at.isValid()) {
            pickCell(at.row(), at.column());
            return true;
        }
    }
    if (watched == StringGrid1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            pickCell(StringGrid1->currentRow(), StringGrid1->currentColumn());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TaiueoForm::pickCell(int row, int column)
{
    const QTableWidgetItem *cell = StringGrid1->item(row, column);
    kana_ = cell ? cell->text().trimmed() : QString();
    accept();
}
