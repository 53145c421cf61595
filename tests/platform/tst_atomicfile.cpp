#include "platform/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

class TestAtomicFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void failureSaysWhy_data();
    void failureSaysWhy();
    void systemReasons_data();
    void systemReasons();
};

void TestAtomicFile::failureSaysWhy_data()
{
    QTest::addColumn<QString>("setup"); // what stands in the way
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing folder") << u"missing"_s << u"フォルダがありません"_s;
    QTest::newRow("folder in the way") << u"folder"_s << u"同じ名前のフォルダがあります"_s;
    QTest::newRow("read-only folder") << u"readonly"_s << u"アクセスが拒否されました"_s;
}

void TestAtomicFile::failureSaysWhy()
{
    QFETCH(QString, setup);
    QFETCH(QString, reason);
#ifdef Q_OS_UNIX
    if (setup == u"readonly"_s && geteuid() == 0)
        QSKIP("the superuser writes into every folder");
#endif
    QTemporaryDir dir;
    QString path = dir.filePath(u"slip.tvx"_s);
    if (setup == u"missing"_s)
        path = dir.filePath(u"gone/slip.tvx"_s);
    else if (setup == u"folder"_s)
        QVERIFY(QDir(dir.path()).mkdir(u"slip.tvx"_s));
    else
        QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    QString error;
    QVERIFY(!AtomicFile::write(path, "x", &error));
    QCOMPARE(error, QDir::toNativeSeparators(path) + u" に書き込めません: "_s + reason);
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList()); // nothing left
}

void TestAtomicFile::systemReasons_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("reason");
    QTest::newRow("disk full") << ENOSPC << u"ディスクの空き容量が足りません"_s;
    QTest::newRow("permission") << EACCES << u"アクセスが拒否されました"_s;
    QTest::newRow("read-only file system") << EROFS << u"読み取り専用のファイルシステムです"_s;
}

void TestAtomicFile::systemReasons()
{
    QFETCH(int, error);
    QFETCH(QString, reason);
    QCOMPARE(AtomicFile::systemReason(error), reason);
}

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
