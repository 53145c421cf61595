#include "support/FakeMessageService.h"
#include "support/TestAppFolder.h"
#include "support/TestFiles.h"

#include "app/TDispFrame.h"
#include "app/TOptionForm.h"

#include "controls/widgets/TFloatEdit.h"
#include "master/widgets/TCarFrame.h"
#include "master/widgets/TFrame1.h"
#include "master/widgets/TMasterFrame.h"
#include "master/widgets/TMemoOptFrame.h"
#include "master/widgets/TTaxGridFrame.h"
#include "master/widgets/TZipOptFrame.h"
#include "platform/AppFolder.h"
#include "platform/IniFile.h"
#include "platform/TextList.h"
#include "print/widgets/TDefPrintFrame.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

const QString Question = u"設定が変更されています\r保存しますか？"_s;

} // namespace

class TestOptionForm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void closingAsksAboutChangedBasicSettings_data();
    void closingAsksAboutChangedBasicSettings();
    void okSavesEveryPageWithoutAsking();
    void treeShowsEveryPage();
    void divisionButtons();
    void missingDivisionFileIsSaidAndMade();
};

void TestOptionForm::closingAsksAboutChangedBasicSettings_data()
{
    QTest::addColumn<bool>("changeRate"); // else: add a slip division
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("saved");
    QTest::newRow("rate, No") << true << int(MessageService::Answer::No) << true << false;
    QTest::newRow("rate, Yes") << true << int(MessageService::Answer::Yes) << true << true;
    QTest::newRow("rate, Cancel") << true << int(MessageService::Answer::Cancel) << false << false;
    QTest::newRow("division, No") << false << int(MessageService::Answer::No) << true << false;
}

void TestOptionForm::closingAsksAboutChangedBasicSettings()
{
    QFETCH(bool, changeRate);
    QFETCH(int, answer);
    QFETCH(bool, closed);
    QFETCH(bool, saved);
    TestAppFolder app;
    const AppFolder folder(app.path());
    const QString ini = app.filePath(u"torvane.ini"_s);
    {
        IniFile seed(ini);
        seed.writeString(u"Tax"_s, u"SRate"_s, u"10"_s);
        seed.writeString(u"Other"_s, u"Key"_s, u"kept"_s);
        QVERIFY(seed.flush());
    }
    const QByteArray iniBefore = bytesOf(ini);
    const QByteArray divisionsBefore = bytesOf(folder.slipDivisionsFile());
    FakeMessageService messages;
    messages.answers = {MessageService::Answer(answer)};
    TOptionForm form(app.path(), ini, messages);
    form.show();
    if (changeRate) {
        form.DispFrame1->TaxRNValEditC->setValue(8);
    } else {
        form.DispFrame1->Edit1->setText(u"リース"_s);
        form.DispFrame1->Button1->click();
    }
    form.Button2->click();
    QCOMPARE(messages.calls,
             (QList<FakeMessageService::Call>{{FakeMessageService::Box::Question, Question}}));
    QCOMPARE(form.isVisible(), !closed);
    if (closed)
        QCOMPARE(form.result(), int(QDialog::Rejected));
    if (!saved) {
        QCOMPARE(bytesOf(ini), iniBefore);
        QCOMPARE(bytesOf(folder.slipDivisionsFile()), divisionsBefore);
    } else {
        QCOMPARE(IniFile(ini).readString(u"Tax"_s, u"SRate"_s), u"8"_s);
        QCOMPARE(IniFile(ini).readString(u"Other"_s, u"Key"_s), u"kept"_s);
    }
}

void TestOptionForm::okSavesEveryPageWithoutAsking()
{
    TestAppFolder app;
    const AppFolder folder(app.path());
    const QString ini = app.filePath(u"torvane.ini"_s);
    FakeMessageService messages;
    TOptionForm form(app.path(), ini, messages);
    form.show();
    form.DispFrame1->TaxRNValEditC->setValue(8.5);
    form.DispFrame1->DateComBox->setCurrentIndex(1);
    form.DispFrame1->TaxHComBox->setCurrentIndex(2);
    form.DispFrame1->TaxCalcComBox->setCurrentIndex(0);
    form.DispFrame1->Edit1->setText(u"リース"_s);
    form.DispFrame1->Button1->click();
    form.DefPrintFrame1->FormatComBox[1]->setCurrentIndex(0);
    form.Button1->click();
    QCOMPARE(messages.calls, {});
    QCOMPARE(form.result(), int(QDialog::Accepted));
    const IniFile saved(ini);
    QCOMPARE(saved.readString(u"Tax"_s, u"SRate"_s), u"8.5"_s);
    QCOMPARE(saved.readString(u"Date"_s, u"Date"_s), u"1"_s);
    QCOMPARE(saved.readString(u"Tax"_s, u"Hasu"_s), u"2"_s);
    QCOMPARE(saved.readString(u"Tax"_s, u"CalcMode"_s), u"0"_s);
    QCOMPARE(TextList::read(folder.slipDivisionsFile()).last(), u"リース"_s);
    // The print page was saved first: no design chosen is an empty key.
    const IniFile defaults(folder.printDefaultsFile());
    QVERIFY(defaults.valueExists(u"Sig"_s, u"Fomat"_s));
    QCOMPARE(defaults.readString(u"Sig"_s, u"Fomat"_s), QString());
    QCOMPARE(defaults.readString(u"Nou"_s, u"Fomat"_s), u"納品請求書"_s);
}

void TestOptionForm::treeShowsEveryPage()
{
    TestAppFolder app;
    FakeMessageService messages;
    TOptionForm form(app.path(), app.filePath(u"torvane.ini"_s), messages);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.currentPage(), nullptr);
    QList<int> topics;
    connect(&form, &TOptionForm::helpRequested, this, [&](int topic) { topics << topic; });
    const struct {
        const char16_t *node;
        QWidget *page;
        int topic;
    } shown[] = {{u"基本設定", form.DispFrame1, 25},          {u"印刷設定", form.DefPrintFrame1, 26},
                 {u"挨拶文・備考欄", form.MemoOptFrame1, 44}, {u"ガイド機能", nullptr, 24},
                 {u"自賠責", form.TaxGridFrame1, 37},         {u"重量税", form.TaxGridFrame1, 37},
                 {u"整備・部品名", form.Frame11, 23},         {u"郵便番号辞書", form.ZipOptFrame1, 27},
                 {u"メーカー・車名", form.CarFrame1, 28},     {u"諸費用", form.MasterFrame1, 28},
                 {u"担当者", form.MasterFrame1, 28},          {u"作業名", form.MasterFrame1, 28}};
    for (const auto &row : shown) {
        const QString node = QString::fromUtf16(row.node);
        QVERIFY2(form.selectNode(node), qPrintable(node));
        QCOMPARE(form.currentPage(), row.page);
        topics.clear();
        form.Button3->click();
        // A group without a page of its own asks for the dialog's topic.
        QCOMPARE(topics, QList<int>{row.topic});
        if (row.page)
            grabTo(form, u"TOptionForm-"_s + node + u".png"_s);
    }
    QCOMPARE(form.TaxGridFrame1->kind(), 2);
    QVERIFY(form.TaxGridFrame1->editing());
    form.selectNode(u"自賠責"_s);
    QCOMPARE(form.TaxGridFrame1->kind(), 1);
    // A master-list node shows the list of its own name.
    form.selectNode(u"担当者"_s);
    QCOMPARE(form.MasterFrame1->listName(), u"担当者"_s);
    QCOMPARE(form.TreeView1->topLevelItemCount(), 5);
    QCOMPARE(form.TreeView1->topLevelItem(4)->childCount(), 7);
    QVERIFY(form.TreeView1->topLevelItem(4)->isExpanded());
}

void TestOptionForm::divisionButtons()
{
    TestAppFolder app;
    FakeMessageService messages;
    TDispFrame page(app.path(), app.filePath(u"torvane.ini"_s), messages);
    const QStringList before = page.divisions();
    QVERIFY(before.size() >= 2);
    QVERIFY(!page.Button2->isEnabled());
    QVERIFY(!page.Button3->isEnabled());
    QVERIFY(!page.IsDisplayModified());
    page.ListBox1->setCurrentRow(1);
    page.ListBox1Click();
    QCOMPARE(page.Edit1->text(), before[1]);
    QVERIFY(page.Button2->isEnabled() && page.Button3->isEnabled());
    page.Edit1->setText(u"車検"_s);
    page.Button2->click();
    QCOMPARE(page.divisions()[1], u"車検"_s);
    QVERIFY(page.IsDisplayModified());
    page.Button3->click();
    QCOMPARE(page.divisions().size(), before.size() - 1);
    QVERIFY(!page.Button2->isEnabled() && !page.Button3->isEnabled());
    // An empty entry is appended like any other.
    page.Edit1->clear();
    page.Button1->click();
    QCOMPARE(page.divisions().last(), QString());
}

void TestOptionForm::missingDivisionFileIsSaidAndMade()
{
    TestAppFolder app;
    const AppFolder folder(app.path());
    QVERIFY(QFile::remove(folder.slipDivisionsFile()));
    FakeMessageService messages;
    TDispFrame page(app.path(), app.filePath(u"torvane.ini"_s), messages);
    QCOMPARE(messages.calls.size(), 1);
    QCOMPARE(messages.calls[0].box, FakeMessageService::Box::Warning);
    QVERIFY(messages.calls[0].text.contains(u"SlipDiv.dat"_s));
    QCOMPARE(page.ListBox1->count(), 0);
    QVERIFY(!page.IsDisplayModified());
    page.Edit1->setText(u"車検"_s);
    page.Button1->click();
    QVERIFY(page.IsDisplayModified());
    QVERIFY(page.SaveDisplayOptions());
    QCOMPARE(TextList::read(folder.slipDivisionsFile()), QStringList{u"車検"_s});
    QVERIFY(!page.IsDisplayModified());
}

QTEST_MAIN(TestOptionForm)
#include "tst_optionform.moc"
