// The recovery of a slip with unsaved edits: written while the window runs,
// removed by a save or a close, offered at the next start when the process
// that wrote it is gone (a real process killed with SIGKILL), and restored
// with its original file.
#include "support/FakeMessageService.h"
#include "support/TestAppFolder.h"

#include "app/AutoRecovery.h"
#include "app/TMainForm.h"
#include "controls/widgets/BoxMessageService.h"
#include "platform/AppFolder.h"
#include "platform/IniFile.h"
#include "slip/widgets/TSlipFrame.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include <memory>

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
        env.recoveryFolder = AppFolder(app.path()).recoveryFolder();
        env.recoveryIntervalMs = 20;
        env.chooseSaveFile = [this](const QString &) { return saveChoice; };
        env.startProcess = [](const QString &, const QStringList &) { return true; };
    }
    QString slip()
    {
        const QString path = app.filePath(u"slip.tvx"_s);
        if (!QFile::exists(path))
            QFile::copy(QStringLiteral(TORVANE_SAMPLES "/estimate-with-vehicle.tvx"), path);
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        return path;
    }
    QStringList recoveryFiles() const
    {
        return QDir(env.recoveryFolder).entryList({u"*.tvr"_s}, QDir::Files);
    }
};

QLineEdit *customer(TMainForm &form)
{
    return form.slipFrame()->findChild<QLineEdit *>(u"CuNameEdit"_s);
}

} // namespace

class TestRecovery : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writtenWhileModifiedAndGoneAfter_data();
    void writtenWhileModifiedAndGoneAfter();
    void ownFileIsNotOffered();
    void killedProcessIsRestored();
    void discardRemovesTheFile();
    void questionPicture();
};

void TestRecovery::writtenWhileModifiedAndGoneAfter_data()
{
    QTest::addColumn<bool>("save");
    QTest::newRow("save") << true;
    QTest::newRow("close without saving") << false;
}

void TestRecovery::writtenWhileModifiedAndGoneAfter()
{
    QFETCH(bool, save);
    Fixture f;
    TMainForm form(f.env);
    QVERIFY(form.start(f.slip()));
    QVERIFY(f.recoveryFiles().isEmpty());
    customer(form)->setText(u"途中 一郎"_s);
    QTRY_COMPARE(f.recoveryFiles().size(), 1);
    const IniFile ini(f.env.recoveryFolder + f.recoveryFiles().first());
    const std::optional<RecoveryFile::Header> header = RecoveryFile::readHeader(ini);
    QVERIFY(header);
    QCOMPARE(header->originalPath, f.slip());
    QCOMPARE(header->pid, QCoreApplication::applicationPid());
    QVERIFY(header->customer.startsWith(u"途中 一郎"_s));

    if (save) {
        QVERIFY(form.SaveActionExecute());
    } else {
        f.messages.answers = {MessageService::Answer::No};
        QVERIFY(form.close());
    }
    QVERIFY(f.recoveryFiles().isEmpty());
}

void TestRecovery::ownFileIsNotOffered()
{
    // The file of a window that still runs is never offered, not even to
    // another window of the same host.
    Fixture f;
    TMainForm form(f.env);
    QVERIFY(form.start(f.slip()));
    customer(form)->setText(u"稼働中"_s);
    QTRY_COMPARE(f.recoveryFiles().size(), 1);
    QVERIFY(AutoRecovery::leftovers(f.env.recoveryFolder).empty());
}

void TestRecovery::killedProcessIsRestored()
{
    Fixture f;
    const QString slip = f.slip();
    QProcess peer;
    peer.start(QStringLiteral(RECOVERY_PEER_BINARY), {f.app.path(), slip});
    QVERIFY(peer.waitForStarted());
    QByteArray out;
    QElapsedTimer waited;
    waited.start();
    while (!out.contains("ready") && peer.state() == QProcess::Running && waited.elapsed() < 30000) {
        peer.waitForReadyRead(200);
        out += peer.readAllStandardOutput();
    }
    QVERIFY2(out.contains("ready"), QByteArray(out + peer.readAllStandardError()).constData());
    QCOMPARE(peer.state(), QProcess::Running);
    peer.kill(); // SIGKILL: no destructor, no clean-up
    QVERIFY(peer.waitForFinished(10000));
    QCOMPARE(f.recoveryFiles().size(), 1);

    f.messages.answers = {MessageService::Answer::Yes}; // 復元
    TMainForm form(f.env);
    QVERIFY(form.start(QString()));
    form.offerRecovery();
    QCOMPARE(f.messages.calls.size(), 1);
    const QString question = f.messages.calls.first().text;
    QVERIFY2(question.startsWith(u"前回保存されなかった伝票があります"_s), qPrintable(question));
    QVERIFY(question.contains(u"復元 花子"_s));
    QVERIFY(question.contains(QDir::toNativeSeparators(slip)));

    QCOMPARE(customer(form)->text(), u"復元 花子"_s);
    QCOMPARE(form.currentFile(), slip);
    QVERIFY(form.slipFrame()->isModified());
    QVERIFY(form.windowTitle().endsWith(u"<更新>"_s));
    // The dead process's file went; this window keeps one of its own.
    QCOMPARE(f.recoveryFiles().size(), 1);
    QVERIFY(f.recoveryFiles().first().startsWith(QString::number(QCoreApplication::applicationPid()) + u'-'));

    // Save writes the edit into the original file.
    QVERIFY(form.SaveActionExecute());
    QCOMPARE(IniFile(slip).readString(u"Cust"_s, u"Name"_s), u"復元 花子"_s);
    QVERIFY(f.recoveryFiles().isEmpty());
}

void TestRecovery::discardRemovesTheFile()
{
    Fixture f;
    {
        TMainForm writer(f.env);
        QVERIFY(writer.start(f.slip()));
        customer(writer)->setText(u"捨てる"_s);
        QTRY_COMPARE(f.recoveryFiles().size(), 1);
        // A copy stands for the file of a process that is gone: its lock
        // file names no live process.
        const QString own = f.env.recoveryFolder + f.recoveryFiles().first();
        QVERIFY(QFile::copy(own, f.env.recoveryFolder + u"999999999-1.tvr"_s));
        writer.slipFrame()->setModified(false);
    }
    QCOMPARE(f.recoveryFiles(), QStringList{u"999999999-1.tvr"_s});

    f.messages.answers = {MessageService::Answer::No}; // 破棄
    TMainForm form(f.env);
    QVERIFY(form.start(QString()));
    form.offerRecovery();
    QCOMPARE(f.messages.calls.size(), 1);
    QVERIFY(f.recoveryFiles().isEmpty());
    QVERIFY(customer(form)->text() != u"捨てる"_s);
    QVERIFY(!form.slipFrame()->isModified());
}

void TestRecovery::questionPicture()
{
    const QString dir = qEnvironmentVariable("TORVANE_GRAB_DIR");
    if (dir.isEmpty())
        QSKIP("TORVANE_GRAB_DIR is not set");
    BoxMessageService boxes;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        if (QWidget *box = QApplication::activeModalWidget()) {
            poll.stop();
            box->grab().save(dir + u"/recovery-question.png"_s);
            qobject_cast<QDialog *>(box)->reject();
        }
    });
    poll.start(50);
    const int answer = boxes.choose(TMainForm::recoveryQuestion(u"00001234"_s, u"山田 太郎 様"_s,
                                                                QDateTime(QDate(2026, 12, 10), QTime(9, 41)),
                                                                u"/home/koujou/伝票/00001234-26-12-10.tvx"_s),
                                    {u"復元"_s, u"破棄"_s});
    QCOMPARE(answer, -1);
}

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
