#include "RowTransfer.h"

#include "slip/RowText.h"
#include "slip/SlipFile.h"

namespace RowTransfer {

QStringList exportTexts(const QList<TRowData> &rows, const LineCategoryList &categories)
{
    const QList<TRowData> stored = SlipFile::storedRows(rows);
    QStringList texts;
    texts.reserve(stored.size());
    for (const TRowData &row : stored)
        texts.append(RowText::make(row, categories));
    return texts;
}

QList<TRowData> parseTexts(const QStringList &texts, const LineCategoryList &categories)
{
    QList<TRowData> rows;
    rows.reserve(texts.size());
    for (const QString &text : texts) {
        if (std::optional<TRowData> row = RowText::parse(text, categories))
            rows.append(*row);
    }
    return rows;
}

} // namespace RowTransfer
