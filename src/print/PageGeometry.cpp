#include "PageGeometry.h"

#include <QtMath>

#include <algorithm>

PageGeometry::PageGeometry(QSize dpi, QSize physical, QSize printable, QPoint offset, int scale)
    : dpi_(dpi), physical_(physical), printable_(printable), offset_(offset), scale_(scale > 0 ? scale : 100)
{
}

PageGeometry PageGeometry::wholeSheet(QSize tenthsMm, int dpi)
{
    const QSize dots(qRound(tenthsMm.width() * dpi / 254.0), qRound(tenthsMm.height() * dpi / 254.0));
    return PageGeometry(QSize(dpi, dpi), dots, dots, QPoint(0, 0));
}

int PageGeometry::dpi() const
{
    return std::max(dpi_.width(), dpi_.height());
}

double PageGeometry::factorX() const
{
    return dpi_.width() > 0 && dpi_.width() < dpi_.height() ? double(dpi_.height()) / dpi_.width() : 1.0;
}

double PageGeometry::factorY() const
{
    return dpi_.height() > 0 && dpi_.height() < dpi_.width() ? double(dpi_.width()) / dpi_.height() : 1.0;
}

QSize PageGeometry::physicalSize() const
{
    return QSize(qRound(physical_.width() * factorX()), qRound(physical_.height() * factorY()));
}

QSize PageGeometry::printableSize() const
{
    return QSize(qRound(printable_.width() * factorX()), qRound(printable_.height() * factorY()));
}

QPoint PageGeometry::printableOffset() const
{
    return QPoint(qRound(offset_.x() * factorX()), qRound(offset_.y() * factorY()));
}

QSize PageGeometry::pageSize() const
{
    if (!isValid())
        return {};
    // Integer arithmetic from left to right, in the dots of each axis.
    const qint64 w = qint64(scale_) * physical_.width() * 254 / dpi_.width() / 100;
    const qint64 h = qint64(scale_) * physical_.height() * 254 / dpi_.height() / 100;
    return QSize(int(w), int(h));
}

double PageGeometry::aspectRatio() const
{
    const QSize page = pageSize();
    return page.width() > 0 ? double(page.height()) / page.width() : 1.0;
}

QRect PageGeometry::sheetRectOnDevice() const
{
    return QRect(-offset_.x(), -offset_.y(), physical_.width(), physical_.height());
}
