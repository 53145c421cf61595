#include "PageFiles.h"

#include "TPrnPlotY.h"

#include <QFile>
#include <QPainter>
#include <QPicture>

namespace PageFiles {

void playStretched(QPainter &painter, const QPicture &picture, const QRectF &source, const QRectF &target)
{
    if (source.isEmpty() || !painter.device())
        return;
    const QPaintDevice *device = painter.device();
    const double dpiX = device->logicalDpiX() > 0 ? device->logicalDpiX() : picture.logicalDpiX();
    const double dpiY = device->logicalDpiY() > 0 ? device->logicalDpiY() : picture.logicalDpiY();
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / source.width(), target.height() / source.height());
    painter.scale(picture.logicalDpiX() / dpiX, picture.logicalDpiY() / dpiY);
    painter.translate(-source.topLeft());
    painter.drawPicture(0, 0, picture);
    painter.restore();
}

void play(QPainter &painter, const QPicture &page, QSize pageSize, const QRectF &target)
{
    if (pageSize.isEmpty())
        return;
    painter.save();
    painter.setClipping(false);
    playStretched(painter, page, QRectF(QPointF(0, 0), QSizeF(pageSize)), target);
    painter.restore();
}

bool playFile(QPainter &painter, const QString &file, QSize pageSize, const QRectF &target)
{
    QPicture page;
    if (!QFile::exists(file) || !page.load(file))
        return false;
    play(painter, page, pageSize, target);
    return true;
}

int remove(const QString &tempDir, const QString &prefix, int count)
{
    int removed = 0;
    for (int n = 1; n <= count; ++n) {
        if (QFile::remove(TPrnPlotY::pageFileName(tempDir, prefix, n)))
            ++removed;
    }
    return removed;
}

} // namespace PageFiles
