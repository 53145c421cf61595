#include "platform/WindowRegistry.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// Real processes: a second start with a file that another process shows
// ends at once and brings that process forward.
class TestTitleProtocol : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void secondStartHandsOver_data();
    void secondStartHandsOver();
    void staleSocketsAreIgnored();

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
        first.start(QStringLiteral(TITLE_PEER_BINARY), {title, log});
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

QTEST_GUILESS_MAIN(TestTitleProtocol)
#include "tst_titleprotocol.moc"
