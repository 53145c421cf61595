#include "support/FakeMessageService.h"
#include "support/TestAppFolder.h"

#include "app/ItemPanel.h"
#include "app/QtTranslations.h"
#include "app/TDispFrame.h"
#include "app/TMainForm.h"
#include "app/TOptionForm.h"
#include "controls/widgets/BoxMessageService.h"
#include "lines/widgets/SlipGridView.h"
#include "lines/widgets/TSlipGridFrame.h"
#include "master/ItemFiles.h"
#include "master/widgets/ItemGridModel.h"
#include "master/widgets/TFrame1.h"
#include "platform/IniFile.h"
#include "platform/TextList.h"
#include "print/widgets/PrintRun.h"
#include "print/widgets/PrinterService.h"
#include "slip/widgets/SlipSection.h"
#include "slip/widgets/TSlipFrame.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolBar>

using namespace Qt::StringLiterals;

namespace {

struct Fixture {
    TestAppFolder app;
    FakeMessageService messages;
    QStringList saveDialogStarts;
    QString saveChoice;
    QList<QStringList> started;
    TMainFormEnvironment env;

    Fixture()
    {
        env.appDir = app.path();
        env.settingsPath = app.filePath(u"torvane.ini"_s);
        env.program = u"torvane"_s;
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
        form.slipFrame()->findChild<QLineEdit *>(u"CuNameEdit"_s)->setText(name);
    }
};

} // namespace

class TestMainForm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void optionsDialogReloadsSettings();
    void titles_data();
    void titles();
    void startsWithoutFile_data();
    void startsWithoutFile();
    void newSlipWindowBuildsItsSectionsAfterTheFirstPaint();
    void startsWithFile();
    void startAsksNoPrinter_data();
    void startAsksNoPrinter();
    void revertAsksBeforeDiscarding();
    void saveAsProposesNameAndNumbersSlips();
    void saveOfDeletedFileRunsSaveAs();
    void saveAsAsksBeforeOverwriting();
    void closing_data();
    void closing();
    void gridExitsKeepTyping_data();
    void gridExitsKeepTyping();
    void newAndOpenWhileModifiedStartProcesses();
    void everyCommandIsThere();
    void searchWindowToggleStaysInStep();
    void endOfProgramCleansUp();
    void qtTextsAreJapanese();
    void handOverByMouseFillsTheSlip();
    void handOverByKeyboardAlone();
    void editModeTakesTheWindowAndSavesOnClose();
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
    QTest::newRow("new") << QString() << false << u"[新規] - Torvane"_s;
    QTest::newRow("new changed") << QString() << true << u"[新規] - Torvane <更新>"_s;
    QTest::newRow("file") << u"/slips/a.tvx"_s << false << u"/slips/a.tvx - Torvane"_s;
    QTest::newRow("file changed") << u"/slips/a.tvx"_s << true << u"/slips/a.tvx - Torvane <更新>"_s;
}

void TestMainForm::titles()
{
    QFETCH(QString, file);
    QFETCH(bool, modified);
    QFETCH(QString, title);
    QCOMPARE(TMainForm::titleFor(file, modified), title);
}

void TestMainForm::startsWithoutFile_data()
{
    QTest::addColumn<QStringList>("settings"); // section, key, value, ...
    QTest::addColumn<QString>("slipCode");
    QTest::addColumn<qint64>("taxRate");
    QTest::addColumn<int>("taxCut");

    // A fresh installation has no settings file: the standard rate,
    // truncated, and the first slip number 1.
    QTest::newRow("fresh installation") << QStringList() << u"00000001"_s << 10 * Fixed::One << 1;
    QTest::newRow("from the settings")
        << QStringList{u"Slip"_s, u"No"_s, u"41"_s, u"Tax"_s, u"SRate"_s, u"8"_s, u"Tax"_s, u"Hasu"_s, u"0"_s}
        << u"00000041"_s << 8 * Fixed::One << 0;
}

// The program's own start: a new slip shows every section closed, so the
// section bodies are built once the window has painted. Nothing of the flow
// a clerk goes through changes: open a section, type, Tab on, save, reopen.
void TestMainForm::newSlipWindowBuildsItsSectionsAfterTheFirstPaint()
{
    Fixture f;
    f.env.deferSlipBodies = true;
    TMainForm form(f.env);
    QVERIFY(form.start(QString()));
    QVERIFY(!form.slipFrame()->bodiesBuilt());
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTRY_VERIFY(form.slipFrame()->bodiesBuilt());
    QVERIFY(!form.slipFrame()->isModified());
    QCOMPARE(form.windowTitle(), TMainForm::titleFor(QString(), false));

    // The same window order as a window built at once.
    Fixture eager;
    TMainForm reference(eager.env);
    QVERIFY(reference.start(QString()));
    auto order = [](QWidget &w) {
        QStringList names;
        for (QWidget *n = w.nextInFocusChain(); n && n != &w; n = n->nextInFocusChain()) {
            if (n->focusPolicy() != Qt::NoFocus && !n->objectName().isEmpty())
                names << n->objectName();
        }
        return names;
    };
    QCOMPARE(order(form), order(reference));

    QTest::keyClick(&form, Qt::Key_1, Qt::AltModifier);
    auto *name = form.slipFrame()->findChild<QLineEdit *>(u"CuNameEdit"_s);
    QTRY_COMPARE(QApplication::focusWidget(), name);
    QTest::keyClicks(name, u"Yamada"_s);
    QTest::keyClick(name, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName().isEmpty()
                 ? QApplication::focusWidget()->parentWidget()->objectName()
                 : QApplication::focusWidget()->objectName(),
             u"CuTitleComBox"_s);
    QVERIFY(form.windowTitle().endsWith(u" <更新>"_s));

    f.saveChoice = f.app.filePath(u"deferred.tvx"_s);
    QVERIFY(form.SaveAsActionExecute());
    QVERIFY(!form.slipFrame()->isModified());
    QCOMPARE(IniFile(f.saveChoice).readString(u"Cust"_s, u"Name"_s), u"Yamada"_s);
}

void TestMainForm::startsWithoutFile()
{
    QFETCH(QStringList, settings);
    QFETCH(QString, slipCode);
    QFETCH(qint64, taxRate);
    QFETCH(int, taxCut);
    Fixture f;
    if (!settings.isEmpty()) {
        IniFile ini(f.env.settingsPath);
        for (qsizetype i = 0; i + 2 < settings.size(); i += 3)
            ini.writeString(settings.at(i), settings.at(i + 1), settings.at(i + 2));
        QVERIFY(ini.flush());
    }
    TMainForm form(f.env);
    form.start(f.app.filePath(u"missing.tvx"_s));
    QCOMPARE(form.windowTitle(), u"[新規] - Torvane"_s);
    QVERIFY(!form.action(u"UndoAction"_s)->isEnabled());
    const SlipData d = form.slipFrame()->data();
    QCOMPARE(d.slipCode, slipCode);
    QCOMPARE(d.taxRate, taxRate);
    QCOMPARE(d.taxCut, taxCut);
    QCOMPARE(d.slipDate, QDate::currentDate());
    QCOMPARE(d.slipType, u"車検"_s);

    f.typeName(form, u"山田"_s);
    QCOMPARE(form.windowTitle(), u"[新規] - Torvane <更新>"_s);
}

void TestMainForm::startsWithFile()
{
    Fixture f;
    const QString slip = f.app.filePath(u"a.tvx"_s);
    QFile::copy(QStringLiteral(TORVANE_SAMPLES "/estimate-with-vehicle.tvx"), slip);
    TMainForm form(f.env);
    form.start(slip);
    QCOMPARE(form.windowTitle(), QDir::toNativeSeparators(slip) + u" - Torvane"_s);
    QVERIFY(form.action(u"UndoAction"_s)->isEnabled());
    QVERIFY(!form.slipFrame()->isModified());
}

void TestMainForm::startAsksNoPrinter_data()
{
    QTest::addColumn<bool>("withSlip");
    QTest::newRow("new slip") << false;
    QTest::newRow("sample slip") << true;
}

// Printer information may mean a round trip to the print spooler: the window
// shows and paints without it, and a PDF of the slip needs none either.
void TestMainForm::startAsksNoPrinter()
{
    QFETCH(bool, withSlip);
    Fixture f;
    int made = 0;
    const auto printers = makeLazyPrinterService([&made] {
        ++made;
        return makeQtPrinterService();
    });
    f.env.printers = printers.get();
    QString slip;
    if (withSlip) {
        slip = f.app.filePath(u"a.tvx"_s);
        QVERIFY(QFile::copy(QStringLiteral(TORVANE_SAMPLES "/estimate-with-vehicle.tvx"), slip));
    }
    TMainForm form(f.env);
    QVERIFY(form.start(slip));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.repaint();
    QCoreApplication::processEvents();
    QCOMPARE(made, 0);

    form.printRun()->settings().formatPaths.fill(f.app.filePath(u"Dat/Fmt/見積書.fmt"_s));
    QString error;
    QVERIFY2(form.printRun()->exportPdf(form.slipFrame()->data(), f.app.filePath(u"a.pdf"_s), &error),
             qPrintable(error));
    QCOMPARE(made, 0);
}

void TestMainForm::revertAsksBeforeDiscarding()
{
    Fixture f;
    const QString slip = f.app.filePath(u"a.tvx"_s);
    QFile::copy(QStringLiteral(TORVANE_SAMPLES "/estimate-with-vehicle.tvx"), slip);
    TMainForm form(f.env);
    form.start(slip);
    const QString question = u"変更を破棄して、前回保存した状態に戻しますか？"_s;

    // unchanged: nothing to lose, no question
    form.action(u"UndoAction"_s)->trigger();
    QVERIFY(f.messages.calls.isEmpty());

    // No (also the default when nobody answers) keeps the edits
    f.typeName(form, u"別人"_s);
    form.action(u"UndoAction"_s)->trigger();
    QCOMPARE(f.messages.calls,
             (QList<FakeMessageService::Call>{{FakeMessageService::Box::WarningQuestion, question}}));
    QCOMPARE(form.slipFrame()->data().custName, u"別人"_s);
    QCOMPARE(form.windowTitle(), QDir::toNativeSeparators(slip) + u" - Torvane <更新>"_s);

    // Yes brings back the file's content
    f.messages.answers = {MessageService::Answer::Yes};
    form.action(u"UndoAction"_s)->trigger();
    QCOMPARE(f.messages.calls.size(), 2);
    QCOMPARE(form.slipFrame()->data().custName, u"山田 太郎"_s);
    QCOMPARE(form.windowTitle(), QDir::toNativeSeparators(slip) + u" - Torvane"_s);
    QVERIFY(!form.slipFrame()->isModified());

    // a new slip has nothing to revert to
    Fixture g;
    TMainForm fresh(g.env);
    fresh.start(QString());
    QVERIFY(!fresh.action(u"UndoAction"_s)->isEnabled());
}

void TestMainForm::saveAsProposesNameAndNumbersSlips()
{
    Fixture f;
    IniFile settings(f.env.settingsPath);
    settings.writeString(u"Slip"_s, u"No"_s, u"12"_s);
    QVERIFY(settings.flush());
    TMainForm form(f.env);
    form.start(QString());
    SlipData d = form.slipFrame()->data();
    d.slipDate = QDate(2008, 4, 1);
    form.slipFrame()->setData(d);

    // A PDF of a slip not yet saved gets the name save as would propose.
    QVERIFY(form.proposedPdfPath().endsWith(u"/00000012-08-04-01.pdf"_s));
    f.saveChoice = f.app.filePath(u"first"_s); // no extension typed
    QVERIFY(form.SaveAsActionExecute());
    QVERIFY(f.saveDialogStarts.last().endsWith(u"/00000012-08-04-01.tvx"_s));
    QCOMPARE(form.currentFile(), f.app.filePath(u"first.tvx"_s));
    QCOMPARE(form.proposedPdfPath(), f.app.filePath(u"first.pdf"_s));
    QCOMPARE(IniFile(f.env.settingsPath).readString(u"Slip"_s, u"No"_s), u"13"_s);
    QCOMPARE(form.windowTitle(), QDir::toNativeSeparators(form.currentFile()) + u" - Torvane"_s);

    d = form.slipFrame()->data();
    d.slipCode = u"00000005"_s;
    form.slipFrame()->setData(d);
    f.saveChoice = f.app.filePath(u"second.tvx"_s);
    QVERIFY(form.SaveAsActionExecute());
    QCOMPARE(f.saveDialogStarts.last(), f.app.filePath(u"first.tvx"_s)); // starts with the current file
    QCOMPARE(IniFile(f.env.settingsPath).readString(u"Slip"_s, u"No"_s), u"13"_s);
}

void TestMainForm::saveOfDeletedFileRunsSaveAs()
{
    Fixture f;
    const QString slip = f.app.filePath(u"gone.tvx"_s);
    QFile::copy(QStringLiteral(TORVANE_SAMPLES "/estimate-with-vehicle.tvx"), slip);
    TMainForm form(f.env);
    form.start(slip);
    QFile::remove(slip);
    f.saveChoice = f.app.filePath(u"again.tvx"_s);
    QVERIFY(form.SaveActionExecute());
    QCOMPARE(f.saveDialogStarts.size(), 1);
    QVERIFY(QFile::exists(f.saveChoice));
}

void TestMainForm::saveAsAsksBeforeOverwriting()
{
    Fixture f;
    TMainForm form(f.env);
    form.start(QString());
    f.saveChoice = f.app.filePath(u"exists.tvx"_s);
    QFile existing(f.saveChoice);
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write("[Keep]\r\nx=1\r\n");
    existing.close();

    f.messages.answers = {MessageService::Answer::No};
    QVERIFY(!form.SaveAsActionExecute());
    QCOMPARE(f.messages.calls,
             (QList<FakeMessageService::Call>{
                 {FakeMessageService::Box::Question, u"同名のファイルがあります\r上書きしますか？"_s}}));
    QVERIFY(form.currentFile().isEmpty());
    QVERIFY(!IniFile(f.saveChoice).sectionExists(u"Cust"_s));

    f.messages.answers = {MessageService::Answer::Yes};
    QVERIFY(form.SaveAsActionExecute());
    QVERIFY(IniFile(f.saveChoice).sectionExists(u"Cust"_s));
    QCOMPARE(IniFile(f.saveChoice).readString(u"Keep"_s, u"x"_s), u"1"_s);
}

void TestMainForm::closing_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("name");   // typed into the slip
    QTest::addColumn<QString>("choice"); // the Save As answer, below the application folder; empty: Cancel
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QString>("error"); // a part of the error shown, if any
    const int yes = int(MessageService::Answer::Yes);
    QTest::newRow("yes saves and closes")
        << yes << u"山田"_s << u"closing.tvx"_s << true << true << QString();
    QTest::newRow("no discards") << int(MessageService::Answer::No) << u"山田"_s << u"closing.tvx"_s << true
                                 << false << QString();
    QTest::newRow("cancel stays") << int(MessageService::Answer::Cancel) << u"山田"_s << u"closing.tvx"_s
                                  << false << false << QString();
    // A failed save keeps the window and the edits, and says why.
    QTest::newRow("yes, Save As cancelled: stays")
        << yes << u"山田"_s << QString() << false << false << QString();
    QTest::newRow("yes, folder cannot be written: stays")
        << yes << u"山田"_s << u"plain-file/closing.tvx"_s << false << false << u"plain-file"_s;
    QTest::newRow("yes, character CP932 cannot hold: stays")
        << yes << u"𠮷野家"_s << u"closing.tvx"_s << false << false << u"保存できない文字: 𠮷"_s;
}

void TestMainForm::closing()
{
    QFETCH(int, answer);
    QFETCH(QString, name);
    QFETCH(QString, choice);
    QFETCH(bool, closes);
    QFETCH(bool, saved);
    QFETCH(QString, error);
    Fixture f;
    QFile plain(f.app.filePath(u"plain-file"_s)); // a file where a folder is expected
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    TMainForm form(f.env);
    form.start(QString());
    form.show();
    f.typeName(form, name);
    f.messages.answers = {MessageService::Answer(answer)};
    f.saveChoice = choice.isEmpty() ? QString() : f.app.filePath(choice);
    QCOMPARE(form.close(), closes);
    QCOMPARE(f.messages.texts().value(0), u"保存しますか？"_s);
    if (error.isEmpty()) {
        QCOMPARE(f.messages.calls.size(), 1);
    } else {
        QCOMPARE(f.messages.calls.size(), 2);
        QCOMPARE(f.messages.calls.at(1).box, FakeMessageService::Box::Error);
        QVERIFY2(f.messages.calls.at(1).text.contains(error), qPrintable(f.messages.calls.at(1).text));
    }
    QCOMPARE(!choice.isEmpty() && QFile::exists(f.saveChoice), saved);
    if (!closes) {
        QVERIFY(form.isVisible());
        QCOMPARE(form.slipFrame()->data().custName, name);
        QCOMPARE(form.windowTitle(), u"[新規] - Torvane <更新>"_s);
        form.slipFrame()->setModified(false);
    }

    // an unchanged slip closes without a question
    Fixture g;
    TMainForm quiet(g.env);
    quiet.start(QString());
    quiet.show();
    QVERIFY(quiet.close());
    QVERIFY(g.messages.calls.isEmpty());
}

void TestMainForm::gridExitsKeepTyping_data()
{
    QTest::addColumn<QString>("exit");
    QTest::addColumn<QString>("at"); // "row:field" of the grid afterwards; empty: not checked
    QTest::addColumn<bool>("saved");
    QTest::newRow("Tab: next field") << u"tab"_s << u"1:3"_s << false;
    QTest::newRow("Shift+Tab: previous field") << u"backtab"_s << u"1:1"_s << false;
    QTest::newRow("click elsewhere") << u"click"_s << QString() << false;
    QTest::newRow("Alt accelerator") << u"alt"_s << QString() << true;
    QTest::newRow("menu command") << u"menu"_s << QString() << false;
    QTest::newRow("toolbar command") << u"toolbar"_s << QString() << false;
    QTest::newRow("save") << u"save"_s << QString() << true;
    QTest::newRow("close") << u"close"_s << QString() << true;
}

// Whatever way leaves a grid editor, the text typed into it reaches the row
// at once, not only after the typing pause, and never gets lost.
void TestMainForm::gridExitsKeepTyping()
{
    QFETCH(QString, exit);
    QFETCH(QString, at);
    QFETCH(bool, saved);
    Fixture f;
    const QString slip = f.app.filePath(u"a.tvx"_s);
    QFile::copy(QStringLiteral(TORVANE_SAMPLES "/estimate-with-vehicle.tvx"), slip);
    QFile::setPermissions(slip, QFile::ReadOwner | QFile::WriteOwner);
    TMainForm form(f.env);
    form.start(slip);
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.slipFrame()->OpenAll();
    TSlipGridFrame *grid = form.slipFrame()->grid();
    SlipGridView *view = grid->grid();
    // Into the description of row 1 (upper half of column 2), and type over it.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(view->columnLeft(2) + 4, view->rowTop(1) + 8));
    QCOMPARE(QApplication::focusWidget(), grid->editor(2));
    const QString typed = u"Wiper blade"_s;
    QTest::keyClick(grid->editor(2), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(grid->editor(2), typed);
    QVERIFY(grid->rows().at(0).TextA != typed); // still in the typing pause
    QVERIFY(!form.slipFrame()->isModified());

    QWidget *focused = QApplication::focusWidget();
    if (exit == u"tab"_s) {
        QTest::keyClick(focused, Qt::Key_Tab);
    } else if (exit == u"backtab"_s) {
        QTest::keyClick(focused, Qt::Key_Backtab, Qt::ShiftModifier);
    } else if (exit == u"click"_s) {
        QTest::mouseClick(form.slipFrame()->findChild<QLineEdit *>(u"CuNameEdit"_s), Qt::LeftButton);
    } else if (exit == u"alt"_s) {
        QTest::keyClick(focused, Qt::Key_S, Qt::AltModifier); // 上書き保存(&S) under the slip
        QTRY_VERIFY(!form.slipFrame()->isModified() && grid->rows().at(0).TextA == typed);
    } else if (exit == u"menu"_s) {
        QMenu *menu = nullptr;
        for (QAction *a : form.menuBar()->actions())
            if (a->text() == u"表示(&V)"_s)
                menu = a->menu();
        QVERIFY(menu);
        menu->popup(form.mapToGlobal(QPoint(10, 10)));
        QTRY_VERIFY(menu->isVisible());
        QTest::keyClick(menu, Qt::Key_C); // すべてのセクションを閉じる(&C)
        QTRY_VERIFY(!menu->isVisible());
        QVERIFY(!form.slipFrame()->section(1)->isOpen());
    } else if (exit == u"toolbar"_s) {
        QToolBar *bar = form.findChild<QToolBar *>(u"ToolBar1"_s);
        QTest::mouseClick(bar->widgetForAction(form.action(u"SecCloseAction"_s)), Qt::LeftButton);
        QVERIFY(!form.slipFrame()->section(1)->isOpen());
    } else if (exit == u"save"_s) {
        QTest::keyClick(focused, Qt::Key_S, Qt::ControlModifier);
    } else if (exit == u"close"_s) {
        f.messages.answers = {MessageService::Answer::Yes};
        QVERIFY(form.close());
        QCOMPARE(f.messages.texts(), QStringList{u"保存しますか？"_s});
    }

    QCOMPARE(grid->rows().at(0).TextA, typed);
    if (!at.isEmpty()) {
        QCOMPARE(u"%1:%2"_s.arg(grid->currentRow()).arg(grid->currentField()), at);
        QCOMPARE(QApplication::focusWidget(), grid->editor(grid->currentField()));
    }
    QFile file(slip);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().contains(typed.toLatin1()), saved);
    QCOMPARE(form.slipFrame()->isModified(), !saved);
    form.slipFrame()->setModified(false);
}

void TestMainForm::newAndOpenWhileModifiedStartProcesses()
{
    Fixture f;
    const QString other = f.app.filePath(u"other.tvx"_s);
    QFile::copy(QStringLiteral(TORVANE_SAMPLES "/delivery-without-vehicle.tvx"), other);
    TMainForm form(f.env);
    form.start(QString());
    form.NewActionExecute();
    QCOMPARE(f.started, QList<QStringList>{QStringList{}});

    f.typeName(form, u"山田"_s);
    form.openFile(other);
    QCOMPARE(f.started.last(), QStringList{QDir::toNativeSeparators(other)});
    QCOMPARE(form.windowTitle(), u"[新規] - Torvane <更新>"_s); // this window keeps its slip
    QCOMPARE(form.slipFrame()->data().custName, u"山田"_s);

    form.slipFrame()->setModified(false);
    form.openFile(other);
    QCOMPARE(form.slipFrame()->data().custName, u"株式会社 髙橋運送"_s);
    QCOMPARE(form.windowTitle(), QDir::toNativeSeparators(other) + u" - Torvane"_s);
}

void TestMainForm::everyCommandIsThere()
{
    Fixture f;
    TMainForm form(f.env);
    const QStringList names = {u"NewAction"_s,
                               u"OpenAction"_s,
                               u"SaveAction"_s,
                               u"SaveAsAction"_s,
                               u"OpenTmpAction"_s,
                               u"SaveTmpAction"_s,
                               u"PrintAction"_s,
                               u"PreviewAction"_s,
                               u"PrintSetupAction"_s,
                               u"ExitAction"_s,
                               u"UndoAction"_s,
                               u"OptionAction"_s,
                               u"ToolWinAction"_s,
                               u"SecOpenAction"_s,
                               u"SecCloseAction"_s,
                               u"HelpIndexAction"_s,
                               u"HelpTopicAction"_s,
                               u"N5"_s,
                               u"N6"_s,
                               u"About1"_s};
    for (const QString &name : names)
        QVERIFY2(form.action(name), qPrintable(name));
    QCOMPARE(form.action(u"SaveAction"_s)->statusTip(), u"現在の内容をファイルに上書き保存します"_s);
    QCOMPARE(form.action(u"SecOpenAction"_s)->statusTip(), u"すべてのセクションを開く"_s);
    const QList<QAction *> bar = form.findChild<QToolBar *>(u"ToolBar1"_s)->actions();
    QStringList order;
    for (QAction *a : bar)
        order.append(a->isSeparator() ? u"|"_s : a->objectName());
    QCOMPARE(order.join(u' '),
             u"NewAction OpenAction SaveAction | OpenTmpAction SaveTmpAction | UndoAction OptionAction | "
             u"PrintAction "
             "PreviewAction PrintSetupAction | ToolWinAction SecOpenAction SecCloseAction | About1"_s);
}

void TestMainForm::searchWindowToggleStaysInStep()
{
    Fixture f;
    TMainForm form(f.env);
    form.start(QString());
    form.show();
    QAction *toggle = form.action(u"ToolWinAction"_s);
    QAction *o1 = form.findChild<QAction *>(u"O1"_s);
    QVERIFY(toggle->isChecked() && o1->isChecked());
    const int width = form.width();
    o1->trigger();
    QVERIFY(!toggle->isChecked());
    QVERIFY(!o1->isChecked());
    QVERIFY(!form.findChild<QWidget *>(u"ItemPanel"_s)->isVisible());
    QCOMPARE(form.width(), width - 180);
    toggle->trigger();
    QVERIFY(toggle->isChecked() && o1->isChecked());
    QVERIFY(form.findChild<QWidget *>(u"ItemPanel"_s)->isVisible());
}

void TestMainForm::endOfProgramCleansUp()
{
    Fixture f;
    QDir().mkpath(f.app.filePath(u"slips"_s));
    const QString slip = f.app.filePath(u"slips/a.tvx"_s);
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
    QCOMPARE(IniFile(f.env.settingsPath).readString(u"Init"_s, u"Dir"_s),
             QDir::toNativeSeparators(f.app.filePath(u"slips"_s)));
}

// The estimate sample charges 8,800 yen per labour point.
void TestMainForm::handOverByMouseFillsTheSlip()
{
    Fixture f;
    TMainForm form(f.env);
    form.start(QStringLiteral(TORVANE_SAMPLES "/estimate-with-vehicle.tvx"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    TSlipFrame *slip = form.slipFrame();
    slip->CloseAll();
    const qint64 labourBefore = slip->data().tecTotal;
    const int rowsBefore = int(slip->data().rows.size());
    const int current = slip->grid()->currentRow();

    TFrame1 *items = form.itemFrame();
    items->selectCategory(2); // エンジン
    const QModelIndex oil = items->model()->index(1, 0);
    QCOMPARE(oil.data().toString(), u"エンジンオイル交換"_s);
    items->selectVehicleClass(1); // 小型乗用: 0.30 points
    const QRect cell = items->StringGrid1->visualRect(oil);
    QTest::mouseClick(items->StringGrid1->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(items->StringGrid1->viewport(), Qt::LeftButton, {}, cell.center());

    QVERIFY(slip->section(4)->isOpen());
    const TRowData &row = slip->grid()->rows().at(current - 1);
    QCOMPARE(row.LineDiv, u"整備"_s);
    QCOMPARE(row.TextA, u"エンジンオイル交換"_s);
    QCOMPARE(row.WorkPoint, 3000);
    QCOMPARE(row.WorkPrice, 2640 * Fixed::One);
    QCOMPARE(slip->grid()->currentRow(), current + 1);
    QCOMPARE(int(slip->data().rows.size()), rowsBefore + 1);
    QCOMPARE(slip->data().tecTotal, labourBefore + 2640);
    QVERIFY(form.windowTitle().endsWith(u" <更新>"_s));

    // "明細へ" hands over a part at its unit price.
    items->setKind(ItemFiles::Kind::Parts);
    items->selectCategory(11); // オイル・油脂
    items->StringGrid1->setCurrentIndex(items->model()->index(1, 0));
    form.itemPanel()->addButton()->click();
    const TRowData &part = slip->grid()->rows().at(current);
    QCOMPARE(part.LineDiv, u"部品"_s);
    QCOMPARE(part.TextA, u"エンジンオイル 0W-20 (1L)"_s);
    QCOMPARE(part.UnitPrice, 1650 * Fixed::One);
    slip->setModified(false);
}

void TestMainForm::handOverByKeyboardAlone()
{
    Fixture f;
    TMainForm form(f.env);
    form.start(QString());
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.action(u"ToolWinAction"_s)->setChecked(false);
    QTest::keyClick(&form, Qt::Key_F, Qt::ControlModifier);
    TFrame1 *items = form.itemFrame();
    QVERIFY(form.itemPanel()->isVisible());
    QTRY_VERIFY(items->SearchEdit->hasFocus());
    items->SearchEdit->insert(u"ﾜｲﾊﾟｰ"_s); // as an input method commits it
    QVERIFY(items->searching());
    QTest::keyClick(items->SearchEdit, Qt::Key_Down);
    QTest::keyClick(items->SearchEdit, Qt::Key_Return);
    const TRowData &row = form.slipFrame()->grid()->rows().first();
    QCOMPARE(row.TextA, u"ワイパーブレード交換(リア)"_s);
    QVERIFY(form.slipFrame()->section(4)->isOpen());
    QVERIFY(form.slipFrame()->grid()->isAncestorOf(QApplication::focusWidget()));
    form.slipFrame()->setModified(false);
}

void TestMainForm::editModeTakesTheWindowAndSavesOnClose()
{
    Fixture f;
    const ItemFiles::Location where(f.app.path());
    {
        TMainForm form(f.env);
        form.start(QString());
        form.show();
        QPushButton *edit = form.itemPanel()->editButton();
        edit->click();
        QVERIFY(form.itemFrame()->editMode());
        QVERIFY(!form.slipFrame()->isVisible());
        QVERIFY(!form.itemPanel()->addButton()->isEnabled());
        QCOMPARE(edit->text(), u"編集終了(&T)"_s);
        QAbstractItemModel *m = form.itemFrame()->model();
        QVERIFY(m->setData(m->index(1, 0), u"車検整備一式(24ヶ月点検)"_s, Qt::EditRole));
        QVERIFY(form.close());
    }
    QCOMPARE(TextList::read(where.itemFile(ItemFiles::Kind::Maintenance, u"1"_s)).first().section(u',', 0, 0),
             u"車検整備一式(24ヶ月点検)"_s);
}

// Pictures of the window for a person to look at; set TORVANE_GRAB_DIR to get them.
// Qt's own dialogs and buttons speak Japanese once the program has loaded
// Qt's translations.
void TestMainForm::qtTextsAreJapanese()
{
    QVERIFY(QtTranslations::installJapanese(*QCoreApplication::instance()));
    QMessageBox box(QMessageBox::Question, u"Torvane"_s, u"保存しますか？"_s,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QVERIFY(box.button(QMessageBox::Yes)->text().startsWith(u"はい"_s)); // with its accelerator
    QVERIFY(box.button(QMessageBox::Cancel)->text().startsWith(u"キャンセル"_s));

    QFileDialog dialog(nullptr, QString(), QDir::tempPath());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    auto *label = dialog.findChild<QLabel *>(u"fileNameLabel"_s);
    QVERIFY(label);
    QVERIFY2(label->text().contains(u"ファイル名"_s), qPrintable(label->text()));
}

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
    QVERIFY(form.grab().save(dir + u"/main-open.png"_s));
    // The whole editor, as far as it scrolls.
    QWidget *content = form.slipFrame()->findChild<QScrollArea *>(u"ScrollBox1"_s)->widget();
    QVERIFY(content->grab().save(dir + u"/editor-open.png"_s));
    form.slipFrame()->CloseAll();
    QTest::qWait(100);
    QVERIFY(form.grab().save(dir + u"/main-closed.png"_s));
    form.itemFrame()->setSearchText(u"ﾌﾞﾚｰｷ"_s);
    QTest::qWait(50);
    QVERIFY(form.grab().save(dir + u"/main-search.png"_s));
    form.itemFrame()->setSearchText(QString());
    form.itemPanel()->editButton()->click();
    QTest::qWait(50);
    QVERIFY(form.grab().save(dir + u"/main-items-edit.png"_s));
    form.itemPanel()->editButton()->click();
    form.slipFrame()->setModified(false);

    // The real question before a revert, answered No by its default button.
    BoxMessageService boxes(&form);
    f.env.messages = &boxes;
    const QString slip = f.app.filePath(u"a.tvx"_s);
    QFile::copy(QStringLiteral(TORVANE_SAMPLES "/estimate-with-vehicle.tvx"), slip);
    TMainForm asking(f.env);
    asking.start(slip);
    asking.show();
    f.typeName(asking, u"別人"_s);
    bool grabbed = false;
    QTimer::singleShot(200, &asking, [&] {
        QWidget *box = QApplication::activeModalWidget();
        if (!box)
            return;
        grabbed = box->grab().save(dir + u"/revert-question.png"_s);
        QTest::keyClick(box, Qt::Key_Return);
    });
    asking.action(u"UndoAction"_s)->trigger();
    QVERIFY(grabbed);
    QCOMPARE(asking.slipFrame()->data().custName, u"別人"_s);
    asking.slipFrame()->setModified(false);
}

void TestMainForm::optionsDialogReloadsSettings()
{
    Fixture f;
    bool shown = false;
    f.env.runOptions = [&](TOptionForm &options) {
        shown = true;
        options.DispFrame1->Edit1->setText(u"リース"_s);
        options.DispFrame1->Button1->click();
        options.Button1->click();
    };
    TMainForm form(f.env);
    QVERIFY(form.start(QString()));
    QAction *option = form.action(u"OptionAction"_s);
    QVERIFY(option->isEnabled());
    const auto offered = [&form] {
        for (const QComboBox *box : form.slipFrame()->findChildren<QComboBox *>()) {
            if (box->findText(u"リース"_s) >= 0)
                return true;
        }
        return false;
    };
    QVERIFY(!offered());
    option->trigger();
    QVERIFY(shown);
    QCOMPARE(f.messages.calls, {});
    // The slip header offers the new division at once.
    QVERIFY(offered());
}

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
