#include "JpegImage.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

namespace {

constexpr quint64 MaxPixels = 100'000'000;

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

extern "C" void jpegErrorExit(j_common_ptr info)
{
    auto *err = reinterpret_cast<ErrorManager *>(info->err);
    (*info->err->format_message)(info, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings (a truncated file, for instance) are not fatal: the decoder fills
// the rest with grey as other viewers do.
extern "C" void jpegOutputMessage(j_common_ptr) {}

bool setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

// The decoder's output, owned by the caller's frame: the frame that calls
// setjmp must hold no object with a destructor, or the longjmp would skip it.
struct Output {
    QImage image;
    QByteArray cmykLine;
};

bool decodeInto(const unsigned char *data, unsigned long size, Output *out, char *message)
{
    jpeg_decompress_struct info;
    ErrorManager err;
    info.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = jpegErrorExit;
    err.pub.output_message = jpegOutputMessage;
    err.message[0] = 0;
    if (setjmp(err.jump)) {
        std::strncpy(message, err.message, JMSG_LENGTH_MAX);
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    // A header may claim any size; refuse what no page picture needs.
    if (quint64(info.image_width) * info.image_height > MaxPixels) {
        std::strncpy(message, "picture too large", JMSG_LENGTH_MAX);
        jpeg_destroy_decompress(&info);
        return false;
    }
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&info);
    const int width = int(info.output_width);
    const int height = int(info.output_height);
    QImage *image = &out->image;
    *image = QImage(width, height, QImage::Format_RGB888);
    if (image->isNull()) {
        std::strncpy(message, "out of memory", JMSG_LENGTH_MAX);
        jpeg_destroy_decompress(&info);
        return false;
    }
    // A CMYK line is wider than the RGB line it becomes.
    if (cmyk)
        out->cmykLine.resize(qsizetype(width) * 4);
    while (info.output_scanline < info.output_height) {
        const int y = int(info.output_scanline);
        JSAMPROW row = cmyk ? reinterpret_cast<JSAMPROW>(out->cmykLine.data()) : image->scanLine(y);
        jpeg_read_scanlines(&info, &row, 1);
        if (cmyk) {
            // Adobe writes inverted CMYK; the product of the inks gives RGB.
            uchar *dst = image->scanLine(y);
            const auto *in = reinterpret_cast<const uchar *>(out->cmykLine.constData());
            for (int x = 0; x < width; ++x) {
                const int k = in[4 * x + 3];
                for (int c = 0; c < 3; ++c)
                    dst[3 * x + c] = uchar(in[4 * x + c] * k / 255);
            }
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

namespace JpegImage {

QImage decode(const QByteArray &bytes, QString *error)
{
    if (bytes.isEmpty()) {
        setError(error, QStringLiteral("JPEG: empty file"));
        return {};
    }
    Output out;
    char message[JMSG_LENGTH_MAX] = {};
    if (!decodeInto(reinterpret_cast<const unsigned char *>(bytes.constData()), (unsigned long)bytes.size(),
                    &out, message)) {
        setError(error, QStringLiteral("JPEG: ") + QString::fromLocal8Bit(message));
        return {};
    }
    return out.image;
}

QImage load(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, path + QStringLiteral(": ") + file.errorString());
        return {};
    }
    QString reason;
    QImage image = decode(file.readAll(), &reason);
    if (image.isNull())
        setError(error, path + QStringLiteral(": ") + reason);
    return image;
}

} // namespace JpegImage
