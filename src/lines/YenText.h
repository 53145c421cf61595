#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <optional>

// Whole-yen amounts as the cost cells and the tax tables show and take them.
namespace YenText {

// The whole yen of a cost price cell: optional sign and decimal digits within
// the 32-bit range, blanks around allowed. Anything else (letters, grouping,
// decimals, empty) is not a price.
std::optional<qint64> priceOf(QStringView text);

// Whole yen with digit grouping, no decimals: "15,000", "-1,500".
QString grouped(qint64 value);

} // namespace YenText
