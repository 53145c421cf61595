#include "master/TaxTables.h"
#include "platform/Cp932.h"
#include "platform/TextList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace TaxTables;

class TestTaxTables : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void className_data();
    void className();
    void classifications();
    void loadShapesTheGrid();
    void saveAndLoadRoundTrip();
    void renameNeverOverwrites();
};

void TestTaxTables::className_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("valid");
    QTest::newRow("kanji") << u"自家用"_s << true;
    QTest::newRow("blank and brackets inside") << u"事業用 (軽)"_s << true;
    QTest::newRow("empty") << QString() << false;
    for (QChar c : QStringView(u"\\/:*?\"<>|"))
        QTest::addRow("%s", qPrintable(QString(c))) << (u"自家"_s + c + u"用"_s) << false;
    QTest::newRow("control character") << u"自家\t用"_s << false;
    QTest::newRow("trailing dot") << u"自家用."_s << false;
    QTest::newRow("trailing blank") << u"自家用 "_s << false;
    QTest::newRow("not in the code page") << u"自家用\U0001F697"_s << false;
    QTest::newRow("too long") << QString(100, u'車') << false;
}

void TestTaxTables::className()
{
    QFETCH(QString, name);
    QFETCH(bool, valid);
    QCOMPARE(isValidClassName(name), valid);
}

void TestTaxTables::classifications()
{
    QTemporaryDir app;
    QCOMPARE(readClassifications(app.path(), Insurance), defaultClassifications());
    QVERIFY(writeClassifications(app.path(), WeightTax, {u"軽自動車"_s, QString(), u"普通"_s}, nullptr));
    QCOMPARE(readClassifications(app.path(), WeightTax), (QStringList{u"軽自動車"_s, u"普通"_s}));
    QVERIFY(QFile::exists(app.path() + u"/Dat/Tax/WtTax"_s));
    // An empty list file still offers the defaults: there is always a table to pick from.
    QVERIFY(TextList::write(listPath(app.path(), Insurance), {}));
    QCOMPARE(readClassifications(app.path(), Insurance), defaultClassifications());
}

void TestTaxTables::loadShapesTheGrid()
{
    QTemporaryDir app;
    const QString path = tablePath(app.path(), Insurance, u"自家用"_s);
    QCOMPARE(path, app.path() + u"/Dat/Tax/CIN自家用"_s);
    QVERIFY(!loadTable(path).has_value());

    QDir().mkpath(folder(app.path()));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(Cp932::encode(u"車種,12ヶ月,24ヶ月\r\n乗用車,11500,17650,\"x\"\r\n軽\r\n"_s));
    f.close();
    const std::optional<Grid> g = loadTable(path);
    QVERIFY(g.has_value());
    QCOMPARE(g->rowCount(), 3);
    QCOMPARE(g->columns(), 4);
    QCOMPARE(g->rows[1], (QStringList{u"乗用車"_s, u"11500"_s, u"17650"_s, u"x"_s}));
    QCOMPARE(g->rows[2], (QStringList{u"軽"_s, QString(), QString(), QString()}));

    // A one-line file still gives a heading row and a value row.
    QVERIFY(TextList::write(path, {u"only"_s}));
    QCOMPARE(loadTable(path)->rowCount(), 2);
    QCOMPARE(loadTable(path)->columns(), 2);
}

void TestTaxTables::saveAndLoadRoundTrip()
{
    QTemporaryDir app;
    const QString path = tablePath(app.path(), WeightTax, u"事業用"_s);
    Grid g = emptyGrid(3, 3);
    g.rows[0] = QStringList{u"重量, 区分"_s, u"2年"_s, QString()};
    g.rows[1] = QStringList{u"0.5t以下"_s, u"8200"_s, QString()};
    QVERIFY(saveTable(path, g, nullptr));
    const std::optional<Grid> back = loadTable(path);
    QVERIFY(back.has_value());
    QCOMPARE(back->rows, g.rows);
}

void TestTaxTables::renameNeverOverwrites()
{
    QTemporaryDir app;
    const QString a = tablePath(app.path(), Insurance, u"A"_s);
    const QString b = tablePath(app.path(), Insurance, u"B"_s);
    QVERIFY(saveTable(a, emptyGrid(2, 2), nullptr));
    QVERIFY(saveTable(b, emptyGrid(3, 3), nullptr));

    QVERIFY(!renameTable(app.path(), Insurance, u"A"_s, u"B"_s));
    QCOMPARE(loadTable(b)->rowCount(), 3);
    QVERIFY(!renameTable(app.path(), Insurance, u"A"_s, u"A/B"_s));
    QVERIFY(QFile::exists(a));

    QVERIFY(renameTable(app.path(), Insurance, u"A"_s, u"C"_s));
    QVERIFY(!QFile::exists(a));
    QCOMPARE(loadTable(tablePath(app.path(), Insurance, u"C"_s))->rowCount(), 2);
    // A classification that never had a table renames without a file.
    QVERIFY(renameTable(app.path(), Insurance, u"new"_s, u"newer"_s));
}

QTEST_GUILESS_MAIN(TestTaxTables)
#include "tst_taxtables.moc"
