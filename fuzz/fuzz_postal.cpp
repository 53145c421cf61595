// Postal-code dictionaries: the first line of the input is the keyword, the
// rest the dictionary. Every record found answers the keyword (its code
// begins with the code key, or its address holds the keyword), the progress
// only grows, a second search finds the same records, and the keyword
// helpers are stable.
#include "FuzzSupport.h"
#include "master/ZipDictionary.h"
#include "master/ZipSearch.h"

#include <QBuffer>
#include <QList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray input = FuzzSupport::bytes(data, size);
    const qsizetype newline = input.indexOf('\n');
    const QString keyword = QString::fromUtf8(newline < 0 ? input : input.left(newline));
    QByteArray dictionary = newline < 0 ? QByteArray() : input.mid(newline + 1);

    const QString key = ZipDictionary::codeKey(keyword);
    FUZZ_CHECK(ZipDictionary::codeKey(key) == key);
    const QString town = ZipDictionary::cleanTown(keyword);
    FUZZ_CHECK(!town.contains(u'（'));

    const ZipSearch search(keyword);
    auto run = [&](QList<ZipRecord> *found) {
        QBuffer buffer(&dictionary);
        buffer.open(QIODevice::ReadOnly);
        qint64 lastLines = 0;
        return search.searchDevice(
            buffer, [&](const ZipRecord &r) { found->append(r); },
            [&](qint64 lines) {
                FUZZ_CHECK(lines >= lastLines);
                lastLines = lines;
                return true;
            });
    };
    QList<ZipRecord> first;
    FUZZ_CHECK(run(&first) == ZipSearch::Outcome::Finished);
    for (const ZipRecord &r : std::as_const(first)) {
        const bool byCode = !key.isEmpty() && r.code.startsWith(key);
        FUZZ_CHECK(byCode || (!keyword.isEmpty() && r.address.contains(keyword)));
    }
    QList<ZipRecord> second;
    run(&second);
    FUZZ_CHECK(first == second);
    return 0;
}
