#include "PrintRun.h"

#include "PrinterService.h"
#include "TPrintPreviwForm.h"
#include "TPrinterSettingForm.h"
#include "TProgressForm.h"
#include "TSpoolInfoForm.h"
#include "platform/AppFolder.h"
#include "platform/MessageService.h"
#include "print/LogoSetting.h"
#include "print/PrintPipeline.h"
#include "print/TMakeMataDBM.h"
#include "print/TSlipMakeDBM.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace {

// The spool dialog as the renderer sees it: its counter, and a cancel once
// it has been closed; pending input is let through after every line.
class SpoolObserver : public RenderObserver {
public:
    explicit SpoolObserver(TSpoolInfoForm &form) : form_(form) {}
    void pageStarted(int page) override { form_.ShowPage(page); }
    bool cancelRequested() override
    {
        QApplication::processEvents();
        return form_.cancelled();
    }

private:
    TSpoolInfoForm &form_;
};

} // namespace

PrintRun::PrintRun(Context context, PrinterService &printers, MessageService &messages, QWidget *window)
    : context_(std::move(context)), printers_(printers), messages_(messages), window_(window),
      settings_(PrintSettings::load(context_.appDir, context_.settingsFile))
{
}

PrintRun::~PrintRun() = default;

void PrintRun::reloadDefaults()
{
    const double fixX = settings_.fixX;
    const double fixY = settings_.fixY;
    settings_ = PrintSettings::load(context_.appDir, context_.settingsFile);
    settings_.fixX = fixX;
    settings_.fixY = fixY;
}

QString PrintRun::jobTitle() const
{
    return documentName_ + u" - Torvane"_s;
}

QString PrintRun::snapshotPath() const
{
    return TSlipMakeDBM::snapshotPath(context_.appDir, context_.prefix);
}

void PrintRun::removeSnapshot()
{
    QFile::remove(snapshotPath());
}

PrintRun::Setup PrintRun::printerSetup(int slipKind, bool forPrint)
{
    TPrinterSettingForm form(context_.appDir, context_.settingsFile, printers_, messages_, window_);
    PrinterSettingValues in;
    in.slipKindName = PrintSettings::kindName(slipKind);
    in.titles = settings_.titlesOf(slipKind);
    in.copies = settings_.copies;
    in.formatPath = settings_.formatOf(slipKind);
    in.logoPath = settings_.logoPath;
    in.fixX = settings_.fixX;
    in.fixY = settings_.fixY;
    form.setValues(in);
    if (forPrint) {
        form.OkButton->setText(u"印刷"_s);
    } else {
        form.PreviewButton->hide();
        form.setHelpContext(39);
    }
    const int result = form.run();
    if (result != QDialog::Accepted && result != TPrinterSettingForm::PreviewResult)
        return Setup::Cancelled;
    const PrinterSettingValues out = form.values();
    if (slipKind >= 0 && slipKind <= 2)
        settings_.titles[size_t(slipKind)] = out.titles;
    settings_.copies = out.copies;
    settings_.setFormatOf(slipKind, out.formatPath);
    settings_.logoPath = out.logoPath;
    settings_.fixX = out.fixX;
    settings_.fixY = out.fixY;
    return result == QDialog::Accepted ? Setup::Print : Setup::Preview;
}

bool PrintRun::printCommand(const SlipData &slip)
{
    switch (printerSetup(slip.slipDiv, true)) {
    case Setup::Print:
        return print(slip, false);
    case Setup::Preview:
        return print(slip, true);
    case Setup::Cancelled:
        break;
    }
    return false;
}

PrintPipeline::Job PrintRun::jobFor(const SlipData &slip) const
{
    PrintPipeline::Job job;
    job.appDir = context_.appDir;
    job.prefix = context_.prefix;
    job.snapshotPath = snapshotPath();
    job.formatPath = settings_.formatOf(slip.slipDiv);
    job.logoPath = settings_.logoPath;
    job.titles = settings_.titlesOf(slip.slipDiv);
    job.copies = settings_.copies;
    job.datePattern = PrintPipeline::datePattern(context_.settingsFile);
    return job;
}

void PrintRun::warnOfPlaceholderCompany()
{
    const QString warning = LogoSetting::companyWarningOnce(settings_.logoPath);
    if (!warning.isEmpty())
        messages_.show(MessageService::Kind::Warning, warning);
}

bool PrintRun::makeScript(const SlipData &slip, QString *script)
{
    warnOfPlaceholderCompany();
    QString error;
    if (!PrintPipeline::writeSnapshot(snapshotPath(), slip, context_.slip, settings_.logoPath, &error)) {
        messages_.show(MessageService::Kind::Error, error);
        return false;
    }
    const PrintPipeline::Job job = jobFor(slip);
    TProgressForm progress(window_);
    if (!PrintPipeline::makeScript(job, &progress, script, &error)) {
        messages_.show(MessageService::Kind::Error, error);
        return false;
    }
    return !script->isEmpty();
}

bool PrintRun::print(const SlipData &slip, bool preview)
{
    QString script;
    if (!makeScript(slip, &script))
        return false;
    const bool printed = Render(script, preview);
    QFile::remove(script);
    return printed;
}

bool PrintRun::Render(const QString &scriptPath, bool preview)
{
    TMakeMataDBM renderer;
    renderer.SetScript(scriptPath);
    if (renderer.script().isEmpty())
        return false;
    if (printers_.printerNames().isEmpty()) {
        messages_.show(MessageService::Kind::Error, u"有効なプリンタが見つかりません"_s);
        return false;
    }
    TPrintPreviwForm form(printers_, messages_, window_);
    TSpoolInfoForm spool(window_);
    TPrnPlotY &plot = form.plot();
    plot.setPageFiles(AppFolder(context_.appDir).tempFolder(), context_.prefix);
    plot.setJobTitle(jobTitle());
    renderer.SetOffsets(settings_.fixX, settings_.fixY);
    SpoolObserver observer(spool);
    spool.show();
    const TMakeMataDBM::Result result = renderer.DrawPages(plot, &observer);
    spool.hide();
    switch (result) {
    case TMakeMataDBM::Result::Drawn:
        break;
    case TMakeMataDBM::Result::NoScript:
        return false;
    case TMakeMataDBM::Result::Cancelled:
        messages_.show(MessageService::Kind::Information, u"中止しました"_s);
        return false;
    case TMakeMataDBM::Result::Failed:
        messages_.show(MessageService::Kind::Error, renderer.errorString());
        return false;
    }
    form.prepare();
    if (!preview) {
        form.PrintAll();
        return true;
    }
    form.setAskBeforePrinting(true);
    // Without a window manager the maximised state is not honoured: take the
    // screen's room first, so the page is readable either way.
    if (const QScreen *screen = window_ ? window_->screen() : QGuiApplication::primaryScreen())
        form.setGeometry(screen->availableGeometry());
    form.setWindowState(form.windowState() | Qt::WindowMaximized);
    form.exec();
    return form.printStarted();
}

bool PrintRun::exportPdf(const SlipData &slip, const QString &pdfPath, QString *error)
{
    warnOfPlaceholderCompany();
    if (!PrintPipeline::writeSnapshot(snapshotPath(), slip, context_.slip, settings_.logoPath, error))
        return false;
    const PrintPipeline::Job job = jobFor(slip);
    TProgressForm progress(window_);
    return PrintPipeline::exportPdf(job, pdfPath, jobTitle(), settings_.fixX, settings_.fixY, &progress,
                                    error);
}

bool PrintRun::exportPdfDialog(const SlipData &slip, const QString &start)
{
    const QString path =
        QFileDialog::getSaveFileName(window_, u"PDFに保存"_s, start, u"PDF ファイル (*.pdf)"_s);
    if (path.isEmpty())
        return false;
    QString error;
    if (!exportPdf(slip, path, &error)) {
        messages_.show(MessageService::Kind::Error, error);
        return false;
    }
    return true;
}
