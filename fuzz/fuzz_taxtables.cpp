// Tax table files: every row has the grid's column count, at least 2 by 2,
// and a saved grid reads back the same.
#include "FuzzSupport.h"
#include "master/TaxTables.h"
#include "platform/CommaText.h"
#include "platform/TextList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const TaxTables::Grid grid =
        TaxTables::tableFromLines(TextList::fromBytes(FuzzSupport::bytes(data, size)));
    FUZZ_CHECK(grid.rowCount() >= 2 && grid.columns() >= 2);
    QStringList saved;
    for (const QStringList &row : grid.rows) {
        FUZZ_CHECK(row.size() == grid.columns());
        for (const QString &cell : row)
            (void)TaxTables::amountOf(cell);
        saved.append(CommaText::join(row));
    }
    const TaxTables::Grid again = TaxTables::tableFromLines(saved);
    FUZZ_CHECK(again.rows == grid.rows);
    return 0;
}
