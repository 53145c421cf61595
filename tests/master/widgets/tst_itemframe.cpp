#include "support/FakeMessageService.h"
#include "support/TestAppFolder.h"

#include "master/ItemGrid.h"
#include "master/widgets/ItemGridModel.h"
#include "master/widgets/TFrame1.h"
#include "platform/CommaText.h"
#include "platform/Cp932.h"
#include "platform/TextList.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QToolTip>

using namespace Qt::StringLiterals;
using namespace ItemFiles;

using Box = FakeMessageService::Box;
using Calls = QList<FakeMessageService::Call>;

namespace {

// A small price list in a temporary application folder: three categories,
// two maintenance classes, one parts class.
struct SmallList {
    QTemporaryDir dir;
    Location where{dir.path()};
    FakeMessageService messages;

    SmallList()
    {
        QDir().mkpath(where.folder);
        TextList::write(where.categoryFile(), {u"車検整備,a"_s, u"ブレーキ,b"_s, u"電装,c"_s});
        TextList::write(where.classFile(Kind::Maintenance), {u"軽自動車"_s, u"小型乗用"_s});
        TextList::write(where.classFile(Kind::Parts), {u"純正品"_s});
        TextList::write(where.itemFile(Kind::Maintenance, u"a"_s), {u"車検整備一式,3.00,3.50"_s});
        TextList::write(where.itemFile(Kind::Maintenance, u"b"_s),
                        {u"ブレーキパッド交換(フロント),0.90,1.00"_s, u"ブレーキフルード交換,0.50"_s});
        TextList::write(where.itemFile(Kind::Maintenance, u"c"_s), {u"バッテリー交換,0.30,0.30"_s});
        for (const QString &code : {u"a"_s, u"b"_s, u"c"_s})
            TextList::write(where.itemFile(Kind::Parts, code), {});
        TextList::write(where.itemFile(Kind::Parts, u"b"_s), {u"ブレーキパッド(フロント),9800"_s});
    }
    QString folder() const { return dir.path() + u'/'; }
    QStringList lines(const QString &path) const { return TextList::read(path); }
};

int visibleColumns(const TFrame1 &frame)
{
    int n = 0;
    for (int c = 0; c < frame.model()->columnCount(); ++c)
        n += frame.StringGrid1->isColumnHidden(c) ? 0 : 1;
    return n;
}

} // namespace

class TestItemFrame : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void viewModeShowsNameAndChosenClass();
    void kindAndCategoryChangeTheRows();
    void editorSavesWhatItShows();
    void lastColumnRemovedWhateverIsCurrent();
    void categoryAdd_data();
    void categoryAdd();
    void categoryDelete_data();
    void categoryDelete();
    void categoryRename();
    void searchByKeyboard();
    void badFilesAreReported();
    void truncatedNameShowsInFull();
    void bundledListIsReal();
    void grabForReview();
};

void TestItemFrame::viewModeShowsNameAndChosenClass()
{
    SmallList l;
    TFrame1 frame(l.folder(), l.messages);
    frame.resize(180, 400);
    frame.show();
    QVERIFY(l.messages.calls.isEmpty());
    QCOMPARE(frame.ComboBox1->currentText(), u"車検整備"_s);
    QCOMPARE(frame.ComboBox2->count(), 2);
    QVERIFY(!frame.ToolBar1->isVisible() && !frame.ListBox1->isVisible());
    QVERIFY(frame.StringGrid1->isRowHidden(0));
    QCOMPARE(visibleColumns(frame), 2);
    QVERIFY(!frame.StringGrid1->isColumnHidden(1));
    QCOMPARE(frame.StringGrid1->columnWidth(1), 60 - 3);
    // The name column fills the list as it is shown, not a width from
    // before the list had its size.
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QCOMPARE(frame.StringGrid1->columnWidth(0), frame.StringGrid1->viewport()->width() - (60 - 3) - 3);
    QCOMPARE(frame.StringGrid1->statusTip(), u"ダブルクリックで明細に挿入"_s);
    QCOMPARE(frame.GetSelectedItemLine(), u"整備,-1,車検整備一式,,3.00,0,0,0,0,eof"_s);

    frame.selectVehicleClass(1);
    QVERIFY(frame.StringGrid1->isColumnHidden(1));
    QVERIFY(!frame.StringGrid1->isColumnHidden(2));
    QCOMPARE(frame.model()->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), u"小型乗用"_s);
    QCOMPARE(frame.GetSelectedItemLine(), u"整備,-1,車検整備一式,,3.50,0,0,0,0,eof"_s);

    // Double click and Enter both pick the row.
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QSignalSpy chosen(&frame, &TFrame1::itemChosen);
    const QRect cell = frame.StringGrid1->visualRect(frame.model()->index(1, 0));
    QTest::mouseClick(frame.StringGrid1->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(frame.StringGrid1->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(chosen.size(), 1);
    QTest::keyClick(frame.StringGrid1, Qt::Key_Return);
    QCOMPARE(chosen.size(), 2);
}

void TestItemFrame::kindAndCategoryChangeTheRows()
{
    SmallList l;
    TFrame1 frame(l.folder(), l.messages);
    frame.selectCategory(1);
    QCOMPARE(frame.model()->rowCount(), 3);
    frame.StringGrid1->setCurrentIndex(frame.model()->index(2, 0));
    // A value missing for the class hands over an empty field.
    frame.selectVehicleClass(1);
    QCOMPARE(CommaText::split(frame.GetSelectedItemLine()).at(4), QString());

    frame.RadioButton2->click();
    QCOMPARE(frame.kind(), Kind::Parts);
    QCOMPARE(frame.ComboBox2->currentText(), u"純正品"_s);
    QCOMPARE(frame.GetSelectedItemLine(), u"部品,-1,ブレーキパッド(フロント),,0,0,0,9800,0,eof"_s);
    frame.selectCategory(0); // an empty item file shows no rows
    QCOMPARE(frame.model()->rowCount(), 1);
    QCOMPARE(frame.GetSelectedItemLine(), QString());
}

void TestItemFrame::editorSavesWhatItShows()
{
    SmallList l;
    TFrame1 frame(l.folder(), l.messages);
    frame.resize(500, 400);
    frame.show();
    frame.SetEditMode(true);
    QVERIFY(frame.ToolBar1->isVisible() && frame.ListBox1->isVisible() && !frame.TypePanel->isVisible());
    QVERIFY(!frame.StringGrid1->isRowHidden(0));
    QCOMPARE(frame.StringGrid1->columnWidth(1), 60);
    QVERIFY(frame.StringGrid1->columnWidth(0) >= 110);

    // Typed through the grid's editor: values normalised, (0,0) stays empty.
    QAbstractItemModel *m = frame.model();
    QVERIFY(m->setData(m->index(1, 1), u"-3.256"_s, Qt::EditRole));
    QVERIFY(!(m->flags(m->index(0, 0)) & Qt::ItemIsEditable));
    frame.StringGrid1->setCurrentIndex(m->index(1, 2));
    frame.StringGrid1->setFocus();
    QTest::keyClick(frame.StringGrid1, Qt::Key_2);
    auto *editor = frame.StringGrid1->findChild<QLineEdit *>();
    QVERIFY(editor);
    QTest::keyClicks(editor, u".5"_s);
    QCOMPARE(editor->text(), u"2.5"_s);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(m->index(1, 2).data().toString(), u"2.50"_s);
    frame.insertItemRowAtTop();
    QVERIFY(m->setData(m->index(1, 0), u"下回り点検"_s, Qt::EditRole));
    QVERIFY(m->setData(m->index(1, 1), u"abc"_s, Qt::EditRole));
    QCOMPARE(m->index(1, 1).data().toString(), QString());
    QVERIFY(m->setData(m->index(0, 2), u"小型"_s, Qt::EditRole));

    // Leaving edit mode writes the items and the classes.
    frame.SetEditMode(false);
    QCOMPARE(l.lines(l.where.itemFile(Kind::Maintenance, u"a"_s)),
             (QStringList{u"下回り点検,,"_s, u"車検整備一式,3.25,2.50"_s}));
    QCOMPARE(l.lines(l.where.classFile(Kind::Maintenance)), (QStringList{u"軽自動車"_s, u"小型"_s}));
    QCOMPARE(frame.ComboBox2->itemText(1), u"小型"_s);

    // Switching category in edit mode saves the category shown first.
    frame.SetEditMode(true);
    frame.deleteItemRow();
    frame.ListBox1->setCurrentRow(2);
    QCOMPARE(frame.ComboBox1->currentIndex(), 2);
    QCOMPARE(l.lines(l.where.itemFile(Kind::Maintenance, u"a"_s)), QStringList{u"車検整備一式,3.25,2.50"_s});
    QCOMPARE(frame.model()->grid().cell(1, 0), u"バッテリー交換"_s);
}

void TestItemFrame::lastColumnRemovedWhateverIsCurrent()
{
    SmallList l;
    TFrame1 frame(l.folder(), l.messages);
    frame.SetEditMode(true);
    frame.appendVehicleClass();
    QCOMPARE(frame.StringGrid1->currentIndex(), frame.model()->index(0, 3));
    frame.StringGrid1->setCurrentIndex(frame.model()->index(1, 1));
    frame.removeLastVehicleClass();
    frame.removeLastVehicleClass();
    QCOMPARE(frame.model()->grid().classes(), QStringList{u"軽自動車"_s});
    frame.SaveAll();
    QCOMPARE(l.lines(l.where.classFile(Kind::Maintenance)), QStringList{u"軽自動車"_s});
    QCOMPARE(l.lines(l.where.itemFile(Kind::Maintenance, u"a"_s)), QStringList{u"車検整備一式,3.00"_s});
}

void TestItemFrame::categoryAdd_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("shown");
    QTest::newRow("new name") << u"空調"_s << 3 << u"空調"_s;
    QTest::newRow("existing name selects the older") << u"ブレーキ"_s << 1 << u"ブレーキ"_s;
}

void TestItemFrame::categoryAdd()
{
    QFETCH(QString, name);
    QFETCH(int, selected);
    QFETCH(QString, shown);
    SmallList l;
    TFrame1 frame(l.folder(), l.messages);
    frame.SetEditMode(true);
    QVERIFY(frame.model()->setData(frame.model()->index(1, 1), u"4"_s, Qt::EditRole));
    l.messages.inputs = {std::nullopt, name};
    frame.addCategory(); // cancelled
    QCOMPARE(frame.categories().size(), 3);
    frame.addCategory();
    QCOMPARE(l.messages.calls, (Calls{{Box::TextInput, u"新しい分類名を入力してください。"_s},
                                      {Box::TextInput, u"新しい分類名を入力してください。"_s}}));
    QCOMPARE(frame.categories().size(), 4);
    QCOMPARE(frame.currentCategory(), selected);
    QCOMPARE(frame.ComboBox1->currentText(), shown);
    QCOMPARE(frame.ListBox1->currentRow(), selected);
    // The category shown before was saved; the new one has its files.
    QCOMPARE(l.lines(l.where.itemFile(Kind::Maintenance, u"a"_s)), QStringList{u"車検整備一式,4.00,3.50"_s});
    const QString code = frame.categories().code(3);
    QVERIFY(!code.isEmpty());
    QCOMPARE(l.lines(l.where.itemFile(Kind::Maintenance, code)), QStringList{u","_s});
    QCOMPARE(l.lines(l.where.itemFile(Kind::Parts, code)), QStringList{u"\"\""_s});
    QCOMPARE(l.lines(l.where.categoryFile()).last(), CommaText::join({name, code}));
}

void TestItemFrame::categoryDelete_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<QString>("shown");
    QTest::newRow("middle: the next moves in") << 1 << QStringList{u"車検整備"_s, u"電装"_s} << u"電装"_s;
    QTest::newRow("last: the new last") << 2 << QStringList{u"車検整備"_s, u"ブレーキ"_s} << u"ブレーキ"_s;
}

void TestItemFrame::categoryDelete()
{
    QFETCH(int, index);
    QFETCH(QStringList, left);
    QFETCH(QString, shown);
    SmallList l;
    TFrame1 frame(l.folder(), l.messages);
    frame.SetEditMode(true);
    frame.selectCategory(index);
    const QString name = frame.categories().name(index);
    const QString code = frame.categories().code(index);
    // Edits of the deleted category are not written anywhere.
    QVERIFY(frame.model()->setData(frame.model()->index(1, 0), u"消える"_s, Qt::EditRole));
    l.messages.answers = {MessageService::Answer::No, MessageService::Answer::Yes};
    frame.deleteCategory();
    QCOMPARE(frame.categories().size(), 3);
    frame.deleteCategory();
    QCOMPARE(l.messages.texts(), QStringList(2, u"分類 「"_s + name + u"」を削除しますか？"_s));
    QCOMPARE(frame.categories().names(), left);
    QCOMPARE(frame.ComboBox1->currentText(), shown);
    QCOMPARE(frame.ListBox1->currentItem()->text(), shown);
    QCOMPARE(frame.currentCategory(), index == 2 ? 1 : index);
    QCOMPARE(frame.model()->grid().cell(1, 0),
             shown == u"電装"_s ? u"バッテリー交換"_s : u"ブレーキパッド交換(フロント)"_s);
    QVERIFY(!QFile::exists(l.where.itemFile(Kind::Maintenance, code)));
    QVERIFY(!QFile::exists(l.where.itemFile(Kind::Parts, code)));
    QCOMPARE(l.lines(l.where.categoryFile()).size(), 2);

    // The last remaining category stays.
    l.messages.calls.clear();
    l.messages.answers = {MessageService::Answer::Yes};
    frame.deleteCategory();
    frame.deleteCategory();
    QCOMPARE(frame.categories().size(), 1);
    QCOMPARE(l.messages.calls.last(), (FakeMessageService::Call{Box::Error, u"最後の1件は削除できません"_s}));
}

void TestItemFrame::categoryRename()
{
    SmallList l;
    TFrame1 frame(l.folder(), l.messages);
    frame.SetEditMode(true);
    frame.selectCategory(2);
    l.messages.inputs = {u"電装品"_s, u"車検整備"_s};
    frame.renameCategory();
    QCOMPARE(frame.ComboBox1->itemText(2), u"電装品"_s);
    QCOMPARE(frame.ListBox1->item(2)->text(), u"電装品"_s);
    QCOMPARE(l.lines(l.where.categoryFile()).at(2), u"電装品,c"_s);
    // A name that an older category has: that one is shown from now on.
    frame.renameCategory();
    QCOMPARE(frame.currentCategory(), 0);
    QCOMPARE(frame.model()->grid().cell(1, 0), u"車検整備一式"_s);
    QCOMPARE(l.lines(l.where.categoryFile()).at(2), u"車検整備,c"_s);
}

void TestItemFrame::searchByKeyboard()
{
    SmallList l;
    TFrame1 frame(l.folder(), l.messages);
    frame.resize(240, 400);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    frame.focusSearch();
    QVERIFY(frame.SearchEdit->hasFocus());
    QSignalSpy chosen(&frame, &TFrame1::itemChosen);
    for (const QString &query : {u"ﾌﾞﾚｰｷ"_s, u"ぶれーき"_s, u"ブレーキ"_s}) {
        frame.SearchEdit->clear();
        frame.SearchEdit->insert(query); // as an input method commits it
        QVERIFY(frame.searching());
        QCOMPARE(frame.model()->rowCount(), 3);
    }
    // The category stands in an extra column; the list moves under the cursor.
    const int categoryColumn = frame.model()->categoryColumn();
    QCOMPARE(categoryColumn, 3);
    QVERIFY(!frame.StringGrid1->isColumnHidden(categoryColumn));
    QCOMPARE(frame.model()->index(1, categoryColumn).data().toString(), u"ブレーキ"_s);
    QTest::keyClick(frame.SearchEdit, Qt::Key_Down);
    QCOMPARE(frame.StringGrid1->currentIndex().row(), 2);
    QVERIFY(frame.SearchEdit->hasFocus());
    QCOMPARE(frame.GetSelectedItemLine(), u"整備,-1,ブレーキフルード交換,,0.50,0,0,0,0,eof"_s);
    QTest::keyClick(frame.SearchEdit, Qt::Key_Return);
    QCOMPARE(chosen.size(), 1);

    // Esc ends the search: the category is back.
    QTest::keyClick(frame.SearchEdit, Qt::Key_Escape);
    QVERIFY(frame.SearchEdit->text().isEmpty());
    QVERIFY(!frame.searching());
    QCOMPARE(frame.model()->columnCount(), 3);
    QCOMPARE(frame.model()->grid().cell(1, 0), u"車検整備一式"_s);

    // Another kind searches its own items.
    frame.RadioButton2->click();
    frame.SearchEdit->insert(u"パッド"_s);
    QCOMPARE(frame.model()->rowCount(), 2);
    QCOMPARE(frame.GetSelectedItemLine(), u"部品,-1,ブレーキパッド(フロント),,0,0,0,9800,0,eof"_s);
    // No hit: nothing to hand over.
    QTest::keyClicks(frame.SearchEdit, u"XYZ"_s);
    QCOMPARE(frame.model()->rowCount(), 1);
    QCOMPARE(frame.GetSelectedItemLine(), QString());
    QTest::keyClick(frame.SearchEdit, Qt::Key_Return);
    QCOMPARE(chosen.size(), 1);
}

void TestItemFrame::badFilesAreReported()
{
    SmallList l;
    QFile::remove(l.where.itemFile(Kind::Maintenance, u"a"_s));
    QFile f(l.where.itemFile(Kind::Maintenance, u"b"_s));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(Cp932::encode(u"ブレーキ点検,0.5\r\n"_s) + "\x82\xff\x82\r\n" +
            QByteArray(MaxLineLength + 1, 'x') + "\r\n");
    f.close();
    TFrame1 frame(l.folder(), l.messages);
    QCOMPARE(frame.model()->rowCount(), 1);
    QCOMPARE(l.messages.calls.size(), 1);
    QCOMPARE(l.messages.calls.first().box, Box::Warning);
    QVERIFY(l.messages.calls.first().text.contains(u"ma.csv を読み込めません"_s));
    frame.selectCategory(1);
    QCOMPARE(frame.model()->rowCount(), 2);
    QCOMPARE(l.messages.calls.size(), 2);
    QVERIFY(l.messages.calls.last().text.contains(u"mb.csv の 2 行目"_s));
    QVERIFY(l.messages.calls.last().text.contains(u"mb.csv の 3 行目"_s));
}

void TestItemFrame::truncatedNameShowsInFull()
{
    SmallList l;
    TFrame1 frame(l.folder(), l.messages);
    frame.setNameHints(true);
    frame.resize(180, 300);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    frame.selectCategory(1);
    QWidget *viewport = frame.StringGrid1->viewport();
    auto hintAt = [&](int row, int column) {
        QToolTip::hideText();
        if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }))
            return u"(hint stays)"_s;
        const QRect cell = frame.StringGrid1->visualRect(frame.model()->index(row, column));
        QHelpEvent help(QEvent::ToolTip, cell.center(), viewport->mapToGlobal(cell.center()));
        QCoreApplication::sendEvent(viewport, &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    QCOMPARE(hintAt(1, 0), u"ブレーキパッド交換(フロント)"_s);
    QCOMPARE(hintAt(1, 1), QString());
    frame.resize(600, 300);
    QCOMPARE(hintAt(1, 0), QString());
}

void TestItemFrame::bundledListIsReal()
{
    TestAppFolder app;
    FakeMessageService messages;
    TFrame1 frame(app.path(), messages);
    QVERIFY2(messages.calls.isEmpty(), qPrintable(messages.texts().join(u'\n')));
    QVERIFY(frame.categories().size() >= 10);
    int items = 0;
    for (Kind kind : {Kind::Maintenance, Kind::Parts}) {
        frame.setKind(kind);
        for (int i = 0; i < frame.categories().size(); ++i) {
            frame.selectCategory(i);
            items += frame.model()->grid().itemCount();
            for (int r = 1; r < frame.model()->grid().rowCount(); ++r) {
                const QStringList &row = frame.model()->grid().row(r);
                QVERIFY2(!row.first().isEmpty(), qPrintable(frame.categories().name(i)));
                bool priced = false;
                for (int c = 1; c < row.size(); ++c) {
                    QCOMPARE(ItemGrid::NormaliseValue(row.at(c), kind), row.at(c)); // stored as saved
                    priced = priced || !row.at(c).isEmpty();
                }
                QVERIFY2(priced, qPrintable(row.first()));
            }
        }
    }
    QVERIFY(items >= 150);
    QVERIFY(messages.calls.isEmpty());
}

// Pictures of the frame for a person to look at; set TORVANE_GRAB_DIR to get them.
void TestItemFrame::grabForReview()
{
    const QString dir = qEnvironmentVariable("TORVANE_GRAB_DIR");
    if (dir.isEmpty())
        QSKIP("TORVANE_GRAB_DIR is not set");
    TestAppFolder app;
    FakeMessageService messages;
    TFrame1 frame(app.path(), messages);
    frame.resize(180, 560);
    frame.show();
    frame.selectCategory(4);
    QTest::qWait(50);
    QVERIFY(frame.grab().save(dir + u"/items-view.png"_s));
    frame.setSearchText(u"ﾌﾞﾚｰｷ"_s);
    QTest::qWait(50);
    QVERIFY(frame.grab().save(dir + u"/items-search.png"_s));
    frame.setSearchText(QString());
    frame.resize(760, 560);
    frame.SetEditMode(true);
    QTest::qWait(50);
    QVERIFY(frame.grab().save(dir + u"/items-edit.png"_s));
    frame.setKind(Kind::Parts);
    frame.SetEditMode(false);
    frame.resize(180, 560);
    frame.selectCategory(11);
    QTest::qWait(50);
    QVERIFY(frame.grab().save(dir + u"/items-parts.png"_s));
}

QTEST_MAIN(TestItemFrame)
#include "tst_itemframe.moc"
