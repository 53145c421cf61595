#pragma once

#include "lines/LineCategories.h"
#include "lines/RowData.h"

#include <QList>
#include <QStringList>

// The pure halves of the grid's transfer operations between rows and row
// texts (slip file, item hand-over).
namespace RowTransfer {

// The rows a slip stores: up to the last row that has a category.
QList<TRowData> storedRows(const QList<TRowData> &rows);

// Row texts (with "EOL" and the sign rule) of the rows up to the last row that
// has a category; blank rows between filled ones are kept.
QStringList exportTexts(const QList<TRowData> &rows, const LineCategoryList &categories);

// The rows of the texts that have nine or more fields, in order; the sign
// rule is reversed for discount rows.
QList<TRowData> parseTexts(const QStringList &texts, const LineCategoryList &categories);

} // namespace RowTransfer
