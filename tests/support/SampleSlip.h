#pragma once

#include "lines/FixedPoint.h"
#include "slip/SlipData.h"
#include "slip/SlipFile.h"

#include <QDate>

using namespace Qt::StringLiterals;

// A delivery note for 山田 太郎 with count parts lines of 1,000 yen and up,
// and its totals.
inline SlipData sampleSlip(int count)
{
    SlipData s = SlipData::newSlip(QDate(2026, 12, 10));
    s.slipCode = u"00000123"_s;
    s.slipDiv = 2;
    s.custName = u"山田 太郎"_s;
    const char16_t *names[] = {u"エンジンオイル交換", u"オイルエレメント", u"ワイパーブレード",
                               u"バッテリー"};
    qint64 total = 0;
    for (int i = 0; i < count; ++i) {
        TRowData r;
        r.LineDiv = u"部品"_s;
        r.TextA = QString::fromUtf16(names[i % 4]) + u' ' + QString::number(i + 1);
        const qint64 yen = 1000 + 100 * (i % 50);
        r.Count = Fixed::One;
        r.UnitPrice = yen * Fixed::One;
        r.Price = yen * Fixed::One;
        r.TaxRate = -Fixed::One;
        s.rows.append(r);
        total += yen;
    }
    s.partTotal = total;
    s.ttl = total;
    s.last = total;
    return s;
}

inline SlipFile::Context sampleContext()
{
    return {LineCategoryList::fromLines({u"整備,1"_s, u"部品,2"_s, u"値引,3"_s, u"小計,4"_s}),
            QDate(2026, 12, 10)};
}
