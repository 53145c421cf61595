#include "support/FakeMessageService.h"
#include "support/RenderFolder.h"
#include "support/SampleSlip.h"

#include "platform/AppFolder.h"
#include "platform/Clock.h"
#include "print/LogoSetting.h"
#include "print/widgets/PrintRun.h"
#include "print/widgets/PrinterService.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

// A slip printed at once through the real spooler: scripts/test.sh starts a
// private cupsd (CUPS_SERVER) whose default queue writes each job's PDF to
// the file named in TORVANE_CUPS_OUTPUT.
class TestCupsPrint : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void printAllReachesTheQueue()
    {
        const QString pdf = qEnvironmentVariable("TORVANE_CUPS_OUTPUT");
        if (pdf.isEmpty()) {
            const QString why = qEnvironmentVariable("TORVANE_CUPS_SKIP_REASON");
            QSKIP(qPrintable(why.isEmpty() ? u"no print spooler here: scripts/test.sh starts a private one"_s
                                           : u"no print spooler here: "_s + why));
        }
        if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        auto printers = makeQtPrinterService();
        QVERIFY2(!printers->printerNames().isEmpty(), "cupsd was started but Qt sees no printer");

        RenderFolder folder;
        QVERIFY(folder.isValid());
        const QString app = folder.path();
        QVERIFY(LogoSetting::ensureDefaults(app));

        FakeMessageService messages;
        const QString prefix = QString::number(Clock::tickCount());
        PrintRun printRun({app, folder.settingsPath(), prefix, sampleContext()}, *printers, messages,
                          nullptr);
        printRun.settings().formatPaths.fill(folder.formatPath());
        printRun.settings().logoPath = AppFolder(app).logoFile(LogoSetting::defaultName());
        printRun.settings().copies = {true, false, false, false};
        const QString name = u"cups"_s + prefix;
        printRun.setDocumentName(name + u".tvx"_s);
        QFile::remove(pdf); // an earlier run's job
        QVERIFY(printRun.print(sampleSlip(4), false));
        // The default company-name setting is the placeholder: said once, printed anyway.
        QCOMPARE(messages.calls, (QList<FakeMessageService::Call>{
                                     {FakeMessageService::Box::Warning, LogoSetting::companyWarning()}}));
        // The page files are gone once printing has ended.
        QCOMPARE(QDir(folder.tmp()).entryList({u"*_PTmp*"_s}, QDir::Files), QStringList());

        // The queue writes the job's file; the job is done once the queue is empty.
        bool done = false;
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 60000) {
            if (QFileInfo(pdf).size() > 0 && run(u"lpstat"_s, {u"-o"_s}).trimmed().isEmpty()) {
                done = true;
                break;
            }
            QTest::qWait(100);
        }
        QVERIFY2(done, qPrintable(u"no job output in "_s + pdf));
        const QString text = run(u"pdftotext"_s, {u"-raw"_s, pdf, u"-"_s});
        QVERIFY2(text.contains(u"山田 太郎"_s), qPrintable(text));
        QVERIFY(text.contains(u"納品請求書"_s));
        QVERIFY(text.contains(u"1,000"_s) && text.contains(u"1,300"_s));
        QVERIFY2(text.contains(u"￥4,600"_s) || text.contains(u"¥4,600"_s), qPrintable(text));
        QVERIFY(run(u"pdfinfo"_s, {pdf}).contains(u"Pages:           1"_s));
    }
};

QTEST_MAIN(TestCupsPrint)
#include "tst_cupsprint.moc"
