#include "SlipData.h"

SlipData SlipData::newSlip(QDate today)
{
    SlipData s;
    s.slipDate = today;
    s.taxRate = DefaultTaxRate;
    s.taxCut = DefaultTaxCut;
    s.first = dayZero();
    s.check = dayZero();
    s.memo = {QString(), QString(), QString()};
    return s;
}
