#include "support/FakeMessageService.h"
#include "support/TestAppFolder.h"
#include "support/ZipFixture.h"

#include "master/widgets/TZipSchForm.h"
#include "platform/AppFolder.h"
#include "platform/TextList.h"
#include "slip/widgets/TSlipFrame.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

class TestZipLookups : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lookupFillsTheCustomerAddress_data();
    void lookupFillsTheCustomerAddress();
    void cancelLeavesTheFields();
    void leavingTheCodeFillsTheAddress_data();
    void leavingTheCodeFillsTheAddress();
};

namespace {

// A slip header over an application folder whose only dictionary is the
// test sample plus a code with two towns.
struct Header {
    TestAppFolder app;
    FakeMessageService messages;
    std::unique_ptr<TSlipFrame> frame;
    Header()
    {
        const AppFolder folder(app.path());
        QStringList lines = ZipFixture::sample();
        lines << ZipFixture::line(u"4600008"_s, u"愛知県"_s, u"名古屋市中区"_s, u"栄"_s)
              << ZipFixture::line(u"0640941"_s, u"北海道"_s, u"札幌市中央区"_s, u"旭ケ丘"_s)
              << ZipFixture::line(u"0640941"_s, u"北海道"_s, u"札幌市中央区"_s, u"南六条西（２６丁目）"_s);
        ZipFixture::write(folder.zipFolder(), u"test.csv"_s, lines);
        TextList::write(folder.zipListFile(), {u"test.csv"_s});
        frame = std::make_unique<TSlipFrame>(app.path(), messages);
        frame->show();
        QApplication::setActiveWindow(frame.get());
        frame->openSection(1);
    }
    QLineEdit *edit(const char *name) const
    {
        return frame->findChild<QLineEdit *>(QString::fromLatin1(name));
    }
    QComboBox *city() const { return frame->findChild<QComboBox *>(u"CityComBox"_s); }
};

// Runs act on the search dialog once it has shown its first results.
void whenSearched(QObject *context, std::function<void(TZipSchForm *)> act, bool *seen)
{
    auto *poll = new QTimer(context);
    auto ticks = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, context, [poll, act, seen, ticks] {
        auto *form = qobject_cast<TZipSchForm *>(QApplication::activeModalWidget());
        if (++*ticks > 1000 && form) { // never searched: close it rather than hang
            poll->deleteLater();
            form->reject();
            return;
        }
        if (!form || form->isSearching() || !form->Label1->text().startsWith(u"検索終了"_s))
            return;
        poll->deleteLater();
        *seen = true;
        act(form);
    });
    poll->start(5);
}

} // namespace

void TestZipLookups::lookupFillsTheCustomerAddress_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("byKey");
    QTest::addColumn<QString>("zip1");
    QTest::addColumn<QString>("zip2");
    QTest::addColumn<QString>("address");
    QTest::newRow("code, button") << u"Zip1Edit"_s << false << u"100"_s << u"0005"_s << QString();
    QTest::newRow("code, Ctrl+Space in the first field")
        << u"Zip1Edit"_s << true << u"100"_s << u"0005"_s << QString();
    QTest::newRow("code, Ctrl+Space in the second field")
        << u"Zip2Edit"_s << true << u"１００"_s << u"０００５"_s << QString();
    QTest::newRow("address, button") << u"Add1Edit"_s << false << QString() << QString() << u"丸の内"_s;
    QTest::newRow("address, Ctrl+Space") << u"Add1Edit"_s << true << QString() << QString() << u"丸の内"_s;
}

void TestZipLookups::lookupFillsTheCustomerAddress()
{
    QFETCH(QString, field);
    QFETCH(bool, byKey);
    QFETCH(QString, zip1);
    QFETCH(QString, zip2);
    QFETCH(QString, address);
    Header h;
    h.edit("Zip1Edit")->setText(zip1);
    h.edit("Zip2Edit")->setText(zip2);
    h.edit("Add1Edit")->setText(address);
    h.frame->setNotify(true);
    h.frame->setModified(false);
    QString keyword;
    bool seen = false;
    whenSearched(
        this,
        [&](TZipSchForm *form) {
            keyword = form->Edit1->text();
            QTreeWidget *list = form->ListView1;
            list->topLevelItem(0)->setSelected(true); // 1000005 千代田区丸の内
            form->Button2->click();
        },
        &seen);
    QLineEdit *edit = h.frame->findChild<QLineEdit *>(field);
    const bool byCode = field != u"Add1Edit"_s;
    if (byKey) {
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Space, Qt::ControlModifier);
    } else {
        h.frame->findChild<QToolButton *>(byCode ? u"SpeedButton1"_s : u"SpeedButton2"_s)->click();
    }
    QVERIFY(seen);
    QCOMPARE(keyword, byCode ? zip1 + zip2 : address);
    QCOMPARE(h.edit("Zip1Edit")->text(), u"100"_s);
    QCOMPARE(h.edit("Zip2Edit")->text(), u"0005"_s);
    QCOMPARE(h.city()->currentText(), u"東京都"_s);
    QCOMPARE(h.edit("Add1Edit")->text(), u"千代田区丸の内"_s);
    QCOMPARE(h.frame->data().add1, u"千代田区丸の内"_s);
    QVERIFY(h.frame->isModified());
    QCOMPARE(h.frame->focusWidget(), byCode ? h.edit("Zip1Edit") : h.edit("Add1Edit"));
}

void TestZipLookups::cancelLeavesTheFields()
{
    Header h;
    h.edit("Add1Edit")->setText(u"丸の内"_s);
    bool seen = false;
    whenSearched(
        this,
        [](TZipSchForm *form) {
            form->ListView1->topLevelItem(0)->setSelected(true);
            form->Button1->click();
        },
        &seen);
    h.frame->findChild<QToolButton *>(u"SpeedButton2"_s)->click();
    QVERIFY(seen);
    QCOMPARE(h.edit("Add1Edit")->text(), u"丸の内"_s);
    QVERIFY(h.edit("Zip1Edit")->text().isEmpty());
}

void TestZipLookups::leavingTheCodeFillsTheAddress_data()
{
    QTest::addColumn<QString>("zip1");
    QTest::addColumn<QString>("zip2");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("expectedCity");
    QTest::addColumn<QString>("expectedAddress");
    QTest::addColumn<bool>("dialog");
    QTest::newRow("one address") << u"060"_s << u"0042"_s << QString() << u"北海道"_s
                                 << u"札幌市中央区大通西"_s << false;
    QTest::newRow("split record, one address")
        << u"060"_s << u"0061"_s << QString() << u"北海道"_s << u"札幌市中央区南一条西"_s << false;
    QTest::newRow("blank town") << u"060"_s << u"0000"_s << QString() << u"北海道"_s << u"札幌市中央区"_s
                                << false;
    QTest::newRow("full-width digits")
        << u"４６０"_s << u"０００８"_s << QString() << u"愛知県"_s << u"名古屋市中区栄"_s << false;
    QTest::newRow("address already there")
        << u"060"_s << u"0042"_s << u"栄3-1"_s << QString() << u"栄3-1"_s << false;
    QTest::newRow("incomplete code") << u"060"_s << u"004"_s << QString() << QString() << QString() << false;
    QTest::newRow("unknown code") << u"999"_s << u"9999"_s << QString() << QString() << QString() << false;
    QTest::newRow("several addresses: the dialog")
        << u"064"_s << u"0941"_s << QString() << u"北海道"_s << u"札幌市中央区南六条西"_s << true;
}

void TestZipLookups::leavingTheCodeFillsTheAddress()
{
    QFETCH(QString, zip1);
    QFETCH(QString, zip2);
    QFETCH(QString, address);
    QFETCH(QString, expectedCity);
    QFETCH(QString, expectedAddress);
    QFETCH(bool, dialog);
    Header h;
    QVERIFY(QTest::qWaitForWindowActive(h.frame.get()));
    h.edit("Zip1Edit")->setText(zip1);
    h.edit("Zip2Edit")->setText(zip2);
    h.edit("Add1Edit")->setText(address);
    QStringList rows;
    bool seen = false;
    if (dialog) {
        whenSearched(
            this,
            [&](TZipSchForm *form) {
                for (int i = 0; i < form->ListView1->topLevelItemCount(); ++i)
                    rows.append(form->ListView1->topLevelItem(i)->text(2));
                form->ListView1->topLevelItem(1)->setSelected(true);
                form->Button2->click();
            },
            &seen);
    }
    QLineEdit *zip2Edit = h.edit("Zip2Edit");
    zip2Edit->setFocus();
    QVERIFY(zip2Edit->hasFocus());
    QTest::keyClick(zip2Edit, Qt::Key_Tab);
    if (dialog) {
        QTRY_VERIFY(seen);
        QCOMPARE(rows, (QStringList{u"札幌市中央区旭ケ丘"_s, u"札幌市中央区南六条西"_s}));
    }
    QTRY_COMPARE(h.edit("Add1Edit")->text(), expectedAddress);
    QCOMPARE(h.city()->currentText(), expectedCity);
    QVERIFY(h.messages.calls.isEmpty());
}

QTEST_MAIN(TestZipLookups)
#include "tst_ziplookups.moc"
