#pragma once

#include "LineCategories.h"
#include "RowData.h"

#include <QStringList>

#include <optional>

// The line-item row text: the comma text of the nine values of a row plus the
// end marker "EOL". Rows of a discount category carry WorkPrice and Price
// negated (the sign rule); every other row carries them as they are.
namespace RowText {

// The nine fields, sign rule applied.
QStringList fields(const TRowData &row, const LineCategoryList &categories);
// The row text with "EOL" as the tenth field.
QString make(const TRowData &row, const LineCategoryList &categories);

// A row from its fields; fewer than nine fields give nothing. Fields beyond
// the ninth are ignored.
std::optional<TRowData> fromFields(const QStringList &fields, const LineCategoryList &categories);
std::optional<TRowData> parse(const QString &text, const LineCategoryList &categories);

} // namespace RowText
