#include "support/TestAppFolder.h"

#include "app/TMainForm.h"
#include "platform/IniFile.h"
#include "platform/MessageService.h"
#include "slip/widgets/SlipSection.h"
#include "slip/widgets/TSlipFrame.h"

#include <QAction>
#include <QLineEdit>
#include <QScrollArea>
#include <QTest>
#include <QToolBar>

namespace {

// Answers questions from a script and remembers what was asked.
class ScriptedMessages : public MessageService {
public:
    QList<Answer> answers;
    QStringList asked;
    QStringList shown;
    Answer ask(const QString &text, bool) override
    {
        asked.append(text);
        return answers.isEmpty() ? Answer::Cancel : answers.takeFirst();
    }
    void show(Kind, const QString &text) override { shown.append(text); }
};

struct Fixture {
    TestAppFolder app;
    ScriptedMessages messages;
    QStringList saveDialogStarts;
    QString saveChoice;
    QList<QStringList> started;
    TMainFormEnvironment env;

    Fixture()
    {
        env.appDir = app.path();
        env.settingsPath = app.filePath(u"torvane.ini"_qs);
        env.program = u"torvane"_qs;
        env.messages = &messages;
        env.chooseSaveFile = [this](const QString &start) {
            saveDialogStarts.append(start);
            return saveChoice;
        };
        env.chooseOpenFile = [](const QString &) { return QString(); };
        env.startProcess = [this](const QString &, const QStringList &args) {
            started.append(args);
            return true;
        };
    }
    void typeName(TMainForm &form, const QString &name)
    {
        form.slipFrame()->findChild<QLineEdit *>(u"CuNameEdit"_qs)->setText(name);
    }
};

} // namespace

class TestMainForm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void titles_data();
    void titles();
    void startsWithoutFile();
    void startsWithFile();
    void saveAsProposesNameAndNumbersSlips();
    void saveOfDeletedFileRunsSaveAs();
    void saveAsAsksBeforeOverwriting();
    void closing_data();
    void closing();
    void newAndOpenWhileModifiedStartProcesses();
    void everyCommandIsThere();
    void searchWindowToggleStaysInStep();
    void endOfProgramCleansUp();
    void grabForReview();
};

void TestMainForm::initTestCase()
{
    static QTemporaryDir registry;
    qputenv("TORVANE_REGISTRY_DIR", registry.path().toLocal8Bit());
}

void TestMainForm::titles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QString>("title");
    QTest::newRow("new") << QString() << false << u"[新規] - Torvane"_qs;
    QTest::newRow("new changed") << QString() << true << u"[新規] - Torvane <更新>"_qs;
    QTest::newRow("file") << u"/slips/a.tvx"_qs << false << u"/slips/a.tvx - Torvane"_qs;
    QTest::newRow("file changed") << u"/slips/a.tvx"_qs << true << u"/slips/a.tvx - Torvane <更新>"_qs;
}

void TestMainForm::titles()
{
    QFETCH(QString, file);
    QFETCH(bool, modified);
    QFETCH(QString, title);
    QCOMPARE(TMainForm::titleFor(file, modified), title);
}

void TestMainForm::startsWithoutFile()
{
    Fixture f;
    IniFile settings(f.env.settingsPath);
    settings.writeString(u"Slip"_qs, u"No"_qs, u"41"_qs);
    settings.writeString(u"Tax"_qs, u"SRate"_qs, u"8"_qs);
    QVERIFY(settings.flush());
    TMainForm form(f.env);
    form.start(f.app.filePath(u"missing.tvx"_qs));
    QCOMPARE(form.windowTitle(), u"[新規] - Torvane"_qs);
    QVERIFY(!form.action(u"UndoAction"_qs)->isEnabled());
    const SlipData d = form.slipFrame()->data();
    QCOMPARE(d.slipCode, u"00000041"_qs);
    QCOMPARE(d.taxRate, 8 * Fixed::One);
    QCOMPARE(d.slipType, u"車検"_qs);

    f.typeName(form, u"山田"_qs);
    QCOMPARE(form.windowTitle(), u"[新規] - Torvane <更新>"_qs);
}

void TestMainForm::startsWithFile()
{
    Fixture f;
    const QString slip = f.app.filePath(u"a.tvx"_qs);
    QFile::copy(QStringLiteral(TORVANE_SAMPLES "/estimate-with-vehicle.tvx"), slip);
    TMainForm form(f.env);
    form.start(slip);
    QCOMPARE(form.windowTitle(), QDir::toNativeSeparators(slip) + u" - Torvane"_qs);
    QVERIFY(form.action(u"UndoAction"_qs)->isEnabled());
    QVERIFY(!form.slipFrame()->isModified());

    // revert brings back the file's content without a question
    f.typeName(form, u"別人"_qs);
    form.UndoActionExecute();
    QCOMPARE(form.slipFrame()->data().custName, u"山田 太郎"_qs);
    QCOMPARE(form.windowTitle(), QDir::toNativeSeparators(slip) + u" - Torvane"_qs);
    QVERIFY(f.messages.asked.isEmpty());
}

void TestMainForm::saveAsProposesNameAndNumbersSlips()
{
    Fixture f;
    IniFile settings(f.env.settingsPath);
    settings.writeString(u"Slip"_qs, u"No"_qs, u"12"_qs);
    QVERIFY(settings.flush());
    TMainForm form(f.env);
    form.start(QString());
    SlipData d = form.slipFrame()->data();
    d.slipDate = QDate(2008, 4, 1);
    form.slipFrame()->setData(d);

    f.saveChoice = f.app.filePath(u"first"_qs); // no extension typed
    QVERIFY(form.SaveAsActionExecute());
    QVERIFY(f.saveDialogStarts.last().endsWith(u"/00000012-08-04-01.tvx"_qs));
    QCOMPARE(form.currentFile(), f.app.filePath(u"first.tvx"_qs));
    QCOMPARE(IniFile(f.env.settingsPath).readString(u"Slip"_qs, u"No"_qs), u"13"_qs);
    QCOMPARE(form.windowTitle(), QDir::toNativeSeparators(form.currentFile()) + u" - Torvane"_qs);

    d = form.slipFrame()->data();
    d.slipCode = u"00000005"_qs;
    form.slipFrame()->setData(d);
    f.saveChoice = f.app.filePath(u"second.tvx"_qs);
    QVERIFY(form.SaveAsActionExecute());
    QCOMPARE(f.saveDialogStarts.last(), f.app.filePath(u"first.tvx"_qs)); // starts with the current file
    QCOMPARE(IniFile(f.env.settingsPath).readString(u"Slip"_qs, u"No"_qs), u"13"_qs);
}

void TestMainForm::saveOfDeletedFileRunsSaveAs()
{
    Fixture f;
    const QString slip = f.app.filePath(u"gone.tvx"_qs);
    QFile::copy(QStringLiteral(TORVANE_SAMPLES "/estimate-with-vehicle.tvx"), slip);
    TMainForm form(f.env);
    form.start(slip);
    QFile::remove(slip);
    f.saveChoice = f.app.filePath(u"again.tvx"_qs);
    QVERIFY(form.SaveActionExecute());
    QCOMPARE(f.saveDialogStarts.size(), 1);
    QVERIFY(QFile::exists(f.saveChoice));
}

void TestMainForm::saveAsAsksBeforeOverwriting()
{
    Fixture f;
    TMainForm form(f.env);
    form.start(QString());
    f.saveChoice = f.app.filePath(u"exists.tvx"_qs);
    QFile existing(f.saveChoice);
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write("[Keep]\r\nx=1\r\n");
    existing.close();

    f.messages.answers = {MessageService::Answer::No};
    QVERIFY(!form.SaveAsActionExecute());
    QCOMPARE(f.messages.asked.last(), u"同名のファイルがあります\r上書きしますか？"_qs);
    QVERIFY(form.currentFile().isEmpty());
    QVERIFY(!IniFile(f.saveChoice).sectionExists(u"Cust"_qs));

    f.messages.answers = {MessageService::Answer::Yes};
    QVERIFY(form.SaveAsActionExecute());
    QVERIFY(IniFile(f.saveChoice).sectionExists(u"Cust"_qs));
    QCOMPARE(IniFile(f.saveChoice).readString(u"Keep"_qs, u"x"_qs), u"1"_qs);
}

void TestMainForm::closing_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("saved");
    QTest::newRow("yes saves and closes") << int(MessageService::Answer::Yes) << true << true;
    QTest::newRow("no discards") << int(MessageService::Answer::No) << true << false;
    QTest::newRow("cancel stays") << int(MessageService::Answer::Cancel) << false << false;
}

void TestMainForm::closing()
{
    QFETCH(int, answer);
    QFETCH(bool, closes);
    QFETCH(bool, saved);
    Fixture f;
    TMainForm form(f.env);
    form.start(QString());
    form.show();
    f.typeName(form, u"山田"_qs);
    f.messages.answers = {MessageService::Answer(answer)};
    f.saveChoice = f.app.filePath(u"closing.tvx"_qs);
    QCOMPARE(form.close(), closes);
    QCOMPARE(f.messages.asked, QStringList{u"保存しますか？"_qs});
    QCOMPARE(QFile::exists(f.saveChoice), saved);

    // an unchanged slip closes without a question
    Fixture g;
    TMainForm quiet(g.env);
    quiet.start(QString());
    quiet.show();
    QVERIFY(quiet.close());
    QVERIFY(g.messages.asked.isEmpty());
}

void TestMainForm::newAndOpenWhileModifiedStartProcesses()
{
    Fixture f;
    const QString other = f.app.filePath(u"other.tvx"_qs);
    QFile::copy(QStringLiteral(TORVANE_SAMPLES "/delivery-without-vehicle.tvx"), other);
    TMainForm form(f.env);
    form.start(QString());
    form.NewActionExecute();
    QCOMPARE(f.started, QList<QStringList>{QStringList{}});

    f.typeName(form, u"山田"_qs);
    form.openFile(other);
    QCOMPARE(f.started.last(), QStringList{QDir::toNativeSeparators(other)});
    QCOMPARE(form.windowTitle(), u"[新規] - Torvane <更新>"_qs); // this window keeps its slip
    QCOMPARE(form.slipFrame()->data().custName, u"山田"_qs);

    form.slipFrame()->setModified(false);
    form.openFile(other);
    QCOMPARE(form.slipFrame()->data().custName, u"株式会社 髙橋運送"_qs);
    QCOMPARE(form.windowTitle(), QDir::toNativeSeparators(other) + u" - Torvane"_qs);
}

void TestMainForm::everyCommandIsThere()
{
    Fixture f;
    TMainForm form(f.env);
    const QStringList names = {u"NewAction"_qs,
                               u"OpenAction"_qs,
                               u"SaveAction"_qs,
                               u"SaveAsAction"_qs,
                               u"OpenTmpAction"_qs,
                               u"SaveTmpAction"_qs,
                               u"PrintAction"_qs,
                               u"PreviewAction"_qs,
                               u"PrintSetupAction"_qs,
                               u"ExitAction"_qs,
                               u"UndoAction"_qs,
                               u"OptionAction"_qs,
                               u"ToolWinAction"_qs,
                               u"SecOpenAction"_qs,
                               u"SecCloseAction"_qs,
                               u"HelpIndexAction"_qs,
                               u"HelpTopicAction"_qs,
                               u"N5"_qs,
                               u"N6"_qs,
                               u"About1"_qs};
    for (const QString &name : names)
        QVERIFY2(form.action(name), qPrintable(name));
    QCOMPARE(form.action(u"SaveAction"_qs)->statusTip(), u"現在の内容をファイルに上書き保存します"_qs);
    QCOMPARE(form.action(u"SecOpenAction"_qs)->statusTip(), u"すべてのセクションを開く"_qs);
    const QList<QAction *> bar = form.findChild<QToolBar *>(u"ToolBar1"_qs)->actions();
    QStringList order;
    for (QAction *a : bar)
        order.append(a->isSeparator() ? u"|"_qs : a->objectName());
    QCOMPARE(order.join(u' '),
             u"NewAction OpenAction SaveAction | OpenTmpAction SaveTmpAction | UndoAction OptionAction | "
             u"PrintAction "
             "PreviewAction PrintSetupAction | ToolWinAction SecOpenAction SecCloseAction | About1"_qs);
}

void TestMainForm::searchWindowToggleStaysInStep()
{
    Fixture f;
    TMainForm form(f.env);
    form.start(QString());
    form.show();
    QAction *toggle = form.action(u"ToolWinAction"_qs);
    QAction *o1 = form.findChild<QAction *>(u"O1"_qs);
    QVERIFY(toggle->isChecked() && o1->isChecked());
    const int width = form.width();
    o1->trigger();
    QVERIFY(!toggle->isChecked());
    QVERIFY(!o1->isChecked());
    QVERIFY(!form.findChild<QWidget *>(u"ItemPanel"_qs)->isVisible());
    QCOMPARE(form.width(), width - 180);
    toggle->trigger();
    QVERIFY(toggle->isChecked() && o1->isChecked());
    QVERIFY(form.findChild<QWidget *>(u"ItemPanel"_qs)->isVisible());
}

void TestMainForm::endOfProgramCleansUp()
{
    Fixture f;
    QDir().mkpath(f.app.filePath(u"slips"_qs));
    const QString slip = f.app.filePath(u"slips/a.tvx"_qs);
    QFile::copy(QStringLiteral(TORVANE_SAMPLES "/estimate-with-vehicle.tvx"), slip);
    {
        TMainForm form(f.env);
        form.start(slip);
        QFile snapshot(form.snapshotPath());
        QVERIFY(snapshot.open(QIODevice::WriteOnly));
        snapshot.close();
        form.show();
        QVERIFY(form.close());
        QVERIFY(!QFile::exists(form.snapshotPath()));
    }
    QCOMPARE(IniFile(f.env.settingsPath).readString(u"Init"_qs, u"Dir"_qs),
             QDir::toNativeSeparators(f.app.filePath(u"slips"_qs)));
}

// Pictures of the window for a person to look at; set TORVANE_GRAB_DIR to get them.
void TestMainForm::grabForReview()
{
    const QString dir = qEnvironmentVariable("TORVANE_GRAB_DIR");
    if (dir.isEmpty())
        QSKIP("TORVANE_GRAB_DIR is not set");
    Fixture f;
    TMainForm form(f.env);
    form.start(QStringLiteral(TORVANE_SAMPLES "/estimate-with-vehicle.tvx"));
    form.resize(1240, 900);
    form.show();
    form.slipFrame()->OpenAll();
    QTest::qWait(100);
    QVERIFY(form.grab().save(dir + u"/main-open.png"_qs));
    // The whole editor, as far as it scrolls.
    QWidget *content = form.slipFrame()->findChild<QScrollArea *>(u"ScrollBox1"_qs)->widget();
    QVERIFY(content->grab().save(dir + u"/editor-open.png"_qs));
    form.slipFrame()->CloseAll();
    QTest::qWait(100);
    QVERIFY(form.grab().save(dir + u"/main-closed.png"_qs));
    form.slipFrame()->setModified(false);
}

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
