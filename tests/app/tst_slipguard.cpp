// What the main window does so that no work is lost between processes and
// after a crash: temporaries of an interrupted save go at the next start.
#include "support/FakeMessageService.h"
#include "support/TestAppFolder.h"

#include "app/TMainForm.h"

#include <QDateTime>
#include <QFile>
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

} // namespace

class TestSlipGuard : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startRemovesStrayTemporaries();
};

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
    for (const QString &path : stray)
        QVERIFY2(!QFile::exists(path), qPrintable(path));
    for (const QString &path : kept)
        QVERIFY2(QFile::exists(path), qPrintable(path));
}

QTEST_MAIN(TestSlipGuard)
#include "tst_slipguard.moc"
