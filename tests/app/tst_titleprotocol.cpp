#include "platform/DocumentLock.h"
#include "platform/WindowRegistry.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <QThread>
#include <csignal>
#include <unistd.h>

using namespace Qt::StringLiterals;

// Real processes: a second start with a file that another process shows
// ends at once and brings that process forward; the slip's lock decides,
// the registry only reaches the holder.
class TestTitleProtocol : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void secondStartHandsOver_data();
    void secondStartHandsOver();
    void staleSocketsAreIgnored();
    void twoQuickStartsOpenOneWindow();
    void registryFolderIsPrivate();

private:
    QProcessEnvironment environment() const;
    QTemporaryDir registry_;
    QTemporaryDir work_;
};

void TestTitleProtocol::initTestCase()
{
    QVERIFY(registry_.isValid());
    qputenv("TORVANE_REGISTRY_DIR", registry_.path().toLocal8Bit());
}

QProcessEnvironment TestTitleProtocol::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"TORVANE_REGISTRY_DIR"_s, registry_.path());
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    return env;
}

void TestTitleProtocol::secondStartHandsOver_data()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<bool>("program");
    QTest::newRow("first is the program") << false << true;
    QTest::newRow("first window unchanged") << false << false;
    QTest::newRow("first window modified") << true << false;
}

void TestTitleProtocol::secondStartHandsOver()
{
    QFETCH(bool, modified);
    QFETCH(bool, program);
    const QString tag = QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'-');
    const QString slip = work_.filePath(tag + u".tvx"_s);
    QFile::copy(QStringLiteral(TORVANE_SAMPLES "/estimate-with-vehicle.tvx"), slip);
    const QString log = work_.filePath(tag + u".log"_s);

    // The first process: a peer that shows the slip under the title the program would give it.
    QString title = QDir::toNativeSeparators(slip) + u" - Torvane"_s;
    if (modified)
        title += u" <更新>"_s;
    QProcess first;
    QProcessEnvironment env = environment();
    env.insert(u"TORVANE_ACTIVATION_LOG"_s, log);
    first.setProcessEnvironment(env);
    if (program) {
        first.start(QStringLiteral(TORVANE_BINARY), {slip});
        QVERIFY(first.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(WindowRegistry::windowWithTitleExists(title), 15000);
    } else {
        first.start(QStringLiteral(TITLE_PEER_BINARY), {title, log, slip});
        QVERIFY(first.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(log + u".ready"_s), 10000);
    }

    QProcess second;
    second.setProcessEnvironment(environment());
    second.start(QStringLiteral(TORVANE_BINARY), {slip});
    QVERIFY(second.waitForFinished(15000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QFile f(log);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), program ? title.toUtf8() + '\n' : QByteArray("activated\n"));
    QCOMPARE(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished();
}

void TestTitleProtocol::staleSocketsAreIgnored()
{
    // A peer killed without cleaning up leaves its socket behind.
    const QString log = work_.filePath(u"stale.log"_s);
    QProcess peer;
    peer.setProcessEnvironment(environment());
    peer.start(QStringLiteral(TITLE_PEER_BINARY), {u"X - Torvane"_s, log});
    QVERIFY(peer.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(log + u".ready"_s), 10000);
    QVERIFY(WindowRegistry::windowWithTitleExists(u"X - Torvane"_s));
    QVERIFY(!WindowRegistry::windowWithTitleExists(u"X - Torvane <更新>"_s));
    peer.kill();
    peer.waitForFinished();
    QVERIFY(!WindowRegistry::windowWithTitleExists(u"X - Torvane"_s));
    QVERIFY(QDir(registry_.path()).entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot).isEmpty());
}

void TestTitleProtocol::twoQuickStartsOpenOneWindow()
{
    const QString slip = work_.filePath(u"quick.tvx"_s);
    QFile::copy(QStringLiteral(TORVANE_SAMPLES "/estimate-with-vehicle.tvx"), slip);
    const QString lockPath = DocumentLock::lockPathFor(slip);
    auto holderPid = [&lockPath] {
        QLockFile probe(lockPath);
        qint64 pid = 0;
        QString host, app;
        return probe.getLockInfo(&pid, &host, &app) ? pid : qint64(0);
    };

    // Both within a millisecond or two (a shell starts them back to back):
    // exactly one shows the slip, the other ends at once.
    QProcess pair;
    pair.setProcessEnvironment(environment());
    pair.start(u"sh"_s, {u"-c"_s, uR"("$0" "$1" & a=$!; "$0" "$1" & b=$!; echo "$a $b"
while kill -0 $a 2>/dev/null && kill -0 $b 2>/dev/null; do sleep 0.02; done
if kill -0 $a 2>/dev/null; then wait $b; echo "$b $?"; else wait $a; echo "$a $?"; fi
wait)"_s,
                         QStringLiteral(TORVANE_BINARY), slip});
    QVERIFY(pair.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(pair.canReadLine(), 10000);
    const QList<QByteArray> started = pair.readLine().trimmed().split(' ');
    QCOMPARE(started.size(), 2);
    QTRY_VERIFY_WITH_TIMEOUT(pair.canReadLine(), 15000);
    const QList<QByteArray> gone = pair.readLine().trimmed().split(' ');
    QCOMPARE(gone.size(), 2);
    QCOMPARE(gone.at(1), QByteArray("0")); // ended normally after handing over
    const qint64 shows = (gone.at(0) == started.at(0) ? started.at(1) : started.at(0)).toLongLong();
    QThread::msleep(500);
    QCOMPARE(::kill(pid_t(shows), 0), 0); // still running: the one window
    QCOMPARE(holderPid(), shows);

    // Killed, it leaves its lock behind; the next start takes it over silently.
    QCOMPARE(::kill(pid_t(shows), SIGKILL), 0);
    QVERIFY(pair.waitForFinished());
    QVERIFY(QFile::exists(lockPath));
    QProcess next;
    next.setProcessEnvironment(environment());
    next.start(QStringLiteral(TORVANE_BINARY), {slip});
    QVERIFY(next.waitForStarted());
    QTRY_COMPARE_WITH_TIMEOUT(holderPid(), next.processId(), 15000);
    QThread::msleep(300);
    QCOMPARE(next.state(), QProcess::Running);
    next.terminate();
    QVERIFY(next.waitForFinished());
}

void TestTitleProtocol::registryFolderIsPrivate()
{
    QTemporaryDir runtime;
    const QByteArray saved = qgetenv("TORVANE_REGISTRY_DIR");
    const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    qunsetenv("TORVANE_REGISTRY_DIR");
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    const QString folder = WindowRegistry::folder();
    const bool made = WindowRegistry::ensureFolder();
    const auto permissions = QFileInfo(folder).permissions();
    qputenv("TORVANE_REGISTRY_DIR", saved);
    qputenv("XDG_RUNTIME_DIR", savedRuntime);
    QCOMPARE(folder, runtime.filePath(u"torvane"_s));
    QVERIFY(made);
    QCOMPARE(permissions & ~(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                             QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser),
             QFileDevice::Permissions());

    // Someone else's folder is never used.
    if (geteuid() == 0) {
        QTemporaryDir shared;
        const QString foreign = shared.filePath(u"torvane"_s);
        QVERIFY(QDir().mkdir(foreign));
        QVERIFY(::chown(QFile::encodeName(foreign).constData(), 65534, 65534) == 0);
        qputenv("TORVANE_REGISTRY_DIR", foreign.toLocal8Bit());
        const bool used = WindowRegistry::ensureFolder();
        qputenv("TORVANE_REGISTRY_DIR", saved);
        QVERIFY(!used);
    }

    // A peer that does not answer costs a lookup no more than its budget.
    QElapsedTimer t;
    t.start();
    QVERIFY(!WindowRegistry::activateProcess(999999999));
    QVERIFY(!WindowRegistry::windowWithTitleExists(u"nobody - Torvane"_s));
    QVERIFY(t.elapsed() < 250);
}

QTEST_GUILESS_MAIN(TestTitleProtocol)
#include "tst_titleprotocol.moc"
