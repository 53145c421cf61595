// What the main window does so that no work is lost between processes and
// after a crash: the slip's lock (taken on open, moved on Save As, released
// on close, respected when another PC holds it) and temporaries of an
// interrupted save, which go at the next start.
#include "support/FakeMessageService.h"
#include "support/TestAppFolder.h"

#include "app/TMainForm.h"
#include "platform/DocumentLock.h"
#include "slip/widgets/TSlipFrame.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Fixture {
    TestAppFolder app;
    FakeMessageService messages;
    QString saveChoice;
    TMainFormEnvironment env;

    Fixture()
    {
        env.appDir = app.path();
        env.settingsPath = app.filePath(u"torvane.ini"_s);
        env.program = u"torvane"_s;
        env.messages = &messages;
        env.chooseSaveFile = [this](const QString &) { return saveChoice; };
        env.chooseOpenFile = [](const QString &) { return QString(); };
        env.startProcess = [](const QString &, const QStringList &) { return true; };
    }
};

void makeFile(const QString &path, int ageSeconds)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("half a file");
    f.flush();
    QVERIFY(f.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-ageSeconds),
                          QFileDevice::FileModificationTime));
}

// A lock as a program on another PC leaves it.
void lockFromOtherHost(const QString &slip)
{
    QFile f(DocumentLock::lockPathFor(slip));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("4242\ntorvane\nkoujou-pc2\n");
}

qint64 lockHolder(const QString &slip)
{
    QLockFile probe(DocumentLock::lockPathFor(slip));
    qint64 pid = 0;
    QString host, app;
    return probe.getLockInfo(&pid, &host, &app) ? pid : 0;
}

QString copySample(const QTemporaryDir &dir, const QString &name)
{
    const QString path = dir.filePath(name);
    QFile::copy(QStringLiteral(TORVANE_SAMPLES "/estimate-with-vehicle.tvx"), path);
    return path;
}

} // namespace

class TestSlipGuard : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startRemovesStrayTemporaries();
    void lockFollowsTheSlip();
    void lockOfAnotherPcRefuses();
    void saveAsOntoAHeldSlipIsRefused();
    void withoutLockTheSlipOpensReadOnly();
};

void TestSlipGuard::lockFollowsTheSlip()
{
    Fixture f;
    QTemporaryDir slips;
    const QString a = copySample(slips, u"a.tvx"_s);
    const QString b = slips.filePath(u"b.tvx"_s);
    const qint64 me = QCoreApplication::applicationPid();
    {
        TMainForm form(f.env);
        QVERIFY(form.start(a));
        QCOMPARE(lockHolder(a), me);
        f.saveChoice = b;
        QVERIFY(form.SaveAsActionExecute());
        QCOMPARE(lockHolder(b), me);
        QVERIFY(!QFile::exists(DocumentLock::lockPathFor(a)));

        // A second window of this process does not open it again.
        TMainForm second(f.env);
        QVERIFY(!second.start(b));
        QVERIFY(f.messages.calls.isEmpty());
        form.show();
        QVERIFY(form.close());
        QVERIFY(!QFile::exists(DocumentLock::lockPathFor(b)));
    }
}

void TestSlipGuard::lockOfAnotherPcRefuses()
{
    Fixture f;
    QTemporaryDir slips;
    const QString slip = copySample(slips, u"a.tvx"_s);
    lockFromOtherHost(slip);
    {
        TMainForm form(f.env);
        QVERIFY(!form.start(slip)); // the warning is declined
        QCOMPARE(f.messages.calls.size(), 1);
        QCOMPARE(f.messages.calls.first().box, FakeMessageService::Box::WarningQuestion);
        QVERIFY2(f.messages.calls.first().text.startsWith(u"このファイルは koujou-pc2 で開かれています"_s),
                 qPrintable(f.messages.calls.first().text));
        QCOMPARE(lockHolder(slip), 4242);
    }
    // "Open anyway" takes the lock over.
    f.messages.answers = {MessageService::Answer::Yes};
    TMainForm form(f.env);
    QVERIFY(form.start(slip));
    QCOMPARE(form.currentFile(), slip);
    QCOMPARE(lockHolder(slip), QCoreApplication::applicationPid());
}

void TestSlipGuard::saveAsOntoAHeldSlipIsRefused()
{
    Fixture f;
    QTemporaryDir slips;
    const QString held = copySample(slips, u"held.tvx"_s);
    lockFromOtherHost(held);
    const QByteArray before = [&] {
        QFile file(held);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    TMainForm form(f.env);
    QVERIFY(form.start(QString()));
    f.saveChoice = held;
    f.messages.answers = {MessageService::Answer::Yes}; // overwrite? yes
    QVERIFY(!form.SaveAsActionExecute());
    QVERIFY2(f.messages.texts().last().contains(u"koujou-pc2 で開かれているため保存できません"_s),
             qPrintable(f.messages.texts().join(u'|')));
    QFile file(held);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
    QVERIFY(form.currentFile().isEmpty());
}

void TestSlipGuard::withoutLockTheSlipOpensReadOnly()
{
    Fixture f;
    QTemporaryDir slips;
    const QString slip = copySample(slips, u"a.tvx"_s);
    // Where the lock would go nothing can be created (as on read-only media).
    QVERIFY(QDir().mkdir(DocumentLock::lockPathFor(slip)));
    TMainForm form(f.env);
    QVERIFY(form.start(slip));
    QCOMPARE(form.currentFile(), slip);
    QVERIFY(form.isReadOnly());
    QCOMPARE(f.messages.calls.size(), 1);
    QCOMPARE(f.messages.calls.first().box, FakeMessageService::Box::Information);
    QVERIFY(f.messages.calls.first().text.contains(u"読み取り専用で開きます"_s));

    // Save does not write over it; it asks for a name.
    form.slipFrame()->findChild<QLineEdit *>(u"CuNameEdit"_s)->setText(u"別人"_s);
    f.saveChoice = QString();
    QVERIFY(!form.SaveActionExecute());
    QVERIFY(form.slipFrame()->isModified());
}

void TestSlipGuard::startRemovesStrayTemporaries()
{
    Fixture f;
    QTemporaryDir slips;
    const QString slip = slips.filePath(u"a.tvx"_s);
    QVERIFY(QFile::copy(QStringLiteral(TORVANE_SAMPLES "/estimate-with-vehicle.tvx"), slip));
    const QStringList stray = {slips.filePath(u".~save.a.tvx.k3j9x0qa"_s),
                               f.app.filePath(u".~save.torvane.ini.00000000"_s),
                               f.app.filePath(u"Dat/Mst/.~save.作業名.abcdefgh"_s)};
    const QStringList kept = {
        slips.filePath(u".~save.b.tvx.zzzzzzzz"_s),         // young: a save may be under way
        slips.filePath(u".~save.a.tvx.ABCDEFGH"_s),         // not our pattern
        slips.filePath(u"a.tvx.k3j9x0qa"_s),                // someone else's temporary
        f.app.filePath(u"Dat/Mst/~save.作業名.abcdefgh"_s), // not ours either
    };
    for (const QString &path : stray)
        makeFile(path, 3600);
    for (const QString &path : kept)
        makeFile(path, path.endsWith(u"zzzzzzzz"_s) ? 5 : 3600);

    TMainForm form(f.env);
    form.start(slip);
    // Once the window has painted.
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    for (const QString &path : stray)
        QTRY_VERIFY2(!QFile::exists(path), qPrintable(path));
    for (const QString &path : kept)
        QVERIFY2(QFile::exists(path), qPrintable(path));
}

QTEST_MAIN(TestSlipGuard)
#include "tst_slipguard.moc"
