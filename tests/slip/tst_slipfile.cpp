#include "platform/Cp932.h"
#include "platform/IniFile.h"
#include "slip/SaveType.h"
#include "slip/SlipFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QDate Today(2026, 12, 10);

SlipFile::Context context()
{
    return {LineCategoryList::fromLines({u"整備,1"_s, u"部品,2"_s, u"値引,3"_s, u"小計,4"_s}), Today};
}

TRowData row(const QString &div, const QString &text, qint64 price, qint64 taxRate = -Fixed::One)
{
    TRowData r;
    r.LineDiv = div;
    r.TextA = text;
    r.Count = Fixed::One;
    r.UnitPrice = price * Fixed::One;
    r.Price = price * Fixed::One;
    r.TaxRate = taxRate;
    return r;
}

SlipData sampleSlip()
{
    SlipData s = SlipData::newSlip(QDate(2026, 11, 30));
    s.sections[0].open = true;
    s.sections[0].label = u"設定済"_s;
    s.sections[0].labelColor = 32768;
    s.slipCode = u"00000012"_s;
    s.slipDiv = 2;
    s.charge = u"田中"_s;
    s.slipType = u"車検"_s;
    s.custName = u"山田 太郎"_s;
    s.zip1 = u"460"_s;
    s.zip2 = u"0008"_s;
    s.city = u"愛知県"_s;
    s.add1 = u"名古屋市中区栄1-2-3"_s;
    s.tel = u"052-000-1234"_s;
    s.taxRate = 10 * Fixed::One;
    s.taxCut = 1;
    s.num1 = u"名古屋"_s;
    s.num2 = u"300"_s;
    s.num3 = u"さ"_s;
    s.num4 = u"12-34"_s;
    s.carName = u"トヨタ プリウス"_s;
    s.first = QDate(2019, 5, 1);
    s.check = QDate(2027, 4, 30);
    s.kiro = 48210;
    s.eSize = 1790;
    s.typeCode = u"DAA-ZVW30"_s;
    s.typeNum1 = u"15118"_s;
    s.typeNum2 = u"0005"_s;
    s.ravor = 8000;
    s.display = 1;
    s.tecTotal = 12000;
    s.partTotal = 5600;
    s.rows = {row(u"整備"_s, u"オイル交換"_s, 1500),
              row(QString(), u"(メモ行)"_s, 0),
              row(u"値引"_s, u"会員割引"_s, 500),
              row(u"部品"_s, u"エレメント"_s, 1200, 8 * Fixed::One),
              TRowData(),
              TRowData()};
    s.wTax = 24600;
    s.ins = 17650;
    s.stamp = 1800;
    s.costRows[0] = {u"代行手数料"_s, u"10000"_s, true};
    s.costRows[2] = {u"洗車"_s, u"200"_s, false};
    s.costTax = 1000;
    s.mnt = 17600;
    s.last = 99999;
    s.info = u"毎度ありがとうございます。"_s;
    s.memo = {u"次回点検 2027/05"_s, QString(), u"タイヤ溝 残り3mm"_s};
    return s;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void writeFile(const QString &path, const QString &text)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(Cp932::encode(text));
}

SlipData saveAndLoad(const SlipData &s, const QString &path, TSlipSaveType scope = sstAll)
{
    IniFile ini(path);
    QString error;
    if (!SlipFile::save(ini, s, scope, context(), &error))
        qWarning() << error;
    SlipData back = SlipData::newSlip(Today);
    SlipFile::read(IniFile(path), back, scope, context());
    return back;
}

} // namespace

class TestSlipFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void saveTypeNames();
    void fullSaveRoundTrips();
    void newFileKeepsTheWriteOrder();
    void lineItems();
    void noVehicle();
    void printKeys();
    void memoAndCostRowsReplaceOldContent();
    void savingOverKeepsOtherKeysAndRemovesOldRows();
    void customerTemplate();
    void partialScopesTouchOnlyTheirGroups_data();
    void partialScopesTouchOnlyTheirGroups();
    void unwritableCharacterStopsTheSave();
    void badFilesLoadWithDefaults_data();
    void badFilesLoadWithDefaults();
    void hugeCountCreatesOnlyPresentRows();
    void megabyteLine();
};

void TestSlipFile::fullSaveRoundTrips()
{
    QTemporaryDir dir;
    const SlipData s = sampleSlip();
    SlipData expected = s;
    expected.rows.resize(4); // trailing blank rows are not stored
    QCOMPARE(saveAndLoad(s, dir.filePath(u"a.tvx"_s)), expected);
}

void TestSlipFile::newFileKeepsTheWriteOrder()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"order.tvx"_s);
    saveAndLoad(sampleSlip(), path);
    const IniFile ini(path);
    QCOMPARE(ini.sections(), (QStringList{u"Idx"_s, u"No"_s, u"Cust"_s, u"Tax"_s, u"Car"_s, u"Line"_s,
                                          u"Cost"_s, u"Price"_s, u"Note"_s, u"Print"_s}));
    QCOMPARE(ini.keys(u"Idx"_s).mid(5, 4), (QStringList{u"Btn6"_s, u"Btn9"_s, u"Label1"_s, u"Label2"_s}));
    QCOMPARE(ini.keys(u"Idx"_s).last(), u"Label9c"_s);
    QCOMPARE(ini.keys(u"No"_s),
             (QStringList{u"SlipCode"_s, u"SlipDiv"_s, u"SlipDate"_s, u"Charge"_s, u"SlipType"_s}));
    QCOMPARE(ini.keys(u"Line"_s).mid(0, 16),
             (QStringList{u"Ravor"_s, u"Display"_s, u"TecTotal"_s, u"PartTotal"_s, u"Count"_s,
                          u"LineDiv00000"_s, u"TaxRate00000"_s, u"TextA00000"_s, u"WorkName00000"_s,
                          u"WorkPoint00000"_s, u"WorkPrice00000"_s, u"Count00000"_s, u"UnitPrice00000"_s,
                          u"Price00000"_s, u"DigitType00000"_s, u"LineDiv00001"_s}));
    // The row without a category has no DigitType key.
    QVERIFY(!ini.valueExists(u"Line"_s, u"DigitType00001"_s));
    QCOMPARE(ini.readString(u"Line"_s, u"DigitType00002"_s), u"1"_s);
    QCOMPARE(ini.readString(u"Line"_s, u"DigitType00003"_s), u"0"_s);
    QCOMPARE(ini.readString(u"No"_s, u"SlipDate"_s), u"2026/11/30"_s);
    QCOMPARE(ini.readString(u"Idx"_s, u"Label2c"_s), u"-16777198"_s);
    QCOMPARE(ini.readString(u"Cost"_s, u"LineA2"_s), u",,"_s);
    QCOMPARE(ini.readString(u"Cost"_s, u"LineA1"_s), u"代行手数料,10000,1"_s);
    QVERIFY(readAll(path).startsWith("[Idx]\r\nBtn1=1\r\nBtn2=0\r\n"));
}

void TestSlipFile::lineItems()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"rows.tvx"_s);

    SlipData s = SlipData::newSlip(Today);
    s.rows = {TRowData(), TRowData()};
    QVERIFY(saveAndLoad(s, path).rows.isEmpty());
    QCOMPARE(IniFile(path).readString(u"Line"_s, u"Count"_s), u"0"_s);
    QVERIFY(!IniFile(path).valueExists(u"Line"_s, u"LineDiv00000"_s));

    s = sampleSlip();
    const SlipData back = saveAndLoad(s, path);
    const IniFile ini(path);
    QCOMPARE(ini.readString(u"Line"_s, u"Count"_s), u"4"_s);
    // discount stored negated, shown positive after reading
    QCOMPARE(ini.readString(u"Line"_s, u"Price00002"_s), u"-500"_s);
    QCOMPARE(back.rows.at(2).Price, 500 * Fixed::One);
    // the inner row without a category survives; the slip's rate marker -1 too
    QCOMPARE(back.rows.at(1).TextA, u"(メモ行)"_s);
    QCOMPARE(ini.readString(u"Line"_s, u"TaxRate00000"_s), u"-1"_s);
    QCOMPARE(back.rows.at(0).TaxRate, -Fixed::One);
    QCOMPARE(back.rows.at(3).TaxRate, 8 * Fixed::One);

    // a missing tax rate reads as 0, not as the slip's rate
    writeFile(path, u"[Line]\r\nCount=1\r\nLineDiv00000=部品\r\nPrice00000=x\r\n"_s);
    SlipData partial = SlipData::newSlip(Today);
    SlipFile::read(IniFile(path), partial, sstAll, context());
    QCOMPARE(partial.rows.size(), 1);
    QCOMPARE(partial.rows.at(0).TaxRate, 0);
    QCOMPARE(partial.rows.at(0).Price, 0);
}

void TestSlipFile::noVehicle()
{
    QTemporaryDir dir;
    SlipData s = sampleSlip();
    s.noCar = true;
    const SlipData back = saveAndLoad(s, dir.filePath(u"nocar.tvx"_s));
    QVERIFY(back.noCar);
    QVERIFY(back.num1.isEmpty() && back.num4.isEmpty() && back.carName.isEmpty() && back.chassis.isEmpty());
    QCOMPARE(back.first, Today);
    QCOMPARE(back.check, Today);
    QVERIFY(back.noFirst);
    QVERIFY(back.noCheck);
    QCOMPARE(back.kiro, 0);
    QCOMPARE(back.eSize, 0);
}

void TestSlipFile::printKeys()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"p.tvx"_s);
    SlipData s = sampleSlip();
    s.noCheck = true;
    saveAndLoad(s, path);
    IniFile ini(path);
    QCOMPARE(ini.readString(u"Print"_s, u"PriceTitle"_s), u"ご請求金額"_s);
    QCOMPARE(ini.readString(u"Print"_s, u"CarCheck"_s), u"1899/12/30"_s);
    QCOMPARE(ini.readString(u"Print"_s, u"CarFirst"_s), u"2019/05/01"_s);
    QCOMPARE(ini.readString(u"Print"_s, u"CustNameTitle"_s), u"山田 太郎  様"_s);
    QCOMPARE(ini.readString(u"Cust"_s, u"City_Add1"_s), u"愛知県名古屋市中区栄1-2-3"_s);
    QCOMPARE(ini.readString(u"Car"_s, u"Num"_s), u"名古屋300さ12-34"_s);
    QCOMPARE(ini.readString(u"Car"_s, u"TypeNum"_s), u"15118-0005"_s);

    s.slipDiv = 7; // no kind selected: no PriceTitle
    const QString other = dir.filePath(u"q.tvx"_s);
    saveAndLoad(s, other);
    QVERIFY(!IniFile(other).valueExists(u"Print"_s, u"PriceTitle"_s));
}

void TestSlipFile::memoAndCostRowsReplaceOldContent()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"m.tvx"_s);
    SlipData s = sampleSlip();
    s.memo = {u"一"_s, u"二"_s, u"三"_s};
    s.costRows[1] = {u"代車"_s, u"3000"_s, true};
    saveAndLoad(s, path);

    s.memo.clear();
    s.costRows[1].taxable = false;
    const SlipData back = saveAndLoad(s, path);
    QCOMPARE(back.memo, (QStringList{QString(), QString(), QString()}));
    QCOMPARE(back.costRows[1], (SlipData::CostRow{u"代車"_s, u"3000"_s, false}));
    QCOMPARE(back.costRows[3], SlipData::CostRow{});
}

void TestSlipFile::savingOverKeepsOtherKeysAndRemovesOldRows()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"o.tvx"_s);
    writeFile(
        path,
        u"[Template]\r\nType=sstAll\r\n[Line]\r\nCount=9\r\nLineDiv00008=部品\r\nOld=1\r\n[Cust]\r\nExtra=残る\r\n"_s);
    saveAndLoad(sampleSlip(), path);
    const IniFile ini(path);
    QCOMPARE(ini.readString(u"Template"_s, u"Type"_s), u"sstAll"_s);
    QCOMPARE(ini.readString(u"Cust"_s, u"Extra"_s), u"残る"_s);
    QVERIFY(!ini.valueExists(u"Line"_s, u"LineDiv00008"_s));
    QVERIFY(!ini.valueExists(u"Line"_s, u"Old"_s));
    QCOMPARE(ini.sections().first(), u"Template"_s);
}

void TestSlipFile::customerTemplate()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"t.tvt"_s);
    {
        IniFile ini(path);
        ini.writeString(u"Template"_s, u"Type"_s, SaveTypeName(sstCustomer));
        QVERIFY(SlipFile::save(ini, sampleSlip(), sstCustomer, context(), nullptr));
    }
    QCOMPARE(IniFile(path).sections(), (QStringList{u"Template"_s, u"Cust"_s}));

    SlipData target = SlipData::newSlip(Today);
    target.custName = u"別の客"_s;
    target.carName = u"ホンダ フィット"_s;
    target.rows = {row(u"部品"_s, u"バッテリー"_s, 9800)};
    SlipData expected = target;
    expected.custName = u"山田 太郎"_s;
    expected.zip1 = u"460"_s;
    expected.zip2 = u"0008"_s;
    expected.city = u"愛知県"_s;
    expected.add1 = u"名古屋市中区栄1-2-3"_s;
    expected.tel = u"052-000-1234"_s;
    SlipFile::read(IniFile(path), target, sstCustomer, context());
    QCOMPARE(target, expected);
    QCOMPARE(SlipFile::sectionsFilledBy(sstCustomer), QList<int>{1});
}

void TestSlipFile::partialScopesTouchOnlyTheirGroups_data()
{
    QTest::addColumn<int>("scope");
    QTest::addColumn<QStringList>("sections");
    QTest::newRow("car") << int(sstCar) << QStringList{u"Car"_s};
    QTest::newRow("customer and car") << int(sstCustCar) << QStringList{u"Cust"_s, u"Car"_s};
    QTest::newRow("lines") << int(sstLines) << QStringList{u"Line"_s};
    QTest::newRow("slip") << int(sstSlip)
                          << QStringList{u"No"_s, u"Line"_s, u"Cost"_s, u"Price"_s, u"Note"_s};
}

void TestSlipFile::partialScopesTouchOnlyTheirGroups()
{
    QFETCH(int, scope);
    QFETCH(QStringList, sections);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"s.tvx"_s);
    const SlipData s = sampleSlip();
    const SlipData back = saveAndLoad(s, path, TSlipSaveType(scope));
    QCOMPARE(IniFile(path).sections(), sections);
    if (scope == sstSlip) {
        QCOMPARE(IniFile(path).keys(u"No"_s), QStringList{u"SlipType"_s});
        QCOMPARE(back.slipType, s.slipType);
        QCOMPARE(back.ravor, s.ravor);
        QCOMPARE(back.memo, s.memo);
        QCOMPARE(back.custName, QString()); // not in the scope: untouched
    }
    if (scope == sstLines) {
        QVERIFY(!IniFile(path).valueExists(u"Line"_s, u"Ravor"_s));
        QCOMPARE(back.rows.size(), 4);
        QCOMPARE(back.ravor, 0);
    }
}

void TestSlipFile::unwritableCharacterStopsTheSave()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"u.tvx"_s);
    writeFile(path, u"[Cust]\r\nName=前の名前\r\n"_s);
    SlipData s = sampleSlip();
    s.custName = u"𠮷田"_s;
    IniFile ini(path);
    QString error;
    QVERIFY(!SlipFile::save(ini, s, sstAll, context(), &error));
    QVERIFY2(error.contains(u"に書き込めません"_s) && error.contains(u"𠮷"_s), qPrintable(error));
    QCOMPARE(IniFile(path).readString(u"Cust"_s, u"Name"_s), u"前の名前"_s);
}

void TestSlipFile::badFilesLoadWithDefaults_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QString>("slipCode");
    QTest::addColumn<int>("rows");
    QTest::newRow("truncated in a kanji") << u"truncated.tvx"_s << u"00000007"_s << 0;
    QTest::newRow("invalid CP932") << u"invalid-cp932.tvx"_s << u"00000007"_s << 1;
    QTest::newRow("binary") << u"binary.tvx"_s << u"00000000"_s << 0;
    QTest::newRow("negative Count") << u"count-negative.tvx"_s << u"00000000"_s << 0;
    QTest::newRow("missing file") << u"no-such-file.tvx"_s << u"00000000"_s << 0;
}

void TestSlipFile::badFilesLoadWithDefaults()
{
    QFETCH(QString, fixture);
    QFETCH(QString, slipCode);
    QFETCH(int, rows);
    SlipData s = sampleSlip();
    SlipFile::read(IniFile(QStringLiteral(TORVANE_FIXTURES "/slip/") + fixture), s, sstAll, context());
    QCOMPARE(s.slipCode, slipCode);
    QCOMPARE(s.rows.size(), rows);
    QCOMPARE(s.memo.size(), 3);
    QCOMPARE(s.custTitle.isEmpty(), false);
    if (fixture == u"invalid-cp932.tvx"_s) {
        QVERIFY(s.custName.contains(QChar(0xFFFD)));
        QVERIFY(s.custName.endsWith(u"髙橋モータース"_s));
    }
}

void TestSlipFile::hugeCountCreatesOnlyPresentRows()
{
    SlipData s = SlipData::newSlip(Today);
    SlipFile::read(IniFile(QStringLiteral(TORVANE_FIXTURES "/slip/count-huge.tvx")), s, sstAll, context());
    QCOMPARE(s.rows.size(), 2);
    QCOMPARE(s.rows.at(0).Price, 3600 * Fixed::One);
    QCOMPARE(s.rows.at(1).WorkPrice, 500 * Fixed::One);
    QCOMPARE(s.ravor, 8000);
}

void TestSlipFile::megabyteLine()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"big.tvx"_s);
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Cust]\r\nName=" + QByteArray(1 << 20, 'A') + "\r\nTel=03\r\n" +
                QByteArray(1 << 20, '\x82'));
    }
    SlipData s = SlipData::newSlip(Today);
    SlipFile::read(IniFile(path), s, sstAll, context());
    QCOMPARE(s.custName.size(), 2047);
    QCOMPARE(s.tel, u"03"_s);
}

void TestSlipFile::saveTypeNames()
{
    for (int i = sstAll; i <= sstSlip; ++i)
        QCOMPARE(SaveTypeFromName(SaveTypeName(TSlipSaveType(i))), i);
    QCOMPARE(SaveTypeName(sstCustCar), u"sstCustCar"_s);
    QCOMPARE(SaveTypeFromName(u"SSTLINES"_s), int(sstLines));
    QCOMPARE(SaveTypeFromName(u"sstNothing"_s), -1);
}

QTEST_GUILESS_MAIN(TestSlipFile)
#include "tst_slipfile.moc"
