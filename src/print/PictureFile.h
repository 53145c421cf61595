#pragma once

#include <QImage>
#include <QString>

// Picture files named by "pict" and "logo" lines and by company-name
// settings. Only the kinds the page can draw are loaded; anything else draws
// nothing.
namespace PictureFile {

enum class Kind { None, Jpeg, Bitmap, Vector };

// By the extension, without regard to case: ".jpg" (and ".jpeg" when
// acceptJpegLong) is JPEG, ".bmp" a bitmap, ".emf" a vector picture.
Kind kindOf(const QString &path, bool acceptJpegLong);

// Loads a JPEG or BMP file as a 24-bit image. A file that exists but cannot
// be decoded gives a null image with the reason in *error.
QImage loadBitmap(const QString &path, Kind kind, QString *error);

} // namespace PictureFile
