#include "SlipGridCommands.h"

#include "SlipGridEditors.h"
#include "SlipGridView.h"
#include "TSlipGridFrame.h"
#include "controls/widgets/TSaNumEdit.h"
#include "lines/RowClipboard.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

QAction *command(QObject *parent, const QString &caption, QKeyCombination key)
{
    auto *action = new QAction(caption, parent);
    action->setShortcut(QKeySequence(key));
    // The keys are routed by the frame's key filter; the shortcut is shown
    // in the menus only, so that it never fires twice.
    action->setShortcutContext(Qt::WidgetShortcut);
    return action;
}

void popupOn(QWidget *widget, QMenu *menu)
{
    widget->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(widget, &QWidget::customContextMenuRequested, menu,
                     [widget, menu](const QPoint &pos) { menu->popup(widget->mapToGlobal(pos)); });
}

} // namespace

SlipGridCommands::SlipGridCommands(TSlipGridFrame *frame) : QObject(frame), frame_(frame)
{
    EditCopy1 = command(this, u"コピー(&C)"_s, Qt::CTRL | Qt::Key_C);
    EditCut1 = command(this, u"切り取り(&T)"_s, Qt::CTRL | Qt::Key_X);
    EditPaste1 = command(this, u"貼り付け(&P)"_s, Qt::CTRL | Qt::Key_V);
    EditInsert = command(this, u"行挿入(&I)"_s, Qt::CTRL | Qt::Key_Insert);
    EditDelete1 = command(this, u"削除(&D)"_s, Qt::CTRL | Qt::Key_Delete);
    connect(EditCopy1, &QAction::triggered, this, &SlipGridCommands::copyRows);
    connect(EditCut1, &QAction::triggered, this, &SlipGridCommands::cutRows);
    connect(EditPaste1, &QAction::triggered, this, &SlipGridCommands::pasteRows);
    connect(EditInsert, &QAction::triggered, this, &SlipGridCommands::insertRows);
    connect(EditDelete1, &QAction::triggered, this, &SlipGridCommands::deleteRows);
    const QList<QAction *> rowCommands{EditCopy1, EditCut1, EditPaste1, EditInsert, EditDelete1};

    PopupMenu1 = new QMenu(frame);
    PopupMenu1->addActions(rowCommands);

    PopupMenu2 = new QMenu(frame);
    QLineEdit *text = frame->editors_->UpEdit2;
    PopupMenu2->addAction(u"テキストのコピー"_s, text, &QLineEdit::copy);
    PopupMenu2->addAction(u"テキストの切り取り"_s, text, &QLineEdit::cut);
    PopupMenu2->addAction(u"テキストの貼り付け"_s, this, &SlipGridCommands::pasteText);
    PopupMenu2->addSeparator();
    PopupMenu2->addActions(rowCommands);

    buildPanels();
}

void SlipGridCommands::buildPanels()
{
    QWidget *viewport = frame_->view_->viewport();
    Panel1 = new QFrame(viewport);
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Raised);
    Panel1->setAutoFillBackground(true);
    auto *layout = new QHBoxLayout(Panel1);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    const auto addButton = [&](QAction *action, const QString &hint) {
        auto *button = new QToolButton(Panel1);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setText(hint);
        button->setToolTip(hint);
        connect(button, &QToolButton::clicked, action, &QAction::trigger);
        layout->addWidget(button);
    };
    addButton(EditCopy1, u"コピー"_s);
    addButton(EditCut1, u"切り取り"_s);
    addButton(EditPaste1, u"貼り付け"_s);
    addButton(EditInsert, u"行挿入"_s);
    addButton(EditDelete1, u"行削除"_s);
    SpeedButton5 = new QToolButton(Panel1);
    SpeedButton5->setAutoRaise(true);
    SpeedButton5->setFocusPolicy(Qt::NoFocus);
    SpeedButton5->setText(u"◄"_s);
    layout->addWidget(SpeedButton5);
    // Hidden until the user asks for it; its first showing sizes it to its
    // buttons (a child outside any layout is fitted when first shown).
    Panel1->hide();

    Panel2 = new QFrame(viewport);
    Panel2->setGeometry(0, 0, 18, 18);
    SpeedButton7 = new QToolButton(Panel2);
    SpeedButton7->setCheckable(true);
    SpeedButton7->setAutoRaise(true);
    SpeedButton7->setFocusPolicy(Qt::NoFocus);
    SpeedButton7->setText(u"►"_s);
    SpeedButton7->setGeometry(0, 0, 18, 18);
    Panel2->hide();

    connect(SpeedButton7, &QToolButton::toggled, this, [this](bool down) {
        Panel1->setVisible(down);
        if (down)
            Panel1->raise();
    });
    connect(SpeedButton5, &QToolButton::clicked, this, [this] { SpeedButton7->setChecked(false); });
}

void SlipGridCommands::attachMenus(SlipGridView &view, SlipGridEditors &editors)
{
    connect(&view, &SlipGridView::contextMenuRequested, PopupMenu1,
            [this](const QPoint &pos) { PopupMenu1->popup(pos); });
    for (TSaNumEdit *num :
         {editors.UpEdit1, editors.Edit3, editors.Edit4, editors.Edit5, editors.Edit6, editors.Edit7})
        num->setPopupMenu(PopupMenu1);
    popupOn(editors.Edit1, PopupMenu1);
    popupOn(editors.Edit2, PopupMenu1);
    popupOn(editors.Edit2->lineEdit(), PopupMenu1);
    popupOn(editors.UpEdit2, PopupMenu2);
}

void SlipGridCommands::placePanels(int row)
{
    const SlipGridView &view = *frame_->view_;
    if (row < 1) {
        Panel2->hide();
        Panel1->hide();
        return;
    }
    const int top = view.rowTop(row);
    Panel2->move(2, top + 2);
    Panel2->show();
    Panel2->raise();
    Panel1->move(view.columnRight(0) + SlipGridView::LineWidth, top - 24);
    Panel1->setVisible(SpeedButton7->isChecked());
    Panel1->raise();
}

bool SlipGridCommands::isCommandKey(const QKeyEvent *key)
{
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::ControlModifier)
        return false;
    switch (key->key()) {
    case Qt::Key_C:
    case Qt::Key_X:
    case Qt::Key_V:
    case Qt::Key_Insert:
    case Qt::Key_Delete:
        return true;
    default:
        return false;
    }
}

void SlipGridCommands::runKey(const QKeyEvent *key)
{
    switch (key->key()) {
    case Qt::Key_C:
        copyRows();
        break;
    case Qt::Key_X:
        cutRows();
        break;
    case Qt::Key_V:
        pasteRows();
        break;
    case Qt::Key_Insert:
        insertRows();
        break;
    case Qt::Key_Delete:
        deleteRows();
        break;
    default:
        break;
    }
}

void SlipGridCommands::copyRows()
{
    TSlipGridFrame &f = *frame_;
    // Values typed a moment ago are part of what is copied.
    f.Timer1->stop();
    f.StoreEditors(f.currentRow());
    const int top = f.view_->selectionTop();
    const int bottom = f.view_->selectionBottom();
    QGuiApplication::clipboard()->setText(RowClipboard::make(f.rows_.mid(top - 1, bottom - top + 1)));
}

void SlipGridCommands::cutRows()
{
    copyRows();
    deleteRows();
}

void SlipGridCommands::pasteRows()
{
    TSlipGridFrame &f = *frame_;
    const std::optional<QList<TRowData>> pasted = RowClipboard::parse(QGuiApplication::clipboard()->text());
    if (!pasted)
        return;
    f.Timer1->stop();
    const int row = f.currentRow();
    f.StoreEditors(row);
    // Pasted rows keep their values as copied; they are not recomputed.
    for (qsizetype i = 0; i < pasted->size(); ++i)
        f.rows_.insert(row - 1 + i, pasted->at(i));
    f.normalize();
    f.jumpTo(row);
    f.FocusField();
    f.notifyChanged();
}

void SlipGridCommands::insertRows()
{
    TSlipGridFrame &f = *frame_;
    f.Timer1->stop();
    f.StoreEditors(f.currentRow());
    const int top = f.view_->selectionTop();
    const int count = f.view_->selectionBottom() - top + 1;
    for (int i = 0; i < count; ++i)
        f.rows_.insert(top - 1, TRowData());
    f.normalize();
    f.jumpTo(f.currentRow());
    f.FocusField();
}

void SlipGridCommands::deleteRows()
{
    TSlipGridFrame &f = *frame_;
    SlipGridView &view = *f.view_;
    f.Timer1->stop();
    const int top = view.selectionTop();
    const int bottom = view.selectionBottom();
    const int lastRow = view.rowCount() - 1;
    view.setCurrentRow(bottom);
    if (top < view.topRow())
        view.setTopRow(top);
    // The cursor ends below the block, or above it when the block reaches
    // the end of the grid.
    const int next = (bottom != lastRow || top == 1) ? top : top - 1;
    view.setCurrentRow(next);
    f.rows_.remove(top - 1, bottom - top + 1);
    // Normalised before the editors are loaded: with every row deleted the
    // editors would otherwise keep the values of a row that is gone.
    f.normalize();
    f.jumpTo(next);
    f.FocusField();
    f.notifyChanged();
}

void SlipGridCommands::pasteText()
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    const QString text = QGuiApplication::clipboard()->text();
    QStringList lines = text.split(lineBreak);
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    // Only a single line belongs in the description.
    if (lines.size() < 2)
        frame_->editors_->UpEdit2->insert(lines.value(0));
}
