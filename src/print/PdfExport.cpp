#include "PdfExport.h"

#include "PageFiles.h"
#include "TMakeMataDBM.h"
#include "TPrnPlotY.h"

#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <memory>

using namespace Qt::StringLiterals;

namespace PdfExport {

namespace {

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

// Removes the run's page files whatever way write() leaves.
struct PageFileGuard {
    const Job &job;
    const TPrnPlotY &plot;
    ~PageFileGuard() { PageFiles::remove(job.tempDir, job.prefix, plot.pageCount()); }
};

} // namespace

bool write(const Job &job, QString *error)
{
    const QSize a4(2100, 2970);
    TPrnPlotY plot(PageGeometry::wholeSheet(a4, Resolution));
    plot.setPageFiles(job.tempDir, job.prefix);
    plot.setJobTitle(job.title);
    const PageFileGuard guard{job, plot};

    TMakeMataDBM renderer;
    renderer.SetScript(job.scriptPath);
    renderer.SetOffsets(job.offsetXMm, job.offsetYMm);
    switch (renderer.DrawPages(plot)) {
    case TMakeMataDBM::Result::Drawn:
        break;
    case TMakeMataDBM::Result::NoScript:
        return fail(error, job.scriptPath + u": 印刷データがありません"_s);
    case TMakeMataDBM::Result::Cancelled:
    case TMakeMataDBM::Result::Failed:
        return fail(error, renderer.errorString());
    }

    // The writer is set up completely before the file is opened, so a
    // failure to open it leaves no half-written PDF.
    QPdfWriter writer(job.pdfPath);
    writer.setTitle(job.title);
    writer.setCreator(u"Torvane"_s);
    writer.setResolution(Resolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&writer))
        return fail(error, job.pdfPath + u" に書き込めません"_s);
    const QRectF sheet(0, 0, writer.width(), writer.height());
    for (int n = 1; n <= plot.pageCount(); ++n) {
        if (n > 1)
            writer.newPage();
        PageFiles::playFile(painter, TPrnPlotY::pageFileName(job.tempDir, job.prefix, n), plot.pageSize(),
                            sheet);
    }
    if (!painter.end())
        return fail(error, job.pdfPath + u" に書き込めません"_s);
    return true;
}

} // namespace PdfExport
