#pragma once

#include "slip/SlipFile.h"

// The two versions of a 1,000-row slip that the kill test saves in turn.
namespace SaveLoopSlips {

inline SlipFile::Context context()
{
    return {LineCategoryList::fromLines({QStringLiteral("整備,1"), QStringLiteral("部品,2"),
                                         QStringLiteral("値引,3"), QStringLiteral("小計,4")}),
            QDate(2026, 12, 10)};
}

inline SlipData slip(int version)
{
    SlipData s = SlipData::newSlip(QDate(2026, 12, 10));
    s.custName = QStringLiteral("山田 太郎 %1").arg(version);
    for (int i = 0; i < 1000; ++i) {
        TRowData r;
        r.LineDiv = (i % 3 == 0) ? QStringLiteral("整備") : QStringLiteral("部品");
        r.TextA = QStringLiteral("ブレーキパッド交換 フロント左右 第%1版 %2").arg(version).arg(i);
        r.WorkName = QStringLiteral("交換");
        r.WorkPoint = 5000 + version;
        r.WorkPrice = 40000000;
        r.Count = 2 * Fixed::One;
        r.UnitPrice = 12345678 + version;
        r.Price = 2 * (12345678 + version);
        s.rows.append(r);
    }
    return s;
}

} // namespace SaveLoopSlips
