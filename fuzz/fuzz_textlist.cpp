// Text list files: lines read from bytes, written as the writer does (CP932,
// CR LF) and read again are the same lines.
#include "FuzzSupport.h"
#include "platform/Cp932.h"
#include "platform/TextList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList lines = TextList::fromBytes(FuzzSupport::bytes(data, size));
    QByteArray written;
    QString unmappable;
    for (const QString &line : lines) {
        FUZZ_CHECK(!line.contains(u'\r') && !line.contains(u'\n'));
        written += Cp932::encode(line, &unmappable);
        written += "\r\n";
    }
    // Bytes that are not CP932 read as U+FFFD, which the writer refuses.
    if (unmappable.isEmpty())
        FUZZ_CHECK(TextList::fromBytes(written) == lines);
    return 0;
}
