#include "support/FakeMessageService.h"
#include "support/TestAppFolder.h"

#include "controls/widgets/TWarekiDateEdit.h"
#include "controls/widgets/WarekiDateParts.h"
#include "lines/widgets/SlipGridView.h"
#include "lines/widgets/TSlipGridFrame.h"
#include "platform/IniFile.h"
#include "platform/TextList.h"
#include "slip/SlipChecks.h"
#include "slip/SlipFile.h"
#include "slip/widgets/SlipSection.h"
#include "slip/widgets/TSlipFrame.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

using namespace Qt::StringLiterals;

namespace {

SlipData readFile(const QString &path, const LineCategoryList &categories)
{
    SlipData s = SlipData::newSlip(QDate(2026, 12, 10));
    SlipFile::read(IniFile(path), s, sstAll, {categories, QDate(2026, 12, 10)});
    return s;
}

// The named controls along the tab order, from the frame round to itself.
QStringList tabOrder(QWidget &frame)
{
    QStringList names;
    for (QWidget *w = frame.nextInFocusChain(); w && w != &frame; w = w->nextInFocusChain()) {
        if (w->focusPolicy() != Qt::NoFocus && !w->objectName().isEmpty())
            names << w->objectName();
    }
    return names;
}

template <typename T> T *child(const QWidget &w, const char *name)
{
    T *c = w.findChild<T *>(QString::fromLatin1(name));
    if (!c)
        qFatal("no child %s", name);
    return c;
}

} // namespace

class TestSlipFrame : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void loadAndSaveKeepEveryField();
    void altDigitTogglesItsSection();
    void closingChecksTheSection();
    void closeAllChecksOnlyOpenSections();
    void openAndCloseAllKeepTyping();
    void slipKindOutsideTheListSelectsNone();
    void greetingFollowsTheKindWhenThereIsOne();
    void slipNumberWraps();
    void partialLoadOpensItsSections();
    void dateEditsWarnThroughTheMessageService();
    void blankVehicleDatesRoundTrip();
    void wheelOverTheGridScrollsTheGrid();
    void bodiesBuiltAfterTheFirstPaintMatchBodiesBuiltAtOnce();
    void slipSetBeforeTheBodiesIsShownInThem();
    void lowerSectionsWaitUnlessTheFirstScreenShowsThem_data();
    void lowerSectionsWaitUnlessTheFirstScreenShowsThem();
    void firstInputBuildsTheRestAndCounts();
};

void TestSlipFrame::loadAndSaveKeepEveryField()
{
    TestAppFolder app;
    FakeMessageService messages;
    TSlipFrame frame(app.path(), messages);
    const QString sample = QStringLiteral(TORVANE_SAMPLES "/estimate-with-vehicle.tvx");
    frame.LoadSlip(IniFile(sample), sstAll);
    QVERIFY(!frame.isModified());

    const QString copy = app.filePath(u"copy.tvx"_s);
    IniFile out(copy);
    QString error;
    QVERIFY2(frame.SaveSlip(out, sstAll, true, &error), qPrintable(error));
    QCOMPARE(readFile(copy, frame.categories()), readFile(sample, frame.categories()));
    QCOMPARE(child<QLineEdit>(frame, "CuNameEdit")->text(), u"山田 太郎"_s);
    QCOMPARE(child<TWarekiDateEdit>(frame, "CheckWDateEdit")->Date(), QDate(2027, 4, 30));
}

void TestSlipFrame::altDigitTogglesItsSection()
{
    TestAppFolder app;
    FakeMessageService messages;
    TSlipFrame frame(app.path(), messages);
    frame.setNotify(true);
    frame.show();
    frame.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    QVERIFY(!frame.section(1)->isOpen());
    // The accelerator clicks the button with a short animation.
    QTest::keyClick(&frame, Qt::Key_1, Qt::AltModifier);
    QTRY_VERIFY(frame.section(1)->isOpen());
    QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(frame, "CuNameEdit"));
    QTest::keyClick(&frame, Qt::Key_1, Qt::AltModifier);
    QTRY_VERIFY(!frame.section(1)->isOpen());
    QCOMPARE(frame.section(1)->statusText(), u"顧客名が未設定です"_s);
}

void TestSlipFrame::closingChecksTheSection()
{
    TestAppFolder app;
    FakeMessageService messages;
    TSlipFrame frame(app.path(), messages);
    frame.setNotify(true);
    SlipSection *customer = frame.section(1);
    QTest::mouseClick(customer->button(), Qt::LeftButton);
    QVERIFY(customer->isOpen());
    QTest::mouseClick(customer->button(), Qt::LeftButton);
    QCOMPARE(customer->statusText(), u"顧客名が未設定です"_s);
    QCOMPARE(customer->statusColor(), SlipChecks::Red);

    frame.setModified(false);
    QTest::mouseClick(customer->button(), Qt::LeftButton);
    for (const auto &[name, text] : {std::pair{"CuNameEdit", "山田"},
                                     {"Zip1Edit", "460"},
                                     {"Zip2Edit", "0008"},
                                     {"Add1Edit", "名古屋市中区"},
                                     {"TelEdit", "052-000-0000"}}) {
        QLineEdit *e = child<QLineEdit>(frame, name);
        e->setFocus();
        e->insert(QString::fromUtf8(text)); // typed text, as an input method commits it
    }
    child<QComboBox>(frame, "CityComBox")->setCurrentIndex(22);
    frame.setModified(false);
    QTest::mouseClick(customer->button(), Qt::LeftButton);
    QCOMPARE(customer->statusText(), u"設定完了"_s);
    QCOMPARE(customer->statusColor(), SlipChecks::Blue);
    QVERIFY(frame.isModified()); // a new status marks the slip
}

void TestSlipFrame::closeAllChecksOnlyOpenSections()
{
    TestAppFolder app;
    FakeMessageService messages;
    TSlipFrame frame(app.path(), messages);
    frame.setNotify(true);
    frame.openSection(1);
    frame.openSection(6);
    frame.CloseAll();
    for (int n = 1; n <= TSlipFrame::SectionCount; ++n)
        QVERIFY(!frame.section(n)->isOpen());
    QCOMPARE(frame.section(1)->statusText(), u"顧客名が未設定です"_s);
    QCOMPARE(frame.section(6)->statusText(), u"入金額が未設定です"_s);
    QCOMPARE(frame.section(2)->statusText(), u"未設定"_s);
    QCOMPARE(frame.section(7)->statusText(), u"未設定"_s);
    QVERIFY(frame.notify());

    frame.OpenAll();
    for (int n = 1; n <= TSlipFrame::SectionCount; ++n)
        QVERIFY(frame.section(n)->isOpen());
}

// Opening or closing all sections moves the focus out of the grid while
// changes are not reported; a value typed just before still counts.
void TestSlipFrame::openAndCloseAllKeepTyping()
{
    for (const bool close : {false, true}) {
        TestAppFolder app;
        FakeMessageService messages;
        TSlipFrame frame(app.path(), messages);
        frame.LoadSlip(IniFile(QStringLiteral(TORVANE_SAMPLES "/estimate-with-vehicle.tvx")), sstAll);
        frame.setNotify(true);
        frame.show();
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        frame.openSection(4); // 明細
        TSlipGridFrame *grid = frame.grid();
        QWidget *description = grid->editor(2);
        QTest::mouseClick(grid->grid()->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(grid->grid()->columnLeft(2) + 4, grid->grid()->rowTop(1) + 8));
        QCOMPARE(QApplication::focusWidget(), description);
        QTest::keyClick(description, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(description, u"Wiper blade"_s);
        if (close)
            frame.CloseAll();
        else
            frame.OpenAll();
        QCOMPARE(grid->rows().at(0).TextA, u"Wiper blade"_s);
        QVERIFY(frame.isModified());
    }
}

void TestSlipFrame::slipKindOutsideTheListSelectsNone()
{
    TestAppFolder app;
    FakeMessageService messages;
    TSlipFrame frame(app.path(), messages);
    SlipData s = frame.data();
    s.slipDiv = 5;
    frame.setData(s);
    QCOMPARE(child<QComboBox>(frame, "DDvComBox")->currentIndex(), -1);
    s.slipDiv = 2;
    frame.setData(s);
    QCOMPARE(child<QComboBox>(frame, "DDvComBox")->currentText(), u"納品書"_s);
}

void TestSlipFrame::greetingFollowsTheKindWhenThereIsOne()
{
    TestAppFolder app;
    QVERIFY(TextList::write(app.filePath(u"Dat/Mst/MemoOpt.Dat"_s), {u"お見積りです,作業をお願いします"_s}));
    FakeMessageService messages;
    TSlipFrame frame(app.path(), messages);
    frame.setNotify(true);
    auto *info = child<QLineEdit>(frame, "InfoEdit");
    QCOMPARE(info->text(), u"お見積りです"_s);
    auto *kind = child<QComboBox>(frame, "DDvComBox");
    kind->setCurrentIndex(1);
    Q_EMIT kind->activated(1);
    QCOMPARE(info->text(), u"作業をお願いします"_s);
    QVERIFY(frame.isModified());
    kind->setCurrentIndex(2);
    Q_EMIT kind->activated(2); // no greeting for 納品書: the greeting stays
    QCOMPARE(info->text(), u"作業をお願いします"_s);
}

void TestSlipFrame::slipNumberWraps()
{
    TestAppFolder app;
    FakeMessageService messages;
    TSlipFrame frame(app.path(), messages);
    auto *code = child<QLineEdit>(frame, "SlipCodeEdit");
    code->setText(u"00000000"_s);
    QTest::keyClick(code, Qt::Key_Down);
    QCOMPARE(code->text(), u"99999999"_s);
    QTest::mouseClick(child<QToolButton>(frame, "SpinButton1Up"), Qt::LeftButton);
    QCOMPARE(code->text(), u"00000000"_s);
    QTest::keyClick(code, Qt::Key_Up);
    QCOMPARE(code->text(), u"00000001"_s);
}

void TestSlipFrame::partialLoadOpensItsSections()
{
    TestAppFolder app;
    FakeMessageService messages;
    TSlipFrame frame(app.path(), messages);
    frame.setNotify(true);
    frame.markModified();
    const QString tmpl = app.filePath(u"t.tvt"_s);
    IniFile ini(tmpl);
    SlipData customer = SlipData::newSlip(QDate(2026, 12, 10));
    customer.custName = u"佐藤 花子"_s;
    QVERIFY(SlipFile::save(ini, customer, sstCustomer, {frame.categories(), QDate(2026, 12, 10)}, nullptr));

    frame.setNotify(false);
    frame.LoadSlip(IniFile(tmpl), sstCustomer);
    frame.setNotify(true);
    QCOMPARE(child<QLineEdit>(frame, "CuNameEdit")->text(), u"佐藤 花子"_s);
    QVERIFY(frame.section(1)->isOpen());
    QVERIFY(!frame.section(3)->isOpen());
    QVERIFY(frame.isModified()); // a partial load keeps the modified state
}

void TestSlipFrame::dateEditsWarnThroughTheMessageService()
{
    TestAppFolder app;
    FakeMessageService messages;
    TSlipFrame frame(app.path(), messages);
    for (const char *name : {"DateWDateEdit", "FirstWDateEdit", "CheckWDateEdit"})
        QVERIFY(!child<TWarekiDateEdit>(frame, name)->AddEra(u"光文"_s, u"2019/05/01"_s));
    const FakeMessageService::Call warning{FakeMessageService::Box::Warning,
                                           u"登録済みの年号より以前の日付は設定できません"_s};
    QCOMPARE(messages.calls, QList<FakeMessageService::Call>(3, warning));
}

// A new slip's vehicle dates are blank on screen, stored as the no-date value
// and come back blank; typing a date ends the blank, erasing it makes it
// blank again.
void TestSlipFrame::blankVehicleDatesRoundTrip()
{
    TestAppFolder app;
    FakeMessageService messages;
    TSlipFrame frame(app.path(), messages);
    frame.startNewSlip(u"00000001"_s, 10 * 10000, 1, 0, QDate(2026, 12, 10));
    auto *first = child<TWarekiDateEdit>(frame, "FirstWDateEdit");
    auto *check = child<TWarekiDateEdit>(frame, "CheckWDateEdit");
    QVERIFY(first->isBlank());
    QVERIFY(check->isBlank());
    QVERIFY(!check->dateText()->displayText().contains(u"12"_s));
    QCOMPARE(frame.data().first, SlipData::dayZero());
    QCOMPARE(frame.data().check, SlipData::dayZero());
    QCOMPARE(SlipChecks::status(3, frame.data()), u"登録番号が未設定です"_s);

    const QString file = app.filePath(u"new.tvx"_s);
    IniFile out(file);
    QVERIFY(frame.SaveSlip(out, sstAll, true, nullptr));
    QCOMPARE(IniFile(file).readString(u"Car"_s, u"Check"_s), u"1899/12/30"_s);
    QCOMPARE(IniFile(file).readString(u"Print"_s, u"CarCheck"_s), u"1899/12/30"_s);
    frame.LoadSlip(IniFile(file), sstAll);
    QVERIFY(first->isBlank());
    QVERIFY(check->isBlank());

    // Typing into the blank edit enters a date in the current era.
    frame.show();
    frame.openSection(3);
    check->dateText()->setFocus();
    check->dateText()->setCursorPosition(0);
    QTest::keyClicks(check->dateText(), u"090430"_s);
    QVERIFY(!check->isBlank());
    QCOMPARE(frame.data().check, QDate(2027, 4, 30));
    check->dateText()->selectAll();
    QTest::keyClick(check->dateText(), Qt::Key_Delete);
    QVERIFY(check->isBlank());
    QCOMPARE(frame.data().check, SlipData::dayZero());
}

// The wheel over the line-item grid scrolls the grid alone; once the grid
// shows its last rows, further turns scroll the page.
void TestSlipFrame::wheelOverTheGridScrollsTheGrid()
{
    TestAppFolder app;
    FakeMessageService messages;
    TSlipFrame frame(app.path(), messages);
    SlipData s = SlipData::newSlip(QDate(2026, 12, 10));
    for (int i = 0; i < 30; ++i) {
        TRowData row;
        row.LineDiv = u"部品"_s;
        row.TextA = u"部品 %1"_s.arg(i);
        s.rows.append(row);
    }
    frame.setData(s);
    frame.resize(900, 500);
    frame.show();
    frame.openSection(4);
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    SlipGridView *grid = frame.grid()->grid();
    QScrollBar *page = frame.findChild<QScrollArea *>()->verticalScrollBar();
    QVERIFY(page->maximum() > 0);
    page->setValue(page->maximum() / 2);
    const int pageAt = page->value();
    // Turns the wheel over the middle of the grid, delivered to receiver: the
    // grid itself, or the page when a turn reaches the page first (a scroll
    // sequence that began over another part of the page).
    auto turn = [&](QWidget *receiver, int delta) {
        const QPoint global = grid->viewport()->mapToGlobal(grid->viewport()->rect().center());
        const QPoint at = receiver->mapFromGlobal(global);
        QWheelEvent wheel(at, global, {}, QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(receiver, &wheel);
        return wheel.isAccepted();
    };
    QWidget *pageView = frame.findChild<QScrollArea *>()->viewport();
    const int top = grid->topRow();
    QVERIFY(turn(grid->viewport(), -120));
    QVERIFY(grid->topRow() > top);
    QCOMPARE(page->value(), pageAt);
    QVERIFY(turn(pageView, 120));
    QCOMPARE(grid->topRow(), top);
    QCOMPARE(page->value(), pageAt);

    // At the grid's last rows the grid leaves the turn, and the page takes it.
    grid->setTopRow(grid->verticalScrollBar()->maximum() + 1);
    QVERIFY(!turn(grid->viewport(), -120));
    QVERIFY(turn(pageView, -120));
    QVERIFY(page->value() > pageAt);
}

void TestSlipFrame::bodiesBuiltAfterTheFirstPaintMatchBodiesBuiltAtOnce()
{
    TestAppFolder app;
    FakeMessageService messages;
    TSlipFrame now(app.path(), messages);
    TSlipFrame later(app.path(), messages, nullptr, TSlipFrame::Bodies::AfterFirstPaint);
    QVERIFY(!later.bodiesBuilt());
    QVERIFY(!later.findChild<QLineEdit *>(u"CuNameEdit"_s));
    for (TSlipFrame *f : {&now, &later}) {
        f->setDateDisplay(false);
        f->setWorkNames({u"点検"_s});
        f->setNotify(false);
        f->startNewSlip(u"00000042"_s, 10 * 10000, 2, 1, QDate(2026, 12, 10));
        f->setNotify(true);
    }
    // A new slip shows every section closed: nothing needs the bodies yet.
    QVERIFY(!later.bodiesBuilt());
    QCOMPARE(child<QLineEdit>(later, "SlipCodeEdit")->text(), u"00000042"_s);

    later.show();
    QVERIFY(QTest::qWaitForWindowExposed(&later));
    QTRY_VERIFY(later.bodiesBuilt());
    QVERIFY(!later.isModified());
    QCOMPARE(later.data(), now.data());
    QCOMPARE(tabOrder(later), tabOrder(now));
    const QStringList order = tabOrder(now);
    QVERIFY(order.indexOf(u"IdxSpButton7"_s) < order.indexOf(u"CuNameEdit"_s));
    QVERIFY(order.indexOf(u"CuNameEdit"_s) < order.indexOf(u"CarCheckBox"_s));
    QCOMPARE(child<TWarekiDateEdit>(later, "FirstWDateEdit")->DateType(), TWarekiDateEdit::dtSeireki);

    // Typing into a body now reaches the slip.
    later.openSection(1);
    QTest::keyClicks(child<QLineEdit>(later, "CuNameEdit"), u"Sato"_s);
    QVERIFY(later.isModified());
    QCOMPARE(later.data().custName, u"Sato"_s);
}

void TestSlipFrame::slipSetBeforeTheBodiesIsShownInThem()
{
    TestAppFolder app;
    FakeMessageService messages;
    TSlipFrame now(app.path(), messages);
    SlipData closed =
        readFile(QStringLiteral(TORVANE_SAMPLES "/estimate-with-vehicle.tvx"), now.categories());
    for (SlipData::Section &s : closed.sections)
        s.open = false;

    TSlipFrame later(app.path(), messages, nullptr, TSlipFrame::Bodies::AfterFirstPaint);
    now.setData(closed);
    later.setData(closed);
    QVERIFY(!later.bodiesBuilt());
    // Asking for the slip builds the bodies, with the slip in them.
    QCOMPARE(later.data(), now.data());
    QVERIFY(later.bodiesBuilt());
    QCOMPARE(child<QLineEdit>(later, "CuNameEdit")->text(), u"山田 太郎"_s);

    // A slip with an open section needs its body on the first paint.
    TSlipFrame open(app.path(), messages, nullptr, TSlipFrame::Bodies::AfterFirstPaint);
    SlipData one = closed;
    one.sections[2].open = true;
    open.setData(one);
    QVERIFY(open.upperBodiesBuilt());
    QVERIFY(open.section(3)->isOpen());
    QCOMPARE(child<QLineEdit>(open, "CaNameEdit")->text(), u"トヨタ プリウス"_s);
}

void TestSlipFrame::lowerSectionsWaitUnlessTheFirstScreenShowsThem_data()
{
    QTest::addColumn<QList<int>>("open");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("builtBeforeShown");
    // Sections 1 to 4 open fill the first screen: 5 to 7 come after it.
    QTest::newRow("below the first screen") << QList<int>{1, 2, 3, 4, 5, 6, 7} << 400 << false;
    QTest::newRow("on the first screen") << QList<int>{5, 7} << 700 << true;
}

void TestSlipFrame::lowerSectionsWaitUnlessTheFirstScreenShowsThem()
{
    QFETCH(QList<int>, open);
    QFETCH(int, height);
    QFETCH(bool, builtBeforeShown);
    TestAppFolder app;
    FakeMessageService messages;
    TSlipFrame now(app.path(), messages);
    SlipData slip = readFile(QStringLiteral(TORVANE_SAMPLES "/estimate-with-vehicle.tvx"), now.categories());
    for (int n = 1; n <= TSlipFrame::SectionCount; ++n)
        slip.sections[size_t(n - 1)].open = open.contains(n);
    now.setData(slip);

    TSlipFrame later(app.path(), messages, nullptr, TSlipFrame::Bodies::AfterFirstPaint);
    later.resize(900, height);
    later.setNotify(false);
    later.setData(slip);
    later.setNotify(true);
    QCOMPARE(later.upperBodiesBuilt(), open.contains(1));
    QVERIFY(!later.bodiesBuilt());

    later.show();
    QCOMPARE(later.bodiesBuilt(), builtBeforeShown);
    if (builtBeforeShown) // shown with the window, not one event later
        QVERIFY(child<QWidget>(later, "NoteMemo")->isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(&later));
    QTRY_VERIFY(later.bodiesBuilt());
    QVERIFY(!later.isModified());
    QCOMPARE(later.data(), now.data());
    QCOMPARE(tabOrder(later), tabOrder(now));
}

void TestSlipFrame::firstInputBuildsTheRestAndCounts()
{
    TestAppFolder app;
    FakeMessageService messages;
    TSlipFrame frame(app.path(), messages, nullptr, TSlipFrame::Bodies::AfterFirstPaint);
    SlipData slip =
        readFile(QStringLiteral(TORVANE_SAMPLES "/estimate-with-vehicle.tvx"), frame.categories());
    frame.setNotify(false);
    frame.setData(slip);
    frame.setNotify(true);
    QVERIFY(frame.upperBodiesBuilt());
    QVERIFY(!frame.bodiesBuilt());

    // Typed before the rest is built: the change is tracked all the same.
    QSignalSpy changed(&frame, &TSlipFrame::changed);
    QTest::keyClicks(child<QLineEdit>(frame, "CuNameEdit"), u"x"_s);
    QVERIFY(frame.bodiesBuilt());
    QVERIFY(frame.isModified());
    QVERIFY(!changed.isEmpty());
    QCOMPARE(frame.data().custName, u"山田 太郎x"_s);
    QCOMPARE(frame.data().costRows, slip.costRows);
}

QTEST_MAIN(TestSlipFrame)
#include "tst_tslipframe.moc"
