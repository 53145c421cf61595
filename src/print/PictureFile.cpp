#include "PictureFile.h"

#include "JpegImage.h"

#include <QFileInfo>
#include <QImageReader>

namespace PictureFile {

Kind kindOf(const QString &path, bool acceptJpegLong)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"jpg" || (acceptJpegLong && suffix == u"jpeg"))
        return Kind::Jpeg;
    if (suffix == u"bmp")
        return Kind::Bitmap;
    if (suffix == u"emf")
        return Kind::Vector;
    return Kind::None;
}

QImage loadBitmap(const QString &path, Kind kind, QString *error)
{
    QImage image;
    if (kind == Kind::Jpeg) {
        image = JpegImage::load(path, error);
    } else if (kind == Kind::Bitmap) {
        QImageReader reader(path, "bmp");
        reader.setAllocationLimit(400); // MB; a damaged header must not exhaust memory
        image = reader.read();
        if (image.isNull() && error)
            *error = path + QStringLiteral(": ") + reader.errorString();
    }
    if (image.isNull())
        return image;
    return image.convertToFormat(QImage::Format_RGB888);
}

} // namespace PictureFile
