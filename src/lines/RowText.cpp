#include "RowText.h"

#include "platform/CommaText.h"

namespace RowText {

QStringList fields(const TRowData &row, const LineCategoryList &categories)
{
    const bool discount = categories.isDiscount(row.LineDiv);
    return {row.LineDiv,
            Fixed::toText(row.TaxRate),
            row.TextA,
            row.WorkName,
            Fixed::toText(row.WorkPoint),
            Fixed::toText(discount ? -row.WorkPrice : row.WorkPrice),
            Fixed::toText(row.Count),
            Fixed::toText(row.UnitPrice),
            Fixed::toText(discount ? -row.Price : row.Price)};
}

QString make(const TRowData &row, const LineCategoryList &categories)
{
    QStringList f = fields(row, categories);
    f.append(QStringLiteral("EOL"));
    return CommaText::join(f);
}

std::optional<TRowData> fromFields(const QStringList &f, const LineCategoryList &categories)
{
    if (f.size() < 9)
        return std::nullopt;
    TRowData row;
    row.LineDiv = f.at(0);
    row.TaxRate = Fixed::fromText(f.at(1));
    row.TextA = f.at(2);
    row.WorkName = f.at(3);
    row.WorkPoint = Fixed::fromText(f.at(4));
    row.WorkPrice = Fixed::fromText(f.at(5));
    row.Count = Fixed::fromText(f.at(6));
    row.UnitPrice = Fixed::fromText(f.at(7));
    row.Price = Fixed::fromText(f.at(8));
    if (categories.isDiscount(row.LineDiv)) {
        row.WorkPrice = -row.WorkPrice;
        row.Price = -row.Price;
    }
    return row;
}

std::optional<TRowData> parse(const QString &text, const LineCategoryList &categories)
{
    return fromFields(CommaText::split(text), categories);
}

} // namespace RowText
