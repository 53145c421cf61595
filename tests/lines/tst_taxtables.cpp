#include "lines/TaxTables.h"
#include "platform/Cp932.h"
#include "platform/TextList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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
    QTest::newRow("kanji") << u"自家用"_qs << true;
    QTest::newRow("blank and brackets inside") << u"事業用 (軽)"_qs << true;
    QTest::newRow("empty") << QString() << false;
    for (QChar c : QStringView(u"\\/:*?\"<>|"))
        QTest::addRow("%s", qPrintable(QString(c))) << (u"自家"_qs + c + u"用"_qs) << false;
    QTest::newRow("control character") << u"自家\t用"_qs << false;
    QTest::newRow("trailing dot") << u"自家用."_qs << false;
    QTest::newRow("trailing blank") << u"自家用 "_qs << false;
    QTest::newRow("not in the code page") << u"自家用\U0001F697"_qs << false;
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
    QVERIFY(writeClassifications(app.path(), WeightTax, {u"軽自動車"_qs, QString(), u"普通"_qs}, nullptr));
    QCOMPARE(readClassifications(app.path(), WeightTax), (QStringList{u"軽自動車"_qs, u"普通"_qs}));
    QVERIFY(QFile::exists(app.path() + u"/Dat/Tax/WtTax"_qs));
    // An empty list file still offers the defaults: there is always a table to pick from.
    QVERIFY(TextList::write(listPath(app.path(), Insurance), {}));
    QCOMPARE(readClassifications(app.path(), Insurance), defaultClassifications());
}

void TestTaxTables::loadShapesTheGrid()
{
    QTemporaryDir app;
    const QString path = tablePath(app.path(), Insurance, u"自家用"_qs);
    QCOMPARE(path, app.path() + u"/Dat/Tax/CIN自家用"_qs);
    QVERIFY(!loadTable(path).has_value());

    QDir().mkpath(folder(app.path()));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(Cp932::encode(u"車種,12ヶ月,24ヶ月\r\n乗用車,11500,17650,\"x\"\r\n軽\r\n"_qs));
    f.close();
    const std::optional<Grid> g = loadTable(path);
    QVERIFY(g.has_value());
    QCOMPARE(g->rowCount(), 3);
    QCOMPARE(g->columns(), 4);
    QCOMPARE(g->rows[1], (QStringList{u"乗用車"_qs, u"11500"_qs, u"17650"_qs, u"x"_qs}));
    QCOMPARE(g->rows[2], (QStringList{u"軽"_qs, QString(), QString(), QString()}));

    // A one-line file still gives a heading row and a value row.
    QVERIFY(TextList::write(path, {u"only"_qs}));
    QCOMPARE(loadTable(path)->rowCount(), 2);
    QCOMPARE(loadTable(path)->columns(), 2);
}

void TestTaxTables::saveAndLoadRoundTrip()
{
    QTemporaryDir app;
    const QString path = tablePath(app.path(), WeightTax, u"事業用"_qs);
    Grid g = emptyGrid(3, 3);
    g.rows[0] = QStringList{u"重量, 区分"_qs, u"2年"_qs, QString()};
    g.rows[1] = QStringList{u"0.5t以下"_qs, u"8200"_qs, QString()};
    QVERIFY(saveTable(path, g, nullptr));
    const std::optional<Grid> back = loadTable(path);
    QVERIFY(back.has_value());
    QCOMPARE(back->rows, g.rows);
}

void TestTaxTables::renameNeverOverwrites()
{
    QTemporaryDir app;
    const QString a = tablePath(app.path(), Insurance, u"A"_qs);
    const QString b = tablePath(app.path(), Insurance, u"B"_qs);
    QVERIFY(saveTable(a, emptyGrid(2, 2), nullptr));
    QVERIFY(saveTable(b, emptyGrid(3, 3), nullptr));

    QVERIFY(!renameTable(app.path(), Insurance, u"A"_qs, u"B"_qs));
    QCOMPARE(loadTable(b)->rowCount(), 3);
    QVERIFY(!renameTable(app.path(), Insurance, u"A"_qs, u"A/B"_qs));
    QVERIFY(QFile::exists(a));

    QVERIFY(renameTable(app.path(), Insurance, u"A"_qs, u"C"_qs));
    QVERIFY(!QFile::exists(a));
    QCOMPARE(loadTable(tablePath(app.path(), Insurance, u"C"_qs))->rowCount(), 2);
    // A classification that never had a table renames without a file.
    QVERIFY(renameTable(app.path(), Insurance, u"new"_qs, u"newer"_qs));
}

QTEST_GUILESS_MAIN(TestTaxTables)
#include "tst_taxtables.moc"
