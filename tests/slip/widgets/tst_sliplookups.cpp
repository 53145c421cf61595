#include "support/FakeMessageService.h"
#include "support/TestAppFolder.h"

#include "master/widgets/MasterGrid.h"
#include "master/widgets/TCarFrame.h"
#include "master/widgets/TGuideForm.h"
#include "master/widgets/TMasterFrame.h"
#include "master/widgets/TaiueoForm.h"
#include "platform/AppFolder.h"
#include "platform/TextList.h"
#include "slip/widgets/TCostGrid.h"
#include "slip/widgets/TCostPanel.h"
#include "slip/widgets/TSlipFrame.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <map>

using namespace Qt::StringLiterals;

namespace {

// Picks in the dialog the lookup opened, by mouse or by keyboard.
using Driver = std::function<void(QDialog *dialog, bool byKey)>;

void pickInList(QDialog *dialog, bool byKey, int row)
{
    auto *form = qobject_cast<TGuideForm *>(dialog);
    QVERIFY(form && form->MasterFrame1);
    MasterGrid *grid = form->MasterFrame1->StringGrid1;
    if (byKey) {
        for (int i = 0; i < row; ++i)
            QTest::keyClick(grid, Qt::Key_Down);
        QTest::keyClick(grid, Qt::Key_Return);
    } else {
        grid->setCurrentCell(row, 0);
        QTest::mouseClick(form->Button2, Qt::LeftButton);
    }
}

void pickCar(QDialog *dialog, bool byKey)
{
    auto *form = qobject_cast<TGuideForm *>(dialog);
    QVERIFY(form && form->CarFrame1);
    MasterGrid *cars = form->CarFrame1->StringGrid2;
    if (byKey) {
        QTest::keyClick(cars, Qt::Key_Down);
        QTest::keyClick(cars, Qt::Key_Return);
    } else {
        cars->setCurrentCell(1, 0);
        QTest::mouseClick(form->Button2, Qt::LeftButton);
    }
}

void pickKana(QDialog *dialog, bool byKey)
{
    auto *form = qobject_cast<TaiueoForm *>(dialog);
    QVERIFY(form);
    QTableWidget *grid = form->StringGrid1;
    if (byKey) {
        QTest::keyClick(grid, Qt::Key_Right);
        QTest::keyClick(grid, Qt::Key_Down);
        QTest::keyClick(grid, Qt::Key_Return);
    } else {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualItemRect(grid->item(1, 1)).center());
    }
}

} // namespace

class TestSlipLookups : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lookup_data();
    void lookup();
    void cancelledLookupChangesNothing();
    void grabForReview();
};

void TestSlipLookups::lookup_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("field"); // where Ctrl+Space opens it
    QTest::addColumn<bool>("byKey");
    QTest::addColumn<int>("section");
    for (bool byKey : {false, true}) {
        const char *how = byKey ? "Ctrl+Space" : "button";
        QTest::addRow("person in charge, %s", how) << u"SpeedButton4"_s << u"ChargeEdit"_s << byKey << 0;
        QTest::addRow("car name, %s", how) << u"SpeedButton9"_s << u"CaNameEdit"_s << byKey << 3;
        QTest::addRow("cost, %s", how) << u"SpeedButton12"_s << u"CostStGrid"_s << byKey << 5;
        QTest::addRow("kana, %s", how) << u"CaNumEllipsisButton"_s << u"CaNumEllipsisEdit"_s << byKey << 3;
    }
}

void TestSlipLookups::lookup()
{
    QFETCH(QString, button);
    QFETCH(QString, field);
    QFETCH(bool, byKey);
    QFETCH(int, section);
    TestAppFolder app;
    const AppFolder folder(app.path());
    QVERIFY(TextList::write(folder.staffFile(), {u"佐藤"_s, u"鈴木"_s}));
    QVERIFY(TextList::write(folder.costNamesFile(), {u"洗車代,1500"_s, u"代車代,3300"_s}));
    QVERIFY(TextList::write(folder.makersFile(), {u"ホンダ"_s}));
    QVERIFY(TextList::write(folder.carNamesFile(u"ホンダ"_s), {u"フィット"_s, u"N-BOX"_s}));

    FakeMessageService messages;
    TSlipFrame frame(app.path(), messages);
    frame.resize(900, 700);
    frame.show();
    if (section > 0)
        frame.openSection(section);
    auto *costs = frame.findChild<TCostGrid *>(u"CostStGrid"_s);
    QVERIFY(costs);
    costs->setCurrentCell(2, TCostGrid::NameColumn);
    frame.setNotify(true);
    frame.setModified(false);

    const std::map<QString, Driver> drivers{
        {u"SpeedButton4"_s, [](QDialog *d, bool k) { pickInList(d, k, 1); }},
        {u"SpeedButton12"_s, [](QDialog *d, bool k) { pickInList(d, k, 1); }},
        {u"SpeedButton9"_s, pickCar},
        {u"CaNumEllipsisButton"_s, pickKana},
    };
    bool seen = false;
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        seen = true;
        drivers.at(button)(dialog, byKey);
    });
    if (byKey) {
        auto *target = frame.findChild<QWidget *>(field);
        QVERIFY(target);
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Space, Qt::ControlModifier);
    } else {
        auto *b = button == u"SpeedButton12"_s ? frame.findChild<TCostPanel *>()->SpeedButton12
                                               : frame.findChild<QToolButton *>(button);
        QVERIFY(b && b->isEnabled());
        QTest::mouseClick(b, Qt::LeftButton);
    }
    QVERIFY(seen);
    QVERIFY(frame.isModified());

    const SlipData slip = frame.data();
    if (button == u"SpeedButton4"_s)
        QCOMPARE(slip.charge, u"鈴木"_s);
    if (button == u"SpeedButton9"_s)
        QCOMPARE(slip.carName, u"ホンダ N-BOX"_s);
    if (button == u"SpeedButton12"_s) {
        QCOMPARE(slip.costRows[2].name, u"代車代"_s);
        QCOMPARE(slip.costRows[2].price, u"3300"_s);
    }
    if (button == u"CaNumEllipsisButton"_s) {
        auto *kana = frame.findChild<QLineEdit *>(u"CaNumEllipsisEdit"_s);
        QCOMPARE(kana->text(), u"き"_s);
        QCOMPARE(kana->selectedText(), u"き"_s);
    }
    QVERIFY(messages.calls.isEmpty());
}

void TestSlipLookups::cancelledLookupChangesNothing()
{
    TestAppFolder app;
    QVERIFY(TextList::write(AppFolder(app.path()).staffFile(), {u"佐藤"_s}));
    FakeMessageService messages;
    TSlipFrame frame(app.path(), messages);
    frame.show();
    auto *charge = frame.findChild<QLineEdit *>(u"ChargeEdit"_s);
    charge->setText(u"高橋"_s);
    frame.setNotify(true);
    frame.setModified(false);
    QTimer::singleShot(0, this, [] {
        auto *form = qobject_cast<TGuideForm *>(QApplication::activeModalWidget());
        QVERIFY(form);
        form->Button1->click();
    });
    frame.SpeedButton4Click();
    QCOMPARE(charge->text(), u"高橋"_s);
    QVERIFY(!frame.isModified());
}

// The vehicle section with its lookup buttons, for a person to look at; set
// TORVANE_GRAB_DIR to get it.
void TestSlipLookups::grabForReview()
{
    const QString dir = qEnvironmentVariable("TORVANE_GRAB_DIR");
    if (dir.isEmpty())
        QSKIP("TORVANE_GRAB_DIR is not set");
    TestAppFolder app;
    FakeMessageService messages;
    TSlipFrame frame(app.path(), messages);
    frame.resize(900, 640);
    frame.show();
    frame.openSection(3);
    QTest::qWait(50);
    QVERIFY(frame.grab().save(dir + u"/header-vehicle.png"_s));
}

QTEST_MAIN(TestSlipLookups)
#include "tst_sliplookups.moc"
