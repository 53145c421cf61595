// In-place editing of TSlipGridFrame: loading and storing the editors, the
// field order by row kind, keys, mouse halves, the category change and the
// typing pause.
#include "SlipGridCommands.h"
#include "SlipGridEditors.h"
#include "SlipGridView.h"
#include "TSlipGridFrame.h"
#include "controls/widgets/TSaNumEdit.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

using namespace Qt::StringLiterals;

using LineItems::RowKind;

void TSlipGridFrame::connectEditors()
{
    SlipGridEditors &e = *editors_;
    connect(view_, &SlipGridView::currentRowChanged, this, &TSlipGridFrame::StringGrid1SelectCell);
    connect(view_, &SlipGridView::topRowChanged, this, &TSlipGridFrame::StringGrid1TopLeftChanged);
    connect(view_, &SlipGridView::geometryChanged, this, &TSlipGridFrame::StringGrid1TopLeftChanged);
    connect(view_, &SlipGridView::cellPressed, this, &TSlipGridFrame::StringGrid1MouseDown);
    connect(Timer1, &QTimer::timeout, this, &TSlipGridFrame::Timer1Timer);
    connect(e.Edit1, &QComboBox::currentIndexChanged, this, &TSlipGridFrame::Edit1Change);
    connect(e.UpEdit2, &QLineEdit::textChanged, this, &TSlipGridFrame::Edit2Change);
    connect(e.Edit2, &QComboBox::editTextChanged, this, &TSlipGridFrame::Edit2Change);
    for (TSaNumEdit *num : {e.UpEdit1, e.Edit3, e.Edit4, e.Edit5, e.Edit6, e.Edit7})
        connect(num, &TSaNumEdit::OnChange, this, &TSlipGridFrame::Edit2Change);

    view_->installEventFilter(this);
    e.Edit2->lineEdit()->installEventFilter(this);
    for (int field = 0; field < SlipGridEditors::FieldCount; ++field)
        e.widget(field)->installEventFilter(this);
    commands_->attachMenus(*view_, e);
}

void TSlipGridFrame::LoadEditors(int row)
{
    if (row < 1 || row > int(rows_.size()))
        return;
    const bool hadFocus = view_->isAncestorOf(QApplication::focusWidget());
    updating_ = true;
    editors_->load(rows_.at(row - 1), settings_.taxRate);
    if (editors_->Edit1->currentIndex() < 0)
        field_ = 0;
    field_ = qBound(0, field_, SlipGridEditors::FieldCount - 1);
    // Keep the focus inside the grid while the editors swap.
    if (hadFocus)
        view_->setFocus(Qt::OtherFocusReason);
    if (view_->isRowVisible(row)) {
        editors_->placeOnRow(*view_, row);
        editors_->showOnly(field_);
        commands_->placePanels(row);
    } else {
        editors_->hideAll();
        commands_->placePanels(-1);
    }
    updating_ = false;
}

bool TSlipGridFrame::StoreEditors(int row)
{
    if (row < 1 || row > int(rows_.size()))
        return false;
    TRowData &target = rows_[row - 1];
    const TRowData stored = editors_->collect(target, settings_.taxRate);
    if (stored == target)
        return false;
    target = stored;
    editors_->markStored(stored);
    LineItems::recalcRow(target, categories_, settings_.labourRate);
    updating_ = true;
    editors_->refresh(target, settings_.taxRate);
    updating_ = false;
    view_->viewport()->update();
    notifyChanged();
    return true;
}

void TSlipGridFrame::FocusField()
{
    QWidget *w = editors_->widget(field_);
    if (isEnabled() && !w->isHidden())
        w->setFocus(Qt::OtherFocusReason);
}

void TSlipGridFrame::moveRowDown()
{
    if (currentRow() < view_->rowCount() - 1)
        view_->setCurrentRow(currentRow() + 1);
}

void TSlipGridFrame::MoveField(int step)
{
    field_ += step;
    const bool forward = step > 0;
    switch (LineItems::kindOf(rows_.at(currentRow() - 1), categories_)) {
    case RowKind::Blank:
        break;
    case RowKind::Discount:
        // Only 区分, 税率, 明細, 工賃 and 金額 are typed on a discount row.
        if (field_ == 3 || field_ == 4)
            field_ = forward ? 5 : 2;
        else if (field_ == 6 || field_ == 7)
            field_ = forward ? 8 : 5;
        break;
    case RowKind::Subtotal:
        // Only 区分 and 明細; the amounts are the running subtotals.
        if (field_ == 1) {
            field_ = forward ? 2 : 0;
        } else if (field_ >= 3 && field_ <= 8) {
            if (forward) {
                field_ = 0;
                moveRowDown();
            } else {
                field_ = 2;
            }
        }
        break;
    case RowKind::Normal:
        // 金額 is computed, so moving forward never lands on it.
        if (field_ == 8) {
            if (forward) {
                field_ = 0;
                moveRowDown();
            } else {
                field_ = 7;
            }
        }
        break;
    }
    if (field_ > 8) {
        field_ = 0;
        moveRowDown();
    }
    if (field_ < 0) {
        field_ = 0;
        if (currentRow() > 1)
            view_->setCurrentRow(currentRow() - 1);
        const RowKind kind = LineItems::kindOf(rows_.at(currentRow() - 1), categories_);
        if (kind != RowKind::Blank)
            field_ = kind == RowKind::Subtotal ? 2 : 8;
    }
}

bool TSlipGridFrame::Edit1KeyDown(int key)
{
    const int row = currentRow();
    switch (key) {
    case Qt::Key_Down:
        if (row < view_->rowCount() - 1)
            view_->setCurrentRow(row + 1);
        return true;
    case Qt::Key_Up:
        if (row >= 2)
            view_->setCurrentRow(row - 1);
        return true;
    case Qt::Key_Left:
        moveBackward();
        return true;
    case Qt::Key_Right:
        StoreEditors(row);
        MoveField(1);
        LoadEditors(currentRow());
        FocusField();
        return true;
    default:
        return false;
    }
}

void TSlipGridFrame::Edit1KeyPress()
{
    if (editors_->Edit1->currentIndex() < 0 || field_ != 0) {
        field_ = 0;
        moveRowDown();
        editors_->Edit1->setFocus(Qt::OtherFocusReason);
        return;
    }
    MoveField(1);
    LoadEditors(currentRow());
    FocusField();
}

void TSlipGridFrame::UpEdit1KeyPress()
{
    StoreEditors(currentRow());
    MoveField(1);
    LoadEditors(currentRow());
    FocusField();
}

void TSlipGridFrame::moveBackward()
{
    StoreEditors(currentRow());
    MoveField(-1);
    LoadEditors(currentRow());
    FocusField();
}

void TSlipGridFrame::StringGrid1MouseDown(int row, int column, int yInRow, Qt::MouseButton button)
{
    if (button != Qt::LeftButton || row != currentRow() || column < 1)
        return;
    StoreEditors(row);
    static constexpr int lowerField[8] = {-1, 0, 3, 4, 5, 6, 7, 8};
    if (yInRow < SlipGridView::RowHeight / 2)
        field_ = column == 1 ? 1 : 2;
    else
        field_ = lowerField[column];
    MoveField(0);
    LoadEditors(currentRow());
    FocusField();
}

void TSlipGridFrame::StringGrid1SelectCell(int previous, int current)
{
    if (updating_)
        return;
    // The pending typing belongs to the row that is left.
    Timer1->stop();
    StoreEditors(previous);
    LoadEditors(current);
    FocusField();
}

void TSlipGridFrame::StringGrid1TopLeftChanged()
{
    if (updating_)
        return;
    const bool hadFocus = view_->isAncestorOf(QApplication::focusWidget());
    StoreEditors(currentRow());
    LoadEditors(currentRow());
    if (hadFocus)
        FocusField();
}

void TSlipGridFrame::Edit1Change()
{
    if (updating_)
        return;
    const int row = currentRow();
    const QString name = editors_->Edit1->currentIndex() < 0 ? QString() : editors_->Edit1->currentText();
    TRowData &target = rows_[row - 1];
    if (name == target.LineDiv)
        return;
    // A new category starts the row afresh: whatever was typed on it goes.
    Timer1->stop();
    target = TRowData();
    target.LineDiv = name;
    const RowKind kind = LineItems::kindOf(target, categories_);
    if (kind == RowKind::Discount || kind == RowKind::Subtotal)
        target.TextA = u"\u3000"_s + name;
    normalize();
    LoadEditors(row);
    FocusField();
    view_->viewport()->update();
    notifyChanged();
}

void TSlipGridFrame::Edit2Change()
{
    if (!updating_)
        Timer1->start();
}

void TSlipGridFrame::Timer1Timer()
{
    Timer1->stop();
    if (!StoreEditors(currentRow()))
        notifyChanged();
}

bool TSlipGridFrame::eventFilter(QObject *watched, QEvent *event)
{
    // The wheel over a drop-down scrolls the grid: turning it would change
    // the category and so clear the row under the pointer.
    if (event->type() == QEvent::Wheel && (watched == editors_->Edit1 || watched == editors_->Edit2)) {
        QCoreApplication::sendEvent(view_->viewport(), event);
        return true;
    }
    // Leaving an editor by any way (a click elsewhere, an accelerator, a
    // menu) stores what was typed at once instead of after the pause.
    if (event->type() == QEvent::FocusOut && watched != view_ && !updating_) {
        commitEdits();
        return QFrame::eventFilter(watched, event);
    }
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return QFrame::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    // The row commands' shortcuts win over the editors' own (Ctrl+C in the
    // description copies rows, not text).
    if (SlipGridCommands::isCommandKey(key)) {
        if (event->type() == QEvent::KeyPress)
            commands_->runKey(key);
        event->accept();
        return true;
    }
    if (event->type() != QEvent::KeyPress)
        return QFrame::eventFilter(watched, event);
    if (key->modifiers() & Qt::ControlModifier) {
        if (Edit1KeyDown(key->key()))
            return true;
    }
    const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    // Tab walks the fields of the rows as Enter does instead of leaving the
    // grid; Shift+Tab walks back.
    const bool backtab = plain && (key->key() == Qt::Key_Backtab ||
                                   (key->key() == Qt::Key_Tab && (key->modifiers() & Qt::ShiftModifier)));
    const bool tab = plain && key->key() == Qt::Key_Tab && !backtab;
    if ((enter || tab) && watched != view_) {
        if (watched == editors_->Edit1)
            Edit1KeyPress();
        else
            UpEdit1KeyPress();
        return true;
    }
    if (backtab && watched != view_) {
        moveBackward();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}
