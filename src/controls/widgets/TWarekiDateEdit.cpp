#include "TWarekiDateEdit.h"

#include "ControlBeep.h"
#include "WarekiDateParts.h"
#include "platform/Clock.h"
#include "platform/MessageService.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>

#include <algorithm>

using namespace Qt::StringLiterals;

using WarekiDate::Part;

namespace {

// The one open calendar of the application. Opening another edit's calendar
// closes this one first, so at most one calendar is ever shown.
QPointer<TWarekiDateEdit> &openCalendarOwner()
{
    static QPointer<TWarekiDateEdit> owner;
    return owner;
}

Part lastPart(bool dayEnabled)
{
    return dayEnabled ? Part::Day : Part::Month;
}

} // namespace

TWarekiDateEdit::TWarekiDateEdit(QWidget *parent)
    : QFrame(parent), eraField_(new TEditW(this)), spinner_(new TUpDownW(this)),
      dateText_(new TMaskEditW(this)), button_(new TSpeedButtonW(this))
{
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    resize(200, 25);
    setFocusProxy(dateText_);

    eraField_->setText(u"平成"_s);
    spinner_->setRange(0, int(eras_.count()) - 1);
    dateText_->setAttribute(Qt::WA_InputMethodEnabled, false);

    connect(spinner_, &TUpDownW::positionClicked, this, &TWarekiDateEdit::selectEra);
    connect(dateText_, &QLineEdit::textChanged, this, &TWarekiDateEdit::parseDateText);
    connect(button_, &QToolButton::clicked, this, &TWarekiDateEdit::toggleCalendar);
    connect(qApp, &QApplication::focusChanged, this, &TWarekiDateEdit::focusChanged);

    date_ = WarekiDate::clamp(Clock::localNow().date(), eras_);
    applyMask();
    showDate();
    relayout();
}

TWarekiDateEdit::~TWarekiDateEdit()
{
    // The parts lose the focus while the base class deletes them; by then
    // this object must no longer react to focus changes.
    disconnect(qApp, nullptr, this, nullptr);
    dateText_->detach();
    if (openCalendarOwner() == this)
        openCalendarOwner() = nullptr;
}

// --- properties ----------------------------------------------------------------

void TWarekiDateEdit::setDate(QDate date)
{
    if (!date.isValid())
        return;
    blank_ = false;
    date_ = WarekiDate::clamp(date, eras_);
    showDate();
    if (calendar_) {
        const QSignalBlocker block(calendar_.get());
        calendar_->setSelectedDate(date_);
    }
    if (isCalendarShown()) {
        calendar_->hide();
        openCalendarOwner() = nullptr;
    }
    Q_EMIT OnChange();
}

void TWarekiDateEdit::setBlank()
{
    blank_ = true;
    if (!date_.isValid())
        date_ = WarekiDate::clamp(QDate::currentDate(), eras_);
    showDate();
    if (isCalendarShown()) {
        calendar_->hide();
        openCalendarOwner() = nullptr;
    }
    Q_EMIT OnChange();
}

void TWarekiDateEdit::setDateType(TDateType type)
{
    dateType_ = type;
    applyMask();
    showDate();
    Q_EMIT OnChange();
    relayout();
}

void TWarekiDateEdit::setDayEnabled(bool on)
{
    dayEnabled_ = on;
    applyMask();
    showDate();
    Q_EMIT OnChange();
    relayout();
}

void TWarekiDateEdit::setCalColors(const TCalColors &colors)
{
    calColors_ = colors;
    applyCalColors();
}

void TWarekiDateEdit::applyCalColors()
{
    if (!calendar_)
        return; // applied when the calendar is made
    QPalette pal = calendar_->palette();
    if (calColors_.BackColor.isValid())
        pal.setColor(QPalette::Window, calColors_.BackColor);
    if (calColors_.MonthBackColor.isValid())
        pal.setColor(QPalette::Base, calColors_.MonthBackColor);
    if (calColors_.TextColor.isValid())
        pal.setColor(QPalette::Text, calColors_.TextColor);
    if (calColors_.TitleBackColor.isValid())
        pal.setColor(QPalette::Highlight, calColors_.TitleBackColor);
    if (calColors_.TitleTextColor.isValid())
        pal.setColor(QPalette::HighlightedText, calColors_.TitleTextColor);
    calendar_->setPalette(pal);
}

bool TWarekiDateEdit::AddEra(const QString &name, const QString &startText)
{
    const QDate start = WarekiDate::fromFixedText(startText);
    if (!start.isValid())
        return false;
    if (eras_.count() > 0 && start <= eras_.eras().last().start) {
        if (messages_)
            messages_->show(MessageService::Kind::Warning, u"登録済みの年号より以前の日付は設定できません"_s);
        return false;
    }
    eras_.addEra(name, start);
    spinner_->setRange(0, int(eras_.count()) - 1);
    // The shown date may now fall into the new era.
    showDate();
    return true;
}

// --- showing and reading the date ---------------------------------------------

void TWarekiDateEdit::applyMask()
{
    const bool era = dateType_ == dtWareki;
    updating_ = true;
    dateText_->setInputMask(WarekiDate::inputMask(form(), dayEnabled_));
    updating_ = false;
    eraField_->setVisible(era);
    spinner_->setVisible(era);
}

void TWarekiDateEdit::showDate()
{
    updating_ = true;
    eraIndex_ = eras_.eraIndexAt(date_);
    if (blank_) {
        eraField_->setText(QString());
        dateText_->setText(QString());
        updating_ = false;
        return;
    }
    if (eraIndex_ >= 0) {
        eraField_->setText(eras_.eras().at(eraIndex_).name);
        spinner_->setPosition(eraIndex_);
        spinner_->update();
    }
    dateText_->setText(WarekiDate::format(date_, form(), dayEnabled_, eras_));
    // Rewriting the text drops its selection; the part being edited stays marked.
    if (dateText_->hasFocus())
        dateText_->selectPart(dateText_->selectedPart());
    updating_ = false;
}

void TWarekiDateEdit::parseDateText()
{
    if (updating_)
        return;
    const QString text = dateText_->displayText();
    if (blank_ || allowBlank_) {
        const bool anyDigit = std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit(); });
        if (!anyDigit) {
            if (allowBlank_ && !blank_) {
                blank_ = true;
                updating_ = true;
                eraField_->setText(QString());
                updating_ = false;
            }
            return;
        }
        if (blank_ && eraField_->text().isEmpty() && eraIndex_ >= 0) {
            // The first digit typed into a blank edit counts in the era of
            // the reference date.
            updating_ = true;
            eraField_->setText(eras_.eras().at(eraIndex_).name);
            updating_ = false;
        }
    }
    const WarekiDate::ParseResult r = WarekiDate::parse(text, eraField_->text(), eraIndex_, form(), eras_);
    if (r.beep)
        ControlBeep::beep();
    if (r.eraIndex >= 0)
        eraIndex_ = r.eraIndex;
    if (r.changed) {
        date_ = r.date;
        blank_ = false;
    }
}

void TWarekiDateEdit::selectEra(int index)
{
    if (index < 0 || index >= eras_.count())
        return;
    updating_ = true;
    spinner_->setPosition(index);
    spinner_->update();
    eraField_->setText(eras_.eras().at(index).name);
    updating_ = false;
    eraIndex_ = index;
    // The era-year digits stay and are read in the new era.
    parseDateText();
    Q_EMIT OnChange();
}

void TWarekiDateEdit::stepSelectedPart(int n)
{
    const Part part = dateText_->selectedPart();
    // From blank, the first step shows the reference date itself.
    setDate(blank_ ? date_ : WarekiDate::step(date_, part, n));
    dateText_->selectPart(part);
}

// --- keys, mouse and focus -------------------------------------------------------

bool TWarekiDateEdit::eraFieldKey(QKeyEvent *e)
{
    switch (e->key()) {
    case Qt::Key_Up:
        if (eraIndex_ < eras_.count() - 1)
            selectEra(eraIndex_ + 1);
        return true;
    case Qt::Key_Down:
        if (eraIndex_ > 0)
            selectEra(eraIndex_ - 1);
        return true;
    case Qt::Key_Right:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        dateText_->setFocus(Qt::TabFocusReason);
        return true;
    default:
        return false;
    }
}

bool TWarekiDateEdit::dateTextKey(QKeyEvent *e)
{
    const int key = e->key();
    const bool noModifier = (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    const bool arrow = key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Right ||
                       (key == Qt::Key_Left && noModifier);
    if (!arrow) {
        // Any other key first takes the calendar's date, then acts on it.
        closeCalendar();
        return false;
    }
    const Part part = dateText_->selectedPart();
    const Part last = lastPart(dayEnabled_);
    switch (key) {
    case Qt::Key_Down:
        stepSelectedPart(-1);
        break;
    case Qt::Key_Up:
        stepSelectedPart(1);
        break;
    case Qt::Key_Right:
        if (part == last) {
            dateText_->selectPart(Part::Year);
            if (dateType_ == dtWareki)
                eraField_->setFocus(Qt::BacktabFocusReason);
        } else {
            dateText_->selectPart(Part(int(part) + 1));
        }
        break;
    case Qt::Key_Left:
        if (part != Part::Year)
            dateText_->selectPart(Part(int(part) - 1));
        else if (dateType_ == dtWareki)
            eraField_->setFocus(Qt::BacktabFocusReason);
        else
            dateText_->selectPart(last);
        break;
    default:
        break;
    }
    // The arrows close the calendar with the date they leave.
    if (isCalendarShown())
        closeCalendar(date_);
    return true;
}

void TWarekiDateEdit::dateTextKeyDone(QKeyEvent *e)
{
    const bool keypadDigit =
        (e->modifiers() & Qt::KeypadModifier) && e->key() >= Qt::Key_0 && e->key() <= Qt::Key_9;
    if (keypadDigit)
        Q_EMIT OnChange();
}

void TWarekiDateEdit::dateTextFocusOut()
{
    closeCalendar();
}

void TWarekiDateEdit::dateTextMouseRelease(qreal x)
{
    closeCalendar();
    // The text starts after the line edit's own margin.
    const QFontMetrics fm(dateText_->font());
    const qreal at = x - 2 - dateText_->textMargins().left();
    const bool era = dateType_ == dtWareki;
    if (at < fm.horizontalAdvance(era ? u"00/"_s : u"0000/"_s))
        dateText_->selectPart(Part::Year);
    else if (dayEnabled_ && at > fm.horizontalAdvance(era ? u"00/00/"_s : u"0000/00/"_s))
        dateText_->selectPart(Part::Day);
    else
        dateText_->selectPart(Part::Month);
}

void TWarekiDateEdit::focusChanged(QWidget *old, QWidget *now)
{
    Q_UNUSED(old);
    // A deactivated window has no focus widget; that is not leaving.
    if (!now)
        return;
    const bool inside = now == this || isAncestorOf(now);
    if (inside == focusInside_)
        return;
    focusInside_ = inside;
    if (inside) {
        Q_EMIT OnEnter();
        return;
    }
    closeCalendar();
    showDate(); // normalises the typed text, e.g. 昭和70 becomes 平成07
    Q_EMIT OnChange();
    Q_EMIT OnExit();
}

// --- calendar ------------------------------------------------------------------

TCalenderPanel *TWarekiDateEdit::calendar()
{
    if (!calendar_) {
        calendar_ = std::make_unique<TCalenderPanel>();
        calendar_->hide();
        calendar_->setSelectedDate(date_);
        connect(calendar_.get(), &QCalendarWidget::clicked, this, &TWarekiDateEdit::calendarClicked);
        connect(calendar_.get(), &QCalendarWidget::currentPageChanged, this,
                &TWarekiDateEdit::calendarPageChanged);
        applyCalColors();
    }
    return calendar_.get();
}

bool TWarekiDateEdit::isCalendarShown() const
{
    return openCalendarOwner() == this && calendar_ && calendar_->isVisible();
}

bool TWarekiDateEdit::isCalendarOpen()
{
    return !openCalendarOwner().isNull();
}

void TWarekiDateEdit::toggleCalendar()
{
    if (isCalendarShown()) {
        closeCalendar();
        return;
    }
    if (TWarekiDateEdit *other = openCalendarOwner(); other && other != this)
        other->closeCalendar();
    {
        const QSignalBlocker block(calendar());
        calendar_->setSelectedDate(date_);
    }
    dateText_->setFocus(Qt::OtherFocusReason);
    calendar_->setFont(font());
    calendar_->adjustSize();
    calendar_->move(mapToGlobal(QPoint(0, height())));
    calendar_->show();
    calendarReference_ = date_;
    openCalendarOwner() = this;
}

void TWarekiDateEdit::closeCalendar(std::optional<QDate> date)
{
    if (!isCalendarShown())
        return;
    calendar_->hide();
    openCalendarOwner() = nullptr;
    setDate(date.value_or(calendar_->selectedDate()));
}

void TWarekiDateEdit::calendarClicked(QDate date)
{
    if (date == calendarReference_)
        return;
    if (date.year() == calendarReference_.year() && date.month() == calendarReference_.month()) {
        closeCalendar(date);
        return;
    }
    calendarReference_ = date;
}

void TWarekiDateEdit::calendarPageChanged(int year, int month)
{
    // Paging to another month moves the selection there, as the user has
    // moved to that month; a click on one of its days then closes.
    const QDate first(year, month, 1);
    const QDate selected = calendar_->selectedDate();
    if (!first.isValid() || !calendarReference_.isValid())
        return;
    if (selected.year() == year && selected.month() == month)
        return; // the page followed the selection
    calendarReference_ = QDate(year, month, qMin(calendarReference_.day(), first.daysInMonth()));
    const QSignalBlocker block(calendar_.get());
    calendar_->setSelectedDate(calendarReference_);
}

// --- layout --------------------------------------------------------------------

void TWarekiDateEdit::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::FontChange)
        relayout();
    QFrame::changeEvent(e);
}

void TWarekiDateEdit::relayout()
{
    const QFontMetrics fm(font());
    const int th = fm.height();
    const int w = fm.horizontalAdvance(eraField_->text());
    const QString zeros = dateType_ == dtWareki ? u"00/00"_s : u"0000/00"_s;
    const int t = fm.horizontalAdvance(dayEnabled_ ? zeros + u"/00"_s : zeros) + 6;
    const int h = th + 4;
    const int fw = frameWidth();
    const int height = th + 8;
    int width = 0;
    if (dateType_ == dtWareki) {
        width = w + t + 46;
        eraField_->setGeometry(fw + 2, fw, w + 4, h);
        spinner_->setGeometry(fw + w + 6, fw, 14, h);
        dateText_->setGeometry(fw + w + 22, fw, t, h);
    } else {
        width = t + 24;
        dateText_->setGeometry(fw + 2, fw, t, h);
    }
    setFixedSize(width, height);
    button_->setGeometry(width - 22, fw, 18, height - 2 * fw);
}
