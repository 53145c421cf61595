#include "controls/widgets/TFloatEdit.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

// A tax-rate edit (2 decimals, 0 to 99.99) and a plain edit for the focus to go to.
class Host {
public:
    Host()
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(edit);
        layout->addWidget(other);
        edit->setDigits(2);
        edit->setMax(99.99);
        edit->setValue(10);
        window.show();
        QApplication::setActiveWindow(&window);
        other->setFocus();
    }
    // Focuses the edit and selects its text, as tabbing into it does.
    void enter()
    {
        edit->setFocus(Qt::TabFocusReason);
        edit->selectAll();
    }
    QWidget window;
    TFloatEdit *edit = new TFloatEdit(&window);
    QLineEdit *other = new QLineEdit(&window);
};

class TestTFloatEdit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writesAreClampedAndFormatted_data();
    void writesAreClampedAndFormatted();
    void refusedKeys_data();
    void refusedKeys();
    void escRestoresEntryValue();
    void leavingRefusesBadText_data();
    void leavingRefusesBadText();
};

void TestTFloatEdit::writesAreClampedAndFormatted_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("digits");
    QTest::addColumn<double>("max");
    QTest::addColumn<bool>("grouping");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("read");
    QTest::newRow("tax rate") << 8.0 << 2 << 99.99 << false << u"8.00"_s << 8.0;
    QTest::newRow("above max") << 120.0 << 2 << 99.99 << false << u"99.99"_s << 99.99;
    QTest::newRow("below min") << -3.0 << 2 << 99.99 << false << u"0.00"_s << 0.0;
    QTest::newRow("grouped mileage") << 123456.0 << 0 << 1000000.0 << true << u"123,456"_s << 123456.0;
}

void TestTFloatEdit::writesAreClampedAndFormatted()
{
    QFETCH(double, value);
    QFETCH(int, digits);
    QFETCH(double, max);
    QFETCH(bool, grouping);
    QFETCH(QString, text);
    QFETCH(double, read);
    Host h;
    h.edit->setDigits(digits);
    h.edit->setMax(max);
    h.edit->setSupportsThousandSeparator(grouping);
    QSignalSpy spy(h.edit, &TFloatEdit::OnChange);
    h.edit->setValue(value);
    QCOMPARE(h.edit->text(), text);
    QCOMPARE(h.edit->Value(), read);
    QCOMPARE(spy.count(), 1); // a write is reported like typing
}

void TestTFloatEdit::refusedKeys_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("text");
    QTest::newRow("accepted") << u"12.5"_s << u"12.5"_s;
    QTest::newRow("above max") << u"123"_s << u"12"_s;
    QTest::newRow("third decimal") << u"1.234"_s << u"1.23"_s;
    QTest::newRow("exponent") << u"1e2"_s << u"12"_s;
    QTest::newRow("minus with min 0") << u"-5"_s << u"5"_s;
    QTest::newRow("letters") << u"a8b"_s << u"8"_s;
}

void TestTFloatEdit::refusedKeys()
{
    QFETCH(QString, keys);
    QFETCH(QString, text);
    Host h;
    h.enter();
    QTest::keyClicks(h.edit, keys);
    QCOMPARE(h.edit->text(), text);
}

void TestTFloatEdit::escRestoresEntryValue()
{
    Host h;
    h.enter();
    QTest::keyClicks(h.edit, u"55"_s);
    QCOMPARE(h.edit->Value(), 55.0);
    QTest::keyClick(h.edit, Qt::Key_Escape);
    QCOMPARE(h.edit->text(), u"10.00"_s);
    QCOMPARE(h.edit->selectedText(), u"10.00"_s);
}

void TestTFloatEdit::leavingRefusesBadText_data()
{
    QTest::addColumn<double>("min");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("text");
    QTest::newRow("number reformatted") << 0.0 << u"5"_s << u"5.00"_s;
    QTest::newRow("empty") << 0.0 << QString() << u"10.00"_s;
    QTest::newRow("lone point") << 0.0 << u"."_s << u"10.00"_s;
    QTest::newRow("below min") << 1.0 << u"0.5"_s << u"10.00"_s;
}

void TestTFloatEdit::leavingRefusesBadText()
{
    QFETCH(double, min);
    QFETCH(QString, keys);
    QFETCH(QString, text);
    Host h;
    h.edit->setMin(min);
    h.enter();
    QTest::keyClick(h.edit, Qt::Key_Delete);
    QTest::keyClicks(h.edit, keys);
    h.other->setFocus();
    QCOMPARE(h.edit->text(), text);
}

QTEST_MAIN(TestTFloatEdit)
#include "tst_tfloatedit.moc"
