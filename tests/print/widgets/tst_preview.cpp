#include "FakePrinting.h"
#include "support/FakeMessageService.h"
#include "support/RenderFolder.h"
#include "support/SampleSlip.h"

#include "platform/TextList.h"
#include "print/LogoSetting.h"
#include "print/widgets/PrintRun.h"
#include "print/widgets/TPreviewAbortForm.h"
#include "print/widgets/TPrintPreviwForm.h"
#include "print/widgets/TSpoolInfoForm.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

using Box = FakeMessageService::Box;
using Calls = QList<FakeMessageService::Call>;

QStringList pagesScript(int pages)
{
    QStringList lines{u"font,\"ＭＳ ゴシック\",60,0,0"_s, u"lbox,100,100,2000,2870"_s};
    for (int p = 1; p <= pages; ++p) {
        if (p > 1)
            lines << u"page"_s;
        lines << u"ctext,"_s + QString::number(p) + u"ページ目,1050,1400"_s;
    }
    return lines;
}

int pdfPages(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = file.readAll();
    return int(bytes.count("/Type /Page\n") + bytes.count("/Type /Page ") + bytes.count("/Type /Page>"));
}

} // namespace

class TestPreview : public QObject {
    Q_OBJECT

private:
    RenderFolder folder_;

    // A preview with its pages drawn, as page rendering leaves it.
    std::unique_ptr<TPrintPreviwForm> preview(FakePrinters &printers, FakeMessageService &messages, int pages)
    {
        auto form = std::make_unique<TPrintPreviwForm>(printers, messages);
        form->plot().setJobTitle(u" 伝票.tvx - Torvane "_s);
        if (folder_.draw(form->plot(), u"42"_s, pagesScript(pages)).result != TMakeMataDBM::Result::Drawn)
            return nullptr;
        form->resize(900, 700);
        form->prepare();
        return form;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(folder_.isValid()); }
    void init() { QVERIFY(folder_.clearTmp()); }

    void navigation_data()
    {
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("nextClicks");
        QTest::addColumn<QString>("display");
        QTest::addColumn<bool>("prev");
        QTest::addColumn<bool>("next");
        QTest::newRow("one page") << 1 << 3 << u"01/01"_s << false << false;
        QTest::newRow("twelve, start") << 12 << 0 << u"01/12"_s << false << true;
        QTest::newRow("twelve, middle") << 12 << 5 << u"06/12"_s << true << true;
        QTest::newRow("twelve, end") << 12 << 11 << u"12/12"_s << true << false;
        QTest::newRow("hundred and one, end") << 101 << 100 << u"101/101"_s << true << false;
    }
    void navigation()
    {
        QFETCH(int, pages);
        QFETCH(int, nextClicks);
        QFETCH(QString, display);
        QFETCH(bool, prev);
        QFETCH(bool, next);
        FakePrinters printers;
        FakeMessageService messages;
        auto form = preview(printers, messages, pages);
        QVERIFY(form);
        form->show();
        for (int i = 0; i < nextClicks; ++i) {
            if (form->NextSpeedButton->isEnabled())
                QTest::mouseClick(form->NextSpeedButton, Qt::LeftButton);
        }
        QCOMPARE(form->PageCountPanel->text(), display);
        QCOMPARE(form->PrevSpeedButton->isEnabled(), prev);
        QCOMPARE(form->NextSpeedButton->isEnabled(), next);
        if (prev) {
            QTest::mouseClick(form->PrevSpeedButton, Qt::LeftButton);
            QCOMPARE(form->currentPage(), nextClicks);
            QVERIFY(form->NextSpeedButton->isEnabled());
        }
    }

    void zoomAndOutline()
    {
        FakePrinters printers;
        FakeMessageService messages;
        auto form = preview(printers, messages, 2);
        form->show();
        QVERIFY(!form->PlusSpbutton->isEnabled() && form->MinusSpButton->isEnabled());
        const int client = form->ScreenScBox->viewport()->width();
        QCOMPARE(form->PreviewImage->width(), client - 40);
        QCOMPARE(form->PreviewImage->y(), 20);
        // The printable area: 94 of 4960 dots across, 118 of 7016 down.
        const QRect printable = form->PreviewImage->printableRect();
        QCOMPARE(printable.x(), qRound(94.0 * form->PreviewImage->width() / 4960));
        QCOMPARE(printable.y(), qRound(118.0 * form->PreviewImage->height() / 7016));

        QTest::mouseClick(form->MinusSpButton, Qt::LeftButton);
        QVERIFY(form->PlusSpbutton->isEnabled() && !form->MinusSpButton->isEnabled());
        QCOMPARE(form->PreviewImage->height(), form->ScreenScBox->height() - 30);
        QCOMPARE(form->PreviewImage->y(), 15);
        QVERIFY(form->PreviewImage->width() < form->PreviewImage->height());
    }

    void wheelScrolls()
    {
        FakePrinters printers;
        FakeMessageService messages;
        auto form = preview(printers, messages, 1);
        form->show();
        QScrollBar *bar = form->ScreenScBox->verticalScrollBar();
        QVERIFY(bar->maximum() > 60);
        const QPoint at = form->ScreenScBox->viewport()->rect().center();
        QWheelEvent down(at, form->ScreenScBox->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -240),
                         Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(form->ScreenScBox->viewport(), &down);
        QCOMPARE(bar->value(), 60);
    }

    // No to "印刷しますか？" keeps the preview open and prints nothing.
    void askBeforePrinting()
    {
        FakePrinters printers;
        printers.pdfPath = folder_.path() + u"no.pdf"_s;
        FakeMessageService messages;
        messages.answers = {MessageService::Answer::No};
        auto form = preview(printers, messages, 2);
        form->setAskBeforePrinting(true);
        form->show();
        QTest::mouseClick(form->PrintSpButton, Qt::LeftButton);
        QCOMPARE(messages.calls, (Calls{{Box::Question, u"印刷しますか？"_s}}));
        QVERIFY(form->isVisible());
        QVERIFY(!form->printStarted());
        QVERIFY(!QFile::exists(printers.pdfPath));
    }

    // A cancel asks "中止しますか？"; No goes on with the next page, Yes
    // aborts the job. Printing at once never asks "印刷しますか？".
    void cancelWhilePrinting_data()
    {
        QTest::addColumn<bool>("stop");
        QTest::addColumn<int>("printed");
        QTest::newRow("No: go on") << false << 3;
        QTest::newRow("Yes: abort") << true << 0;
    }
    void cancelWhilePrinting()
    {
        QFETCH(bool, stop);
        QFETCH(int, printed);
        FakePrinters printers;
        printers.pdfPath = folder_.path() + u"cancel.pdf"_s;
        QFile::remove(printers.pdfPath);
        FakeMessageService messages;
        messages.answers = {stop ? MessageService::Answer::Yes : MessageService::Answer::No};
        auto form = preview(printers, messages, 3);
        // The abort button is pressed while page 1 is going out.
        QTimer::singleShot(0, form.get(), [&form] { form->AbortForm->PrAbortButton->click(); });
        form->PrintAll();
        QCOMPARE(messages.calls, (Calls{{Box::InformationQuestion, u"中止しますか？"_s}}));
        QVERIFY(form->printStarted());
        QVERIFY(!form->AbortForm->isVisible());
        if (printed > 0)
            QCOMPARE(pdfPages(printers.pdfPath), printed);
        else
            QVERIFY(!QFile::exists(printers.pdfPath) || pdfPages(printers.pdfPath) < 3);
    }

    void pageFilesDeletedWithWindow()
    {
        FakePrinters printers;
        FakeMessageService messages;
        auto form = preview(printers, messages, 4);
        QCOMPARE(folder_.tmpFileCount(), 4);
        form.reset();
        QCOMPARE(folder_.tmpFileCount(), 0);
    }

    // The spool dialog's cancel on page 3: "中止しました", and no page file
    // is left in the temporary folder.
    void cancelRenderingOnPageThree()
    {
        FakePrinters printers;
        FakeMessageService messages;
        PrintRun::Context context{folder_.path(), folder_.settingsPath(), u"42"_s, {}};
        QWidget window;
        PrintRun run(context, printers, messages, &window);
        QTimer poll;
        int pagesSeen = 0;
        connect(&poll, &QTimer::timeout, this, [&pagesSeen] {
            for (QWidget *w : QApplication::topLevelWidgets()) {
                auto *spool = qobject_cast<TSpoolInfoForm *>(w);
                if (spool && spool->isVisible()) {
                    pagesSeen = pagesSeen < spool->PageLabel->text().toInt()
                                    ? spool->PageLabel->text().toInt()
                                    : pagesSeen;
                    if (spool->PageLabel->text() == u"003")
                        spool->PrAbortButton->click();
                }
            }
        });
        poll.start(0);
        QStringList lines = pagesScript(6);
        // Enough lines per page that the poll sees every page.
        for (int i = lines.size() - 1; i > 0; --i) {
            for (int k = 0; k < 20; ++k)
                lines.insert(i, u"line,0,0,10,10"_s);
        }
        QVERIFY(!run.Render(folder_.writeScript(lines), true));
        poll.stop();
        QCOMPARE(pagesSeen, 3);
        QCOMPARE(messages.calls, (Calls{{Box::Information, u"中止しました"_s}}));
        QCOMPARE(folder_.tmpFileCount(), 0);
    }

    // The preview command: the window opens maximised on page 1; closing it
    // prints nothing and removes the page files and the script.
    void previewThroughPrintRun()
    {
        FakePrinters printers;
        FakeMessageService messages;
        PrintRun run({folder_.path(), folder_.settingsPath(), u"42"_s, sampleContext()}, printers, messages,
                     nullptr);
        run.settings().formatPaths.fill(folder_.formatPath());
        QString display;
        bool maximised = false;
        // Rendering lets events through too; act once the preview is modal.
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            auto *form = qobject_cast<TPrintPreviwForm *>(QApplication::activeModalWidget());
            if (!form)
                return;
            poll.stop();
            display = form->PageCountPanel->text();
            maximised = form->isMaximized();
            form->CloaseSpButton->click();
        });
        poll.start(10);
        QVERIFY(!run.print(sampleSlip(30), true));
        QCOMPARE(display, u"01/04"_s); // two pages for each of the two copies
        QVERIFY(maximised);
        QVERIFY(messages.calls.isEmpty());
        QCOMPARE(folder_.tmpFileCount(), 1); // only the print snapshot stays
        QVERIFY(QFile::exists(run.snapshotPath()));
        run.removeSnapshot();
        QCOMPARE(folder_.tmpFileCount(), 0);
    }

    // While the company-name setting is the one a new installation ships,
    // the first output of the process warns and the output is made anyway;
    // later ones stay silent. A filled-in setting never warns.
    void placeholderCompanyWarnsOnce()
    {
        QVERIFY(QDir().mkpath(folder_.path() + u"Dat/Etc"_s));
        const QString placeholder = folder_.path() + u"Dat/Etc/placeholder.Dat"_s;
        const QString real = folder_.path() + u"Dat/Etc/real.Dat"_s;
        QVERIFY(TextList::write(placeholder, LogoSetting::defaults().lines()));
        QStringList filled = LogoSetting::defaults().lines();
        filled[4] = u"有限会社 山田自動車"_s;
        QVERIFY(TextList::write(real, filled));

        FakePrinters printers;
        FakeMessageService messages;
        PrintRun run({folder_.path(), folder_.settingsPath(), u"43"_s, sampleContext()}, printers, messages,
                     nullptr);
        run.settings().formatPaths.fill(folder_.formatPath());
        const QString pdf = folder_.path() + u"out.pdf"_s;
        QString error;
        run.settings().logoPath = real;
        QVERIFY2(run.exportPdf(sampleSlip(3), pdf, &error), qPrintable(error));
        QVERIFY(messages.calls.isEmpty());
        run.settings().logoPath = placeholder;
        QVERIFY2(run.exportPdf(sampleSlip(3), pdf, &error), qPrintable(error));
        QVERIFY2(run.exportPdf(sampleSlip(3), pdf, &error), qPrintable(error));
        QCOMPARE(messages.calls, (QList<FakeMessageService::Call>{
                                     {FakeMessageService::Box::Warning, LogoSetting::companyWarning()}}));
        QVERIFY(QFile::exists(pdf));
    }

    void grabPreview()
    {
        const QByteArray shots = qgetenv("TORVANE_SHOTS");
        if (shots.isEmpty())
            QSKIP("set TORVANE_SHOTS to a folder to save window pictures");
        FakePrinters printers;
        FakeMessageService messages;
        auto form = preview(printers, messages, 2);
        form->resize(1000, 760);
        form->show();
        QTest::qWait(50);
        QVERIFY(form->grab().save(QString::fromLocal8Bit(shots) + u"/preview.png"_s));
        QTest::mouseClick(form->MinusSpButton, Qt::LeftButton);
        QVERIFY(form->grab().save(QString::fromLocal8Bit(shots) + u"/preview-whole.png"_s));
    }
};

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"
