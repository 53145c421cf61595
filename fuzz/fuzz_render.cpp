// Print data scripts: drawn page by page through the plotter, then the pages
// played onto an image as the preview does.
#include "FuzzSupport.h"
#include "print/PageFiles.h"
#include "print/PageGeometry.h"
#include "print/TMakeMataDBM.h"
#include "print/TPrnPlotY.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::ensureGuiApplication();
    // Scripts name logo settings and pictures by path: relative ones are
    // found among the default company-name settings.
    static const bool inEtc = QDir::setCurrent(FuzzSupport::sourcePath(u"data/Dat/Etc"_s));
    (void)inEtc;
    static QTemporaryDir pages;
    static const PageGeometry a4 = PageGeometry::wholeSheet(QSize(2100, 2970), 72);

    QByteArray script = FuzzSupport::bytes(data, size);
    QBuffer in(&script);
    in.open(QIODevice::ReadOnly);
    TPrnPlotY plot(a4);
    plot.setPageFiles(pages.path() + u'/', u"f"_s);
    TMakeMataDBM renderer;
    const TMakeMataDBM::Result result = renderer.DrawPages(in, plot);
    FUZZ_CHECK(result == TMakeMataDBM::Result::Drawn || result == TMakeMataDBM::Result::Failed);
    FUZZ_CHECK(result == TMakeMataDBM::Result::Drawn || !renderer.errorString().isEmpty());

    // The first pages on a small image; every page file is removed again.
    QImage image(105, 149, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        for (int n = 1; n <= std::min(plot.pageCount(), 3); ++n)
            PageFiles::playFile(painter, plot.pageFile(n), a4.pageSize(), QRectF(image.rect()));
    }
    PageFiles::remove(plot.tempDir(), plot.prefix(), plot.pageCount());
    return 0;
}
