#include "TSaNumEdit.h"

#include "ControlBeep.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <qdrawutil.h>

using namespace Qt::StringLiterals;

namespace {

bool clipboardHasText()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText() && !QGuiApplication::clipboard()->text().isEmpty();
}

} // namespace

TSaNumEdit::TSaNumEdit(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::IBeamCursor);
    setAttribute(Qt::WA_InputMethodEnabled);
    color_ = palette().color(QPalette::Base);
    disabledColor_ = palette().color(QPalette::Disabled, QPalette::Text);
    resize(121, 20);
    updateAutoHeight();
}

TSaNumEdit::~TSaNumEdit() = default;

QString TSaNumEdit::displayImage() const
{
    const QString text = NumText::format(raw_, rules_).text;
    return text.isEmpty() ? QString() : leftMark_ + text + rightMark_;
}

void TSaNumEdit::setText(const QString &text)
{
    if (text == raw_)
        return;
    raw_ = NumText::clean(text, rules_);
    if (displayImage().isEmpty())
        selected_ = false;
    update();
}

void TSaNumEdit::setAlignment(Qt::Alignment a)
{
    alignment_ = a & Qt::AlignHorizontal_Mask;
    update();
}

void TSaNumEdit::setVertAlignment(TVertAlignment a)
{
    vertAlignment_ = a;
    update();
}

void TSaNumEdit::recleanAfterRuleChange()
{
    raw_ = NumText::clean(raw_, rules_);
    if (displayImage().isEmpty())
        selected_ = false;
    update();
}

void TSaNumEdit::setIntegerLength(int n)
{
    rules_.integerLength = qMax(0, n);
    recleanAfterRuleChange();
}

void TSaNumEdit::setDecimalLength(int n)
{
    rules_.decimalLength = qMax(0, n);
    recleanAfterRuleChange();
}

void TSaNumEdit::setMinus(bool on)
{
    rules_.minus = on;
    recleanAfterRuleChange();
}

void TSaNumEdit::setComma(bool on)
{
    rules_.comma = on;
    update();
}

void TSaNumEdit::setIntegerFixed(bool on)
{
    rules_.integerFixed = on;
    update();
}

void TSaNumEdit::setDecimalFixed(bool on)
{
    rules_.decimalFixed = on;
    update();
}

void TSaNumEdit::setLeftMark(const QString &mark)
{
    leftMark_ = mark;
    update();
}

void TSaNumEdit::setRightMark(const QString &mark)
{
    rightMark_ = mark;
    update();
}

void TSaNumEdit::setMargins(const QMargins &m)
{
    // A negative margin keeps the old one, side by side.
    margins_ = QMargins(m.left() >= 0 ? m.left() : margins_.left(), m.top() >= 0 ? m.top() : margins_.top(),
                        m.right() >= 0 ? m.right() : margins_.right(),
                        m.bottom() >= 0 ? m.bottom() : margins_.bottom());
    updateAutoHeight();
    update();
}

void TSaNumEdit::setAutoSize(bool on)
{
    autoSize_ = on;
    updateAutoHeight();
}

void TSaNumEdit::setOptions(TSaNumEditOptions o)
{
    options_ = o;
    update();
}

void TSaNumEdit::setBorderStyle(TBorderStyle s)
{
    borderStyle_ = s;
    updateAutoHeight();
    update();
}

void TSaNumEdit::setColor(const QColor &c)
{
    color_ = c;
    update();
}

void TSaNumEdit::setDisabledColor(const QColor &c)
{
    disabledColor_ = c;
    update();
}

int TSaNumEdit::borderWidth() const
{
    return borderStyle_ == bsSingle ? 2 : 0;
}

void TSaNumEdit::updateAutoHeight()
{
    if (!autoSize_)
        return;
    const int h = QFontMetrics(font()).height() + margins_.top() + margins_.bottom() + 2 * borderWidth();
    resize(width(), h);
    updateGeometry();
}

QSize TSaNumEdit::sizeHint() const
{
    if (!autoSize_)
        return QSize(121, 20);
    return QSize(121, QFontMetrics(font()).height() + margins_.top() + margins_.bottom() + 2 * borderWidth());
}

// --- selection, clipboard, undo -------------------------------------------

void TSaNumEdit::selectAll()
{
    if (displayImage().isEmpty())
        return;
    selected_ = true;
    update();
}

void TSaNumEdit::deselect()
{
    if (!selected_)
        return;
    selected_ = false;
    update();
}

void TSaNumEdit::copy()
{
    if (!selected_)
        return;
    QGuiApplication::clipboard()->setText(imageCopy_ ? displayImage() : raw_);
}

void TSaNumEdit::cut()
{
    if (!selected_ || readOnly_)
        return;
    copy();
    clear();
    Q_EMIT OnChange();
}

void TSaNumEdit::paste()
{
    if (readOnly_ || !clipboardHasText())
        return;
    const QString pasted = QGuiApplication::clipboard()->text();
    const QString base = selected_ ? QString() : raw_;
    commitUserChange(NumText::clean(base + pasted, rules_));
}

void TSaNumEdit::clear()
{
    undo_ = raw_;
    undoAvailable_ = true;
    raw_.clear();
    selected_ = false;
    update();
}

void TSaNumEdit::undo()
{
    if (!undoAvailable_)
        return;
    std::swap(raw_, undo_);
    selected_ = !displayImage().isEmpty();
    update();
    Q_EMIT OnChange();
}

void TSaNumEdit::commitUserChange(const QString &raw)
{
    undo_ = raw_;
    undoAvailable_ = true;
    raw_ = raw;
    selected_ = false;
    update();
    Q_EMIT OnChange();
}

// --- typing ------------------------------------------------------------------

void TSaNumEdit::refuse()
{
    if (errorBeep_)
        ControlBeep::beep();
}

bool TSaNumEdit::fitsWidth(const QString &raw) const
{
    const QString text = NumText::format(raw, rules_).text;
    const QString image = text.isEmpty() ? QString() : leftMark_ + text + rightMark_;
    const int room = width() - margins_.left() - margins_.right() - 2 * qMax(1, borderWidth());
    return QFontMetrics(font()).horizontalAdvance(image) <= room;
}

void TSaNumEdit::typeChar(QChar c)
{
    if (readOnly_)
        return;
    c = NumText::toHalfWidth(c);
    // A full selection is replaced; a refused character leaves it and the
    // value as they were.
    const QString base = selected_ ? QString() : raw_;
    const std::optional<QString> next = NumText::typeChar(base, c, rules_);
    if (!next || ((options_ & eoORInputStop) && !fitsWidth(*next))) {
        refuse();
        return;
    }
    commitUserChange(*next);
}

void TSaNumEdit::keyPressEvent(QKeyEvent *e)
{
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    const int key = e->key();

    if (mods == Qt::ShiftModifier && (key == Qt::Key_Left || key == Qt::Key_Right)) {
        selectAll();
        return;
    }
    if (mods == Qt::ControlModifier) {
        switch (key) {
        case Qt::Key_A:
            selectAll();
            return;
        case Qt::Key_C:
            copy();
            return;
        case Qt::Key_V:
            paste();
            return;
        case Qt::Key_X:
            cut();
            return;
        default:
            break;
        }
    }
    if (mods == Qt::NoModifier) {
        switch (key) {
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Left:
        case Qt::Key_Right:
            deselect();
            return;
        case Qt::Key_Up:
        case Qt::Key_Down:
            deselect();
            if (arrowFocusMove_) {
                if (key == Qt::Key_Up && (options_ & eoArrowUp))
                    focusPreviousChild();
                else if (key == Qt::Key_Down && (options_ & eoArrowDown))
                    focusNextChild();
            }
            return;
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
            if (readOnly_)
                return;
            if (selected_) {
                clear();
                Q_EMIT OnChange();
            } else if (!raw_.isEmpty()) {
                commitUserChange(NumText::backspace(raw_));
            }
            return;
        default:
            break;
        }
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        // Without the focus move, Enter belongs to the dialog or grid around
        // the edit, as the dialog manager would route it.
        if (enterFocusMove_)
            focusNextChild();
        else
            e->ignore();
        return;
    }
    if (key == Qt::Key_Escape || key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        e->ignore();
        return;
    }
    const QString text = e->text();
    if (text.isEmpty()) {
        QWidget::keyPressEvent(e);
        return;
    }
    for (const QChar c : text) {
        // The control characters of the keys handled above are swallowed.
        if (c == u'\x01' || c == u'\x03' || c == u'\x16' || c == u'\x18' || c == u'\b' || c == u'\x7f')
            continue;
        if (mods & (Qt::ControlModifier | Qt::AltModifier)) {
            if (!readOnly_)
                refuse();
            continue;
        }
        typeChar(c);
    }
}

void TSaNumEdit::inputMethodEvent(QInputMethodEvent *e)
{
    // Full-width digits, minus and full stop from the input method are typed
    // as their ASCII forms; anything else is refused like a typed character.
    for (const QChar c : e->commitString())
        typeChar(c);
    e->accept();
}

QVariant TSaNumEdit::inputMethodQuery(Qt::InputMethodQuery query) const
{
    switch (query) {
    case Qt::ImEnabled:
        return true;
    case Qt::ImCursorRectangle:
        return QRect(width() - margins_.right() - borderWidth() - 1, 0, 1, height());
    case Qt::ImHints:
        return int(Qt::ImhPreferNumbers);
    default:
        return QWidget::inputMethodQuery(query);
    }
}

// --- focus and mouse ---------------------------------------------------------

void TSaNumEdit::focusInEvent(QFocusEvent *e)
{
    if (autoSelect_ && e->reason() != Qt::PopupFocusReason)
        selectAll();
    update();
    QWidget::focusInEvent(e);
}

void TSaNumEdit::focusOutEvent(QFocusEvent *e)
{
    // A context menu borrows the focus; the selection must survive it.
    if (e->reason() != Qt::PopupFocusReason) {
        if (hideSelection_)
            selected_ = false;
        if (raw_ == u"-"_s && !(options_ & eoMinusOnly))
            raw_.clear();
    }
    update();
    QWidget::focusOutEvent(e);
}

void TSaNumEdit::mousePressEvent(QMouseEvent *e)
{
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    if (e->button() == Qt::LeftButton)
        deselect();
    QWidget::mousePressEvent(e);
}

void TSaNumEdit::mouseDoubleClickEvent(QMouseEvent *e)
{
    selectAll();
    e->accept();
}

void TSaNumEdit::mouseMoveEvent(QMouseEvent *e)
{
    if ((e->buttons() & Qt::LeftButton) && rect().contains(e->position().toPoint()))
        selectAll();
    QWidget::mouseMoveEvent(e);
}

QMenu *TSaNumEdit::createStandardContextMenu()
{
    auto *menu = new QMenu(this);
    const bool canEdit = !readOnly_;
    QAction *a = menu->addAction(u"元に戻す(&U)"_s, this, &TSaNumEdit::undo);
    a->setEnabled(undoAvailable_ && canEdit);
    menu->addSeparator();
    a = menu->addAction(u"切り取り(&T)"_s, this, &TSaNumEdit::cut);
    a->setEnabled(selected_ && canEdit);
    a = menu->addAction(u"コピー(&C)"_s, this, &TSaNumEdit::copy);
    a->setEnabled(selected_);
    a = menu->addAction(u"貼り付け(&P)"_s, this, &TSaNumEdit::paste);
    a->setEnabled(canEdit && clipboardHasText());
    a = menu->addAction(u"削除(&D)"_s, this, [this] {
        if (readOnly_)
            return;
        clear();
        Q_EMIT OnChange();
    });
    a->setEnabled(selected_ && canEdit);
    menu->addSeparator();
    a = menu->addAction(u"すべて選択(&A)"_s, this, &TSaNumEdit::selectAll);
    a->setEnabled(!selected_ && !raw_.isEmpty());
    return menu;
}

void TSaNumEdit::contextMenuEvent(QContextMenuEvent *e)
{
    setFocus(Qt::OtherFocusReason);
    if (popupMenu_) {
        popupMenu_->exec(e->globalPos());
        return;
    }
    const std::unique_ptr<QMenu> menu(createStandardContextMenu());
    menu->exec(e->globalPos());
}

bool TSaNumEdit::event(QEvent *e)
{
    // The keys the edit handles itself win over shortcuts of the window
    // (a row copy on Ctrl+C must not take the edit's copy).
    if (e->type() == QEvent::ShortcutOverride) {
        auto *k = static_cast<QKeyEvent *>(e);
        const Qt::KeyboardModifiers mods = k->modifiers() & ~Qt::KeypadModifier;
        const int key = k->key();
        const bool clipboardKey = mods == Qt::ControlModifier && (key == Qt::Key_A || key == Qt::Key_C ||
                                                                  key == Qt::Key_V || key == Qt::Key_X);
        const bool editKey = (mods == Qt::NoModifier || mods == Qt::ShiftModifier) &&
                             (key == Qt::Key_Backspace || key == Qt::Key_Delete || key == Qt::Key_Home ||
                              key == Qt::Key_End || key == Qt::Key_Left || key == Qt::Key_Right ||
                              (!k->text().isEmpty() && k->text().at(0).isPrint()));
        if (clipboardKey || editKey) {
            e->accept();
            return true;
        }
    }
    // The background follows the window colour of whatever it is placed on.
    if (e->type() == QEvent::ParentChange)
        color_ = palette().color(QPalette::Base);
    return QWidget::event(e);
}

void TSaNumEdit::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::FontChange)
        updateAutoHeight();
    QWidget::changeEvent(e);
}

// --- painting ----------------------------------------------------------------

void TSaNumEdit::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), color_);
    if (borderStyle_ == bsSingle)
        qDrawWinPanel(&p, rect(), palette(), true);
    const int bw = borderWidth();
    const QRect client = rect().adjusted(bw, bw, -bw, -bw);
    p.setClipRect(client);

    const QFontMetrics fm(font());
    const NumFormat f = NumText::format(raw_, rules_);
    const bool hasText = !f.text.isEmpty();
    const bool marksCount = !raw_.isEmpty() || rules_.integerFixed || rules_.decimalFixed;
    const int W = fm.horizontalAdvance(NumText::widestImage(raw_, rules_));
    const int L = marksCount ? fm.horizontalAdvance(leftMark_) : 0;
    const int R = marksCount ? fm.horizontalAdvance(rightMark_) : 0;
    const int left = client.left() + margins_.left();
    const int right = client.right() + 1 - margins_.right();

    int blockLeft = 0;
    if (alignment_ & Qt::AlignLeft)
        blockLeft = left + L;
    else if (alignment_ & Qt::AlignHCenter)
        blockLeft = left + (right - left - (L + W + R)) / 2 + L;
    else
        blockLeft = right - 1 - R - W;

    const int lineHeight = fm.height();
    int top = 0;
    switch (vertAlignment_) {
    case taTopJustify:
        top = client.top() + margins_.top();
        break;
    case taBottomJustify:
        top = client.bottom() + 1 - margins_.bottom() - lineHeight;
        break;
    case taVCenter:
        top = client.top() + margins_.top() +
              (client.height() - margins_.top() - margins_.bottom() - lineHeight) / 2;
        break;
    }

    QColor textColor = palette().color(QPalette::Text);
    const QRect area(blockLeft - L, top, L + W + R, lineHeight);
    if (!isEnabled()) {
        textColor = disabledColor_;
    } else if (selected_) {
        p.fillRect(area, palette().color(QPalette::Highlight));
        textColor = palette().color(QPalette::HighlightedText);
    }
    p.setPen(textColor);
    p.setFont(font());
    if (hasText && L > 0)
        p.drawText(QRect(blockLeft - L, top, L, lineHeight), Qt::AlignLeft | Qt::AlignVCenter, leftMark_);
    p.drawText(QRect(blockLeft, top, W, lineHeight), Qt::AlignRight | Qt::AlignVCenter, f.text);
    if (hasText && R > 0)
        p.drawText(QRect(blockLeft + W, top, R, lineHeight), Qt::AlignLeft | Qt::AlignVCenter, rightMark_);

    if (hasFocus() && isEnabled()) {
        // The caret stands after the typed characters, before any zeros that
        // the fixed decimals add.
        const int x = blockLeft + W - fm.horizontalAdvance(f.text.mid(f.typedLength));
        const int caretWidth = font().bold() ? 2 : 1;
        p.fillRect(QRect(x, top, caretWidth, lineHeight),
                   selected_ ? palette().color(QPalette::HighlightedText) : palette().color(QPalette::Text));
    }
}
