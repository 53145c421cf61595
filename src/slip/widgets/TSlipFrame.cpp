#include "TSlipFrame.h"

#include "FloatEditAccess.h"
#include "SlipMoney.h"
#include "SlipSection.h"

#include "controls/widgets/TFloatEdit.h"
#include "controls/widgets/TWarekiDateEdit.h"
#include "lines/RowText.h"
#include "lines/widgets/SlipGridView.h"
#include "lines/widgets/TSlipGridFrame.h"
#include "master/widgets/TMemoSelForm.h"
#include "platform/AppFolder.h"
#include "platform/CommaText.h"
#include "platform/IniFile.h"
#include "platform/TextList.h"
#include "slip/SlipChecks.h"
#include "slip/SlipFile.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

constexpr int WheelStep = 30;

const char *const SectionCaptions[] = {"お客様の設定(&1)", "消費税の設定(&2)",       "車両の設定(&3)",
                                       "明細の設定(&4)",   "税金・諸費用の設定(&5)", "合計金額(&6)",
                                       "備考欄(&7)"};

// Visible grid rows for "5行" and "9行".
constexpr int VisibleRows[] = {5, 9};

qint64 truncated(double v)
{
    return qint64(std::trunc(v));
}

// Calls react once, on the first user input into a control of frame.
class FirstInputGuard : public QObject {
public:
    FirstInputGuard(QWidget *frame, std::function<void()> react)
        : QObject(frame), frame_(frame), react_(std::move(react))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
        case QEvent::InputMethod:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::DragEnter:
            if (react_ && watched->isWidgetType() && frame_->isAncestorOf(static_cast<QWidget *>(watched))) {
                const std::function<void()> react = std::move(react_);
                react_ = nullptr;
                react();
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    QWidget *frame_;
    std::function<void()> react_;
};

} // namespace

TSlipFrame::TSlipFrame(const QString &appDir, MessageService &messages, QWidget *parent, Bodies bodies)
    : QWidget(parent), appDir_(appDir), messages_(messages)
{
    ++updating_;
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(u"ScrollBox1"_s);
    scroll_->setWidgetResizable(true);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll_->viewport()->installEventFilter(this);
    outer->addWidget(scroll_);

    auto *content = new QWidget(scroll_);
    auto *column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);

    auto *startPanel = new QFrame(content);
    startPanel->setObjectName(u"StartPanel"_s);
    startPanel->setFrameShape(QFrame::StyledPanel);
    buildTopBar(startPanel);
    column->addWidget(startPanel);

    for (int i = 0; i < SectionCount; ++i) {
        auto *s = new SlipSection(i + 1, QString::fromUtf8(SectionCaptions[i]), content);
        s->setObjectName(u"Section"_s + QString::number(i + 1));
        s->button()->setObjectName(u"IdxSpButton"_s + QString::number(i + 1));
        s->statusLabel()->setObjectName(u"StLabel"_s + QString::number(i + 1));
        sections_[size_t(i)] = s;
        column->addWidget(s);
        connect(s, &SlipSection::toggleRequested, this, [this, s] { sectionToggled(s); });
    }
    DateWDateEdit->setMessages(&messages_);

    auto *endPanel = new QWidget(content);
    endPanel->setObjectName(u"EndPanel"_s);
    auto *end = new QHBoxLayout(endPanel);
    end->addStretch(1);
    printButton_ = new QPushButton(u"印刷(&P)..."_s, endPanel);
    saveButton_ = new QPushButton(u"上書き保存(&S)"_s, endPanel);
    exitButton_ = new QPushButton(u"終了(&X)"_s, endPanel);
    for (QPushButton *b : {printButton_, saveButton_, exitButton_}) {
        b->setMinimumWidth(110);
        end->addWidget(b);
    }
    column->addWidget(endPanel);
    column->addStretch(1);
    scroll_->setWidget(content);

    // Lists installed with the program; a missing one just leaves its list empty.
    const AppFolder folder(appDir_);
    DTpComBox->addItems(TextList::read(folder.slipDivisionsFile()));
    DTpComBox->setCurrentIndex(DTpComBox->count() > 0 ? 0 : -1);
    DDvComBox->setCurrentIndex(0);
    categories_ = LineCategoryList::load(folder.lineCategoriesFile());
    connectTopBar();
    if (bodies == Bodies::Now)
        ensureBodies();
    --updating_;
}

void TSlipFrame::buildInto(SlipSection *s, void (TSlipFrame::*build)(SlipSection *))
{
    // Controls made inside a section on the screen appear with it, not one
    // event later: the section's panel is shown again once it holds them.
    const bool shown = isVisible();
    if (shown)
        s->inner()->hide();
    (this->*build)(s);
    if (shown)
        s->setOpen(s->isOpen());
}

void TSlipFrame::buildUpperBodies()
{
    ++updating_;
    upperBuilt_ = true;
    buildInto(sections_[0], &TSlipFrame::buildCustomer);
    buildInto(sections_[1], &TSlipFrame::buildTax);
    buildInto(sections_[2], &TSlipFrame::buildVehicle);
    buildInto(sections_[3], &TSlipFrame::buildLines);
    for (TWarekiDateEdit *d : {FirstWDateEdit, CheckWDateEdit})
        d->setMessages(&messages_);

    const AppFolder folder(appDir_);
    CaNumComBox->addItems(TextList::read(folder.registrationRegionsFile()));
    CaNumComBox->setCurrentIndex(-1);
    SlipGridFrame1->setCategories(categories_);
    SlipGridFrame1->setWorkNames(workNames_);
    const auto type = eraDates_ ? TWarekiDateEdit::dtWareki : TWarekiDateEdit::dtSeireki;
    for (TWarekiDateEdit *d : {FirstWDateEdit, CheckWDateEdit})
        d->setDateType(type);
    applyVehicleState();
    applyLineCount();
    if (pending_)
        applyUpperBodies(*pending_); // the rest waits in pending_ for the lower sections
    --updating_;
}

void TSlipFrame::buildLowerBodies()
{
    ++updating_;
    bodiesBuilt_ = true;
    if (inputGuard_) {
        qApp->removeEventFilter(inputGuard_);
        inputGuard_->deleteLater(); // it may be the caller
        inputGuard_ = nullptr;
    }
    buildInto(sections_[4], &TSlipFrame::buildCosts);
    buildInto(sections_[5], &TSlipFrame::buildTotals);
    buildInto(sections_[6], &TSlipFrame::buildNotes);
    placeBodiesInTabOrder();

    money_ = new SlipMoney(costPanel_, totalsPanel_, this);
    money_->setNotify(notify_);
    TSlipGridFrame *grid = SlipGridFrame1;
    money_->setLines({[grid] { grid->RecalcRows(); }, [grid] { return grid->CalcTecTotal(); },
                      [grid] { return grid->CalcPartTotal(); }, [grid] { return grid->rows(); }});
    money_->setCategories(categories_);
    setGreetingForKind(0);
    connectChangeTracking();
    connectLookups();
    if (pending_) {
        const SlipData slip = std::move(*pending_);
        pending_.reset();
        applyLowerBodies(slip);
    }
    --updating_;
}

void TSlipFrame::placeBodiesInTabOrder()
{
    // New widgets join the end of their window's tab order: behind the
    // bottom buttons, and behind whatever the window made after this frame.
    // They go back between the section buttons and the bottom buttons, each
    // with the parts it is made of.
    auto inBodies = [this](const QWidget *w) {
        return std::any_of(sections_.begin(), sections_.end(),
                           [w](const SlipSection *s) { return s->inner()->isAncestorOf(w); });
    };
    QList<QWidget *> focusable;
    QWidget *const top = window();
    for (QWidget *w = top->nextInFocusChain(); w && w != top; w = w->nextInFocusChain()) {
        if (w->focusPolicy() == Qt::NoFocus || !inBodies(w))
            continue;
        const bool part = std::any_of(focusable.begin(), focusable.end(),
                                      [w](const QWidget *whole) { return whole->isAncestorOf(w); });
        if (!part)
            focusable.append(w);
    }
    QWidget *previous = sections_.back()->button();
    for (QWidget *w : std::as_const(focusable)) {
        QWidget::setTabOrder(previous, w);
        previous = w;
    }
    for (QWidget *w : {printButton_, saveButton_, exitButton_}) {
        QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

void TSlipFrame::ensureUpperBodies()
{
    if (upperBuilt_)
        return;
    buildUpperBodies();
    // Changes are tracked once every section is built; until then the first
    // input into these controls builds the rest before it changes anything.
    inputGuard_ = new FirstInputGuard(this, [this] { ensureBodies(); });
    qApp->installEventFilter(inputGuard_);
}

void TSlipFrame::ensureBodies()
{
    if (!upperBuilt_)
        buildUpperBodies();
    if (!bodiesBuilt_)
        buildLowerBodies();
}

bool TSlipFrame::lowerSectionInView() const
{
    // Asked while the window is being shown, when the sections' places are
    // not settled yet: where each starts follows from the heights they ask for.
    const QLayout *column = scroll_->widget()->layout();
    const int gap = column->spacing();
    int y = column->contentsMargins().top() + column->itemAt(0)->sizeHint().height() + gap; // the top bar
    const int bottom = scroll_->viewport()->height();
    for (int i = 0; i < SectionCount && y < bottom; ++i) {
        const SlipSection *s = sections_[size_t(i)];
        if (i >= UpperSectionCount && s->isOpen())
            return true;
        y += s->sizeHint().height() + gap;
    }
    return false;
}

void TSlipFrame::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The layout is done by now: an open lower section that the window
    // shows is built before the window appears.
    if (!bodiesBuilt_ && lowerSectionInView())
        ensureBodies();
}

void TSlipFrame::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    // Built once what the first paint shows is on the screen.
    if (!bodiesBuilt_ && !bodiesQueued_) {
        bodiesQueued_ = true;
        QTimer::singleShot(0, this, [this] { ensureBodies(); });
    }
}

TSlipGridFrame *TSlipFrame::grid() const
{
    const_cast<TSlipFrame *>(this)->ensureBodies();
    return SlipGridFrame1;
}

SlipMoney *TSlipFrame::money() const
{
    const_cast<TSlipFrame *>(this)->ensureBodies();
    return money_;
}

TSlipFrame::~TSlipFrame() = default;

SlipSection *TSlipFrame::section(int n) const
{
    return (n >= 1 && n <= SectionCount) ? sections_[size_t(n - 1)] : nullptr;
}

// ---- change tracking ------------------------------------------------------------

void TSlipFrame::markModified()
{
    if (!notify_ || updating_ > 0)
        return;
    modified_ = true;
    Q_EMIT changed();
}

void TSlipFrame::connectTopBar()
{
    auto mark = [this] { markModified(); };
    for (QLineEdit *e : {SlipCodeEdit, ChargeEdit})
        connect(e, &QLineEdit::textChanged, this, mark);
    connect(DTpComBox, &QComboBox::currentTextChanged, this, mark);
    connect(DateWDateEdit, &TWarekiDateEdit::OnChange, this, mark);
    // The slip kind sets the greeting instead; the greeting edit reports the change.
    connect(DDvComBox, &QComboBox::activated, this, [this](int kind) {
        ensureBodies();
        setGreetingForKind(kind);
    });
    connectTopBarLookups();
}

void TSlipFrame::connectChangeTracking()
{
    auto mark = [this] { markModified(); };
    for (QLineEdit *e :
         {CuNameEdit, Zip1Edit, Zip2Edit, Add1Edit, Add2Edit, TelEdit, CaNumEdit1, CaNumEllipsisEdit,
          CaNumEdit2, CaNameEdit, TypeCodeEdit, K1Edit, K2Edit, EngCodeEdit, BodyNumEdit, InfoEdit})
        connect(e, &QLineEdit::textChanged, this, mark);
    for (QComboBox *c : {CuTitleComBox, CityComBox, CaNumComBox, TaxHComBox, TaxCalcComBox})
        connect(c, &QComboBox::currentTextChanged, this, mark);
    connect(NoteMemo, &QPlainTextEdit::textChanged, this, mark);
    for (TWarekiDateEdit *d : {FirstWDateEdit, CheckWDateEdit})
        connect(d, &TWarekiDateEdit::OnChange, this, mark);
    for (TFloatEdit *f : {TaxRNValEditC, ESizeNValEditC, KiroNValEditC, RavorNValEditC})
        FloatEditAccess::onChange(f, this, mark);

    connect(CarCheckBox, &QCheckBox::toggled, this, [this] {
        applyVehicleState();
        markModified();
    });
    connect(FirstCheckBox, &QCheckBox::toggled, this, [this](bool on) {
        FirstWDateEdit->setEnabled(!on);
        markModified();
    });
    connect(CheckCheckBox, &QCheckBox::toggled, this, [this](bool on) {
        CheckWDateEdit->setEnabled(!on);
        markModified();
    });
    connect(LineCntComBox, &QComboBox::currentIndexChanged, this, [this] {
        applyLineCount();
        markModified();
    });

    // The money side: the grid computes with the rate, rounding and labour
    // rate as shown, and every change of amounts recomputes the totals.
    // A load publishes its values itself and shows the stored totals.
    FloatEditAccess::onChange(TaxRNValEditC, this, [this] {
        if (updating_ == 0)
            money_->taxRateEdited(FloatEditAccess::value(TaxRNValEditC));
    });
    FloatEditAccess::onChange(RavorNValEditC, this, [this] {
        if (updating_ == 0)
            money_->labourRateEdited(FloatEditAccess::value(RavorNValEditC));
    });
    connect(TaxHComBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (updating_ == 0)
            money_->roundingChanged(index);
    });
    connect(TaxCalcComBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (updating_ == 0)
            money_->calcModeChanged(index);
    });
    connect(SlipGridFrame1, &TSlipGridFrame::changed, this, [this] {
        if (updating_ == 0)
            money_->linesChanged();
        Q_EMIT gridChanged();
    });
    connect(money_, &SlipMoney::modified, this, &TSlipFrame::markModified);
    connect(money_, &SlipMoney::taxRatePublished, SlipGridFrame1, &TSlipGridFrame::setTaxRate);
    connect(money_, &SlipMoney::roundingPublished, SlipGridFrame1, &TSlipGridFrame::setRounding);
    connect(money_, &SlipMoney::labourRatePublished, SlipGridFrame1, &TSlipGridFrame::setLabourRate);
    connect(money_, &SlipMoney::lineTotalsChanged, this, [this](qint64 tec, qint64 part) {
        FloatEditAccess::setValue(TecNValLabel, double(tec));
        FloatEditAccess::setValue(PartNValLabel, double(part));
    });
}

// ---- sections ------------------------------------------------------------------

void TSlipFrame::openSection(int n)
{
    SlipSection *s = section(n);
    if (!s)
        return;
    ensureBodies();
    s->setOpen(true);
    if (notify_ && s->firstFocus) {
        s->firstFocus->setFocus(Qt::OtherFocusReason);
        scroll_->ensureWidgetVisible(s, 0, 0);
    }
}

void TSlipFrame::closeSection(int n)
{
    if (SlipSection *s = section(n))
        s->setOpen(false);
}

void TSlipFrame::sectionToggled(SlipSection *s)
{
    // The button flips itself when clicked; its accelerator ends up here too.
    const bool open = s->button()->isChecked();
    if (open) {
        openSection(s->number());
    } else {
        closeSection(s->number());
        if (notify_)
            checkSection(s->number());
    }
}

void TSlipFrame::checkSection(int n)
{
    if (SlipSection *s = section(n))
        setSectionStatus(s, SlipChecks::status(n, data()));
}

void TSlipFrame::setSectionStatus(SlipSection *s, const QString &text)
{
    const bool differs = text != s->statusText();
    s->setStatus(text, SlipChecks::statusColor(text));
    if (differs && !modified_)
        markModified();
}

void TSlipFrame::OpenAll()
{
    // Typing still pending in the grid is a change of the slip: it must be
    // stored while changes are still reported.
    commitEdits();
    recomputeTotals();
    const bool wasNotify = notify_;
    notify_ = false;
    for (SlipSection *s : sections_)
        openSection(s->number());
    notify_ = wasNotify;
    SlipCodeEdit->setFocus(Qt::OtherFocusReason);
}

void TSlipFrame::CloseAll()
{
    // Typing still pending in the grid is a change of the slip: it must be
    // stored while changes are still reported.
    commitEdits();
    recomputeTotals();
    const bool wasNotify = notify_;
    notify_ = false;
    for (SlipSection *s : sections_) {
        const bool wasOpen = s->isOpen();
        closeSection(s->number());
        if (wasOpen) // only sections that were open are checked
            checkSection(s->number());
    }
    notify_ = wasNotify;
    SlipCodeEdit->setFocus(Qt::OtherFocusReason);
}

// ---- behaviour -------------------------------------------------------------------

void TSlipFrame::stepSlipNumber(int delta)
{
    bool ok = false;
    const int number = SlipCodeEdit->text().toInt(&ok);
    if (!ok)
        return;
    const int next = ((number + delta) % 100000000 + 100000000) % 100000000;
    SlipCodeEdit->setText(QString::number(next).rightJustified(8, u'0'));
}

std::optional<QString> TSlipFrame::greetingForKind(int kind) const
{
    const QStringList lines = TextList::read(AppFolder(appDir_).memoOptionsFile());
    if (lines.isEmpty())
        return std::nullopt;
    const QStringList greetings = CommaText::split(lines.first());
    if (kind < 0 || kind >= greetings.size())
        return std::nullopt;
    return greetings.at(kind);
}

void TSlipFrame::setGreetingForKind(int kind)
{
    // A kind without a greeting keeps the text there is.
    if (const std::optional<QString> greeting = greetingForKind(kind))
        InfoEdit->setText(*greeting);
}

void TSlipFrame::MemoSpeedButtonClick()
{
    ensureBodies();
    TMemoSelForm form(AppFolder(appDir_).memoOptionsFile(), this);
    if (form.exec() == QDialog::Accepted) {
        const MemoOptions::Note note = form.note();
        NoteMemo->setPlainText(QStringList(note.begin(), note.end()).join(u'\n'));
    }
    NoteMemo->setFocus();
}

void TSlipFrame::applyVehicleState()
{
    const bool none = CarCheckBox->isChecked();
    vehiclePanel_->setEnabled(!none);
    vehiclePanel_->setVisible(!none);
}

void TSlipFrame::applyLineCount()
{
    const int index = qBound(0, LineCntComBox->currentIndex(), 1);
    gridHost_->setFixedHeight(SlipGridFrame1->heightForRows(VisibleRows[index]));
}

void TSlipFrame::setNotify(bool on)
{
    notify_ = on;
    if (money_)
        money_->setNotify(on);
}

void TSlipFrame::recomputeAll()
{
    ensureBodies();
    money_->recomputeAll();
}

void TSlipFrame::recomputeTotals()
{
    ensureBodies();
    money_->recomputeTotals();
}

void TSlipFrame::setWorkNames(const QStringList &names)
{
    workNames_ = names;
    if (SlipGridFrame1)
        SlipGridFrame1->setWorkNames(names);
}

QStringList TSlipFrame::rowTexts(const QList<TRowData> &rows) const
{
    QStringList texts;
    texts.reserve(rows.size());
    for (const TRowData &row : rows)
        texts.append(RowText::make(row, categories_));
    return texts;
}

void TSlipFrame::setDateDisplay(bool eraDates)
{
    eraDates_ = eraDates;
    const auto type = eraDates ? TWarekiDateEdit::dtWareki : TWarekiDateEdit::dtSeireki;
    ++updating_;
    DateWDateEdit->setDateType(type);
    if (upperBuilt_) {
        for (TWarekiDateEdit *d : {FirstWDateEdit, CheckWDateEdit})
            d->setDateType(type);
    }
    --updating_;
}

void TSlipFrame::setSlipDivisions(const QStringList &names)
{
    ++updating_;
    const QString selected = DTpComBox->currentIndex() >= 0 ? DTpComBox->currentText() : QString();
    DTpComBox->clear();
    DTpComBox->addItems(names);
    DTpComBox->setCurrentIndex(selected.isEmpty() ? -1 : names.indexOf(selected));
    --updating_;
}

void TSlipFrame::startNewSlip(const QString &slipCode, qint64 taxRate, int rounding, int calcMode,
                              QDate today)
{
    SlipData s = SlipData::newSlip(today);
    s.slipCode = slipCode;
    s.taxRate = taxRate;
    s.taxCut = rounding;
    s.taxCalcMode = calcMode;
    s.slipType = DTpComBox->count() > 0 ? DTpComBox->itemText(0) : QString();
    // The greeting the frame shows for the first kind.
    s.info = bodiesBuilt_ ? InfoEdit->text() : greetingForKind(0).value_or(QString());
    setData(s);
    modified_ = false;
}

bool TSlipFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == scroll_->viewport() && event->type() == QEvent::Wheel) {
        const auto *wheel = static_cast<QWheelEvent *>(event);
        const int steps = wheel->angleDelta().y() / 120;
        // Over the line-item grid the grid scrolls while it can, even when the
        // turn reaches the page first; at its first or last rows the page
        // takes over.
        if (scrollGridUnder(wheel->globalPosition().toPoint(), steps))
            return true;
        QScrollBar *bar = scroll_->verticalScrollBar();
        bar->setValue(bar->value() - steps * WheelStep);
        return true;
    }
    if (watched == lineTotalsBar_ && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        alignLineTotals();
    if (watched == NoteMemo && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::ControlModifier) {
            MemoSpeedButtonClick();
            return true;
        }
    }
    if (watched == SlipCodeEdit && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
            stepSlipNumber(key->key() == Qt::Key_Up ? +1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ---- the document --------------------------------------------------------------------

bool TSlipFrame::scrollGridUnder(QPoint global, int steps)
{
    if (!upperBuilt_)
        return false;
    SlipGridView *grid = SlipGridFrame1->grid();
    QWidget *view = grid->viewport();
    if (steps == 0 || !view->isVisible() || !view->rect().contains(view->mapFromGlobal(global)))
        return false;
    QScrollBar *bar = grid->verticalScrollBar();
    const int rows = steps * QApplication::wheelScrollLines();
    const int target = qBound(bar->minimum(), bar->value() - rows, bar->maximum());
    if (target == bar->value())
        return false;
    bar->setValue(target);
    return true;
}

// A vehicle date nobody entered is blank on screen and the no-date value
// (day zero) in the slip.
QDate TSlipFrame::vehicleDate(const TWarekiDateEdit *edit)
{
    return edit->isBlank() ? SlipData::dayZero() : edit->Date();
}

void TSlipFrame::setVehicleDate(TWarekiDateEdit *edit, QDate date)
{
    if (date.isValid() && date != SlipData::dayZero()) {
        edit->setDate(date);
    } else {
        edit->setDate(QDate::currentDate()); // where entry starts
        edit->setBlank();
    }
}

SlipData TSlipFrame::data() const
{
    const_cast<TSlipFrame *>(this)->ensureBodies();
    SlipData s;
    for (int i = 0; i < SectionCount; ++i) {
        const SlipSection *sec = sections_[size_t(i)];
        s.sections[size_t(i)] = {sec->isOpen(), sec->statusText(), sec->statusColor()};
    }
    s.slipCode = SlipCodeEdit->text();
    s.slipDiv = DDvComBox->currentIndex();
    s.slipDate = DateWDateEdit->Date();
    s.charge = ChargeEdit->text();
    s.slipType = DTpComBox->currentIndex() >= 0 ? DTpComBox->currentText() : QString();
    s.custName = CuNameEdit->text();
    s.custTitle = CuTitleComBox->currentText();
    s.zip1 = Zip1Edit->text();
    s.zip2 = Zip2Edit->text();
    s.city = CityComBox->currentText();
    s.add1 = Add1Edit->text();
    s.add2 = Add2Edit->text();
    s.tel = TelEdit->text();
    s.taxRate = Fixed::fromDouble(FloatEditAccess::value(TaxRNValEditC));
    s.taxCut = TaxHComBox->currentIndex();
    s.taxCalcMode = TaxCalcComBox->currentIndex() == Totals::PerRate ? Totals::PerRate : Totals::PerLine;
    s.noCar = CarCheckBox->isChecked();
    s.num1 = CaNumComBox->currentText();
    s.num2 = CaNumEdit1->text();
    s.num3 = CaNumEllipsisEdit->text();
    s.num4 = CaNumEdit2->text();
    s.carName = CaNameEdit->text();
    s.first = vehicleDate(FirstWDateEdit);
    s.noFirst = FirstCheckBox->isChecked();
    s.check = vehicleDate(CheckWDateEdit);
    s.noCheck = CheckCheckBox->isChecked();
    s.kiro = truncated(FloatEditAccess::value(KiroNValEditC));
    s.eSize = truncated(FloatEditAccess::value(ESizeNValEditC));
    s.typeCode = TypeCodeEdit->text();
    s.typeNum1 = K1Edit->text();
    s.typeNum2 = K2Edit->text();
    s.engine = EngCodeEdit->text();
    s.chassis = BodyNumEdit->text();
    s.ravor = truncated(FloatEditAccess::value(RavorNValEditC));
    QStringList texts;
    SlipGridFrame1->ExportRows(texts);
    s.rows.clear();
    s.rows.reserve(texts.size());
    for (const QString &text : texts)
        if (const std::optional<TRowData> row = RowText::parse(text, categories_))
            s.rows.append(*row);
    s.display = LineCntComBox->currentIndex();
    money_->store(s); // costs, totals and the line totals as shown
    s.info = InfoEdit->text();
    s.memo = NoteMemo->toPlainText().split(u'\n');
    return s;
}

void TSlipFrame::setData(const SlipData &slip)
{
    applyData(slip, true);
}

void TSlipFrame::applyData(const SlipData &s, bool sections)
{
    ++updating_;
    if (sections) {
        for (int i = 0; i < SectionCount; ++i) {
            SlipSection *sec = sections_[size_t(i)];
            const SlipData::Section &state = s.sections[size_t(i)];
            // An open section shows its body at once; before the frame is
            // on the screen, the lower ones wait until it is clear whether
            // the first screen shows them.
            if (state.open && i < UpperSectionCount)
                ensureUpperBodies();
            else if (state.open && isVisible())
                ensureBodies();
            sec->setOpen(state.open);
            sec->setStatus(state.label, state.labelColor);
        }
    }
    SlipCodeEdit->setText(s.slipCode);
    // A stored kind outside the three kinds selects none.
    DDvComBox->setCurrentIndex((s.slipDiv >= 0 && s.slipDiv <= 2) ? s.slipDiv : -1);
    DateWDateEdit->setDate(s.slipDate);
    ChargeEdit->setText(s.charge);
    DTpComBox->setCurrentIndex(s.slipType.isEmpty() ? -1 : DTpComBox->findText(s.slipType));
    if (bodiesBuilt_) {
        applyUpperBodies(s);
        applyLowerBodies(s);
    } else {
        pending_ = s;
        if (upperBuilt_)
            applyUpperBodies(s);
    }
    --updating_;
}

void TSlipFrame::applyUpperBodies(const SlipData &s)
{
    ++updating_;
    CuNameEdit->setText(s.custName);
    CuTitleComBox->setEditText(s.custTitle);
    Zip1Edit->setText(s.zip1);
    Zip2Edit->setText(s.zip2);
    CityComBox->setEditText(s.city);
    Add1Edit->setText(s.add1);
    Add2Edit->setText(s.add2);
    TelEdit->setText(s.tel);
    FloatEditAccess::setValue(TaxRNValEditC, Fixed::toDouble(s.taxRate));
    TaxHComBox->setCurrentIndex((s.taxCut >= 0 && s.taxCut <= 2) ? s.taxCut : 0);
    TaxCalcComBox->setCurrentIndex(s.taxCalcMode == Totals::PerRate ? 1 : 0);
    CarCheckBox->setChecked(s.noCar);
    CaNumComBox->setEditText(s.num1);
    CaNumEdit1->setText(s.num2);
    CaNumEllipsisEdit->setText(s.num3);
    CaNumEdit2->setText(s.num4);
    CaNameEdit->setText(s.carName);
    setVehicleDate(FirstWDateEdit, s.first);
    FirstCheckBox->setChecked(s.noFirst);
    FirstWDateEdit->setEnabled(!s.noFirst);
    setVehicleDate(CheckWDateEdit, s.check);
    CheckCheckBox->setChecked(s.noCheck);
    CheckWDateEdit->setEnabled(!s.noCheck);
    FloatEditAccess::setValue(KiroNValEditC, double(s.kiro));
    FloatEditAccess::setValue(ESizeNValEditC, double(s.eSize));
    TypeCodeEdit->setText(s.typeCode);
    K1Edit->setText(s.typeNum1);
    K2Edit->setText(s.typeNum2);
    EngCodeEdit->setText(s.engine);
    BodyNumEdit->setText(s.chassis);
    FloatEditAccess::setValue(RavorNValEditC, double(s.ravor));
    // The rows are recomputed with the slip's own settings; the totals shown
    // are the stored ones until the next change.
    const int rounding = TaxHComBox->currentIndex();
    if (money_) {
        money_->applyTaxSettings(s.taxRate, rounding, s.ravor * Fixed::One);
    } else {
        SlipGridFrame1->setTaxRate(s.taxRate);
        SlipGridFrame1->setRounding(rounding);
        SlipGridFrame1->setLabourRate(s.ravor * Fixed::One);
    }
    SlipGridFrame1->ReplaceRows(rowTexts(s.rows));
    FloatEditAccess::setValue(TecNValLabel, double(Totals::clampAmount(s.tecTotal)));
    FloatEditAccess::setValue(PartNValLabel, double(Totals::clampAmount(s.partTotal)));
    LineCntComBox->setCurrentIndex((s.display == 1) ? 1 : 0);
    applyVehicleState();
    applyLineCount();
    --updating_;
}

void TSlipFrame::applyLowerBodies(const SlipData &s)
{
    ++updating_;
    money_->load(s);
    InfoEdit->setText(s.info);
    NoteMemo->setPlainText(s.memo.join(u'\n'));
    --updating_;
}

void TSlipFrame::commitEdits()
{
    if (bodiesBuilt_) // nothing is typed into a grid that is not there
        SlipGridFrame1->commitEdits();
}

bool TSlipFrame::SaveSlip(IniFile &ini, TSlipSaveType scope, bool ownFile, QString *error)
{
    recomputeTotals();
    const SlipFile::Context context{categories_, QDate::currentDate()};
    if (!SlipFile::save(ini, data(), scope, context, error))
        return false;
    if (ownFile)
        modified_ = false;
    return true;
}

void TSlipFrame::LoadSlip(const IniFile &ini, TSlipSaveType scope)
{
    // A whole slip replaces every value: it needs no bodies to start from,
    // and its sections build what they show.
    if (scope != sstAll)
        ensureBodies();
    const SlipFile::Context context{categories_, QDate::currentDate()};
    if (scope == sstLines) {
        // Line items of a template go in before the current row.
        SlipData lines;
        SlipFile::read(ini, lines, sstLines, context);
        SlipGridFrame1->InsertRows(rowTexts(lines.rows));
        openSection(4);
        return;
    }
    SlipData loaded = bodiesBuilt_ ? data() : pending_.value_or(SlipData());
    SlipFile::read(ini, loaded, scope, context);
    applyData(loaded, scope == sstAll);
    if (scope == sstAll) {
        modified_ = false;
        return;
    }
    for (int n : SlipFile::sectionsFilledBy(scope))
        openSection(n);
}
