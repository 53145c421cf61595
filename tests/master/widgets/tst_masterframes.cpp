#include "support/FakeMessageService.h"
#include "support/TestAppFolder.h"

#include "master/widgets/MasterGrid.h"
#include "master/widgets/TCarFrame.h"
#include "master/widgets/TGuideForm.h"
#include "master/widgets/TMasterFrame.h"
#include "master/widgets/TaiueoForm.h"
#include "platform/AppFolder.h"
#include "platform/SafeFileName.h"
#include "platform/TextList.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// An application folder with an empty Dat/Mst/Mk/ inside a temporary
// parent, so that a file written outside the folder shows too.
struct Sandbox {
    QTemporaryDir parent;
    AppFolder folder{parent.filePath(u"app/"_s)};
    Sandbox() { QDir().mkpath(folder.carFolder()); }

    void writeList(const QString &name, const QStringList &lines) const
    {
        QVERIFY(TextList::write(folder.masterListFile(name), lines));
    }
    QStringList files() const
    {
        QStringList out;
        QDirIterator it(parent.path(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            out << QDir(parent.path()).relativeFilePath(it.next());
        out.sort();
        return out;
    }
};

// Types text into a cell through its editor and ends with Enter.
void typeInto(QTableWidget *grid, int row, int column, const QString &text)
{
    grid->setCurrentCell(row, column);
    grid->editItem(grid->item(row, column));
    auto *editor = grid->viewport()->findChild<QLineEdit *>();
    QVERIFY(editor);
    // Japanese text arrives as the input method's commit.
    editor->selectAll();
    editor->insert(text);
    QTest::keyClick(editor, Qt::Key_Return);
    // The view commits the editor from its event loop and deletes it later.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The x of the leftmost and rightmost text pixel in a cell, relative to the cell.
std::pair<int, int> inkSpan(QTableWidget *grid, int row, int column)
{
    const QRect cell = grid->visualItemRect(grid->item(row, column));
    const QImage image = grid->viewport()->grab(cell).toImage();
    const QRgb base = image.pixel(image.width() - 1, image.height() - 1);
    int left = image.width(), right = -1;
    for (int y = 0; y < image.height() - 1; ++y)
        for (int x = 0; x < image.width() - 1; ++x)
            if (image.pixel(x, y) != base) {
                left = qMin(left, x);
                right = qMax(right, x);
            }
    return {left, right};
}

} // namespace

class TestMasterFrames : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void moveAndDeleteRows_data();
    void moveAndDeleteRows();
    void amountCells_data();
    void amountCells();
    void listSavedWhenReplacedAndOnClose();
    void badListNameRefused();
    void guideModes();
    void guideResults_data();
    void guideResults();
    void guideCancelKeepsEdits();
    void carNamesFollowTheMakerRow();
    void deleteMaker();
    void sortKeepsCarNamesWithTheirMaker();
    void badMakerNameRefused();
    void kanaPicker_data();
    void kanaPicker();
    void kanaPickerKeys();
    void grabForReview();
};

void TestMasterFrames::moveAndDeleteRows_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("currentAfter");
    QTest::newRow("first up does nothing") << u"Button1"_s << 0 << QStringList{u"A"_s, u"B"_s, u"C"_s} << 0;
    QTest::newRow("last down does nothing") << u"Button2"_s << 2 << QStringList{u"A"_s, u"B"_s, u"C"_s} << 2;
    QTest::newRow("middle up") << u"Button1"_s << 1 << QStringList{u"B"_s, u"A"_s, u"C"_s} << 0;
    QTest::newRow("middle down") << u"Button2"_s << 1 << QStringList{u"A"_s, u"C"_s, u"B"_s} << 2;
    QTest::newRow("delete middle") << u"Button3"_s << 1 << QStringList{u"A"_s, u"C"_s} << 1;
    QTest::newRow("add") << u"Button4"_s << 0 << QStringList{u"A"_s, u"B"_s, u"C"_s, u""_s} << 3;
}

void TestMasterFrames::moveAndDeleteRows()
{
    QFETCH(QString, button);
    QFETCH(int, row);
    QFETCH(QStringList, names);
    QFETCH(int, currentAfter);
    Sandbox box;
    box.writeList(u"担当者"_s, {u"A"_s, u"B"_s, u"C"_s});
    FakeMessageService messages;
    {
        TMasterFrame frame(box.folder, messages);
        frame.ShowList(u"担当者"_s);
        frame.StringGrid1->setCurrentCell(row, 0);
        frame.findChild<QPushButton *>(button)->click();
        QCOMPARE(frame.StringGrid1->columnTexts(), names);
        QCOMPARE(frame.StringGrid1->currentRow(), currentAfter);
    }
    QCOMPARE(TextList::read(box.folder.masterListFile(u"担当者"_s)).size(), names.size());
    QVERIFY(messages.calls.isEmpty());
}

void TestMasterFrames::amountCells_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<bool>("rightAligned");
    QTest::newRow("12a is emptied") << u"12a"_s << u""_s << false;
    QTest::newRow("1500 shows grouped") << u"1500"_s << u"1500"_s << true;
}

void TestMasterFrames::amountCells()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QFETCH(bool, rightAligned);
    Sandbox box;
    box.writeList(u"諸費用"_s, {u"洗車代,"_s, u"代車代,abc"_s});
    FakeMessageService messages;
    TMasterFrame frame(box.folder, messages);
    frame.resize(400, 300);
    frame.show();
    frame.ShowList(u"諸費用"_s);
    QCOMPARE(frame.Label1->text(), u"諸費用"_s);
    MasterGrid *grid = frame.StringGrid1;
    QCOMPARE(grid->columnCount(), 2);
    typeInto(grid, 0, 1, typed);
    QCOMPARE(grid->text(0, 1), kept);

    // A name is drawn from the left, a whole amount grouped at the right.
    const int cellWidth = grid->columnWidth(1);
    const auto [nameLeft, nameRight] = inkSpan(grid, 0, 0);
    QVERIFY(nameLeft >= 2 && nameLeft <= 5);
    const auto [left, right] = inkSpan(grid, 0, 1);
    if (rightAligned) {
        QVERIFY2(right >= cellWidth - 8 && right < cellWidth - 2, qPrintable(QString::number(right)));
        QVERIFY(left > cellWidth / 2);
    } else {
        QCOMPARE(right, -1); // nothing drawn
    }
    frame.ShowList(u"作業名"_s);
    QCOMPARE(TextList::read(box.folder.masterListFile(u"諸費用"_s)),
             (QStringList{u"洗車代,"_s + kept, u"代車代,abc"_s}));
}

void TestMasterFrames::listSavedWhenReplacedAndOnClose()
{
    Sandbox box;
    box.writeList(u"諸費用"_s, {u"洗車代,1500"_s});
    FakeMessageService messages;
    {
        TMasterFrame frame(box.folder, messages);
        frame.ShowList(u"諸費用"_s);
        typeInto(frame.StringGrid1, 0, 0, u"車検代行料"_s);
        frame.ShowList(u"担当者"_s); // missing: one empty row
        QCOMPARE(frame.StringGrid1->columnCount(), 1);
        QCOMPARE(frame.StringGrid1->rows(), QList<QStringList>{{u""_s}});
        QCOMPARE(TextList::read(box.folder.masterListFile(u"諸費用"_s)), QStringList{u"車検代行料,1500"_s});
    }
    QCOMPARE(TextList::read(box.folder.masterListFile(u"担当者"_s)), QStringList{u"\"\""_s});
    QVERIFY(messages.calls.isEmpty());
}

void TestMasterFrames::badListNameRefused()
{
    Sandbox box;
    FakeMessageService messages;
    const QStringList before = box.files();
    {
        TMasterFrame frame(box.folder, messages);
        frame.ShowList(u"作業名"_s);
        frame.ShowList(u"../作業名"_s);
        QCOMPARE(frame.listName(), u"作業名"_s);
        QCOMPARE(frame.Label1->text(), u"作業名"_s);
    }
    const QList<FakeMessageService::Call> expected{
        {FakeMessageService::Box::Warning, SafeFileName::refusal(u"../作業名"_s)}};
    QCOMPARE(messages.calls, expected);
    QCOMPARE(box.files(), before + QStringList{u"app/Dat/Mst/作業名"_s});
}

void TestMasterFrames::guideModes()
{
    for (int kind : {TGuideForm::CarNames, TGuideForm::Costs}) {
        Sandbox box;
        FakeMessageService messages;
        TGuideForm form(box.folder, messages, kind);
        QCOMPARE(form.windowTitle(), u"選択"_s);
        const QList<MasterGrid *> grids = form.findChildren<MasterGrid *>();
        QCOMPARE(grids.size(), kind == TGuideForm::CarNames ? 2 : 1);
        const QList<QPushButton *> commands =
            kind == TGuideForm::CarNames
                ? QList<QPushButton *>{form.CarFrame1->Button1, form.CarFrame1->Button2,
                                       form.CarFrame1->Button3, form.CarFrame1->Button4,
                                       form.CarFrame1->Button5, form.CarFrame1->Button6}
                : QList<QPushButton *>{form.MasterFrame1->Button1, form.MasterFrame1->Button2,
                                       form.MasterFrame1->Button3, form.MasterFrame1->Button4};
        auto check = [&](bool editing) {
            QCOMPARE(form.editing(), editing);
            QCOMPARE(form.Button3->text(), editing ? u"編集終了(&E)"_s : u"編集(&E)"_s);
            for (MasterGrid *g : grids) {
                QCOMPARE(g->isReadOnly(), !editing);
                QCOMPARE(g->selectionBehavior(),
                         editing ? QAbstractItemView::SelectItems : QAbstractItemView::SelectRows);
                QCOMPARE(g->editTriggers() == QAbstractItemView::NoEditTriggers, !editing);
            }
            for (QPushButton *b : commands)
                QCOMPARE(b->isEnabled(), editing);
        };
        check(false);
        form.Button3->click();
        check(true);
        form.Button3->click();
        check(false);
    }
}

void TestMasterFrames::guideResults_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("carRow");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("amount");
    QTest::newRow("cost") << int(TGuideForm::Costs) << 1 << -1 << u"代車代"_s << u"3300"_s;
    QTest::newRow("cost without amount") << int(TGuideForm::Costs) << 0 << -1 << u"洗車代"_s << u""_s;
    QTest::newRow("person") << int(TGuideForm::Staff) << 1 << -1 << u"鈴木"_s << u""_s;
    QTest::newRow("maker and car") << int(TGuideForm::CarNames) << 0 << 1 << u"ホンダ N-BOX"_s << u""_s;
    QTest::newRow("maker without car names") << int(TGuideForm::CarNames) << 1 << 0 << u"いすゞ"_s << u""_s;
    QTest::newRow("other kind shows no list") << 3 << 0 << -1 << u""_s << u""_s;
}

void TestMasterFrames::guideResults()
{
    QFETCH(int, kind);
    QFETCH(int, row);
    QFETCH(int, carRow);
    QFETCH(QString, name);
    QFETCH(QString, amount);
    Sandbox box;
    box.writeList(u"諸費用"_s, {u"\" 洗車代 \""_s, u"代車代,3300"_s});
    box.writeList(u"担当者"_s, {u"佐藤"_s, u"鈴木,主任"_s});
    QVERIFY(TextList::write(box.folder.makersFile(), {u"ホンダ"_s, u"いすゞ"_s}));
    QVERIFY(TextList::write(box.folder.carNamesFile(u"ホンダ"_s), {u"フィット"_s, u"N-BOX"_s}));
    FakeMessageService messages;
    std::optional<TGuideForm::Pick> pick;
    QTimer::singleShot(0, this, [&] {
        auto *form = qobject_cast<TGuideForm *>(QApplication::activeModalWidget());
        QVERIFY(form);
        if (form->CarFrame1) {
            form->CarFrame1->StringGrid1->setCurrentCell(row, 0);
            form->CarFrame1->StringGrid2->setCurrentCell(carRow, 0);
        } else {
            form->MasterFrame1->StringGrid1->setCurrentCell(row, 0);
        }
        QTest::mouseClick(form->Button2, Qt::LeftButton);
    });
    pick = TGuideForm::pick(box.folder, messages, kind);
    QVERIFY(pick);
    QCOMPARE(pick->name, name);
    QCOMPARE(pick->amount, amount);
    QVERIFY(messages.calls.isEmpty());
}

void TestMasterFrames::guideCancelKeepsEdits()
{
    Sandbox box;
    box.writeList(u"担当者"_s, {u"佐藤"_s});
    FakeMessageService messages;
    QTimer::singleShot(0, this, [&] {
        auto *form = qobject_cast<TGuideForm *>(QApplication::activeModalWidget());
        QVERIFY(form);
        form->Button3->click();
        form->MasterFrame1->Button4->click();
        typeInto(form->MasterFrame1->StringGrid1, 1, 0, u"高橋"_s);
        form->Button1->click();
    });
    QVERIFY(!TGuideForm::pick(box.folder, messages, TGuideForm::Staff));
    QCOMPARE(TextList::read(box.folder.masterListFile(u"担当者"_s)), (QStringList{u"佐藤"_s, u"高橋"_s}));
}

void TestMasterFrames::carNamesFollowTheMakerRow()
{
    Sandbox box;
    QVERIFY(TextList::write(box.folder.makersFile(), {u"トヨタ"_s, u"日産"_s}));
    QVERIFY(TextList::write(box.folder.carNamesFile(u"トヨタ"_s), {u"プリウス"_s}));
    FakeMessageService messages;
    {
        TCarFrame frame(box.folder, messages);
        QCOMPARE(frame.StringGrid2->columnTexts(), QStringList{u"プリウス"_s});
        frame.Button4->click();
        typeInto(frame.StringGrid2, 1, 0, u"アクア"_s);
        frame.StringGrid1->setCurrentCell(1, 0);
        QCOMPARE(TextList::read(box.folder.carNamesFile(u"トヨタ"_s)),
                 (QStringList{u"プリウス"_s, u"アクア"_s}));
        QCOMPARE(frame.StringGrid2->columnTexts(), QStringList{u""_s});

        // A new maker row left empty saves nothing for itself.
        frame.Button1->click();
        QCOMPARE(frame.StringGrid1->currentRow(), 2);
        frame.StringGrid1->setCurrentCell(0, 0);

        // Renaming in place writes under the new name; the old file stays.
        typeInto(frame.StringGrid1, 0, 0, u"TOYOTA"_s);
        frame.StringGrid1->setCurrentCell(1, 0);
    }
    QCOMPARE(TextList::read(box.folder.makersFile()), (QStringList{u"TOYOTA"_s, u"日産"_s, u""_s}));
    QCOMPARE(box.files(), (QStringList{u"app/Dat/Mst/Mk/Maker.dat"_s, u"app/Dat/Mst/Mk/TOYOTA"_s,
                                       u"app/Dat/Mst/Mk/トヨタ"_s}));
    QCOMPARE(TextList::read(box.folder.carNamesFile(u"TOYOTA"_s)), (QStringList{u"プリウス"_s, u"アクア"_s}));
    QVERIFY(messages.calls.isEmpty());
}

void TestMasterFrames::deleteMaker()
{
    Sandbox box;
    QVERIFY(TextList::write(box.folder.makersFile(), {u"スズキ"_s, u"ダイハツ"_s}));
    QVERIFY(TextList::write(box.folder.carNamesFile(u"スズキ"_s), {u"ジムニー"_s}));
    QVERIFY(TextList::write(box.folder.carNamesFile(u"ダイハツ"_s), {u"タント"_s}));
    FakeMessageService messages;
    {
        TCarFrame frame(box.folder, messages);
        frame.Button2->click(); // declined
        QCOMPARE(frame.StringGrid1->columnTexts(), (QStringList{u"スズキ"_s, u"ダイハツ"_s}));
        messages.answers = {MessageService::Answer::Yes, MessageService::Answer::Yes};
        frame.Button2->click();
        QCOMPARE(frame.StringGrid1->columnTexts(), QStringList{u"ダイハツ"_s});
        QCOMPARE(frame.StringGrid2->columnTexts(), QStringList{u"タント"_s});
        QVERIFY(!QFile::exists(box.folder.carNamesFile(u"スズキ"_s)));
        // The only maker left goes too: one empty row stays.
        frame.Button2->click();
        QCOMPARE(frame.StringGrid1->columnTexts(), QStringList{u""_s});
        QCOMPARE(frame.StringGrid2->columnTexts(), QStringList{u""_s});
    }
    auto question = [](const QString &maker) -> QString {
        return u"メーカー "_s + maker + u" を削除しますか?\n同時にこのメーカーの車名データも削除されます"_s;
    };
    QCOMPARE(messages.texts(),
             (QStringList{question(u"スズキ"_s), question(u"スズキ"_s), question(u"ダイハツ"_s)}));
    QCOMPARE(box.files(), QStringList{u"app/Dat/Mst/Mk/Maker.dat"_s});
    QCOMPARE(TextList::read(box.folder.makersFile()), QStringList{u""_s});
}

void TestMasterFrames::sortKeepsCarNamesWithTheirMaker()
{
    Sandbox box;
    QVERIFY(TextList::write(box.folder.makersFile(), {u"マツダ"_s, u"BMW"_s, u"audi"_s}));
    FakeMessageService messages;
    {
        TCarFrame frame(box.folder, messages);
        for (const QString &name : {u"ロードスター"_s, u"CX-5"_s, u"MAZDA3"_s}) {
            frame.Button4->click();
            typeInto(frame.StringGrid2, frame.StringGrid2->currentRow(), 0, name);
        }
        frame.Button6->click();
        QCOMPARE(frame.StringGrid2->columnTexts(),
                 (QStringList{u""_s, u"CX-5"_s, u"MAZDA3"_s, u"ロードスター"_s}));
        frame.Button5->click();
        QCOMPARE(frame.StringGrid1->columnTexts(), (QStringList{u"audi"_s, u"BMW"_s, u"マツダ"_s}));
        QCOMPARE(frame.makerName(), u"マツダ"_s);
        frame.StringGrid1->setCurrentCell(0, 0);
    }
    QCOMPARE(TextList::read(box.folder.carNamesFile(u"マツダ"_s)),
             (QStringList{u""_s, u"CX-5"_s, u"MAZDA3"_s, u"ロードスター"_s}));
    // Passing through a maker without car names leaves no file for it.
    QVERIFY(!QFile::exists(box.folder.carNamesFile(u"audi"_s)));
}

void TestMasterFrames::badMakerNameRefused()
{
    Sandbox box;
    QVERIFY(TextList::write(box.folder.makersFile(), {u"日野"_s}));
    FakeMessageService messages;
    {
        TCarFrame frame(box.folder, messages);
        frame.Button4->click();
        typeInto(frame.StringGrid2, 1, 0, u"プロフィア"_s);
        typeInto(frame.StringGrid1, 0, 0, u"../../日野"_s);
        QCOMPARE(frame.makerName(), u"日野"_s);
        frame.Button1->click();
        typeInto(frame.StringGrid1, 1, 0, u"CON"_s);
        QCOMPARE(frame.makerName(), u""_s);
    }
    QCOMPARE(messages.texts(),
             (QStringList{SafeFileName::refusal(u"../../日野"_s), SafeFileName::refusal(u"CON"_s)}));
    QCOMPARE(box.files(), (QStringList{u"app/Dat/Mst/Mk/Maker.dat"_s, u"app/Dat/Mst/Mk/日野"_s}));
    QCOMPARE(TextList::read(box.folder.makersFile()), (QStringList{u"日野"_s, u""_s}));
}

void TestMasterFrames::kanaPicker_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("kana");
    QTest::newRow("あ") << 0 << 0 << u"あ"_s;
    QTest::newRow("そ") << 4 << 2 << u"そ"_s;
    QTest::newRow("ゆ") << 2 << 7 << u"ゆ"_s;
    QTest::newRow("gap of the や row") << 1 << 7 << u""_s;
    QTest::newRow("を") << 2 << 9 << u"を"_s;
    QTest::newRow("gap of the わ row") << 3 << 9 << u""_s;
    QTest::newRow("ん") << 4 << 9 << u"ん"_s;
}

void TestMasterFrames::kanaPicker()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, kana);
    TaiueoForm form;
    QCOMPARE(form.windowTitle(), u"かな文字選択"_s);
    form.show();
    QTableWidget *grid = form.StringGrid1;
    QCOMPARE(grid->columnWidth(column), 24);
    QCOMPARE(grid->rowHeight(row), 26);
    const QRect cell = grid->visualItemRect(grid->item(row, column));
    QVERIFY(grid->viewport()->rect().contains(cell));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(form.kana(), kana);
}

void TestMasterFrames::kanaPickerKeys()
{
    {
        TaiueoForm form;
        form.show();
        QTest::keyClick(form.StringGrid1, Qt::Key_Right);
        QTest::keyClick(form.StringGrid1, Qt::Key_Down);
        QTest::keyClick(form.StringGrid1, Qt::Key_Return);
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(form.kana(), u"き"_s);
    }
    {
        TaiueoForm form;
        form.show();
        QTest::keyClick(form.StringGrid1, Qt::Key_Escape);
        QCOMPARE(form.result(), int(QDialog::Rejected));
        QVERIFY(form.isHidden());
    }
}

// Pictures of the dialogs for a person to look at; set TORVANE_GRAB_DIR to get them.
void TestMasterFrames::grabForReview()
{
    const QString dir = qEnvironmentVariable("TORVANE_GRAB_DIR");
    if (dir.isEmpty())
        QSKIP("TORVANE_GRAB_DIR is not set");
    TestAppFolder app;
    FakeMessageService messages;
    const AppFolder folder(app.path());
    {
        TGuideForm form(folder, messages, TGuideForm::Costs);
        form.show();
        form.MasterFrame1->StringGrid1->setCurrentCell(3, 0);
        QTest::qWait(50);
        QVERIFY(form.grab().save(dir + u"/guide-costs-read-only.png"_s));
        form.Button3->click();
        form.MasterFrame1->StringGrid1->setCurrentCell(5, 1);
        QTest::qWait(50);
        QVERIFY(form.grab().save(dir + u"/guide-costs-edit.png"_s));
    }
    {
        TGuideForm form(folder, messages, TGuideForm::Staff);
        form.show();
        QTest::qWait(50);
        QVERIFY(form.grab().save(dir + u"/guide-staff.png"_s));
    }
    {
        TGuideForm form(folder, messages, TGuideForm::CarNames);
        form.show();
        form.CarFrame1->StringGrid1->setCurrentCell(3, 0);
        form.CarFrame1->StringGrid2->setCurrentCell(2, 0);
        QTest::qWait(50);
        QVERIFY(form.grab().save(dir + u"/guide-cars-read-only.png"_s));
        form.Button3->click();
        QTest::qWait(50);
        QVERIFY(form.grab().save(dir + u"/guide-cars-edit.png"_s));
    }
    {
        TCarFrame frame(folder, messages);
        frame.resize(560, 400);
        frame.show();
        QTest::qWait(50);
        QVERIFY(frame.grab().save(dir + u"/car-master.png"_s));
    }
    TaiueoForm kana;
    kana.show();
    kana.StringGrid1->setCurrentCell(2, 3);
    QTest::qWait(50);
    QVERIFY(kana.grab().save(dir + u"/kana-picker.png"_s));
}

QTEST_MAIN(TestMasterFrames)
#include "tst_masterframes.moc"
