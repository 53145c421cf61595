#include "controls/widgets/ControlBeep.h"
#include "controls/widgets/TSaNumEdit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

// Two edits in a window, the first focused, beeps counted.
class Host {
public:
    Host()
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(edit);
        layout->addWidget(other);
        window.show();
        QApplication::setActiveWindow(&window);
        ControlBeep::setHandler([this] { ++beeps; });
        edit->setFocus();
    }
    ~Host() { ControlBeep::setHandler({}); }
    QWidget window;
    TSaNumEdit *edit = new TSaNumEdit(&window);
    QLineEdit *other = new QLineEdit(&window);
    int beeps = 0;
};

class TestTSaNumEdit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void typing_data();
    void typing();
    void typingReplacesFullSelection();
    void inputStopsAtTheEdge();
    void loneMinusOnLeaving_data();
    void loneMinusOnLeaving();
    void paste_data();
    void paste();
    void decimalFixedShowsZerosWhileTextStaysEmpty();
    void copy_data();
    void copy();
    void editKeysWinOverWindowShortcuts();
    void undoSwaps();
    void inputMethodFullWidth();
    void propertyWritesAreCleanedSilently();
    void readOnly();
    void focusMoves();
    void mouseSelection();
    void contextMenu();
};

void TestTSaNumEdit::typing_data()
{
    QTest::addColumn<QString>("keys"); // \b is Backspace
    QTest::addColumn<int>("integerLength");
    QTest::addColumn<int>("decimalLength");
    QTest::addColumn<bool>("minus");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("beeps");
    QTest::addColumn<int>("changes");
    QTest::newRow("integer limit") << u"1234"_s << 3 << 2 << true << u"123"_s << 1 << 3;
    QTest::newRow("decimal limit") << u"123.456"_s << 3 << 2 << true << u"123.45"_s << 1 << 6;
    QTest::newRow("leading zeros") << u"007"_s << 9 << 3 << true << u"7"_s << 0 << 3;
    QTest::newRow("point first") << u"."_s << 9 << 3 << true << u"0."_s << 0 << 1;
    QTest::newRow("minus twice") << u"--"_s << 9 << 3 << true << QString() << 0 << 2;
    QTest::newRow("minus toggles at the end") << u"12-"_s << 9 << 3 << true << u"-12"_s << 0 << 3;
    QTest::newRow("minus refused") << u"-5"_s << 9 << 3 << false << u"5"_s << 1 << 1;
    QTest::newRow("point refused") << u"1.5"_s << 9 << 0 << true << u"15"_s << 1 << 2;
    QTest::newRow("letter refused") << u"1a2"_s << 9 << 3 << true << u"12"_s << 1 << 2;
    QTest::newRow("backspace takes the point") << u"12.5\b"_s << 9 << 3 << true << u"12"_s << 0 << 5;
    QTest::newRow("backspace leaves lone minus") << u"-5\b"_s << 9 << 3 << true << u"-"_s << 0 << 3;
    QTest::newRow("backspace on empty") << u"\b"_s << 9 << 3 << true << QString() << 0 << 0;
}

void TestTSaNumEdit::typing()
{
    QFETCH(QString, keys);
    QFETCH(int, integerLength);
    QFETCH(int, decimalLength);
    QFETCH(bool, minus);
    QFETCH(QString, text);
    QFETCH(int, beeps);
    QFETCH(int, changes);
    Host h;
    h.edit->setIntegerLength(integerLength);
    h.edit->setDecimalLength(decimalLength);
    h.edit->setMinus(minus);
    QSignalSpy spy(h.edit, &TSaNumEdit::OnChange);
    QTest::keyClicks(h.edit, keys);
    QCOMPARE(h.edit->Text(), text);
    QCOMPARE(h.beeps, beeps);
    QCOMPARE(spy.count(), changes);
}

void TestTSaNumEdit::typingReplacesFullSelection()
{
    Host h;
    h.edit->setDecimalLength(0);
    h.edit->setText(u"123"_s);
    QTest::keyClick(h.edit, Qt::Key_A, Qt::ControlModifier);
    QVERIFY(h.edit->isAllSelected());
    // A refused key keeps both the value and the selection.
    QTest::keyClick(h.edit, Qt::Key_Period);
    QCOMPARE(h.edit->Text(), u"123"_s);
    QVERIFY(h.edit->isAllSelected());
    QCOMPARE(h.beeps, 1);
    QTest::keyClick(h.edit, Qt::Key_4);
    QCOMPARE(h.edit->Text(), u"4"_s);
    QVERIFY(!h.edit->isAllSelected());
    // Backspace on a full selection clears.
    QTest::keyClick(h.edit, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(h.edit, Qt::Key_Backspace);
    QCOMPARE(h.edit->Text(), QString());
}

void TestTSaNumEdit::inputStopsAtTheEdge()
{
    Host h;
    h.edit->setFixedWidth(60);
    h.edit->setOptions(h.edit->Options() | TSaNumEdit::eoORInputStop);
    QTest::keyClicks(h.edit, u"123456789"_s);
    const QString kept = h.edit->Text();
    QVERIFY(kept.size() > 1 && kept.size() < 9);
    QCOMPARE(kept, u"123456789"_s.left(kept.size()));
    QCOMPARE(h.beeps, 9 - kept.size());
    const int room = h.edit->width() - 4 - 2 * 2;
    QVERIFY(QFontMetrics(h.edit->font()).horizontalAdvance(h.edit->displayImage()) <= room);
}

void TestTSaNumEdit::loneMinusOnLeaving_data()
{
    QTest::addColumn<bool>("minusOnly");
    QTest::addColumn<QString>("text");
    QTest::newRow("cleared") << false << QString();
    QTest::newRow("kept with eoMinusOnly") << true << u"-"_s;
}

void TestTSaNumEdit::loneMinusOnLeaving()
{
    QFETCH(bool, minusOnly);
    QFETCH(QString, text);
    Host h;
    if (minusOnly)
        h.edit->setOptions(h.edit->Options() | TSaNumEdit::eoMinusOnly);
    QTest::keyClicks(h.edit, u"-5\b"_s);
    QCOMPARE(h.edit->Text(), u"-"_s);
    h.other->setFocus();
    QCOMPARE(h.edit->Text(), text);
}

void TestTSaNumEdit::paste_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("selectAll");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("text");
    QTest::newRow("grouping dropped") << QString() << false << u"1,234,567"_s << u"1234567"_s;
    QTest::newRow("too many digits") << QString() << false << u"12345678"_s << QString();
    QTest::newRow("full-width digits") << QString() << false << u"１２３"_s << u"123"_s;
    QTest::newRow("appended") << u"12"_s << false << u"34"_s << u"1234"_s;
    QTest::newRow("appending overflows") << u"1234"_s << false << u"5678"_s << QString();
    QTest::newRow("replaces a selection") << u"99"_s << true << u"5"_s << u"5"_s;
    QTest::newRow("cut at a letter") << QString() << false << u"42円"_s << u"42"_s;
}

void TestTSaNumEdit::paste()
{
    QFETCH(QString, before);
    QFETCH(bool, selectAll);
    QFETCH(QString, clipboard);
    QFETCH(QString, text);
    Host h;
    h.edit->setIntegerLength(7);
    h.edit->setDecimalLength(0);
    h.edit->setText(before);
    if (selectAll)
        h.edit->selectAll();
    else
        h.edit->deselect();
    QGuiApplication::clipboard()->setText(clipboard);
    QSignalSpy spy(h.edit, &TSaNumEdit::OnChange);
    QTest::keyClick(h.edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(h.edit->Text(), text);
    QCOMPARE(spy.count(), 1);
    QVERIFY(!h.edit->isAllSelected());
}

void TestTSaNumEdit::decimalFixedShowsZerosWhileTextStaysEmpty()
{
    Host h;
    h.edit->setDecimalLength(2);
    h.edit->setDecimalFixed(true);
    h.edit->setRightMark(u"％"_s);
    QCOMPARE(h.edit->Text(), QString());
    QCOMPARE(h.edit->displayImage(), u"0.00％"_s);
    QTest::keyClicks(h.edit, u"8.5"_s);
    QCOMPARE(h.edit->Text(), u"8.5"_s);
    QCOMPARE(h.edit->displayImage(), u"8.50％"_s);
    h.edit->setDecimalFixed(false);
    QCOMPARE(h.edit->displayImage(), u"8.5％"_s);
}

void TestTSaNumEdit::copy_data()
{
    QTest::addColumn<bool>("imageCopy");
    QTest::addColumn<QString>("copied");
    QTest::newRow("raw text") << false << u"1234567"_s;
    QTest::newRow("display image") << true << u"¥1,234,567"_s;
}

void TestTSaNumEdit::copy()
{
    QFETCH(bool, imageCopy);
    QFETCH(QString, copied);
    Host h;
    h.edit->setImageCopy(imageCopy);
    h.edit->setLeftMark(u"¥"_s);
    h.edit->setText(u"1234567"_s);
    QGuiApplication::clipboard()->setText(u"unchanged"_s);
    h.edit->deselect();
    QTest::keyClick(h.edit, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), u"unchanged"_s); // nothing selected, nothing copied
    QTest::keyClick(h.edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(h.edit, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), copied);
    QSignalSpy spy(h.edit, &TSaNumEdit::OnChange);
    QTest::keyClick(h.edit, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(h.edit->Text(), QString());
    QCOMPARE(spy.count(), 1);
}

void TestTSaNumEdit::editKeysWinOverWindowShortcuts()
{
    Host h;
    QAction rowPaste(&h.window);
    rowPaste.setShortcut(QKeySequence(u"Ctrl+V"_s));
    h.window.addAction(&rowPaste);
    QSignalSpy triggered(&rowPaste, &QAction::triggered);
    QGuiApplication::clipboard()->setText(u"77"_s);
    QTest::keyClick(h.edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(h.edit->Text(), u"77"_s);
    QCOMPARE(triggered.count(), 0);
}

void TestTSaNumEdit::undoSwaps()
{
    Host h;
    QVERIFY(!h.edit->isUndoAvailable());
    QTest::keyClicks(h.edit, u"12\b"_s);
    QCOMPARE(h.edit->Text(), u"1"_s);
    QSignalSpy spy(h.edit, &TSaNumEdit::OnChange);
    h.edit->undo();
    QCOMPARE(h.edit->Text(), u"12"_s);
    QVERIFY(h.edit->isAllSelected());
    h.edit->undo();
    QCOMPARE(h.edit->Text(), u"1"_s);
    QCOMPARE(spy.count(), 2);
}

void TestTSaNumEdit::inputMethodFullWidth()
{
    Host h;
    QSignalSpy spy(h.edit, &TSaNumEdit::OnChange);
    QInputMethodEvent digits;
    digits.setCommitString(u"１２．５"_s);
    QApplication::sendEvent(h.edit, &digits);
    QCOMPARE(h.edit->Text(), u"12.5"_s);
    QInputMethodEvent minus;
    minus.setCommitString(u"－"_s);
    QApplication::sendEvent(h.edit, &minus);
    QCOMPARE(h.edit->Text(), u"-12.5"_s);
    QInputMethodEvent kana;
    kana.setCommitString(u"あ"_s);
    QApplication::sendEvent(h.edit, &kana);
    QCOMPARE(h.edit->Text(), u"-12.5"_s);
    QCOMPARE(h.beeps, 1);
    QCOMPARE(spy.count(), 5);
}

void TestTSaNumEdit::propertyWritesAreCleanedSilently()
{
    Host h;
    QSignalSpy spy(h.edit, &TSaNumEdit::OnChange);
    h.edit->setText(u"-0012.3456"_s);
    QCOMPARE(h.edit->Text(), u"-12.345"_s);
    h.edit->setDecimalLength(1);
    QCOMPARE(h.edit->Text(), u"-12.3"_s);
    h.edit->setMinus(false);
    QCOMPARE(h.edit->Text(), QString());
    QCOMPARE(spy.count(), 0);
}

void TestTSaNumEdit::readOnly()
{
    Host h;
    h.edit->setText(u"5"_s);
    h.edit->setReadOnly(true);
    QTest::keyClicks(h.edit, u"7x\b"_s);
    QTest::keyClick(h.edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(h.edit, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(h.edit->Text(), u"5"_s);
    QCOMPARE(h.beeps, 0);
}

void TestTSaNumEdit::focusMoves()
{
    Host h;
    QTest::keyClick(h.edit, Qt::Key_Down);
    QVERIFY(h.edit->hasFocus()); // ArrowFocusMove is off by default
    h.edit->setArrowFocusMove(true);
    QTest::keyClick(h.edit, Qt::Key_Down);
    QVERIFY(h.other->hasFocus());
    h.edit->setFocus();
    h.edit->setEnterFocusMove(true);
    QTest::keyClick(h.edit, Qt::Key_Return);
    QVERIFY(h.other->hasFocus());
}

void TestTSaNumEdit::mouseSelection()
{
    Host h;
    h.edit->setText(u"42"_s);
    h.other->setFocus();
    QTest::mouseClick(h.edit, Qt::LeftButton);
    QVERIFY(h.edit->hasFocus());
    QVERIFY(!h.edit->isAllSelected());
    QTest::mouseDClick(h.edit, Qt::LeftButton);
    QVERIFY(h.edit->isAllSelected());
}

void TestTSaNumEdit::contextMenu()
{
    Host h;
    h.edit->setText(u"42"_s);
    h.edit->deselect();
    QGuiApplication::clipboard()->clear();
    auto enabled = [&](const QString &entry) {
        std::unique_ptr<QMenu> menu(h.edit->createStandardContextMenu());
        for (QAction *a : menu->actions())
            if (a->text() == entry)
                return a->isEnabled();
        qFatal("no such entry");
    };
    QVERIFY(!enabled(u"元に戻す(&U)"_s));
    QVERIFY(!enabled(u"コピー(&C)"_s));
    QVERIFY(!enabled(u"貼り付け(&P)"_s));
    QVERIFY(enabled(u"すべて選択(&A)"_s));
    h.edit->selectAll();
    QVERIFY(enabled(u"削除(&D)"_s));
    QVERIFY(!enabled(u"すべて選択(&A)"_s));

    std::unique_ptr<QMenu> menu(h.edit->createStandardContextMenu());
    QSignalSpy spy(h.edit, &TSaNumEdit::OnChange);
    for (QAction *a : menu->actions())
        if (a->text() == u"削除(&D)"_s)
            a->trigger();
    QCOMPARE(h.edit->Text(), QString());
    QCOMPARE(spy.count(), 1);
    QVERIFY(enabled(u"元に戻す(&U)"_s));
}

QTEST_MAIN(TestTSaNumEdit)
#include "tst_tsanumedit.moc"
