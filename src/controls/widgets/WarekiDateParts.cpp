#include "WarekiDateParts.h"

#include "TWarekiDateEdit.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOption>

TEditW::TEditW(TWarekiDateEdit *owner) : QLineEdit(owner), owner_(owner)
{
    setReadOnly(true);
    setFrame(false);
    setAlignment(Qt::AlignCenter);
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

void TEditW::keyPressEvent(QKeyEvent *e)
{
    if (!owner_->eraFieldKey(e))
        QLineEdit::keyPressEvent(e);
}

TUpDownW::TUpDownW(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void TUpDownW::setRange(int min, int max)
{
    min_ = min;
    max_ = qMax(min, max);
    position_ = qBound(min_, position_, max_);
}

void TUpDownW::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const int half = height() / 2;
    const QRect up(0, 0, width(), half);
    const QRect down(0, half, width(), height() - half);
    for (const auto &[r, arrow] :
         {std::pair{up, QStyle::PE_IndicatorArrowUp}, std::pair{down, QStyle::PE_IndicatorArrowDown}}) {
        QStyleOptionButton button;
        button.initFrom(this);
        button.rect = r;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &button, &p, this);
        QStyleOption o;
        o.initFrom(this);
        o.rect = r.adjusted(2, 1, -2, -1);
        style()->drawPrimitive(arrow, &o, &p, this);
    }
}

void TUpDownW::mousePressEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton || !isEnabled())
        return;
    const int next = qBound(min_, position_ + (e->position().y() < height() / 2 ? 1 : -1), max_);
    if (next == position_)
        return;
    position_ = next;
    update();
    Q_EMIT positionClicked(position_);
}

TMaskEditW::TMaskEditW(TWarekiDateEdit *owner) : QLineEdit(owner), owner_(owner)
{
    setFrame(false);
}

void TMaskEditW::selectPart(WarekiDate::Part part)
{
    part_ = part;
    const WarekiDate::Span s = WarekiDate::partSpan(part, owner_->form());
    setSelection(s.start, s.length);
}

void TMaskEditW::keyPressEvent(QKeyEvent *e)
{
    if (owner_->dateTextKey(e))
        return;
    QLineEdit::keyPressEvent(e);
    owner_->dateTextKeyDone(e);
}

void TMaskEditW::focusInEvent(QFocusEvent *e)
{
    QLineEdit::focusInEvent(e);
    selectPart(WarekiDate::Part::Year);
}

void TMaskEditW::focusOutEvent(QFocusEvent *e)
{
    QLineEdit::focusOutEvent(e);
    if (owner_)
        owner_->dateTextFocusOut();
}

void TMaskEditW::mouseReleaseEvent(QMouseEvent *e)
{
    QLineEdit::mouseReleaseEvent(e);
    owner_->dateTextMouseRelease(e->position().x());
}

TSpeedButtonW::TSpeedButtonW(QWidget *parent) : QToolButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAutoRaise(true);
    setArrowType(Qt::DownArrow);
}

TCalenderPanel::TCalenderPanel() : QCalendarWidget(nullptr)
{
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    setFirstDayOfWeek(Qt::Sunday);
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    setFocusPolicy(Qt::NoFocus);
}
