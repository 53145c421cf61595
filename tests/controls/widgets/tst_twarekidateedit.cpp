#include "support/FakeMessageService.h"

#include "controls/widgets/ControlBeep.h"
#include "controls/widgets/TWarekiDateEdit.h"
#include "controls/widgets/WarekiDateParts.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

using WarekiDate::Part;

// Clicks the cell of a day of the shown month; days 15 to 22 occur once in
// the six-week grid.
static void clickDay(TCalenderPanel *cal, int day)
{
    auto *view = cal->findChild<QTableView *>();
    QAbstractItemModel *model = view->model();
    for (int row = 0; row < model->rowCount(); ++row)
        for (int col = 0; col < model->columnCount(); ++col) {
            const QModelIndex index = model->index(row, col);
            if (model->data(index).toString() == QString::number(day)) {
                QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
                return;
            }
        }
    QFAIL("day not shown");
}

// A date edit and a plain edit to move the focus to; beeps counted.
class Host {
public:
    Host()
    {
        auto *layout = new QHBoxLayout(&window);
        layout->addWidget(edit);
        layout->addWidget(other);
        window.show();
        QApplication::setActiveWindow(&window);
        ControlBeep::setHandler([this] { ++beeps; });
        other->setFocus();
    }
    ~Host() { ControlBeep::setHandler({}); }
    QString shown() const { return edit->dateText()->displayText(); }
    QString era() const { return edit->eraField()->text(); }
    QWidget window;
    TWarekiDateEdit *edit = new TWarekiDateEdit(&window);
    QLineEdit *other = new QLineEdit(&window);
    int beeps = 0;
};

class TestTWarekiDateEdit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void showsEras_data();
    void showsEras();
    void typing_data();
    void typing();
    void arrowKeysStepAndSelect();
    void eraSwitching();
    void dateTypeAndDayEnabledKeepTheDate();
    void keypadDigitReportsChange();
    void writeClamps();
    void mouseSelectsPart();
    void calendarPicks();
    void calendarOneOpenAtATime();
    void addEra();
    void deletedWhileFocusedWithCalendarOpen();
};

void TestTWarekiDateEdit::showsEras_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("era");
    QTest::addColumn<QString>("text");
    QTest::newRow("last 明治 day") << QDate(1912, 7, 29) << u"明治"_s << u"45/07/29"_s;
    QTest::newRow("last 昭和 day") << QDate(1989, 1, 7) << u"昭和"_s << u"64/01/07"_s;
    QTest::newRow("first 平成 day") << QDate(1989, 1, 8) << u"平成"_s << u"01/01/08"_s;
    QTest::newRow("last 平成 day") << QDate(2019, 4, 30) << u"平成"_s << u"31/04/30"_s;
    QTest::newRow("first 令和 day") << QDate(2019, 5, 1) << u"令和"_s << u"01/05/01"_s;
    QTest::newRow("令和 8") << QDate(2026, 12, 10) << u"令和"_s << u"08/12/10"_s;
}

void TestTWarekiDateEdit::showsEras()
{
    QFETCH(QDate, date);
    QFETCH(QString, era);
    QFETCH(QString, text);
    Host h;
    QSignalSpy spy(h.edit, &TWarekiDateEdit::OnChange);
    h.edit->setDate(date);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(h.era(), era);
    QCOMPARE(h.shown(), text);
    QCOMPARE(h.edit->eraSpinner()->position(), h.edit->eras().indexOfName(era));
}

void TestTWarekiDateEdit::typing_data()
{
    QTest::addColumn<QDate>("start");
    QTest::addColumn<bool>("western");
    QTest::addColumn<bool>("dayEnabled");
    QTest::addColumn<int>("part"); // selected before typing
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<bool>("beep");
    QTest::addColumn<QString>("shownAfterLeaving");
    const QDate h15(2003, 6, 15);
    QTest::newRow("plain") << h15 << false << true << 0 << u"120304"_s << QDate(2000, 3, 4) << false
                           << u"12/03/04"_s;
    QTest::newRow("month 13") << h15 << false << true << 1 << u"13"_s << QDate(2003, 12, 15) << true
                              << u"15/12/15"_s;
    QTest::newRow("平成12/02/30") << h15 << false << true << 0 << u"120230"_s << QDate(2000, 2, 29) << true
                                  << u"12/02/29"_s;
    QTest::newRow("明治33/02/29") << QDate(1900, 1, 1) << false << true << 0 << u"330229"_s
                                  << QDate(1900, 2, 28) << true << u"33/02/28"_s;
    QTest::newRow("western 0150") << h15 << true << true << 0 << u"0150"_s << QDate(1899, 6, 15) << false
                                  << u"1899/06/15"_s;
    QTest::newRow("month 00 keeps date")
        << h15 << false << true << 1 << u"00"_s << h15 << false << u"15/06/15"_s;
    QTest::newRow("day 00 keeps date")
        << h15 << true << true << 2 << u"00"_s << h15 << false << u"2003/06/15"_s;
    QTest::newRow("no day") << h15 << false << false << 0 << u"1506"_s << QDate(2003, 6, 1) << false
                            << u"15/06"_s;
    QTest::newRow("令和 year 1 before its start") << QDate(2026, 12, 10) << false << true << 0 << u"010430"_s
                                                  << QDate(2019, 4, 30) << false << u"31/04/30"_s;
    QTest::newRow("昭和70 normalised")
        << QDate(1980, 1, 1) << false << true << 0 << u"70"_s << QDate(1995, 1, 1) << false << u"07/01/01"_s;
}

void TestTWarekiDateEdit::typing()
{
    QFETCH(QDate, start);
    QFETCH(bool, western);
    QFETCH(bool, dayEnabled);
    QFETCH(int, part);
    QFETCH(QString, keys);
    QFETCH(QDate, date);
    QFETCH(bool, beep);
    QFETCH(QString, shownAfterLeaving);
    Host h;
    h.edit->setDateType(western ? TWarekiDateEdit::dtSeireki : TWarekiDateEdit::dtWareki);
    h.edit->setDayEnabled(dayEnabled);
    h.edit->setDate(start);
    h.edit->dateText()->setFocus();
    h.edit->dateText()->selectPart(Part(part));
    QSignalSpy changes(h.edit, &TWarekiDateEdit::OnChange);
    QSignalSpy exits(h.edit, &TWarekiDateEdit::OnExit);
    QTest::keyClicks(h.edit->dateText(), keys);
    QCOMPARE(h.edit->Date(), date);
    QCOMPARE(h.beeps > 0, beep);
    QCOMPARE(changes.count(), 0); // plain typing is reported on leaving
    h.other->setFocus();
    QCOMPARE(changes.count(), 1);
    QCOMPARE(exits.count(), 1);
    QCOMPARE(h.shown(), shownAfterLeaving);
    QCOMPARE(h.edit->Date(), date);
}

void TestTWarekiDateEdit::arrowKeysStepAndSelect()
{
    Host h;
    h.edit->setDate(QDate(2008, 1, 31)); // 平成20/01/31
    TMaskEditW *text = h.edit->dateText();
    text->setFocus();
    QCOMPARE(text->selectedText(), u"20"_s); // entering selects the year
    QTest::keyClick(text, Qt::Key_Right);
    QSignalSpy spy(h.edit, &TWarekiDateEdit::OnChange);
    QTest::keyClick(text, Qt::Key_Up);
    QCOMPARE(h.edit->Date(), QDate(2008, 2, 29));
    QCOMPARE(h.shown(), u"20/02/29"_s);
    QCOMPARE(text->selectedText(), u"02"_s);
    QCOMPARE(spy.count(), 1);
    QTest::keyClick(text, Qt::Key_Right);
    QTest::keyClick(text, Qt::Key_Down);
    QCOMPARE(h.edit->Date(), QDate(2008, 2, 28));
    QCOMPARE(text->selectedText(), u"28"_s);
    // Past the day the focus goes to the era field, the year selected again.
    QTest::keyClick(text, Qt::Key_Right);
    QVERIFY(h.edit->eraField()->hasFocus());
    QCOMPARE(text->selectedPart(), Part::Year);
    QTest::keyClick(h.edit->eraField(), Qt::Key_Right);
    QVERIFY(text->hasFocus());
    QTest::keyClick(text, Qt::Key_Left);
    QVERIFY(h.edit->eraField()->hasFocus());

    // The western form wraps from the year to the last part.
    h.edit->setDateType(TWarekiDateEdit::dtSeireki);
    h.edit->setDayEnabled(false);
    text->setFocus();
    QTest::keyClick(text, Qt::Key_Left);
    QVERIFY(text->hasFocus());
    QCOMPARE(text->selectedText(), u"02"_s);
    QTest::keyClick(text, Qt::Key_Right);
    QCOMPARE(text->selectedText(), u"2008"_s);
}

void TestTWarekiDateEdit::eraSwitching()
{
    Host h;
    h.edit->setDate(QDate(1985, 4, 1)); // 昭和60/04/01
    TEditW *era = h.edit->eraField();
    era->setFocus();
    QSignalSpy spy(h.edit, &TWarekiDateEdit::OnChange);
    QTest::keyClick(era, Qt::Key_Up);
    QCOMPARE(h.era(), u"平成"_s);
    QCOMPARE(h.edit->Date(), QDate(2048, 4, 1)); // the digits are read in the new era
    QCOMPARE(h.shown(), u"60/04/01"_s);
    QCOMPARE(spy.count(), 1);
    // The spinner's lower button goes back one era.
    TUpDownW *spinner = h.edit->eraSpinner();
    QTest::mouseClick(spinner, Qt::LeftButton, {}, QPoint(spinner->width() / 2, spinner->height() - 2));
    QCOMPARE(h.era(), u"昭和"_s);
    QCOMPARE(h.edit->Date(), QDate(1985, 4, 1));
    QCOMPARE(spy.count(), 2);
    // Down stops at the first era.
    h.edit->setDate(QDate(1900, 1, 1));
    QTest::keyClick(era, Qt::Key_Down);
    QCOMPARE(h.era(), u"明治"_s);
    QTest::keyClick(era, Qt::Key_Return);
    QVERIFY(h.edit->dateText()->hasFocus());
}

void TestTWarekiDateEdit::dateTypeAndDayEnabledKeepTheDate()
{
    Host h;
    h.edit->setDate(QDate(2019, 4, 30));
    h.edit->setDateType(TWarekiDateEdit::dtSeireki);
    QCOMPARE(h.shown(), u"2019/04/30"_s);
    QVERIFY(h.edit->eraField()->isHidden());
    const int westernWidth = h.edit->width();
    h.edit->setDateType(TWarekiDateEdit::dtWareki);
    QCOMPARE(h.shown(), u"31/04/30"_s);
    QVERIFY(!h.edit->eraField()->isHidden());
    QVERIFY(h.edit->width() > westernWidth);
    h.edit->setDayEnabled(false);
    QCOMPARE(h.shown(), u"31/04"_s);
    h.edit->setDayEnabled(true);
    QCOMPARE(h.edit->Date(), QDate(2019, 4, 30));
}

void TestTWarekiDateEdit::keypadDigitReportsChange()
{
    Host h;
    h.edit->setDate(QDate(2003, 6, 15));
    h.edit->dateText()->setFocus();
    QSignalSpy spy(h.edit, &TWarekiDateEdit::OnChange);
    QTest::keyClick(h.edit->dateText(), Qt::Key_1, Qt::KeypadModifier);
    QCOMPARE(spy.count(), 1);
    QTest::keyClick(h.edit->dateText(), Qt::Key_2);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(h.edit->Date(), QDate(2000, 6, 15));
}

void TestTWarekiDateEdit::writeClamps()
{
    Host h;
    h.edit->setDate(QDate(1800, 1, 1));
    QCOMPARE(h.edit->Date(), QDate(1868, 9, 8));
    QCOMPARE(h.era(), u"明治"_s);
    // Beyond year 99 of the last era the two-digit era year cannot show it.
    h.edit->setDate(QDate(2200, 1, 1));
    QCOMPARE(h.edit->Date(), QDate(2117, 12, 31));
    QCOMPARE(h.shown(), u"99/12/31"_s);
}

void TestTWarekiDateEdit::mouseSelectsPart()
{
    Host h;
    h.edit->setDate(QDate(2003, 6, 15));
    TMaskEditW *text = h.edit->dateText();
    const QFontMetrics fm(text->font());
    const int y = text->height() / 2;
    QTest::mouseClick(text, Qt::LeftButton, {}, QPoint(2 + fm.horizontalAdvance(u"00/0"_s), y));
    QCOMPARE(text->selectedText(), u"06"_s);
    QTest::mouseClick(text, Qt::LeftButton, {}, QPoint(2 + fm.horizontalAdvance(u"00/00/0"_s), y));
    QCOMPARE(text->selectedText(), u"15"_s);
    QTest::mouseClick(text, Qt::LeftButton, {}, QPoint(3, y));
    QCOMPARE(text->selectedPart(), Part::Year);
}

void TestTWarekiDateEdit::calendarPicks()
{
    Host h;
    h.edit->setDate(QDate(2026, 12, 10));
    TCalenderPanel *cal = h.edit->calendar();
    QTest::mouseClick(h.edit->dropDownButton(), Qt::LeftButton);
    QVERIFY(cal->isVisible());
    QVERIFY(TWarekiDateEdit::isCalendarOpen());
    QVERIFY(h.edit->dateText()->hasFocus());
    QCOMPARE(cal->selectedDate(), QDate(2026, 12, 10));

    QSignalSpy spy(h.edit, &TWarekiDateEdit::OnChange);
    Q_EMIT cal->clicked(QDate(2026, 12, 10)); // the date it opened with: nothing happens
    QVERIFY(cal->isVisible());
    // Paging to another month stays open; a day of that month closes.
    QTest::mouseClick(cal->findChild<QToolButton *>(u"qt_calendar_nextmonth"_s), Qt::LeftButton);
    QVERIFY(cal->isVisible());
    QCOMPARE(cal->selectedDate(), QDate(2027, 1, 10));
    clickDay(cal, 20);
    QVERIFY(!cal->isVisible());
    QVERIFY(!TWarekiDateEdit::isCalendarOpen());
    QCOMPARE(h.edit->Date(), QDate(2027, 1, 20));
    QCOMPARE(h.shown(), u"09/01/20"_s);
    QCOMPARE(spy.count(), 1);

    // An arrow key steps the edit's own date and closes the calendar with it.
    QTest::mouseClick(h.edit->dropDownButton(), Qt::LeftButton);
    cal->setSelectedDate(QDate(2027, 1, 5));
    h.edit->dateText()->selectPart(Part::Day);
    QTest::keyClick(h.edit->dateText(), Qt::Key_Down);
    QVERIFY(!cal->isVisible());
    QCOMPARE(h.edit->Date(), QDate(2027, 1, 19));

    // Any other key takes the calendar's date first, then acts on it.
    QTest::mouseClick(h.edit->dropDownButton(), Qt::LeftButton);
    cal->setSelectedDate(QDate(2027, 3, 5));
    h.edit->dateText()->selectPart(Part::Day);
    QTest::keyClick(h.edit->dateText(), Qt::Key_2);
    QVERIFY(!cal->isVisible());
    QCOMPARE(h.edit->Date(), QDate(2027, 3, 2));

    QTest::mouseClick(h.edit->dropDownButton(), Qt::LeftButton);
    cal->setSelectedDate(QDate(2027, 1, 5));
    QTest::mouseClick(h.edit->dropDownButton(), Qt::LeftButton);
    QVERIFY(!cal->isVisible());
    QCOMPARE(h.edit->Date(), QDate(2027, 1, 5));
}

void TestTWarekiDateEdit::calendarOneOpenAtATime()
{
    Host h;
    auto *second = new TWarekiDateEdit(&h.window);
    h.window.layout()->addWidget(second);
    h.edit->setDate(QDate(2026, 1, 1));
    h.edit->toggleCalendar();
    h.edit->calendar()->setSelectedDate(QDate(2026, 1, 9));
    second->toggleCalendar();
    QVERIFY(!h.edit->calendar()->isVisible());
    QVERIFY(second->calendar()->isVisible());
    QCOMPARE(h.edit->Date(), QDate(2026, 1, 9));
    // Leaving the date text closes it.
    h.other->setFocus();
    QVERIFY(!second->calendar()->isVisible());
    QVERIFY(!TWarekiDateEdit::isCalendarOpen());
}

void TestTWarekiDateEdit::addEra()
{
    Host h;
    // Without a message service an earlier start is refused silently.
    QVERIFY(!h.edit->AddEra(u"光文"_s, u"2019/05/01"_s));
    FakeMessageService messages;
    h.edit->setMessages(&messages);
    QVERIFY(!h.edit->AddEra(u"光文"_s, u"2019/05/01"_s));
    QVERIFY(!h.edit->AddEra(u"過去"_s, u"2000/01/01"_s));
    const FakeMessageService::Call warning{FakeMessageService::Box::Warning,
                                           u"登録済みの年号より以前の日付は設定できません"_s};
    QCOMPARE(messages.calls, QList<FakeMessageService::Call>(2, warning));
    h.edit->setMessages(nullptr);
    QCOMPARE(h.edit->eras().count(), 5);
    QVERIFY(h.edit->AddEra(u"新元号"_s, u"2100/01/01"_s));
    QCOMPARE(h.edit->eras().eras().last().name, u"新元"_s); // four bytes
    QCOMPARE(h.edit->eraSpinner()->maximum(), 5);
    h.edit->setDate(QDate(2100, 2, 3));
    QCOMPARE(h.era(), u"新元"_s);
    QCOMPARE(h.shown(), u"01/02/03"_s);
}

void TestTWarekiDateEdit::deletedWhileFocusedWithCalendarOpen()
{
    Host h;
    h.edit->toggleCalendar();
    QVERIFY(h.edit->dateText()->hasFocus());
    delete h.edit;
    QVERIFY(!TWarekiDateEdit::isCalendarOpen());
    h.other->setFocus();
    QVERIFY(h.other->hasFocus());
}

QTEST_MAIN(TestTWarekiDateEdit)
#include "tst_twarekidateedit.moc"
