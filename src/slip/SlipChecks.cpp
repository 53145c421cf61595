#include "SlipChecks.h"

namespace SlipChecks {

namespace {

const QString Done = QStringLiteral("設定完了");

bool isBlankDate(QDate d)
{
    return !d.isValid() || d == SlipData::dayZero();
}

bool hasCostRow(const SlipData &s)
{
    for (const SlipData::CostRow &c : s.costRows)
        if (!c.name.isEmpty() && !c.price.isEmpty())
            return true;
    return false;
}

} // namespace

QString status(int section, const SlipData &s)
{
    switch (section) {
    case 1:
        if (s.custName.isEmpty())
            return QStringLiteral("顧客名が未設定です");
        if (s.zip1.isEmpty() || s.zip2.isEmpty())
            return QStringLiteral("郵便番号が未設定です");
        if (s.city.isEmpty())
            return QStringLiteral("都道府県が未設定です");
        if (s.add1.isEmpty())
            return QStringLiteral("住所が未設定です");
        if (s.tel.isEmpty())
            return QStringLiteral("電話番号が未設定です");
        return Done;
    case 2:
        return s.taxRate == 0 ? QStringLiteral("消費税率が未設定です") : Done;
    case 3:
        if (s.noCar)
            return Done;
        if (s.num1.isEmpty() || s.num2.isEmpty() || s.num3.isEmpty() || s.num4.isEmpty())
            return QStringLiteral("登録番号が未設定です");
        if (s.carName.isEmpty())
            return QStringLiteral("車名が未設定です");
        if (s.eSize == 0)
            return QStringLiteral("排気量が未設定です");
        if (!s.noFirst && isBlankDate(s.first))
            return QStringLiteral("初度登録が未設定です");
        if (!s.noCheck && isBlankDate(s.check))
            return QStringLiteral("車検期限が未設定です");
        if (s.kiro == 0)
            return QStringLiteral("走行距離が未設定です");
        if (s.typeCode.isEmpty())
            return QStringLiteral("型式が未設定です");
        if (s.typeNum1.isEmpty())
            return QStringLiteral("型式指定番号が未設定です");
        if (s.typeNum2.isEmpty())
            return QStringLiteral("類別区分番号が未設定です");
        if (s.engine.isEmpty())
            return QStringLiteral("原動機型式が未設定です");
        if (s.chassis.isEmpty())
            return QStringLiteral("車体番号が未設定です");
        return Done;
    case 4:
        return s.ravor == 0 ? QStringLiteral("レバレートが未設定です") : Done;
    case 5:
        if (s.wTax == 0)
            return QStringLiteral("重量税が未設定です");
        if (s.ins == 0)
            return QStringLiteral("自賠責が未設定です");
        if (s.stamp == 0)
            return QStringLiteral("印紙代が未設定です");
        if (!hasCostRow(s))
            return QStringLiteral("諸費用が未設定です");
        return Done;
    case 6:
        return s.inc == 0 ? QStringLiteral("入金額が未設定です") : Done;
    case 7:
        return QStringLiteral("確認済み");
    default:
        return {};
    }
}

qint32 statusColor(const QString &text)
{
    return (text.contains(u"完了") || text.contains(u"済み")) ? Blue : Red;
}

} // namespace SlipChecks
