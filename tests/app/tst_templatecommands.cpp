#include "app/TMainForm.h"
#include "lines/FixedPoint.h"
#include "platform/AppFolder.h"
#include "platform/IniFile.h"
#include "slip/Templates.h"
#include "slip/widgets/TSlipFrame.h"
#include "slip/widgets/TTempSaveForm.h"
#include "slip/widgets/TTemplateForm.h"
#include "support/FakeMessageService.h"
#include "support/TestAppFolder.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

struct Fixture {
    TestAppFolder app;
    FakeMessageService messages;
    TMainFormEnvironment env;
    Fixture()
    {
        env.appDir = app.path();
        env.settingsPath = app.filePath(u"torvane.ini"_s);
        env.program = u"torvane"_s;
        env.messages = &messages;
        env.chooseOpenFile = [](const QString &) { return QString(); };
        env.chooseSaveFile = [](const QString &) { return QString(); };
        env.startProcess = [](const QString &, const QStringList &) { return true; };
    }
};

// Runs the action; the modal dialog it opens is handed to drive.
template <typename Dialog> bool runWithDialog(QAction *action, const std::function<void(Dialog *)> &drive)
{
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen = true;
        drive(dialog);
    });
    action->trigger();
    return seen;
}

QTreeWidgetItem *entryNamed(QTreeWidget *list, const QString &name)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->text(0) == name)
            return list->topLevelItem(i);
    return nullptr;
}

} // namespace

class TestTemplateCommands : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void saveThenOpenIntoAnotherSlip();
    void foreignFileLeavesTheSlipAlone();
    void linesTemplateKeepsTheSlipsLines();
    void bundledTemplatesOpenIntoNewSlip_data();
    void bundledTemplatesOpenIntoNewSlip();
};

void TestTemplateCommands::initTestCase()
{
    static QTemporaryDir registry;
    qputenv("TORVANE_REGISTRY_DIR", registry.path().toLocal8Bit());
}

void TestTemplateCommands::saveThenOpenIntoAnotherSlip()
{
    Fixture f;
    TMainForm form(f.env);
    form.start(QString());
    form.show();
    QAction *save = form.findChild<QAction *>(u"SaveTmpAction"_s);
    QAction *open = form.findChild<QAction *>(u"OpenTmpAction"_s);
    QVERIFY(save->isEnabled());
    QVERIFY(open->isEnabled());

    SlipData slip = form.slipFrame()->data();
    slip.custName = u"山田 太郎"_s;
    slip.city = u"愛知県"_s;
    slip.carName = u"トヨタ プリウス"_s;
    form.slipFrame()->setData(slip);

    QVERIFY(runWithDialog<TTempSaveForm>(save, [](TTempSaveForm *d) {
        d->TreeView1->setCurrentItem(d->TreeView1->topLevelItem(0)); // 顧客
        d->Edit1->setText(u"山田様 ../../逃げる"_s);
        d->Button2->click();
    }));
    const QDir folder(AppFolder(f.env.appDir).templateFolder());
    const QList<Templates::Entry> customers = Templates::list(folder.path(), sstCustomer);
    QCOMPARE(customers.size(), 1);
    QCOMPARE(customers.first().name, u"山田様 ../../逃げる"_s);

    // A new slip with a car of its own takes only the customer.
    form.NewActionExecute();
    slip = form.slipFrame()->data();
    slip.carName = u"ホンダ フィット"_s;
    form.slipFrame()->setData(slip);
    form.slipFrame()->setModified(false);
    QVERIFY(runWithDialog<TTemplateForm>(open, [](TTemplateForm *d) {
        d->TreeView1->setCurrentItem(d->TreeView1->topLevelItem(int(sstCustomer)));
        d->ListView1->setCurrentItem(entryNamed(d->ListView1, u"山田様 ../../逃げる"_s));
        d->Button2->click();
    }));
    QCOMPARE(form.slipFrame()->data().custName, u"山田 太郎"_s);
    QCOMPARE(form.slipFrame()->data().city, u"愛知県"_s);
    QCOMPARE(form.slipFrame()->data().carName, u"ホンダ フィット"_s);
    QVERIFY(form.slipFrame()->isModified());
    QVERIFY(form.windowTitle().endsWith(u"<更新>"_s));
    QVERIFY(f.messages.calls.isEmpty());
}

void TestTemplateCommands::foreignFileLeavesTheSlipAlone()
{
    Fixture f;
    const QDir folder(AppFolder(f.env.appDir).templateFolder());
    QFile foreign(folder.filePath(u"foreign.tvt"_s));
    QVERIFY(foreign.open(QIODevice::WriteOnly));
    foreign.write("[Cust]\r\nName=x\r\n[No]\r\nSlipCode=99999999\r\n");
    foreign.close();
    TMainForm form(f.env);
    form.start(QString());
    form.show();
    const SlipData before = form.slipFrame()->data();
    QVERIFY(runWithDialog<TTemplateForm>(form.findChild<QAction *>(u"OpenTmpAction"_s), [](TTemplateForm *d) {
        QTreeWidgetItem *item = entryNamed(d->ListView1, QString());
        QVERIFY(item);
        QVERIFY(item->icon(0).isNull());
        d->ListView1->setCurrentItem(item);
        d->Button2->click();
    }));
    QCOMPARE(f.messages.calls,
             (QList<FakeMessageService::Call>{
                 {FakeMessageService::Box::Warning, u"テンプレートの種類が不明なため開けません"_s}}));
    QCOMPARE(form.slipFrame()->data().slipCode, before.slipCode);
    QCOMPARE(form.slipFrame()->data().custName, before.custName);
    QVERIFY(!form.slipFrame()->isModified());
}

void TestTemplateCommands::linesTemplateKeepsTheSlipsLines()
{
    Fixture f;
    TMainForm form(f.env);
    form.start(QString());
    form.show();
    SlipData slip = form.slipFrame()->data();
    slip.custName = u"山田 太郎"_s;
    TRowData own;
    own.LineDiv = u"部品"_s;
    own.TextA = u"バッテリー"_s;
    own.Count = Fixed::One;
    own.UnitPrice = 12000 * Fixed::One;
    own.Price = 12000 * Fixed::One;
    own.TaxRate = -Fixed::One;
    slip.rows = {own};
    form.slipFrame()->setData(slip);
    QVERIFY(runWithDialog<TTemplateForm>(form.findChild<QAction *>(u"OpenTmpAction"_s), [](TTemplateForm *d) {
        d->TreeView1->setCurrentItem(d->TreeView1->topLevelItem(int(sstLines)));
        d->ListView1->setCurrentItem(entryNamed(d->ListView1, u"オイル交換セット"_s));
        d->Button2->click();
    }));
    QStringList texts;
    for (const TRowData &r : form.slipFrame()->data().rows)
        if (!r.TextA.isEmpty())
            texts << r.TextA;
    QCOMPARE(texts.size(), 5);
    QVERIFY(texts.contains(u"バッテリー"_s));
    QVERIFY(texts.contains(u"廃油処理"_s));
    QCOMPARE(form.slipFrame()->data().custName, u"山田 太郎"_s);
    QVERIFY(form.slipFrame()->isModified());
}

void TestTemplateCommands::bundledTemplatesOpenIntoNewSlip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("firstText");
    QTest::newRow("車検") << u"車検 24ヶ月定期点検 標準作業"_s << 8 << u"24ヶ月定期点検整備"_s;
    QTest::newRow("12ヶ月") << u"12ヶ月法定点検"_s << 3 << u"12ヶ月法定点検"_s;
    QTest::newRow("オイル") << u"オイル交換セット"_s << 4 << u"エンジンオイル・エレメント交換"_s;
}

void TestTemplateCommands::bundledTemplatesOpenIntoNewSlip()
{
    QFETCH(QString, name);
    QFETCH(int, rows);
    QFETCH(QString, firstText);
    Fixture f;
    TMainForm form(f.env);
    form.start(QString());
    form.show();
    QVERIFY(
        runWithDialog<TTemplateForm>(form.findChild<QAction *>(u"OpenTmpAction"_s), [&](TTemplateForm *d) {
            QTreeWidgetItem *item = entryNamed(d->ListView1, name);
            QVERIFY(item);
            QVERIFY(!item->text(1).isEmpty());
            d->ListView1->setCurrentItem(item);
            d->Button2->click();
        }));
    const SlipData slip = form.slipFrame()->data();
    QList<TRowData> filled;
    for (const TRowData &r : slip.rows)
        if (!r.TextA.isEmpty())
            filled.append(r);
    QCOMPARE(filled.size(), rows);
    QCOMPARE(filled.first().TextA, firstText);
    QVERIFY(slip.tecTotal + slip.partTotal > 0);
    QVERIFY(form.slipFrame()->isModified());
    QVERIFY(f.messages.calls.isEmpty());
}

QTEST_MAIN(TestTemplateCommands)
#include "tst_templatecommands.moc"
