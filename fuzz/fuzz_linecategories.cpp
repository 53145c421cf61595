// Line categories: names and codes pair up, and a name's code is that of its
// first line.
#include "FuzzSupport.h"
#include "lines/LineCategories.h"
#include "platform/TextList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const LineCategoryList list =
        LineCategoryList::fromLines(TextList::fromBytes(FuzzSupport::bytes(data, size)));
    FUZZ_CHECK(list.names().size() == list.codes().size());
    for (qsizetype i = 0; i < list.names().size(); ++i) {
        const QString &name = list.names().at(i);
        if (!name.isEmpty())
            FUZZ_CHECK(list.typeCodeOf(name) == list.codes().at(list.names().indexOf(name)));
        (void)list.isDiscount(name);
        (void)list.isSubtotal(name);
    }
    return 0;
}
