#include "support/FakeMessageService.h"
#include "support/TestAppFolder.h"

#include "app/RecentFiles.h"
#include "app/TMainForm.h"
#include "controls/widgets/BoxMessageService.h"
#include "platform/IniFile.h"
#include "slip/widgets/TSlipFrame.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

class TestRecentFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void listOrder_data();
    void listOrder();
    void twoProcessesShareTheList();
    void menuAndDialogsFollowTheList();
    void aboutNamesTheDataFolder();
    void grabForReview();

private:
    // Empty files a0..a<count-1> in dir.
    static QStringList makeFiles(const QString &dir, int count, const QString &prefix = u"a"_s);
};

QStringList TestRecentFiles::makeFiles(const QString &dir, int count, const QString &prefix)
{
    QStringList files;
    for (int i = 0; i < count; ++i) {
        files << dir + u'/' + prefix + QString::number(i) + u".tvx"_s;
        QFile f(files.last());
        f.open(QIODevice::WriteOnly);
    }
    return files;
}

void TestRecentFiles::listOrder_data()
{
    // Indices of files a0..a9: the adds in turn, the files removed from disk
    // afterwards, and the list that is read back.
    QTest::addColumn<QList<int>>("adds");
    QTest::addColumn<QList<int>>("removed");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("newest first") << QList<int>{0, 1, 2} << QList<int>{} << QList<int>{2, 1, 0};
    QTest::newRow("a file again moves to the top")
        << QList<int>{0, 1, 2, 0} << QList<int>{} << QList<int>{0, 2, 1};
    QTest::newRow("at most eight") << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9} << QList<int>{}
                                   << QList<int>{9, 8, 7, 6, 5, 4, 3, 2};
    QTest::newRow("missing files dropped") << QList<int>{0, 1, 2, 3} << QList<int>{1, 3} << QList<int>{2, 0};
}

void TestRecentFiles::listOrder()
{
    QFETCH(QList<int>, adds);
    QFETCH(QList<int>, removed);
    QFETCH(QList<int>, expected);
    QTemporaryDir dir;
    const QStringList files = makeFiles(dir.path(), 10);
    const QString settings = dir.filePath(u"torvane.ini"_s);
    for (int i : adds)
        QVERIFY(RecentFiles::add(settings, files.at(i)));
    for (int i : removed)
        QVERIFY(QFile::remove(files.at(i)));
    QStringList want;
    for (int i : expected)
        want << files.at(i);
    QCOMPARE(RecentFiles::read(settings), want);
    // The file dialogs start where the last slip was.
    QCOMPARE(IniFile(settings).readString(u"Init"_s, u"Dir"_s), QDir::toNativeSeparators(dir.path()));
}

// Two processes add five files each at the same time: whatever the
// interleaving, nothing is lost, each process's files keep their order and
// the list is cut at eight.
void TestRecentFiles::twoProcessesShareTheList()
{
    QTemporaryDir dir;
    const QString settings = dir.filePath(u"torvane.ini"_s);
    const QStringList a = makeFiles(dir.path(), 5, u"a"_s);
    const QStringList b = makeFiles(dir.path(), 5, u"b"_s);
    QProcess pa;
    QProcess pb;
    pa.start(QStringLiteral(SETTINGS_PEER_BINARY), QStringList{u"recent"_s, settings} + a);
    pb.start(QStringLiteral(SETTINGS_PEER_BINARY), QStringList{u"recent"_s, settings} + b);
    for (QProcess *p : {&pa, &pb}) {
        QVERIFY(p->waitForFinished(60000));
        QVERIFY2(p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0, p->readAllStandardError());
    }
    const QStringList list = RecentFiles::read(settings);
    QCOMPARE(list.size(), RecentFiles::MaxCount);
    QVERIFY(list.first() == a.last() || list.first() == b.last());
    QVERIFY(list.contains(a.last()) && list.contains(b.last()));
    for (const QStringList &own : {a, b}) {
        // Each writer's newest files, in its own order, newest first.
        QStringList mine;
        for (const QString &file : list)
            if (own.contains(file))
                mine << file;
        QVERIFY(mine.size() >= 3);
        QStringList newestFirst = own.mid(own.size() - mine.size());
        std::reverse(newestFirst.begin(), newestFirst.end());
        QCOMPARE(mine, newestFirst);
    }
}

namespace {

struct Fixture {
    TestAppFolder app;
    FakeMessageService messages;
    QStringList openStarts;
    TMainFormEnvironment env;

    Fixture()
    {
        QCoreApplication::setApplicationVersion(u"1.2.3"_s);
        env.appDir = app.path();
        env.appDirSource = u"ユーザーごとのフォルダ"_s;
        env.settingsPath = app.filePath(u"torvane.ini"_s);
        env.program = u"torvane"_s;
        env.messages = &messages;
        env.chooseOpenFile = [this](const QString &start) {
            openStarts << start;
            return QString();
        };
        env.startProcess = [](const QString &, const QStringList &) { return true; };
    }
    QString copySample(const QString &folder, const QString &name)
    {
        QDir().mkpath(app.filePath(folder));
        const QString path = app.filePath(folder + u'/' + name);
        QFile::copy(QStringLiteral(TORVANE_SAMPLES "/estimate-with-vehicle.tvx"), path);
        return path;
    }
};

QMenu *recentMenu(TMainForm &form)
{
    auto *menu = form.menuBar()->findChild<QMenu *>(u"RecentMenu"_s);
    if (menu)
        Q_EMIT menu->aboutToShow();
    return menu;
}

} // namespace

void TestRecentFiles::menuAndDialogsFollowTheList()
{
    Fixture f;
    const QString first = f.copySample(u"old"_s, u"first.tvx"_s);
    const QString second = f.copySample(u"new"_s, u"second.tvx"_s);
    {
        TMainForm form(f.env);
        QVERIFY(form.start(first));
        // The slip opened at start goes into the list once the window has painted.
        QCOMPARE(RecentFiles::read(f.env.settingsPath), QStringList());
        QCoreApplication::processEvents();
        QCOMPARE(RecentFiles::read(f.env.settingsPath), QStringList());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTRY_COMPARE(RecentFiles::read(f.env.settingsPath).size(), 1);
        QMenu *menu = recentMenu(form);
        QVERIFY(menu);
        QCOMPARE(menu->actions().size(), 1);
        QVERIFY(menu->actions().at(0)->text().endsWith(QDir::toNativeSeparators(first)));
        form.slipFrame()->setModified(false);
    }
    // Another process saved a slip meanwhile.
    QVERIFY(RecentFiles::add(f.env.settingsPath, second));
    TMainForm form(f.env);
    QVERIFY(form.start(QString()));
    // The open dialog starts where the last slip was.
    form.action(u"OpenAction"_s)->trigger();
    QCOMPARE(f.openStarts, QStringList{QFileInfo(second).absolutePath()});

    QMenu *menu = recentMenu(form);
    QCOMPARE(menu->actions().size(), 2);
    QVERIFY(menu->actions().at(0)->text().startsWith(u"&1 "_s));
    QVERIFY(menu->actions().at(0)->text().endsWith(QDir::toNativeSeparators(second)));
    menu->actions().at(1)->trigger();
    QCOMPARE(form.currentFile(), first);
    QCOMPARE(RecentFiles::read(f.env.settingsPath), (QStringList{first, second}));

    // A slip that is gone leaves the menu; an empty list says so.
    QVERIFY(QFile::remove(first));
    QVERIFY(QFile::remove(second));
    menu = recentMenu(form);
    QCOMPARE(menu->actions().size(), 1);
    QVERIFY(!menu->actions().at(0)->isEnabled());
    form.slipFrame()->setModified(false);
}

void TestRecentFiles::aboutNamesTheDataFolder()
{
    Fixture f;
    TMainForm form(f.env);
    QVERIFY(form.start(QString()));
    form.action(u"About1"_s)->trigger();
    QCOMPARE(f.messages.calls.size(), 1);
    const QString text = f.messages.calls.at(0).text;
    QVERIFY2(text.contains(QApplication::applicationVersion()), qPrintable(text));
    QVERIFY2(text.contains(QDir::toNativeSeparators(f.app.path())), qPrintable(text));
    QVERIFY2(text.contains(f.env.appDirSource), qPrintable(text));
    form.slipFrame()->setModified(false);
}

// Pictures for a person to look at; set TORVANE_GRAB_DIR to get them.
void TestRecentFiles::grabForReview()
{
    const QString dir = qEnvironmentVariable("TORVANE_GRAB_DIR");
    if (dir.isEmpty())
        QSKIP("TORVANE_GRAB_DIR is not set");
    Fixture f;
    for (const QString &name : {u"2026-0001.tvx"_s, u"2026-0002.tvx"_s, u"見積_山田様.tvx"_s})
        RecentFiles::add(f.env.settingsPath, f.copySample(u"伝票"_s, name));
    BoxMessageService boxes;
    f.env.messages = &boxes;
    TMainForm form(f.env);
    boxes.setParent(&form);
    QVERIFY(form.start(QString()));
    form.resize(900, 600);
    form.show();
    QMenu *file = form.menuBar()->actions().at(0)->menu();
    file->popup(form.mapToGlobal(QPoint(0, form.menuBar()->height())));
    QMenu *recent = form.menuBar()->findChild<QMenu *>(u"RecentMenu"_s);
    file->setActiveAction(recent->menuAction());
    recent->popup(file->mapToGlobal(QPoint(file->width(), 60)));
    QTest::qWait(200);
    QVERIFY(file->grab().save(dir + u"/file-menu.png"_s));
    QVERIFY(recent->grab().save(dir + u"/recent-menu.png"_s));
    recent->close();
    file->close();

    bool grabbed = false;
    QTimer::singleShot(200, &form, [&] {
        QWidget *box = QApplication::activeModalWidget();
        if (!box)
            return;
        grabbed = box->grab().save(dir + u"/about.png"_s);
        QTest::keyClick(box, Qt::Key_Return);
    });
    form.action(u"About1"_s)->trigger();
    QVERIFY(grabbed);
    form.slipFrame()->setModified(false);
}

QTEST_MAIN(TestRecentFiles)
#include "tst_recentfiles.moc"
