// JPEG pictures: a decode either fails with a reason or gives an RGB image.
#include "FuzzSupport.h"
#include "print/JpegImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QString error;
    const QImage image = JpegImage::decode(FuzzSupport::bytes(data, size), &error);
    if (image.isNull()) {
        FUZZ_CHECK(!error.isEmpty());
        return 0;
    }
    FUZZ_CHECK(image.width() > 0 && image.height() > 0);
    (void)image.pixel(image.width() - 1, image.height() - 1);
    return 0;
}
