#pragma once

#include "FixedPoint.h"

#include <QString>

// One line item. Numbers are fixed-point (ten-thousandths). Discount rows keep
// WorkPrice and Price as positive magnitudes; the sign appears only in the
// row text.
struct TRowData {
    QString LineDiv;              // category name; empty for a blank row
    qint64 TaxRate = -Fixed::One; // percent; -1 = the slip's rate applies
    QString TextA;                // description
    QString WorkName;
    qint64 WorkPoint = 0;
    qint64 WorkPrice = 0;
    qint64 Count = 0;
    qint64 UnitPrice = 0;
    qint64 Price = 0;

    bool isBlank() const { return LineDiv.isEmpty(); }
    friend bool operator==(const TRowData &, const TRowData &) = default;
};
