#include "master/ItemFiles.h"
#include "master/ItemGrid.h"
#include "master/ItemSearch.h"
#include "platform/CommaText.h"
#include "platform/Cp932.h"
#include "platform/TextList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace ItemFiles;

namespace {

// An application folder with a small price list: two categories, three
// maintenance classes, two parts classes.
struct PriceFolder {
    QTemporaryDir dir;
    Location where{dir.path()};

    PriceFolder()
    {
        QDir().mkpath(where.folder);
        TextList::write(where.categoryFile(), {u"車検整備,1"_s, u"ブレーキ,2"_s});
        TextList::write(where.classFile(Kind::Maintenance), {u"軽自動車"_s, u"小型乗用"_s, u"中型乗用"_s});
        TextList::write(where.classFile(Kind::Parts), {u"純正"_s, u"社外"_s});
        TextList::write(where.itemFile(Kind::Maintenance, u"1"_s), {u"車検整備一式,6.5,7.8,8.9"_s});
        TextList::write(where.itemFile(Kind::Maintenance, u"2"_s),
                        {u"ブレーキパッド交換(フロント),1.2,1.4,1.5"_s, u"ﾌﾞﾚｰｷﾌﾙｰﾄﾞ交換,0.8"_s});
    }
    void writeBytes(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

} // namespace

class TestPriceList : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void normaliseValue_data();
    void normaliseValue();
    void displayValue();
    void rowsFollowTheVehicleClasses();
    void editsKeepTheGridSound();
    void columnRemovalTakesTheLastClass();
    void handOver_data();
    void handOver();
    void categoryCommands();
    void categoryDeleteSelection_data();
    void categoryDeleteSelection();
    void newCategoryFilesHaveOneEmptyRow();
    void itemsRoundTrip();
    void badFilesLoadWhatTheyCan();
    void fold_data();
    void fold();
    void searchAcrossCategories();
};

void TestPriceList::normaliseValue_data()
{
    QTest::addColumn<bool>("parts");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("points cut to hundredths") << false << u"1.249"_s << u"1.24"_s;
    QTest::newRow("points rounded to four decimals first") << false << u"1.99999"_s << u"2.00"_s;
    QTest::newRow("points clamped") << false << u"1234"_s << u"999.99"_s;
    QTest::newRow("points at the limit") << false << u"999.999"_s << u"999.99"_s;
    QTest::newRow("points negative") << false << u"-300"_s << u"300.00"_s;
    QTest::newRow("points negative beyond the range") << false << u"-1234"_s << u"999.99"_s;
    QTest::newRow("points whole") << false << u"2"_s << u"2.00"_s;
    QTest::newRow("points below a hundredth") << false << u"0.009"_s << QString();
    QTest::newRow("points zero") << false << u"0"_s << QString();
    QTest::newRow("price cut to whole yen") << true << u"3.9"_s << u"3"_s;
    QTest::newRow("price negative cut") << true << u"-2.7"_s << u"2"_s;
    QTest::newRow("price clamped") << true << u"12345678"_s << u"9999999"_s;
    QTest::newRow("price huge") << true << u"1e300"_s << u"9999999"_s;
    QTest::newRow("price negative") << true << u"-300"_s << u"300"_s;
    QTest::newRow("price zero") << true << u"0"_s << QString();
    QTest::newRow("price empty") << true << QString() << QString();
    QTest::newRow("price not a number") << true << u"abc"_s << QString();
    QTest::newRow("price grouped is not a number") << true << u"1,200"_s << QString();
}

void TestPriceList::normaliseValue()
{
    QFETCH(bool, parts);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(ItemGrid::NormaliseValue(text, parts ? Kind::Parts : Kind::Maintenance), expected);
}

void TestPriceList::displayValue()
{
    QCOMPARE(ItemGrid::displayValue(u"1234567"_s, Kind::Parts), u"1,234,567"_s);
    QCOMPARE(ItemGrid::displayValue(u"1.5"_s, Kind::Maintenance), u"1.50"_s);
    QCOMPARE(ItemGrid::displayValue(u"0"_s, Kind::Parts), QString());
    QCOMPARE(ItemGrid::displayValue(u"見積"_s, Kind::Parts), QString());
}

void TestPriceList::rowsFollowTheVehicleClasses()
{
    ItemGrid grid;
    grid.setClasses({u"軽"_s, u"小型"_s, u"中型"_s});
    grid.setItems({{u"少ない"_s, u"1.2"_s}, {u"多い"_s, u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s}, {}});
    QCOMPARE(grid.columnCount(), 4);
    QCOMPARE(grid.rowCount(), 4);
    QCOMPARE(grid.row(1), (QStringList{u"少ない"_s, u"1.2"_s, QString(), QString()}));
    // Values beyond the classes are not shown and not saved.
    QCOMPARE(grid.row(2), (QStringList{u"多い"_s, u"1"_s, u"2"_s, u"3"_s}));
    QCOMPARE(grid.items().at(1).size(), 4);
    QCOMPARE(grid.row(3), QStringList(4, QString()));
    QCOMPARE(grid.classes(), (QStringList{u"軽"_s, u"小型"_s, u"中型"_s}));

    ItemGrid empty;
    empty.setClasses({u"軽"_s});
    empty.setItems({});
    QCOMPARE(empty.itemCount(), 0);
}

void TestPriceList::editsKeepTheGridSound()
{
    ItemGrid grid(Kind::Parts);
    grid.setClasses({u"純正"_s, u"社外"_s});
    grid.setItems({{u"ワイパーゴム"_s, u"1200"_s}});
    grid.setCell(0, 0, u"何か"_s);
    QCOMPARE(grid.cell(0, 0), QString());
    grid.setCell(0, 2, u"社外品 (汎用)"_s); // row 0 takes any text
    QCOMPARE(grid.cell(0, 2), u"社外品 (汎用)"_s);
    grid.setCell(1, 0, u"1500"_s); // a name may look like a number
    QCOMPARE(grid.cell(1, 0), u"1500"_s);
    grid.setCell(1, 1, u"千円"_s);
    QCOMPARE(grid.cell(1, 1), QString());
    grid.setCell(1, 2, u"-980.6"_s);
    QCOMPARE(grid.cell(1, 2), u"980"_s);

    grid.appendRow();
    grid.insertRow(1);
    QCOMPARE(grid.itemCount(), 3);
    QCOMPARE(grid.cell(2, 0), u"1500"_s);
    grid.removeRow(0); // the class row is not an item
    QCOMPARE(grid.cell(0, 1), u"純正"_s);
    grid.removeRow(1);
    QCOMPARE(grid.cell(1, 0), u"1500"_s);
}

void TestPriceList::columnRemovalTakesTheLastClass()
{
    ItemGrid grid;
    grid.setClasses({u"軽"_s, u"小型"_s});
    grid.setItems({{u"点検"_s, u"1"_s, u"2"_s}});
    grid.appendColumn();
    grid.setCell(0, 3, u"大型"_s);
    QCOMPARE(grid.classes(), (QStringList{u"軽"_s, u"小型"_s, u"大型"_s}));
    grid.removeLastColumn();
    grid.removeLastColumn();
    QCOMPARE(grid.classes(), QStringList{u"軽"_s});
    QCOMPARE(grid.row(1), (QStringList{u"点検"_s, u"1"_s}));
    grid.removeLastColumn();
    grid.removeLastColumn(); // the name column stays
    QCOMPARE(grid.columnCount(), 1);
    QCOMPARE(grid.cell(1, 0), u"点検"_s);
}

void TestPriceList::handOver_data()
{
    QTest::addColumn<bool>("parts");
    QTest::addColumn<QStringList>("item");
    QTest::addColumn<int>("classIndex");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("maintenance") << false << QStringList{u"エンジンオイル交換"_s, u"0.3"_s, u"0.45"_s} << 1
                                 << QStringList{u"整備"_s, u"-1"_s,   u"エンジンオイル交換"_s,
                                                QString(), u"0.45"_s, u"0"_s,
                                                u"0"_s,    u"0"_s,    u"0"_s,
                                                u"eof"_s};
    QTest::newRow("parts") << true << QStringList{u"オイルフィルター"_s, u"1320"_s} << 0
                           << QStringList{u"部品"_s, u"-1"_s,   u"オイルフィルター"_s,
                                          QString(), u"0"_s,    u"0"_s,
                                          u"0"_s,    u"1320"_s, u"0"_s,
                                          u"eof"_s};
    QTest::newRow("missing value hands over empty")
        << false << QStringList{u"下回り点検"_s} << 1
        << QStringList{u"整備"_s, u"-1"_s, u"下回り点検"_s, QString(), QString(),
                       u"0"_s,    u"0"_s,  u"0"_s,          u"0"_s,    u"eof"_s};
    QTest::newRow("text in a value cell hands over empty")
        << true << QStringList{u"タイヤ 155/65R14"_s, u"時価"_s} << 0
        << QStringList{
               u"部品"_s, u"-1"_s, u"タイヤ 155/65R14"_s, QString(), u"0"_s, u"0"_s, u"0"_s, QString(),
               u"0"_s,    u"eof"_s};
}

void TestPriceList::handOver()
{
    QFETCH(bool, parts);
    QFETCH(QStringList, item);
    QFETCH(int, classIndex);
    QFETCH(QStringList, fields);
    ItemGrid grid(parts ? Kind::Parts : Kind::Maintenance);
    grid.setClasses({u"A"_s, u"B"_s});
    grid.setItems({item});
    const QString text = grid.handOverText(1, classIndex);
    QCOMPARE(CommaText::split(text), fields);
    QCOMPARE(grid.handOverText(0, 0), QString()); // the class row is no item
    QCOMPARE(grid.handOverText(2, 0), QString());
}

void TestPriceList::categoryCommands()
{
    CategoryList list = CategoryList::fromLines({u"エンジン,10,予備"_s, u"電装,11"_s});
    list.append(u"エンジン"_s, u"12"_s);
    // A repeated name finds the older category.
    QCOMPARE(list.indexOf(u"エンジン"_s), 0);
    list.rename(1, u"電装 (灯火)"_s);
    QCOMPARE(list.indexOf(u"電装 (灯火)"_s), 1);
    QCOMPARE(list.code(1), u"11"_s);
    list.rename(0, u"エンジン周り"_s);
    QCOMPARE(list.lines().first(), u"エンジン周り,10,予備"_s); // further fields survive
    list.remove(0);
    QCOMPARE(list.names(), (QStringList{u"電装 (灯火)"_s, u"エンジン"_s}));
}

void TestPriceList::categoryDeleteSelection_data()
{
    QTest::addColumn<int>("removed");
    QTest::addColumn<int>("sizeAfter");
    QTest::addColumn<int>("selected");
    QTest::newRow("first of three") << 0 << 2 << 0;
    QTest::newRow("middle keeps the index") << 1 << 2 << 1;
    QTest::newRow("last selects the new last") << 2 << 2 << 1;
    QTest::newRow("down to one") << 1 << 1 << 0;
}

void TestPriceList::categoryDeleteSelection()
{
    QFETCH(int, removed);
    QFETCH(int, sizeAfter);
    QFETCH(int, selected);
    QCOMPARE(CategoryList::indexAfterRemoval(removed, sizeAfter), selected);
}

void TestPriceList::newCategoryFilesHaveOneEmptyRow()
{
    PriceFolder f;
    QVERIFY(createCategoryFiles(f.where, u"46000.5123"_s, nullptr));
    QCOMPARE(TextList::read(f.where.itemFile(Kind::Maintenance, u"46000.5123"_s)), QStringList{u",,"_s});
    QCOMPARE(TextList::read(f.where.itemFile(Kind::Parts, u"46000.5123"_s)), QStringList{u","_s});
    QVERIFY(removeCategoryFiles(f.where, u"46000.5123"_s));
    QVERIFY(!QFile::exists(f.where.itemFile(Kind::Parts, u"46000.5123"_s)));
    QVERIFY(removeCategoryFiles(f.where, u"46000.5123"_s)); // already gone
}

void TestPriceList::itemsRoundTrip()
{
    PriceFolder f;
    const QString path = f.where.itemFile(Kind::Parts, u"9"_s);
    const QList<QStringList> rows{{u"エンジンオイル 0W-20 (1L)"_s, u"1650"_s, u"1100"_s},
                                  {u"\"純正\"ワイパーゴム"_s, QString(), u"980"_s},
                                  {QString(), QString(), QString()}};
    QVERIFY(writeItems(path, rows, nullptr));
    QFile raw(path);
    QVERIFY(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    QVERIFY(bytes.endsWith("\r\n"));
    QVERIFY(bytes.startsWith(Cp932::encode(u"\"エンジンオイル 0W-20 (1L)\",1650,1100\r\n"_s)));
    ReadReport report;
    QCOMPARE(readItems(path, &report), rows);
    QVERIFY(report.isEmpty());

    // A blank field left by older saves is an empty value.
    f.writeBytes(path, Cp932::encode(u"\"LLC (1L)\",\" \",880\n"_s));
    QCOMPARE(readItems(path, nullptr), (QList<QStringList>{{u"LLC (1L)"_s, QString(), u"880"_s}}));
}

void TestPriceList::badFilesLoadWhatTheyCan()
{
    PriceFolder f;
    // A long line between good ones, and a line with bytes that are not CP932.
    QByteArray bytes = Cp932::encode(u"ブレーキ点検,1.0\r\n"_s);
    bytes += QByteArray(10 * 1024 * 1024, 'A') + "\r\n";
    bytes += Cp932::encode(u"ブレーキ調整,"_s) + "\x85\x20\xfd\xfe\r\n";
    bytes += Cp932::encode(u"ドラム清掃,0.5\r\n"_s);
    f.writeBytes(f.where.itemFile(Kind::Maintenance, u"2"_s), bytes);
    ReadReport report;
    const QList<QStringList> rows = readItems(f.where.itemFile(Kind::Maintenance, u"2"_s), &report);
    QCOMPARE(rows, (QList<QStringList>{{u"ブレーキ点検"_s, u"1.0"_s}, {u"ドラム清掃"_s, u"0.5"_s}}));
    QCOMPARE(report.skipped.size(), 2);
    QVERIFY2(report.skipped.at(0).contains(u"2 行目"_s), qPrintable(report.skipped.at(0)));
    QVERIFY2(report.skipped.at(1).contains(u"3 行目"_s), qPrintable(report.skipped.at(1)));

    // A category without a code cannot name its files.
    f.writeBytes(f.where.categoryFile(), Cp932::encode(u"車検整備,1\r\nコードなし\r\n\r\nエンジン,3\r\n"_s));
    report = {};
    const CategoryList categories = CategoryList::read(f.where, &report);
    QCOMPARE(categories.names(), (QStringList{u"車検整備"_s, u"エンジン"_s}));
    QCOMPARE(report.skipped.size(), 1);
    QVERIFY(report.skipped.first().contains(u"2 行目"_s));

    // A category whose item file is missing shows no items and says so.
    report = {};
    QVERIFY(readItems(f.where.itemFile(Kind::Maintenance, u"3"_s), &report).isEmpty());
    QCOMPARE(report.skipped, QStringList{u"m3.csv を読み込めません"_s});
}

void TestPriceList::fold_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("folded");
    QTest::newRow("katakana") << u"ブレーキ"_s << u"ぶれーき"_s;
    QTest::newRow("half-width with voicing marks") << u"ﾌﾞﾚｰｷ"_s << u"ぶれーき"_s;
    QTest::newRow("hiragana") << u"ぶれーき"_s << u"ぶれーき"_s;
    QTest::newRow("half-width semi-voiced") << u"ﾊﾟｯﾄﾞ"_s << u"ぱっど"_s;
    QTest::newRow("full-width Latin and digits") << u"ＬＬＣ２Ｌ"_s << u"llc2l"_s;
    QTest::newRow("Latin case") << u"ABS Sensor"_s << u"abs sensor"_s;
    QTest::newRow("vu and small ke") << u"ヴヶ"_s << u"ゔゖ"_s;
    QTest::newRow("kanji unchanged") << u"車検整備"_s << u"車検整備"_s;
}

void TestPriceList::fold()
{
    QFETCH(QString, text);
    QFETCH(QString, folded);
    QCOMPARE(TextFold::fold(text), folded);
}

void TestPriceList::searchAcrossCategories()
{
    PriceFolder f;
    ReadReport report;
    ItemSearch search;
    search.build(f.where, Kind::Maintenance, CategoryList::read(f.where, &report), 3, &report);
    QVERIFY(report.isEmpty());
    QCOMPARE(search.entries().size(), 3);
    for (const QString &query : {u"ブレーキ"_s, u"ﾌﾞﾚｰｷ"_s, u"ぶれーき"_s}) {
        const QList<int> hits = search.find(query);
        QCOMPARE(hits, (QList<int>{1, 2}));
    }
    const ItemSearch::Entry &hit = search.entries().at(2);
    QCOMPARE(hit.category, 1);
    QCOMPARE(hit.cells, (QStringList{u"ﾌﾞﾚｰｷﾌﾙｰﾄﾞ交換"_s, u"0.8"_s, QString(), QString()}));
    QCOMPARE(search.find(u"車検"_s), QList<int>{0});
    QVERIFY(search.find(u"  "_s).isEmpty());
    QVERIFY(search.find(u"タイヤ"_s).isEmpty());
}

QTEST_GUILESS_MAIN(TestPriceList)
#include "tst_pricelist.moc"
