#include "platform/DataFolderChoice.h"
#include "platform/TextList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace Qt::StringLiterals;

using DataFolderChoice::Source;

class TestDataFolder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void choose_data();
    void choose();
    void usableAsIs();
    void seedKeepsTheUsersFiles();
    void bundledDefaults();
    void takeOption_data();
    void takeOption();
    void selectByEnvironment();
};

Q_DECLARE_METATYPE(DataFolderChoice::Source)

void TestDataFolder::choose_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("environment");
    QTest::addColumn<bool>("usable");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<Source>("source");
    QTest::newRow("writable beside the program")
        << QString() << QString() << true << u"/opt/tv/"_s << Source::BesideProgram;
    QTest::newRow("read-only beside the program")
        << QString() << QString() << false << u"/home/u/.local/share/Torvane/"_s << Source::PerUser;
    QTest::newRow("environment over the program's folder")
        << QString() << u"/srv/shop"_s << true << u"/srv/shop/"_s << Source::Environment;
    QTest::newRow("option over the environment")
        << u"/mnt/share/"_s << u"/srv/shop"_s << true << u"/mnt/share/"_s << Source::Option;
}

void TestDataFolder::choose()
{
    QFETCH(QString, option);
    QFETCH(QString, environment);
    QFETCH(bool, usable);
    DataFolderChoice::Inputs in;
    in.option = option;
    in.environment = environment;
    in.programFolder = u"/opt/tv"_s;
    in.programFolderUsable = usable;
    in.userFolder = u"/home/u/.local/share/Torvane"_s;
    const DataFolderChoice::Choice choice = DataFolderChoice::choose(in);
    QTEST(choice.folder, "folder");
    QTEST(choice.source, "source");
}

void TestDataFolder::usableAsIs()
{
    QTemporaryDir dir;
    QVERIFY2(!DataFolderChoice::usableAsIs(dir.path()), "no Dat/ there");
    QVERIFY(QDir(dir.path()).mkdir(u"Dat"_s));
    QVERIFY(DataFolderChoice::usableAsIs(dir.path()));
    if (geteuid() == 0)
        QSKIP("the superuser writes into read-only folders");
    QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    const bool usable = DataFolderChoice::usableAsIs(dir.path());
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY2(!usable, "a read-only folder is not used as it is");
}

void TestDataFolder::seedKeepsTheUsersFiles()
{
    QTemporaryDir defaults;
    QTemporaryDir user;
    const QString mst = defaults.filePath(u"Mst/"_s);
    QVERIFY(QDir().mkpath(mst));
    QVERIFY(TextList::write(mst + u"担当者"_s, {u"既定"_s}));
    QVERIFY(TextList::write(mst + u"諸費用"_s, {u"既定"_s}));
    QVERIFY(TextList::write(mst + u"SlipDiv.dat"_s, {u"見積"_s}));
    // Installed defaults are read-only; the copies must still be the user's.
    QVERIFY(QFile::setPermissions(mst + u"諸費用"_s, QFile::ReadOwner | QFile::ReadOther));

    const AppFolder folder(user.path());
    QVERIFY(QDir().mkpath(folder.masterFolder()));
    QVERIFY(TextList::write(folder.staffFile(), {u"山田"_s}));

    QString error;
    QVERIFY2(DataFolderChoice::seed(defaults.path(), user.path(), u"1.0"_s, &error), qPrintable(error));
    QCOMPARE(TextList::read(folder.staffFile()), QStringList{u"山田"_s});
    QCOMPARE(TextList::read(folder.costNamesFile()), QStringList{u"既定"_s});
    QVERIFY(QFileInfo(folder.costNamesFile()).isWritable());
    QCOMPARE(TextList::read(folder.slipDivisionsFile()), QStringList{u"見積"_s});
    QVERIFY(QFileInfo(folder.tempFolder()).isDir());

    // A file removed on purpose stays removed while the version is the same;
    // the next version brings its default back, still over nothing.
    QVERIFY(QFile::remove(folder.slipDivisionsFile()));
    QVERIFY(TextList::write(folder.costNamesFile(), {u"自分の"_s}));
    QVERIFY(DataFolderChoice::seed(defaults.path(), user.path(), u"1.0"_s));
    QVERIFY(!QFile::exists(folder.slipDivisionsFile()));
    QVERIFY(DataFolderChoice::seed(defaults.path(), user.path(), u"1.1"_s));
    QVERIFY(QFile::exists(folder.slipDivisionsFile()));
    QCOMPARE(TextList::read(folder.costNamesFile()), QStringList{u"自分の"_s});
    QCOMPARE(TextList::read(folder.staffFile()), QStringList{u"山田"_s});
}

void TestDataFolder::bundledDefaults()
{
    QTemporaryDir prefix;
    QVERIFY(QDir().mkpath(prefix.filePath(u"bin"_s)));
    QCOMPARE(DataFolderChoice::bundledDefaults(prefix.filePath(u"bin"_s)), QString());
    QVERIFY(QDir().mkpath(prefix.filePath(u"share/torvane/Dat"_s)));
    QCOMPARE(DataFolderChoice::bundledDefaults(prefix.filePath(u"bin"_s)),
             prefix.filePath(u"share/torvane/Dat/"_s));
}

void TestDataFolder::takeOption_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("rest");
    QTest::addColumn<QString>("folder");
    QTest::newRow("absent") << QStringList{u"tv"_s, u"a.tvx"_s} << QStringList{u"tv"_s, u"a.tvx"_s}
                            << QString();
    QTest::newRow("before a mode") << QStringList{u"tv"_s, u"--data-dir"_s, u"/srv"_s, u"--zip-search"_s,
                                                  u"港区"_s}
                                   << QStringList{u"tv"_s, u"--zip-search"_s, u"港区"_s} << u"/srv"_s;
    QTest::newRow("with equals sign after the file")
        << QStringList{u"tv"_s, u"a.tvx"_s, u"--data-dir=/srv/a b"_s} << QStringList{u"tv"_s, u"a.tvx"_s}
        << u"/srv/a b"_s;
    QTest::newRow("without its folder: left alone")
        << QStringList{u"tv"_s, u"--data-dir"_s} << QStringList{u"tv"_s, u"--data-dir"_s} << QString();
}

void TestDataFolder::takeOption()
{
    QFETCH(QStringList, arguments);
    const QString folder = DataFolderChoice::takeOption(&arguments);
    QTEST(arguments, "rest");
    QTEST(folder, "folder");
}

void TestDataFolder::selectByEnvironment()
{
    QTemporaryDir dir;
    const QString shared = dir.filePath(u"shop/data"_s);
    qputenv("TORVANE_DATA_DIR", shared.toLocal8Bit());
    const DataFolderChoice::Choice choice = DataFolderChoice::select(QString(), u"1"_s);
    qunsetenv("TORVANE_DATA_DIR");
    QCOMPARE(choice.source, Source::Environment);
    QCOMPARE(choice.folder, shared + u'/');
    QVERIFY2(QFileInfo(shared).isDir(), "a named folder that is not there yet is made");
}

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_datafolder.moc"
