// Comma text: a split list joined and split again is the same list, and
// joining is stable.
#include "FuzzSupport.h"
#include "platform/CommaText.h"
#include "platform/Cp932.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = Cp932::decode(FuzzSupport::bytes(data, size));
    const QStringList fields = CommaText::split(text);
    const QString joined = CommaText::join(fields);
    FUZZ_CHECK(CommaText::split(joined) == fields);
    FUZZ_CHECK(CommaText::join(CommaText::split(joined)) == joined);
    return 0;
}
