#include "RowClipboard.h"

#include "lines/RowText.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace RowClipboard {

QString make(const QList<TRowData> &rows)
{
    // An empty category list: no row is a discount row, so no sign rule.
    const LineCategoryList noSignRule;
    QString text = u"\r\n"_s + Marker + u"\r\n"_s;
    for (const TRowData &row : rows)
        text += RowText::make(row, noSignRule) + u"\r\n"_s;
    return text;
}

std::optional<QList<TRowData>> parse(const QString &text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    const QStringList lines = text.split(lineBreak);
    if (lines.size() < 2 || lines.at(1) != Marker)
        return std::nullopt;
    const LineCategoryList noSignRule;
    QList<TRowData> rows;
    for (qsizetype i = 2; i < lines.size(); ++i) {
        if (std::optional<TRowData> row = RowText::parse(lines.at(i), noSignRule))
            rows.append(*row);
    }
    return rows;
}

} // namespace RowClipboard
