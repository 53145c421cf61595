#include "support/FakeMessageService.h"
#include "support/RecordingDevice.h"

#include "master/TaxTables.h"
#include "master/widgets/TTaxGridFrame.h"
#include "master/widgets/TTaxGuideForm.h"
#include "platform/TextList.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

using namespace TaxTables;

using Box = FakeMessageService::Box;
using Calls = QList<FakeMessageService::Call>;

const QString InvalidName = u"分類名に無効な文字が含まれています。"_s;

class TestTaxGridFrame : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void showsFirstClassification();
    void missingTableIsFiveByFive();
    void amountDrawnGroupedAndReturnedOnOk();
    void headingReturnsZero();
    void valueCellsTakeWholeYenOnly();
    void switchingSavesThePreviousTable();
    void viewingNeverWrites();
    void lastClassificationCannotBeDeleted();
    void deleteAsksFirst();
    void renameRefusals_data();
    void renameRefusals();
    void renameMovesTheTable();
    void addClassification();
    void editButtonToggles();

private:
    TTaxGridFrame *makeFrame(int kind = Insurance);
    QString path(const QString &name, int kind = Insurance) const
    {
        return tablePath(app_->path(), kind, name);
    }
    QString cell(int r, int c) const { return frame_->StringGrid1->item(r, c)->text(); }

    FakeMessageService messages_;
    std::unique_ptr<QTemporaryDir> app_;
    std::unique_ptr<TTaxGridFrame> frame_;
};

void TestTaxGridFrame::init()
{
    app_ = std::make_unique<QTemporaryDir>();
    messages_ = FakeMessageService{};
    QVERIFY(writeClassifications(app_->path(), Insurance, {u"自家用"_s, u"事業用"_s}, nullptr));
    Grid g = emptyGrid(3, 3);
    g.rows[0] = QStringList{u"車種"_s, u"12ヶ月"_s, u"24ヶ月"_s};
    g.rows[1] = QStringList{u"乗用"_s, u"11500"_s, u"15000"_s};
    g.rows[2] = QStringList{u"軽"_s, u"11540"_s, u"17540"_s};
    QVERIFY(saveTable(path(u"自家用"_s), g, nullptr));
}

void TestTaxGridFrame::cleanup()
{
    frame_.reset();
    app_.reset();
}

TTaxGridFrame *TestTaxGridFrame::makeFrame(int kind)
{
    frame_ = std::make_unique<TTaxGridFrame>(app_->path(), messages_);
    frame_->SetTableKind(kind);
    return frame_.get();
}

void TestTaxGridFrame::showsFirstClassification()
{
    makeFrame();
    QCOMPARE(frame_->ComboBox1->count(), 2);
    QCOMPARE(frame_->classification(), u"自家用"_s);
    QCOMPARE(frame_->StringGrid1->rowCount(), 3);
    QCOMPARE(cell(1, 2), u"15000"_s);
    QVERIFY(frame_->Panel2->isHidden());
    // The cursor starts on the first amount.
    QCOMPARE(frame_->selectedAmount(), qint64(11500));
}

void TestTaxGridFrame::missingTableIsFiveByFive()
{
    makeFrame();
    frame_->ComboBox1->setCurrentIndex(1);
    QCOMPARE(frame_->classification(), u"事業用"_s);
    QCOMPARE(frame_->StringGrid1->rowCount(), 5);
    QCOMPARE(frame_->StringGrid1->columnCount(), 5);
    QCOMPARE(frame_->grid().rows, emptyGrid().rows);
    QCOMPARE(frame_->selectedAmount(), qint64(0));
}

void TestTaxGridFrame::amountDrawnGroupedAndReturnedOnOk()
{
    TTaxGuideForm form(app_->path(), messages_);
    form.SetTableKind(Insurance);
    QTableWidget *grid = form.TaxGridFrame1->StringGrid1;

    // Drawn with grouping, right-aligned 3 pixels from the edge when not current.
    RecordingDevice device(QSize(200, 40), 96);
    QPainter p(&device);
    QStyleOptionViewItem option;
    option.initFrom(grid);
    option.state &= ~QStyle::State_Selected;
    option.rect = QRect(0, 0, 90, 20);
    grid->itemDelegate()->paint(&p, option, grid->model()->index(1, 2));
    p.end();
    QCOMPARE(device.engine.texts.size(), 1);
    QCOMPARE(device.engine.texts[0].text, u"15,000"_s);
    QVERIFY(qAbs(device.engine.texts[0].rect.right() - 87) <= 1.0);

    grid->setCurrentCell(1, 2);
    QTimer::singleShot(0, form.OKButton, &QPushButton::click);
    QCOMPARE(form.exec(), int(QDialog::Accepted));
    QCOMPARE(form.selectedAmount(), qint64(15000));
}

void TestTaxGridFrame::headingReturnsZero()
{
    makeFrame();
    QTableWidget *grid = frame_->StringGrid1;
    // Outside edit mode the headings are fixed: a click does not reach them.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(0, 1)).center());
    QCOMPARE(grid->currentRow(), 1);

    frame_->SetEditing(true);
    grid->item(0, 1)->setText(u"2000"_s);
    grid->setCurrentCell(0, 1);
    QCOMPARE(frame_->selectedAmount(), qint64(0));
    grid->setCurrentCell(2, 0);
    QCOMPARE(frame_->selectedAmount(), qint64(0));
    // Leaving edit mode puts the cursor back on an amount.
    frame_->SetEditing(false);
    QCOMPARE(frame_->selectedAmount(), qint64(11540));
}

void TestTaxGridFrame::valueCellsTakeWholeYenOnly()
{
    makeFrame();
    frame_->SetEditing(true);
    QTableWidget *grid = frame_->StringGrid1;
    grid->item(1, 1)->setText(u"abc"_s);
    QCOMPARE(cell(1, 1), QString());
    grid->item(1, 2)->setText(u" 16400 "_s);
    QCOMPARE(cell(1, 2), u"16400"_s);
    grid->item(1, 0)->setText(u"小型, 貨物"_s);
    QCOMPARE(cell(1, 0), u"小型, 貨物"_s);
    grid->item(0, 2)->setText(u"24"_s);
    QCOMPARE(cell(0, 2), u"24"_s);
}

void TestTaxGridFrame::switchingSavesThePreviousTable()
{
    makeFrame();
    frame_->SetEditing(true);
    frame_->StringGrid1->item(2, 2)->setText(u"18000"_s);
    frame_->addRow();
    frame_->ComboBox1->setCurrentIndex(1);
    const std::optional<Grid> saved = loadTable(path(u"自家用"_s));
    QVERIFY(saved.has_value());
    QCOMPARE(saved->rowCount(), 4);
    QCOMPARE(saved->rows[2][2], u"18000"_s);
    QCOMPARE(saved->rows[1][0], u"乗用"_s);

    // Destroying the frame saves the table being edited.
    frame_->StringGrid1->item(1, 1)->setText(u"7000"_s);
    frame_.reset();
    QCOMPARE(loadTable(path(u"事業用"_s))->rows[1][1], u"7000"_s);
}

void TestTaxGridFrame::viewingNeverWrites()
{
    makeFrame();
    frame_->ComboBox1->setCurrentIndex(1);
    // Meanwhile another process saves the first table.
    Grid other = emptyGrid(2, 2);
    other.rows[1][1] = u"1"_s;
    QVERIFY(saveTable(path(u"自家用"_s), other, nullptr));
    frame_->ComboBox1->setCurrentIndex(0);
    frame_.reset();
    QCOMPARE(loadTable(path(u"自家用"_s))->rows, other.rows);
    QVERIFY(!QFile::exists(path(u"事業用"_s)));
}

void TestTaxGridFrame::lastClassificationCannotBeDeleted()
{
    QVERIFY(writeClassifications(app_->path(), Insurance, {u"自家用"_s}, nullptr));
    makeFrame();
    frame_->deleteClassification();
    QCOMPARE(messages_.calls, (Calls{{Box::Error, u"1件以下にはできません"_s}}));
    QCOMPARE(frame_->ComboBox1->count(), 1);
    QVERIFY(QFile::exists(path(u"自家用"_s)));
}

void TestTaxGridFrame::deleteAsksFirst()
{
    makeFrame();
    messages_.answers = {MessageService::Answer::No};
    frame_->deleteClassification();
    QCOMPARE(messages_.calls, (Calls{{Box::WarningQuestion, u"分類「自家用」を削除しますか?"_s}}));
    QCOMPARE(frame_->ComboBox1->count(), 2);
    QVERIFY(QFile::exists(path(u"自家用"_s)));

    messages_.answers = {MessageService::Answer::Yes};
    frame_->deleteClassification();
    QVERIFY(!QFile::exists(path(u"自家用"_s)));
    QCOMPARE(readClassifications(app_->path(), Insurance), QStringList{u"事業用"_s});
    QCOMPARE(frame_->classification(), u"事業用"_s);
    QCOMPARE(frame_->StringGrid1->rowCount(), 5);
    frame_.reset();
    // The deleted table is not written back on the way out.
    QVERIFY(!QFile::exists(path(u"自家用"_s)));
}

void TestTaxGridFrame::renameRefusals_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("slash") << u"自家/用"_s;
    QTest::newRow("colon") << u"自家:用"_s;
    QTest::newRow("question mark") << u"自家用?"_s;
    QTest::newRow("pipe") << u"a|b"_s;
    // Renaming onto another classification would overwrite its table.
    QTest::newRow("existing classification") << u"事業用"_s;
}

void TestTaxGridFrame::renameRefusals()
{
    QFETCH(QString, name);
    QVERIFY(saveTable(path(u"事業用"_s), emptyGrid(2, 2), nullptr));
    makeFrame();
    messages_.inputs = {name};
    frame_->renameClassification();
    QCOMPARE(messages_.calls,
             (Calls{{Box::TextInput, u"新しい分類名を入力してください。"_s}, {Box::Error, InvalidName}}));
    QCOMPARE(frame_->classification(), u"自家用"_s);
    QCOMPARE(frame_->ComboBox1->currentText(), u"自家用"_s);
    QCOMPARE(readClassifications(app_->path(), Insurance), (QStringList{u"自家用"_s, u"事業用"_s}));
    QCOMPARE(loadTable(path(u"自家用"_s))->rowCount(), 3);
    QCOMPARE(loadTable(path(u"事業用"_s))->rowCount(), 2);
}

void TestTaxGridFrame::renameMovesTheTable()
{
    makeFrame();
    frame_->SetEditing(true);
    frame_->StringGrid1->item(1, 1)->setText(u"12000"_s);
    messages_.inputs = {u"自家用乗用"_s};
    frame_->renameClassification();
    QCOMPARE(messages_.calls, (Calls{{Box::TextInput, u"新しい分類名を入力してください。"_s}}));
    QVERIFY(!QFile::exists(path(u"自家用"_s)));
    // The unsaved edit travelled with the table.
    QCOMPARE(loadTable(path(u"自家用乗用"_s))->rows[1][1], u"12000"_s);
    QCOMPARE(readClassifications(app_->path(), Insurance), (QStringList{u"自家用乗用"_s, u"事業用"_s}));
    QCOMPARE(frame_->ComboBox1->currentText(), u"自家用乗用"_s);
    QCOMPARE(frame_->classification(), u"自家用乗用"_s);
}

void TestTaxGridFrame::addClassification()
{
    makeFrame();
    messages_.inputs = {u"軽*"_s};
    frame_->addClassification();
    QCOMPARE(messages_.calls,
             (Calls{{Box::TextInput, u"追加する分類名を入力してください。"_s}, {Box::Error, InvalidName}}));
    QCOMPARE(frame_->ComboBox1->count(), 2);

    messages_.inputs = {u"軽自動車"_s};
    frame_->addClassification();
    QCOMPARE(readClassifications(app_->path(), Insurance),
             (QStringList{u"自家用"_s, u"事業用"_s, u"軽自動車"_s}));
    QCOMPARE(frame_->classification(), u"軽自動車"_s);
    QCOMPARE(frame_->ComboBox1->currentIndex(), 2);
    QCOMPARE(frame_->StringGrid1->rowCount(), 5);

    // A name already listed only selects it.
    messages_.inputs = {u"自家用"_s};
    frame_->addClassification();
    QCOMPARE(frame_->ComboBox1->count(), 3);
    QCOMPARE(frame_->classification(), u"自家用"_s);

    // A cancelled input adds nothing.
    frame_->addClassification();
    QCOMPARE(frame_->ComboBox1->count(), 3);
    QCOMPARE(messages_.calls.last().box, Box::TextInput);
}

void TestTaxGridFrame::editButtonToggles()
{
    TTaxGuideForm form(app_->path(), messages_);
    form.SetTableKind(WeightTax);
    QCOMPARE(form.windowTitle(), u"選択"_s);
    QCOMPARE(form.TaxGridFrame1->Label1->text(), u"重量税"_s);
    form.EditButton->click();
    QCOMPARE(form.EditButton->text(), u"編集終了(&E)"_s);
    QVERIFY(!form.OKButton->isEnabled());
    QVERIFY(form.TaxGridFrame1->editing());
    QVERIFY(!form.TaxGridFrame1->Panel2->isHidden());
    form.EditButton->click();
    QCOMPARE(form.EditButton->text(), u"編集(&E)"_s);
    QVERIFY(form.OKButton->isEnabled());
    QVERIFY(form.TaxGridFrame1->Panel2->isHidden());
}

QTEST_MAIN(TestTaxGridFrame)
#include "tst_taxgridframe.moc"
