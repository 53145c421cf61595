#include "TSlipGridFrame.h"

#include "GridFont.h"
#include "SlipGridCommands.h"
#include "SlipGridEditors.h"
#include "SlipGridView.h"
#include "lines/RowTransfer.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

TSlipGridFrame::TSlipGridFrame(QWidget *parent) : QFrame(parent)
{
    updating_ = true;
    setFont(gridFont());
    LineItems::normalizeRowCount(rows_);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    view_ = new SlipGridView(rows_, categories_, this);
    layout->addWidget(view_);

    editors_ = std::make_unique<SlipGridEditors>(view_->viewport());
    Timer1 = new QTimer(this);
    Timer1->setSingleShot(true);
    Timer1->setInterval(800);
    commands_ = new SlipGridCommands(this);
    connectEditors();

    view_->rowsChanged();
    updating_ = false;
    LoadEditors(view_->currentRow());
}

TSlipGridFrame::~TSlipGridFrame()
{
    // The grid and its editors go first, while this frame can still answer
    // the focus and signal traffic of their teardown.
    Timer1->stop();
    updating_ = true;
    delete view_;
    view_ = nullptr;
}

void TSlipGridFrame::setCategories(const LineCategoryList &categories)
{
    categories_ = categories;
    updating_ = true;
    editors_->setCategories(categories.names());
    updating_ = false;
    LoadEditors(currentRow());
}

void TSlipGridFrame::setWorkNames(const QStringList &names)
{
    updating_ = true;
    editors_->setWorkNames(names);
    updating_ = false;
}

void TSlipGridFrame::RecalcRows()
{
    LineItems::recalcRows(rows_, categories_, settings_.labourRate);
    updating_ = true;
    editors_->refresh(rows_.at(currentRow() - 1), settings_.taxRate);
    updating_ = false;
    view_->viewport()->update();
}

qint64 TSlipGridFrame::CalcTecTotal()
{
    return LineItems::CalcTecTotal(rows_, categories_);
}

qint64 TSlipGridFrame::CalcPartTotal()
{
    const qint64 total = LineItems::CalcPartTotal(rows_, categories_);
    view_->viewport()->update();
    return total;
}

qint64 TSlipGridFrame::CalcTaxTotal() const
{
    return LineItems::CalcTaxTotal(rows_, categories_, settings_);
}

void TSlipGridFrame::commitEdits()
{
    if (Timer1->isActive())
        Timer1Timer();
}

void TSlipGridFrame::ExportRows(QStringList &texts)
{
    // A value typed less than 800 ms ago belongs in the file too.
    commitEdits();
    texts = RowTransfer::exportTexts(rows_, categories_);
}

void TSlipGridFrame::ReplaceRows(const QStringList &texts)
{
    Timer1->stop(); // typing on the old rows is gone with them
    rows_ = RowTransfer::parseTexts(texts, categories_);
    normalize();
    jumpTo(1);
    notifyChanged();
}

void TSlipGridFrame::InsertRows(const QStringList &texts)
{
    const int row = currentRow();
    StoreEditors(row);
    QList<TRowData> inserted = RowTransfer::parseTexts(texts, categories_);
    for (TRowData &r : inserted)
        LineItems::recalcRow(r, categories_, settings_.labourRate);
    rows_.insert(row - 1, inserted.size(), TRowData());
    std::copy(inserted.cbegin(), inserted.cend(), rows_.begin() + (row - 1));
    normalize();
    jumpTo(row);
    notifyChanged();
}

void TSlipGridFrame::InsertRowText(const QString &text)
{
    view_->ensureVisible(currentRow());
    QList<TRowData> parsed = RowTransfer::parseTexts({text}, categories_);
    if (parsed.isEmpty())
        return;
    const int row = currentRow();
    StoreEditors(row);
    LineItems::recalcRow(parsed.first(), categories_, settings_.labourRate);
    rows_.insert(row - 1, parsed.first());
    normalize();
    // The cursor stays on the row it was on, now one further down.
    jumpTo(row + 1);
    notifyChanged();
}

int TSlipGridFrame::currentRow() const
{
    return view_->currentRow();
}

void TSlipGridFrame::setCurrentRow(int row)
{
    view_->setCurrentRow(row);
}

void TSlipGridFrame::selectRows(int top, int bottom)
{
    view_->selectRows(top, bottom);
}

QWidget *TSlipGridFrame::editor(int field) const
{
    return editors_->widget(field);
}

int TSlipGridFrame::heightForRows(int n) const
{
    return SlipGridView::viewportHeightFor(n) + 2 * view_->frameWidth() + 2 * frameWidth();
}

void TSlipGridFrame::normalize()
{
    LineItems::normalizeRowCount(rows_);
    // A scroll forced by fewer rows must not store the editors: they still
    // hold a row that has moved or gone. Every caller loads them afterwards.
    const QSignalBlocker block(view_);
    view_->rowsChanged();
}

void TSlipGridFrame::jumpTo(int row)
{
    {
        const QSignalBlocker block(view_);
        view_->setCurrentRow(row);
    }
    LoadEditors(currentRow());
    view_->viewport()->update();
}

void TSlipGridFrame::notifyChanged()
{
    Q_EMIT changed();
}

void TSlipGridFrame::EditCopy1Execute()
{
    commands_->copyRows();
}

void TSlipGridFrame::EditCut1Execute()
{
    commands_->cutRows();
}

void TSlipGridFrame::EditPaste1Execute()
{
    commands_->pasteRows();
}

void TSlipGridFrame::EditInsertExecute()
{
    commands_->insertRows();
}

void TSlipGridFrame::EditDelete1Execute()
{
    commands_->deleteRows();
}
