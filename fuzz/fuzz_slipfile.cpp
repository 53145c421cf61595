// Slip files: load from bytes, save, load the saved file again, save again.
// The two saves write the same file and the reloads read the same slip. (A
// first load may differ from the reload: a slip without a vehicle saves its
// vehicle dates as the "車両なし" dates, whatever the file held.)
#include "FuzzSupport.h"
#include "platform/IniFile.h"
#include "platform/TextList.h"
#include "slip/SlipFile.h"

#include <QDate>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const SlipFile::Context &context()
{
    static const SlipFile::Context c{LineCategoryList::fromLines(TextList::fromBytes(
                                         FuzzSupport::dataFile(u"data/Dat/Mst/LineDiv.dat"_s))),
                                     QDate(2024, 4, 1)};
    return c;
}

SlipData load(const QByteArray &bytes)
{
    SlipData slip;
    SlipFile::read(IniFile::fromBytes(bytes), slip, sstAll, context());
    return slip;
}

// The file a save writes; empty when CP932 cannot hold the slip's text,
// which stops a real save.
QByteArray save(const SlipData &slip)
{
    IniFile file = IniFile::fromBytes({});
    SlipFile::write(file, slip, sstAll, context());
    return file.unmappableCharacters().isEmpty() ? file.toBytes() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray saved = save(load(FuzzSupport::bytes(data, size)));
    if (saved.isEmpty())
        return 0;
    const SlipData reloaded = load(saved);
    const QByteArray resaved = save(reloaded);
    if (resaved != saved) {
        // Show where the two saves part.
        const QList<QByteArray> a = saved.split('\n');
        const QList<QByteArray> b = resaved.split('\n');
        for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i)
            if (a.value(i) != b.value(i))
                std::fprintf(stderr, "- %s\n+ %s\n", a.value(i).constData(), b.value(i).constData());
    }
    FUZZ_CHECK(resaved == saved);
    FUZZ_CHECK(load(resaved) == reloaded);
    return 0;
}
