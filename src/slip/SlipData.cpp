#include "SlipData.h"

SlipData SlipData::newSlip(QDate today)
{
    SlipData s;
    s.slipDate = today;
    s.first = today;
    s.check = today;
    s.memo = {QString(), QString(), QString()};
    return s;
}
