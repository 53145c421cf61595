#include "RowTransfer.h"

#include "lines/RowText.h"

namespace RowTransfer {

QList<TRowData> storedRows(const QList<TRowData> &rows)
{
    qsizetype end = rows.size();
    while (end > 0 && rows.at(end - 1).LineDiv.isEmpty())
        --end;
    return rows.mid(0, end);
}

QStringList exportTexts(const QList<TRowData> &rows, const LineCategoryList &categories)
{
    const QList<TRowData> stored = storedRows(rows);
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
