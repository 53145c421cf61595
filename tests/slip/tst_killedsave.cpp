// A save cut off at any moment by a kill leaves the slip file either as it
// was or as it was to become, never torn; the temporary file it may leave is
// recognised and removed. TORVANE_KILL_TRIALS sets the number of kills
// (bench/slip/killed-saves.sh runs many more than the test run).
#include "SaveLoopSlips.h"

#include "platform/AtomicFile.h"
#include "platform/IniFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace Qt::StringLiterals;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The file's bytes after saving version over a file that held the other one.
QByteArray savedBytes(const QString &path, int version, qint64 *ms)
{
    QElapsedTimer t;
    t.start();
    for (int v : {3 - version, version}) {
        IniFile ini(path);
        QString error;
        if (!SlipFile::save(ini, SaveLoopSlips::slip(v), sstAll, SaveLoopSlips::context(), &error))
            return {};
    }
    *ms = t.elapsed() / 2;
    return readAll(path);
}

} // namespace

class TestKilledSave : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyReloadIsTheOldOrTheNewSlip();
};

void TestKilledSave::everyReloadIsTheOldOrTheNewSlip()
{
    const int trials = qEnvironmentVariableIsSet("TORVANE_KILL_TRIALS")
                           ? qEnvironmentVariableIntValue("TORVANE_KILL_TRIALS")
                           : 200;
    QTemporaryDir dir;
    const QString path = dir.filePath(u"slip.tvx"_s);
    qint64 saveMs = 0;
    const QByteArray first = savedBytes(path, 1, &saveMs);
    const QByteArray second = savedBytes(path, 2, &saveMs);
    QVERIFY(!first.isEmpty() && !second.isEmpty() && first != second);

    int torn = 0;
    int leftovers = 0;
    int kills = 0;
    QRandomGenerator random(20261210);
    for (int trial = 0; trial < trials; ++trial) {
        QProcess saver;
        saver.start(QStringLiteral(SLIP_SAVER_BINARY), {path});
        QVERIFY(saver.waitForStarted(10000));
        QVERIFY(saver.waitForReadyRead(10000));
        // Anywhere within the first few saves, the first one included.
        QThread::usleep(random.bounded(quint32(qMax<qint64>(saveMs, 1) * 3000)));
        if (saver.state() == QProcess::Running) {
            saver.kill();
            ++kills;
        }
        QVERIFY(saver.waitForFinished(10000));
        QVERIFY2(saver.exitStatus() == QProcess::CrashExit, saver.readAllStandardError().constData());

        const QByteArray now = readAll(path);
        if (now != first && now != second)
            ++torn;
        const QStringList temporaries =
            QDir(dir.path()).entryList({u".~save.*"_s}, QDir::Files | QDir::Hidden);
        leftovers += int(temporaries.size());
        QCOMPARE(AtomicFile::removeStrayTemporaries(dir.path(), 0), int(temporaries.size()));
    }
    // A reload reads what the bytes say: the slip of one version, whole.
    SlipData back;
    SlipFile::read(IniFile(path), back, sstAll, SaveLoopSlips::context());
    QCOMPARE(back.rows.size(), 1000);

    qInfo("killed saves: %d trials, %d kills, %d torn files, %d leftover temporaries (all removed)", trials,
          kills, torn, leftovers);
    QCOMPARE(torn, 0);
    QCOMPARE(QDir(dir.path()).entryList({u".~save.*"_s}, QDir::Files | QDir::Hidden), QStringList());
}

QTEST_GUILESS_MAIN(TestKilledSave)
#include "tst_killedsave.moc"
