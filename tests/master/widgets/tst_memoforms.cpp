#include "master/widgets/TMemoGrid.h"
#include "master/widgets/TMemoOptFrame.h"
#include "master/widgets/TMemoSelForm.h"
#include "platform/TextList.h"

#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

void grabTo(QWidget &w, const QString &name)
{
    const QString dir = qEnvironmentVariable("TORVANE_GRAB_DIR");
    if (!dir.isEmpty())
        w.grab().save(QDir(dir).filePath(name));
}

} // namespace

class TestMemoForms : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void selectionGivesCurrentRow();
    void optionsPageEditsAndSaves();
    void fileWithoutTemplatesKeepsFourEmptyRows();
};

void TestMemoForms::selectionGivesCurrentRow()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"MemoOpt.Dat"_s);
    QVERIFY(TextList::write(path, {u"a,b,c"_s, u"次回点検のご案内,\"2027年5月, 12ヶ月点検\","_s,
                                   u"部品取り寄せ,入荷後ご連絡します,"_s}));
    TMemoSelForm form(path);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.StringGrid2->rowCount(), 2);
    QCOMPARE(form.StringGrid2->rowHeight(0), TMemoGrid::RowHeight);
    QCOMPARE(form.note(), (MemoOptions::Note{u"次回点検のご案内"_s, u"2027年5月, 12ヶ月点検"_s, QString()}));
    grabTo(form, u"TMemoSelForm.png"_s);
    form.StringGrid2->setCurrentCell(1, 0);
    QCOMPARE(form.note()[0], u"部品取り寄せ"_s);
    // A double click takes the row.
    const QRect cell = form.StringGrid2->visualRect(form.StringGrid2->model()->index(1, 0));
    QTest::mouseClick(form.StringGrid2->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(form.StringGrid2->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(form.result(), int(QDialog::Accepted));
}

void TestMemoForms::optionsPageEditsAndSaves()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"MemoOpt.Dat"_s);
    QVERIFY(TextList::write(path, {u"見積,指示,納品"_s, u"一,二,三"_s}));
    TMemoOptFrame page(path);
    page.resize(500, 420);
    page.show();
    QCOMPARE(page.StringGrid2->rowCount(), 1);
    // Selecting the row shows it in the memo.
    QCOMPARE(page.Memo1->toPlainText(), u"一\n二\n三"_s);

    page.Memo1->setPlainText(u"1行目, 読点\n2行目\n3行目\n4行目は落ちる"_s);
    page.Button1->click();
    QCOMPARE(page.StringGrid2->rowCount(), 2);
    QCOMPARE(page.StringGrid2->note(1), (MemoOptions::Note{u"1行目, 読点"_s, u"2行目"_s, u"3行目"_s}));

    page.StringGrid2->setCurrentCell(0, 0);
    page.Memo1->setPlainText(u"修正後"_s);
    page.Button3->click();
    QCOMPARE(page.StringGrid2->note(0), (MemoOptions::Note{u"修正後"_s, QString(), QString()}));
    grabTo(page, u"TMemoOptFrame.png"_s);

    QVERIFY(page.SaveMemoOptions());
    QCOMPARE(TextList::read(path),
             (QStringList{u"見積,指示,納品"_s, u"修正後,,"_s, u"\"1行目, 読点\",2行目,3行目"_s}));

    page.StringGrid2->setCurrentCell(0, 0);
    page.Button2->click();
    QCOMPARE(page.StringGrid2->rowCount(), 1);
    QCOMPARE(page.StringGrid2->note(0)[0], u"1行目, 読点"_s);
}

void TestMemoForms::fileWithoutTemplatesKeepsFourEmptyRows()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"MemoOpt.Dat"_s);
    QVERIFY(TextList::write(path, {u"見積,指示,納品"_s}));
    TMemoOptFrame page(path);
    QCOMPARE(page.StringGrid2->rowCount(), MemoOptions::InitialNoteRows);
    QVERIFY(page.SaveMemoOptions());
    QCOMPARE(TextList::read(path).size(), 1 + MemoOptions::InitialNoteRows);
}

QTEST_MAIN(TestMemoForms)
#include "tst_memoforms.moc"
