#include "PdfExport.h"

#include "PageFiles.h"
#include "TMakeMataDBM.h"
#include "TPrnPlotY.h"

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace PdfExport {

namespace {

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

bool write(const Job &job, QString *error)
{
    // The PDF is written beside its place and takes it only when complete:
    // a failure or a cancel leaves no half-written file and an earlier PDF
    // of that name untouched.
    QSaveFile file(job.pdfPath);
    if (!file.open(QIODevice::WriteOnly))
        return fail(error, job.pdfPath + u" に書き込めません"_s);
    QPdfWriter writer(&file);
    writer.setTitle(job.title);
    writer.setCreator(u"Torvane"_s);
    writer.setResolution(Resolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&writer))
        return fail(error, job.pdfPath + u" に書き込めません"_s);
    const QRectF sheet(0, 0, writer.width(), writer.height());

    const QSize a4(2100, 2970);
    TPrnPlotY plot(PageGeometry::wholeSheet(a4, Resolution));
    plot.setJobTitle(job.title);
    // Each page goes into the PDF as soon as it is drawn: time and memory
    // stay the same per page however long the slip.
    plot.setPageSink([&](int page, const QPicture &picture) {
        if (page > 1 && !writer.newPage())
            return false;
        PageFiles::play(painter, picture, plot.pageSize(), sheet);
        return true;
    });

    TMakeMataDBM renderer;
    renderer.SetScript(job.scriptPath);
    renderer.SetOffsets(job.offsetXMm, job.offsetYMm);
    const TMakeMataDBM::Result result = renderer.DrawPages(plot);
    const bool ended = painter.end();
    switch (result) {
    case TMakeMataDBM::Result::Drawn:
        break;
    case TMakeMataDBM::Result::NoScript:
        return fail(error, job.scriptPath + u": 印刷データがありません"_s);
    case TMakeMataDBM::Result::Cancelled:
    case TMakeMataDBM::Result::Failed:
        return fail(error, renderer.errorString());
    }
    if (!ended || !file.commit())
        return fail(error, job.pdfPath + u" に書き込めません"_s);
    return true;
}

} // namespace PdfExport
