// Price-list files: the line check, the category list and the item rows.
#include "FuzzSupport.h"
#include "master/ItemFiles.h"
#include "platform/CommaText.h"
#include "platform/TextList.h"

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList raw = TextList::fromBytes(FuzzSupport::bytes(data, size));
    ItemFiles::ReadReport report;
    const QStringList lines = ItemFiles::checkedLines(raw, u"m1.csv"_s, &report);
    FUZZ_CHECK(lines.size() + report.skipped.size() == raw.size());
    for (const QString &line : lines)
        FUZZ_CHECK(line.size() <= ItemFiles::MaxLineLength && !line.contains(QChar::ReplacementCharacter));

    const ItemFiles::CategoryList categories = ItemFiles::CategoryList::fromLines(lines);
    for (int i = 0; i < categories.size(); ++i) {
        (void)categories.code(i);
        FUZZ_CHECK(categories.indexOf(categories.name(i)) <= i);
    }
    const QList<QStringList> rows = ItemFiles::itemRows(lines);
    FUZZ_CHECK(rows.size() == lines.size());
    for (const QStringList &row : rows)
        FUZZ_CHECK(ItemFiles::itemRows({CommaText::join(row)}).value(0) == row || row.isEmpty());
    return 0;
}
