#pragma once

#include "lines/RowData.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

// Every field of a slip as a plain value. The header editor moves it to and
// from its controls; SlipFile moves it to and from a slip file.
struct SlipData {
    // The colour value of the system's button text (a system colour, high byte 0xFF).
    static constexpr qint32 SystemButtonTextColor = -16777198;
    static constexpr int SectionCount = 7;
    // The key numbers of the seven header sections (the last one is 9).
    static constexpr std::array<int, SectionCount> SectionNumbers{1, 2, 3, 4, 5, 6, 9};
    // The consumption tax of a new slip when the settings name none: the
    // standard rate, truncated (the reduced rate is set per line).
    static constexpr qint64 DefaultTaxRate = 10 * 10000; // fixed-point percent
    static constexpr int DefaultTaxCut = 1;              // 切り捨て
    // Day zero: the date value 0, written as 1899/12/30.
    static QDate dayZero() { return QDate(1899, 12, 30); }

    struct Section {
        bool open = false;
        QString label = QStringLiteral("未設定");
        qint32 labelColor = SystemButtonTextColor;
        friend bool operator==(const Section &, const Section &) = default;
    };
    struct CostRow {
        QString name;
        QString price; // whole yen as text; may be empty
        bool taxable = false;
        friend bool operator==(const CostRow &, const CostRow &) = default;
    };

    // [Idx]
    std::array<Section, SectionCount> sections{};
    // [No]
    QString slipCode = QStringLiteral("00000000");
    int slipDiv = 0; // 0 見積書, 1 作業指示書, 2 納品書; other values select no kind
    QDate slipDate;
    QString charge;
    QString slipType;
    // [Cust]
    QString custName;
    QString custTitle = QStringLiteral("様");
    QString zip1, zip2, city, add1, add2, tel;
    // [Tax]
    qint64 taxRate = 0;  // fixed-point percent
    int taxCut = 0;      // 0 四捨五入, 1 切り捨て, 2 切り上げ
    int taxCalcMode = 0; // 0 明細ごと (every slip without the key), 1 税率ごと
    // [Car]
    bool noCar = false; // "車両なし" (key Enabled)
    QString num1, num2, num3, num4, carName;
    QDate first;
    bool noFirst = false; // "不明"
    QDate check;
    bool noCheck = false; // "車検なし"
    qint64 kiro = 0, eSize = 0;
    QString typeCode, typeNum1, typeNum2, engine, chassis;
    // [Line]
    qint64 ravor = 0;
    int display = 0;
    qint64 tecTotal = 0, partTotal = 0;
    QList<TRowData> rows;
    // [Cost]
    qint64 wTax = 0, ins = 0, stamp = 0;
    std::array<CostRow, 5> costRows{};
    qint64 costTax = 0;
    // [Price]
    qint64 mnt = 0, cst = 0, ttl = 0, inc = 0, mntTx = 0, cstTx = 0, txTtl = 0, last = 0;
    // [Note]
    QString info;
    QStringList memo; // the note lines; the file keeps the first three

    // A new slip as a freshly started program shows it, dated today: the
    // default tax, and the vehicle dates blank (day zero) until entered.
    static SlipData newSlip(QDate today);

    friend bool operator==(const SlipData &, const SlipData &) = default;
};
