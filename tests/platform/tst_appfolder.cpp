#include "platform/AppFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestAppFolder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void paths_data();
    void paths();
    void findFile_data();
    void findFile();
};

void TestAppFolder::paths_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("root");
    QTest::newRow("trailing separator") << u"/opt/torvane/"_s << u"/opt/torvane/"_s;
    QTest::newRow("no trailing separator") << u"/opt/torvane"_s << u"/opt/torvane/"_s;
    QTest::newRow("empty: relative paths") << QString() << QString();
}

void TestAppFolder::paths()
{
    QFETCH(QString, folder);
    QFETCH(QString, root);
    const AppFolder app(folder);
    QCOMPARE(app.path(), root);
    QCOMPARE(app.tempFolder(), root + u"Dat/Tmp/"_s);
    QCOMPARE(app.printDefaultsFile(), root + u"Dat/Mst/DefPrDat"_s);
    QCOMPARE(app.workNamesFile(), root + u"Dat/Mst/作業名"_s);
    // Without a file of that name the name is kept as spelled.
    QCOMPARE(app.formatFile(u"見積書"_s), root + u"Dat/Fmt/見積書.fmt"_s);
    QCOMPARE(app.logoFile(u"デフォルト"_s), root + u"Dat/Etc/デフォルト.Dat"_s);
    QCOMPARE(app.settingsFile(), root + u"tst_appfolder.ini"_s);
}

void TestAppFolder::findFile_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("found");
    QTest::newRow("exact") << QStringList{u"foo.dat"_s, u"bar.dat"_s} << u"foo.dat"_s << u"foo.dat"_s;
    QTest::newRow("different case") << QStringList{u"foo.dat"_s} << u"Foo.Dat"_s << u"foo.dat"_s;
    QTest::newRow("extension case") << QStringList{u"デフォルト.dat"_s} << u"デフォルト.Dat"_s
                                    << u"デフォルト.dat"_s;
    QTest::newRow("exact preferred") << QStringList{u"foo.dat"_s, u"Foo.Dat"_s, u"FOO.DAT"_s} << u"Foo.Dat"_s
                                     << u"Foo.Dat"_s;
    QTest::newRow("missing") << QStringList{u"bar.dat"_s} << u"Foo.Dat"_s << u"Foo.Dat"_s;
    QTest::newRow("a folder is no file") << QStringList{u"foo.dat/"_s} << u"Foo.Dat"_s << u"Foo.Dat"_s;
}

void TestAppFolder::findFile()
{
    QFETCH(QStringList, files);
    QFETCH(QString, name);
    QFETCH(QString, found);
    QTemporaryDir dir;
    const QString folder = dir.path() + u"/Dat/Etc/"_s;
    QVERIFY(QDir().mkpath(folder));
    for (const QString &file : files) {
        if (file.endsWith(u'/')) {
            QVERIFY(QDir().mkpath(folder + file));
        } else {
            QFile f(folder + file);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
    }
    QCOMPARE(AppFolder::findFile(folder, name), folder + found);
    QCOMPARE(AppFolder::findFile(dir.path() + u"/missing/"_s, name), dir.path() + u"/missing/"_s + name);
}

QTEST_GUILESS_MAIN(TestAppFolder)
#include "tst_appfolder.moc"
