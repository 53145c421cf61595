#include "platform/Cp932.h"
#include "platform/IniFile.h"
#include "slip/SlipFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QDate Today(2026, 12, 10);

SlipFile::Context context()
{
    return {LineCategoryList::fromLines({u"整備,1"_qs, u"部品,2"_qs, u"値引,3"_qs, u"小計,4"_qs}), Today};
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
    s.sections[0].label = u"設定済"_qs;
    s.sections[0].labelColor = 32768;
    s.slipCode = u"00000012"_qs;
    s.slipDiv = 2;
    s.charge = u"田中"_qs;
    s.slipType = u"車検"_qs;
    s.custName = u"山田 太郎"_qs;
    s.zip1 = u"460"_qs;
    s.zip2 = u"0008"_qs;
    s.city = u"愛知県"_qs;
    s.add1 = u"名古屋市中区栄1-2-3"_qs;
    s.tel = u"052-000-1234"_qs;
    s.taxRate = 10 * Fixed::One;
    s.taxCut = 1;
    s.num1 = u"名古屋"_qs;
    s.num2 = u"300"_qs;
    s.num3 = u"さ"_qs;
    s.num4 = u"12-34"_qs;
    s.carName = u"トヨタ プリウス"_qs;
    s.first = QDate(2019, 5, 1);
    s.check = QDate(2027, 4, 30);
    s.kiro = 48210;
    s.eSize = 1790;
    s.typeCode = u"DAA-ZVW30"_qs;
    s.typeNum1 = u"15118"_qs;
    s.typeNum2 = u"0005"_qs;
    s.ravor = 8000;
    s.display = 1;
    s.tecTotal = 12000;
    s.partTotal = 5600;
    s.rows = {row(u"整備"_qs, u"オイル交換"_qs, 1500),
              row(QString(), u"(メモ行)"_qs, 0),
              row(u"値引"_qs, u"会員割引"_qs, 500),
              row(u"部品"_qs, u"エレメント"_qs, 1200, 8 * Fixed::One),
              TRowData(),
              TRowData()};
    s.wTax = 24600;
    s.ins = 17650;
    s.stamp = 1800;
    s.costRows[0] = {u"代行手数料"_qs, u"10000"_qs, true};
    s.costRows[2] = {u"洗車"_qs, u"200"_qs, false};
    s.costTax = 1000;
    s.mnt = 17600;
    s.last = 99999;
    s.info = u"毎度ありがとうございます。"_qs;
    s.memo = {u"次回点検 2027/05"_qs, QString(), u"タイヤ溝 残り3mm"_qs};
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
    QCOMPARE(saveAndLoad(s, dir.filePath(u"a.tvx"_qs)), expected);
}

void TestSlipFile::newFileKeepsTheWriteOrder()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"order.tvx"_qs);
    saveAndLoad(sampleSlip(), path);
    const IniFile ini(path);
    QCOMPARE(ini.sections(), (QStringList{u"Idx"_qs, u"No"_qs, u"Cust"_qs, u"Tax"_qs, u"Car"_qs, u"Line"_qs,
                                          u"Cost"_qs, u"Price"_qs, u"Note"_qs, u"Print"_qs}));
    QCOMPARE(ini.keys(u"Idx"_qs).mid(5, 4),
             (QStringList{u"Btn6"_qs, u"Btn9"_qs, u"Label1"_qs, u"Label2"_qs}));
    QCOMPARE(ini.keys(u"Idx"_qs).last(), u"Label9c"_qs);
    QCOMPARE(ini.keys(u"No"_qs),
             (QStringList{u"SlipCode"_qs, u"SlipDiv"_qs, u"SlipDate"_qs, u"Charge"_qs, u"SlipType"_qs}));
    QCOMPARE(ini.keys(u"Line"_qs).mid(0, 16),
             (QStringList{u"Ravor"_qs, u"Display"_qs, u"TecTotal"_qs, u"PartTotal"_qs, u"Count"_qs,
                          u"LineDiv00000"_qs, u"TaxRate00000"_qs, u"TextA00000"_qs, u"WorkName00000"_qs,
                          u"WorkPoint00000"_qs, u"WorkPrice00000"_qs, u"Count00000"_qs, u"UnitPrice00000"_qs,
                          u"Price00000"_qs, u"DigitType00000"_qs, u"LineDiv00001"_qs}));
    // The row without a category has no DigitType key.
    QVERIFY(!ini.valueExists(u"Line"_qs, u"DigitType00001"_qs));
    QCOMPARE(ini.readString(u"Line"_qs, u"DigitType00002"_qs), u"1"_qs);
    QCOMPARE(ini.readString(u"Line"_qs, u"DigitType00003"_qs), u"0"_qs);
    QCOMPARE(ini.readString(u"No"_qs, u"SlipDate"_qs), u"2026/11/30"_qs);
    QCOMPARE(ini.readString(u"Idx"_qs, u"Label2c"_qs), u"-16777198"_qs);
    QCOMPARE(ini.readString(u"Cost"_qs, u"LineA2"_qs), u",,"_qs);
    QCOMPARE(ini.readString(u"Cost"_qs, u"LineA1"_qs), u"代行手数料,10000,1"_qs);
    QVERIFY(readAll(path).startsWith("[Idx]\r\nBtn1=1\r\nBtn2=0\r\n"));
}

void TestSlipFile::lineItems()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"rows.tvx"_qs);

    SlipData s = SlipData::newSlip(Today);
    s.rows = {TRowData(), TRowData()};
    QVERIFY(saveAndLoad(s, path).rows.isEmpty());
    QCOMPARE(IniFile(path).readString(u"Line"_qs, u"Count"_qs), u"0"_qs);
    QVERIFY(!IniFile(path).valueExists(u"Line"_qs, u"LineDiv00000"_qs));

    s = sampleSlip();
    const SlipData back = saveAndLoad(s, path);
    const IniFile ini(path);
    QCOMPARE(ini.readString(u"Line"_qs, u"Count"_qs), u"4"_qs);
    // discount stored negated, shown positive after reading
    QCOMPARE(ini.readString(u"Line"_qs, u"Price00002"_qs), u"-500"_qs);
    QCOMPARE(back.rows.at(2).Price, 500 * Fixed::One);
    // the inner row without a category survives; the slip's rate marker -1 too
    QCOMPARE(back.rows.at(1).TextA, u"(メモ行)"_qs);
    QCOMPARE(ini.readString(u"Line"_qs, u"TaxRate00000"_qs), u"-1"_qs);
    QCOMPARE(back.rows.at(0).TaxRate, -Fixed::One);
    QCOMPARE(back.rows.at(3).TaxRate, 8 * Fixed::One);

    // a missing tax rate reads as 0, not as the slip's rate
    writeFile(path, u"[Line]\r\nCount=1\r\nLineDiv00000=部品\r\nPrice00000=x\r\n"_qs);
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
    const SlipData back = saveAndLoad(s, dir.filePath(u"nocar.tvx"_qs));
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
    const QString path = dir.filePath(u"p.tvx"_qs);
    SlipData s = sampleSlip();
    s.noCheck = true;
    saveAndLoad(s, path);
    IniFile ini(path);
    QCOMPARE(ini.readString(u"Print"_qs, u"PriceTitle"_qs), u"ご請求金額"_qs);
    QCOMPARE(ini.readString(u"Print"_qs, u"CarCheck"_qs), u"1899/12/30"_qs);
    QCOMPARE(ini.readString(u"Print"_qs, u"CarFirst"_qs), u"2019/05/01"_qs);
    QCOMPARE(ini.readString(u"Print"_qs, u"CustNameTitle"_qs), u"山田 太郎  様"_qs);
    QCOMPARE(ini.readString(u"Cust"_qs, u"City_Add1"_qs), u"愛知県名古屋市中区栄1-2-3"_qs);
    QCOMPARE(ini.readString(u"Car"_qs, u"Num"_qs), u"名古屋300さ12-34"_qs);
    QCOMPARE(ini.readString(u"Car"_qs, u"TypeNum"_qs), u"15118-0005"_qs);

    s.slipDiv = 7; // no kind selected: no PriceTitle
    const QString other = dir.filePath(u"q.tvx"_qs);
    saveAndLoad(s, other);
    QVERIFY(!IniFile(other).valueExists(u"Print"_qs, u"PriceTitle"_qs));
}

void TestSlipFile::memoAndCostRowsReplaceOldContent()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"m.tvx"_qs);
    SlipData s = sampleSlip();
    s.memo = {u"一"_qs, u"二"_qs, u"三"_qs};
    s.costRows[1] = {u"代車"_qs, u"3000"_qs, true};
    saveAndLoad(s, path);

    s.memo.clear();
    s.costRows[1].taxable = false;
    const SlipData back = saveAndLoad(s, path);
    QCOMPARE(back.memo, (QStringList{QString(), QString(), QString()}));
    QCOMPARE(back.costRows[1], (SlipData::CostRow{u"代車"_qs, u"3000"_qs, false}));
    QCOMPARE(back.costRows[3], SlipData::CostRow{});
}

void TestSlipFile::savingOverKeepsOtherKeysAndRemovesOldRows()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"o.tvx"_qs);
    writeFile(
        path,
        u"[Template]\r\nType=sstAll\r\n[Line]\r\nCount=9\r\nLineDiv00008=部品\r\nOld=1\r\n[Cust]\r\nExtra=残る\r\n"_qs);
    saveAndLoad(sampleSlip(), path);
    const IniFile ini(path);
    QCOMPARE(ini.readString(u"Template"_qs, u"Type"_qs), u"sstAll"_qs);
    QCOMPARE(ini.readString(u"Cust"_qs, u"Extra"_qs), u"残る"_qs);
    QVERIFY(!ini.valueExists(u"Line"_qs, u"LineDiv00008"_qs));
    QVERIFY(!ini.valueExists(u"Line"_qs, u"Old"_qs));
    QCOMPARE(ini.sections().first(), u"Template"_qs);
}

void TestSlipFile::customerTemplate()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"t.tvt"_qs);
    {
        IniFile ini(path);
        ini.writeString(u"Template"_qs, u"Type"_qs, SaveTypeName(sstCustomer));
        QVERIFY(SlipFile::save(ini, sampleSlip(), sstCustomer, context(), nullptr));
    }
    QCOMPARE(IniFile(path).sections(), (QStringList{u"Template"_qs, u"Cust"_qs}));

    SlipData target = SlipData::newSlip(Today);
    target.custName = u"別の客"_qs;
    target.carName = u"ホンダ フィット"_qs;
    target.rows = {row(u"部品"_qs, u"バッテリー"_qs, 9800)};
    SlipData expected = target;
    expected.custName = u"山田 太郎"_qs;
    expected.zip1 = u"460"_qs;
    expected.zip2 = u"0008"_qs;
    expected.city = u"愛知県"_qs;
    expected.add1 = u"名古屋市中区栄1-2-3"_qs;
    expected.tel = u"052-000-1234"_qs;
    SlipFile::read(IniFile(path), target, sstCustomer, context());
    QCOMPARE(target, expected);
    QCOMPARE(SlipFile::sectionsFilledBy(sstCustomer), QList<int>{1});
}

void TestSlipFile::partialScopesTouchOnlyTheirGroups_data()
{
    QTest::addColumn<int>("scope");
    QTest::addColumn<QStringList>("sections");
    QTest::newRow("car") << int(sstCar) << QStringList{u"Car"_qs};
    QTest::newRow("customer and car") << int(sstCustCar) << QStringList{u"Cust"_qs, u"Car"_qs};
    QTest::newRow("lines") << int(sstLines) << QStringList{u"Line"_qs};
    QTest::newRow("slip") << int(sstSlip)
                          << QStringList{u"No"_qs, u"Line"_qs, u"Cost"_qs, u"Price"_qs, u"Note"_qs};
}

void TestSlipFile::partialScopesTouchOnlyTheirGroups()
{
    QFETCH(int, scope);
    QFETCH(QStringList, sections);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"s.tvx"_qs);
    const SlipData s = sampleSlip();
    const SlipData back = saveAndLoad(s, path, TSlipSaveType(scope));
    QCOMPARE(IniFile(path).sections(), sections);
    if (scope == sstSlip) {
        QCOMPARE(IniFile(path).keys(u"No"_qs), QStringList{u"SlipType"_qs});
        QCOMPARE(back.slipType, s.slipType);
        QCOMPARE(back.ravor, s.ravor);
        QCOMPARE(back.memo, s.memo);
        QCOMPARE(back.custName, QString()); // not in the scope: untouched
    }
    if (scope == sstLines) {
        QVERIFY(!IniFile(path).valueExists(u"Line"_qs, u"Ravor"_qs));
        QCOMPARE(back.rows.size(), 4);
        QCOMPARE(back.ravor, 0);
    }
}

void TestSlipFile::unwritableCharacterStopsTheSave()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"u.tvx"_qs);
    writeFile(path, u"[Cust]\r\nName=前の名前\r\n"_qs);
    SlipData s = sampleSlip();
    s.custName = u"𠮷田"_qs;
    IniFile ini(path);
    QString error;
    QVERIFY(!SlipFile::save(ini, s, sstAll, context(), &error));
    QVERIFY2(error.contains(u"に書き込めません"_qs) && error.contains(u"𠮷"_qs), qPrintable(error));
    QCOMPARE(IniFile(path).readString(u"Cust"_qs, u"Name"_qs), u"前の名前"_qs);
}

void TestSlipFile::badFilesLoadWithDefaults_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QString>("slipCode");
    QTest::addColumn<int>("rows");
    QTest::newRow("truncated in a kanji") << u"truncated.tvx"_qs << u"00000007"_qs << 0;
    QTest::newRow("invalid CP932") << u"invalid-cp932.tvx"_qs << u"00000007"_qs << 1;
    QTest::newRow("binary") << u"binary.tvx"_qs << u"00000000"_qs << 0;
    QTest::newRow("negative Count") << u"count-negative.tvx"_qs << u"00000000"_qs << 0;
    QTest::newRow("missing file") << u"no-such-file.tvx"_qs << u"00000000"_qs << 0;
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
    if (fixture == u"invalid-cp932.tvx"_qs) {
        QVERIFY(s.custName.contains(QChar(0xFFFD)));
        QVERIFY(s.custName.endsWith(u"髙橋モータース"_qs));
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
    const QString path = dir.filePath(u"big.tvx"_qs);
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Cust]\r\nName=" + QByteArray(1 << 20, 'A') + "\r\nTel=03\r\n" +
                QByteArray(1 << 20, '\x82'));
    }
    SlipData s = SlipData::newSlip(Today);
    SlipFile::read(IniFile(path), s, sstAll, context());
    QCOMPARE(s.custName.size(), 2047);
    QCOMPARE(s.tel, u"03"_qs);
}

QTEST_GUILESS_MAIN(TestSlipFile)
#include "tst_slipfile.moc"
