// The backup archives: what goes in, a round trip, how many are kept, the
// once-a-day rule under a given clock, and archives that would write
// outside the application folder.
#include "support/TestAppFolder.h"
#include "support/TestFiles.h"

#include "app/Backups.h"
#include "platform/AppFolder.h"

#include <QFile>
#include <QTest>

#include <zip.h>

using namespace Qt::StringLiterals;

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QStringList entries(const QString &archive)
{
    QStringList names;
    int code = 0;
    zip_t *zip = zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY, &code);
    if (!zip)
        return names;
    for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i)
        names << QString::fromUtf8(zip_get_name(zip, zip_uint64_t(i), ZIP_FL_ENC_GUESS));
    zip_discard(zip);
    return names;
}

const QDateTime Morning(QDate(2026, 12, 10), QTime(8, 30));

} // namespace

class TestBackups : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void roundTripRestoresChangedMaster();
    void oldestGoesBeyondFourteen();
    void dailyOnlyOncePerDay();
    void entriesOutsideTheFolderAreRefused_data();
    void entriesOutsideTheFolderAreRefused();
};

void TestBackups::roundTripRestoresChangedMaster()
{
    TestAppFolder app;
    const AppFolder folder(app.path());
    writeFile(folder.settingsFile(), "[Option]\r\nTaxRate=10\r\n");
    writeFile(folder.dataFolder() + u"見積-26-12-01.tvx"_s, "slip");
    writeFile(folder.tempFolder() + u"print.tmp"_s, "passing");
    writeFile(folder.recoveryFolder() + u"42-1.tvr"_s, "unsaved");
    const QByteArray staff = bytesOf(folder.staffFile());
    QVERIFY(!staff.isEmpty());

    QString error;
    const QString archive = Backups::make(folder, Morning, &error);
    QVERIFY2(!archive.isEmpty(), qPrintable(error));
    QCOMPARE(QFileInfo(archive).fileName(), u"torvane-backup-20261210.zip"_s);
    const QStringList names = entries(archive);
    for (const QString &kept :
         {u"Dat/Mst/担当者"_s, u"Dat/Fmt/見積書.fmt"_s, u"Dat/Tax/WtTax"_s, u"Dat/Etc/デフォルト.Dat"_s,
          u"Dat/Template/46000.0000000001.tvt"_s, QFileInfo(folder.settingsFile()).fileName()})
        QVERIFY2(names.contains(kept), qPrintable(kept));
    for (const QString &name : names) {
        QVERIFY2(!name.endsWith(u".tvx"_s) && !name.startsWith(u"Dat/Tmp/"_s) &&
                     !name.startsWith(u"Dat/Recovery/"_s) && !name.startsWith(u"Dat/Backup/"_s),
                 qPrintable(name));
    }

    writeFile(folder.staffFile(), "changed\r\n");
    QFile::remove(folder.settingsFile());
    QVERIFY2(Backups::restore(folder, archive, &error), qPrintable(error));
    QCOMPARE(bytesOf(folder.staffFile()), staff);
    QCOMPARE(bytesOf(folder.settingsFile()), QByteArray("[Option]\r\nTaxRate=10\r\n"));
}

void TestBackups::oldestGoesBeyondFourteen()
{
    TestAppFolder app;
    const AppFolder folder(app.path());
    QString error;
    for (int day = 0; day < 15; ++day)
        QVERIFY2(!Backups::make(folder, Morning.addDays(day), &error).isEmpty(), qPrintable(error));
    const QStringList kept = Backups::archives(folder.backupFolder());
    QCOMPARE(kept.size(), Backups::Kept);
    QCOMPARE(kept.first(), Backups::archiveName(Morning.date().addDays(1), 1));
    QCOMPARE(kept.last(), Backups::archiveName(Morning.date().addDays(14), 1));
}

void TestBackups::dailyOnlyOncePerDay()
{
    TestAppFolder app;
    const AppFolder folder(app.path());
    QString error;
    QVERIFY(!Backups::makeDaily(folder, Morning, &error).isEmpty());
    QVERIFY(Backups::makeDaily(folder, Morning.addSecs(5 * 3600), &error).isEmpty());
    QVERIFY(error.isEmpty());
    // One made on demand the same day takes a number; the next day's first
    // start makes its own.
    QCOMPARE(QFileInfo(Backups::make(folder, Morning.addSecs(3600), &error)).fileName(),
             u"torvane-backup-20261210-2.zip"_s);
    QVERIFY(!Backups::makeDaily(folder, Morning.addDays(1), &error).isEmpty());
    QCOMPARE(Backups::archives(folder.backupFolder()),
             (QStringList{u"torvane-backup-20261210.zip"_s, u"torvane-backup-20261210-2.zip"_s,
                          u"torvane-backup-20261211.zip"_s}));
}

void TestBackups::entriesOutsideTheFolderAreRefused_data()
{
    QTest::addColumn<QString>("entry");
    QTest::newRow("parent") << u"../outside"_s;
    QTest::newRow("inside then up") << u"Dat/../../outside"_s;
    QTest::newRow("absolute") << u"/tmp/outside"_s;
    QTest::newRow("not data") << u"bin/torvane"_s;
}

void TestBackups::entriesOutsideTheFolderAreRefused()
{
    QFETCH(QString, entry);
    TestAppFolder app;
    const AppFolder folder(app.path());
    const QByteArray staff = bytesOf(folder.staffFile());
    const QString archive = app.filePath(u"evil.zip"_s);
    int code = 0;
    zip_t *zip = zip_open(QFile::encodeName(archive).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    QVERIFY(zip);
    static const char changed[] = "changed";
    for (const QString &name : {u"Dat/Mst/担当者"_s, entry}) {
        zip_source_t *source = zip_source_buffer(zip, changed, sizeof changed - 1, 0);
        QVERIFY(zip_file_add(zip, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8) >= 0);
    }
    QCOMPARE(zip_close(zip), 0);

    QString error;
    QVERIFY(!Backups::restore(folder, archive, &error));
    QVERIFY(error.contains(entry));
    // Nothing was written: not the good entry before the bad one either.
    QCOMPARE(bytesOf(folder.staffFile()), staff);
}

QTEST_GUILESS_MAIN(TestBackups)
#include "tst_backups.moc"
