#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// JPEG decoding through libjpeg. The library's own error handler ends the
// process; ours jumps back and reports the failure, so a damaged picture
// ends one print run, not the program.
namespace JpegImage {

// The decoded picture as 24-bit RGB, or a null image with the reason in *error.
QImage decode(const QByteArray &bytes, QString *error = nullptr);
QImage load(const QString &path, QString *error = nullptr);

} // namespace JpegImage
