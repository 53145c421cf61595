#include "master/widgets/TMemoGrid.h"
#include "master/widgets/TMemoSelForm.h"
#include "platform/IniFile.h"
#include "platform/TextList.h"
#include "slip/Templates.h"
#include "slip/widgets/TSlipFrame.h"
#include "slip/widgets/TTempSaveForm.h"
#include "slip/widgets/TTemplateForm.h"
#include "support/FakeMessageService.h"
#include "support/SampleSlip.h"
#include "support/TestAppFolder.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

void saveTemplate(const QString &folder, TSlipSaveType category, const QString &name)
{
    IniFile ini(Templates::newTemplatePath(folder));
    Templates::writeHeader(ini, category, name);
    QString error;
    QVERIFY2(SlipFile::save(ini, sampleSlip(3), category, sampleContext(), &error), qPrintable(error));
}

// Saves a picture of the dialog for a person to look at, when asked to.
void grabTo(QWidget &w, const QString &name)
{
    const QString dir = qEnvironmentVariable("TORVANE_GRAB_DIR");
    if (!dir.isEmpty())
        w.grab().save(QDir(dir).filePath(name));
}

QTreeWidgetItem *entryNamed(QTreeWidget *list, const QString &name)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->text(0) == name)
            return list->topLevelItem(i);
    return nullptr;
}

} // namespace

class TestTemplateForms : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void saveFormRefusesEmptyNameAndFollowsTree();
    void listFollowsTreeAndButtonsFollowSelection();
    void deleteAsksFirst();
    void detailColumnFillsTheRestAfterResize();
    void openGivesPathAndCategory();
    void noteFieldTakesTheChosenTemplate_data();
    void noteFieldTakesTheChosenTemplate();
};

void TestTemplateForms::saveFormRefusesEmptyNameAndFollowsTree()
{
    FakeMessageService messages;
    TTempSaveForm form(messages);
    form.show();
    QCOMPARE(form.category(), sstCustomer);
    QCOMPARE(form.Memo1->toPlainText(), u"顧客情報をテンプレートとして保存します。"_s);
    form.TreeView1->setCurrentItem(form.TreeView1->topLevelItem(3));
    QCOMPARE(form.category(), sstLines);
    QCOMPARE(form.Memo1->toPlainText(), u"伝票の明細のみをテンプレートとして保存します。"_s);
    grabTo(form, u"TTempSaveForm.png"_s);

    form.Button2->click();
    QVERIFY(form.isVisible());
    QCOMPARE(messages.calls, (QList<FakeMessageService::Call>{
                                 {FakeMessageService::Box::Information, u"名称を入力してください"_s}}));
    form.Edit1->setText(u"オイル交換セット"_s);
    form.Button2->click();
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(form.name(), u"オイル交換セット"_s);
}

void TestTemplateForms::listFollowsTreeAndButtonsFollowSelection()
{
    QTemporaryDir dir;
    saveTemplate(dir.path(), sstCustomer, u"山田様"_s);
    saveTemplate(dir.path(), sstLines, u"オイル交換"_s);
    saveTemplate(dir.path(), sstLines, u"12ヶ月点検"_s);
    FakeMessageService messages;
    TTemplateForm form(dir.path(), messages);
    form.show();
    QCOMPARE(form.ListView1->topLevelItemCount(), 3);
    QVERIFY(!form.Button2->isEnabled());
    QVERIFY(!form.Button3->isEnabled());

    form.TreeView1->setCurrentItem(form.TreeView1->topLevelItem(int(sstLines)));
    QCOMPARE(form.ListView1->topLevelItemCount(), 2);
    form.ListView1->setCurrentItem(form.ListView1->topLevelItem(0));
    QVERIFY(form.Button2->isEnabled());
    QVERIFY(form.Button3->isEnabled());
    grabTo(form, u"TTemplateForm.png"_s);

    form.TreeView1->setCurrentItem(form.TreeView1->topLevelItem(int(sstCar)));
    QCOMPARE(form.ListView1->topLevelItemCount(), 0);
    QVERIFY(!form.Button2->isEnabled());
    form.openSelected();
    QVERIFY(form.isVisible());
}

void TestTemplateForms::deleteAsksFirst()
{
    QTemporaryDir dir;
    saveTemplate(dir.path(), sstLines, u"オイル交換"_s);
    FakeMessageService messages;
    TTemplateForm form(dir.path(), messages);
    form.show();
    form.ListView1->setCurrentItem(entryNamed(form.ListView1, u"オイル交換"_s));

    messages.answers = {MessageService::Answer::No};
    form.Button3->click();
    QCOMPARE(messages.texts(), QStringList{u"オイル交換 を削除しますか？"_s});
    QCOMPARE(form.ListView1->topLevelItemCount(), 1);
    QCOMPARE(QDir(dir.path()).entryList({u"*.tvt"_s}).size(), 1);

    messages.answers = {MessageService::Answer::Yes};
    form.Button3->click();
    QCOMPARE(form.ListView1->topLevelItemCount(), 0);
    QVERIFY(QDir(dir.path()).entryList({u"*.tvt"_s}).isEmpty());
    QVERIFY(!form.Button3->isEnabled());
}

void TestTemplateForms::detailColumnFillsTheRestAfterResize()
{
    QTemporaryDir dir;
    saveTemplate(dir.path(), sstLines, u"オイル交換"_s);
    FakeMessageService messages;
    TTemplateForm form(dir.path(), messages);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    for (const QSize size : {QSize(900, 500), QSize(560, 320)}) {
        form.resize(size);
        QCoreApplication::processEvents();
        QCOMPARE(form.ListView1->columnWidth(0), TTemplateForm::NameColumnWidth);
        QCOMPARE(form.ListView1->columnWidth(1),
                 form.ListView1->viewport()->width() - TTemplateForm::NameColumnWidth);
    }
    form.resize(100, 100);
    QCOMPARE(form.size(), QSize(560, 320));
}

void TestTemplateForms::openGivesPathAndCategory()
{
    QTemporaryDir dir;
    saveTemplate(dir.path(), sstCar, u"プリウス"_s);
    FakeMessageService messages;
    TTemplateForm form(dir.path(), messages);
    form.show();
    QTreeWidgetItem *item = entryNamed(form.ListView1, u"プリウス"_s);
    QVERIFY(item);
    form.ListView1->setCurrentItem(item);
    form.Button2->click();
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(form.category(), int(sstCar));
    QVERIFY(QFileInfo(form.path()).isFile());
    QCOMPARE(QFileInfo(form.path()).absolutePath(), QFileInfo(dir.path()).absoluteFilePath());
}

void TestTemplateForms::noteFieldTakesTheChosenTemplate_data()
{
    QTest::addColumn<bool>("byKey");
    QTest::newRow("button") << false;
    QTest::newRow("Ctrl+Space") << true;
}

void TestTemplateForms::noteFieldTakesTheChosenTemplate()
{
    QFETCH(bool, byKey);
    TestAppFolder app;
    QVERIFY(TextList::write(
        app.filePath(u"Dat/Mst/MemoOpt.Dat"_s),
        {u"a,b,c"_s, u"一件目,,"_s, u"お支払い方法,\"銀行振込, 現金\",\"手数料は\"\"お客様\"\"負担\""_s}));
    FakeMessageService messages;
    TSlipFrame frame(app.path(), messages);
    frame.show();
    frame.openSection(7);
    auto *note = frame.findChild<QPlainTextEdit *>(u"NoteMemo"_s);
    note->setPlainText(u"前の備考"_s);
    frame.setNotify(true);
    frame.setModified(false);
    bool seen = false;
    QTimer::singleShot(0, this, [&] {
        auto *form = qobject_cast<TMemoSelForm *>(QApplication::activeModalWidget());
        QVERIFY(form);
        seen = true;
        form->StringGrid2->setCurrentCell(1, 0);
        form->Button2->click();
    });
    if (byKey) {
        note->setFocus();
        QTest::keyClick(note, Qt::Key_Space, Qt::ControlModifier);
    } else {
        auto *button = frame.findChild<QToolButton *>(u"MemoSpeedButton"_s);
        QVERIFY(button->isEnabled());
        button->click();
    }
    QVERIFY(seen);
    QCOMPARE(frame.data().memo,
             (QStringList{u"お支払い方法"_s, u"銀行振込, 現金"_s, u"手数料は\"お客様\"負担"_s}));
    QVERIFY(frame.isModified());
}

QTEST_MAIN(TestTemplateForms)
#include "tst_templateforms.moc"
