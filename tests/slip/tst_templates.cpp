#include "platform/Cp932.h"
#include "platform/IniFile.h"
#include "slip/SlipFile.h"
#include "slip/Templates.h"
#include "support/SampleSlip.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Every part of the slip filled, so that each scope has something to carry.
SlipData fullSlip()
{
    SlipData s = sampleSlip(3);
    s.slipCode = u"00000456"_s;
    s.slipType = u"車検"_s;
    s.charge = u"田中"_s;
    s.city = u"愛知県"_s;
    s.add1 = u"名古屋市中区栄1-2-3"_s;
    s.taxRate = 8 * Fixed::One;
    s.num1 = u"名古屋"_s;
    s.num2 = u"300"_s;
    s.num3 = u"さ"_s;
    s.num4 = u"12-34"_s;
    s.carName = u"トヨタ プリウス"_s;
    s.typeCode = u"DAA-ZVW30"_s;
    s.wTax = 24600;
    s.costRows[0] = {u"代行手数料"_s, u"10000"_s, true};
    s.memo = {u"次回点検 2027/05"_s, QString(), u"タイヤ溝 残り3mm"_s};
    return s;
}

// A slip that differs from fullSlip() in every field the scopes touch.
SlipData otherSlip()
{
    SlipData s = SlipData::newSlip(QDate(2026, 12, 1));
    s.slipCode = u"00000001"_s;
    s.slipType = u"一般"_s;
    s.custName = u"鈴木 花子"_s;
    s.carName = u"ホンダ フィット"_s;
    s.taxRate = 10 * Fixed::One;
    TRowData r;
    r.LineDiv = u"整備"_s;
    r.TextA = u"洗車"_s;
    s.rows = {r};
    s.memo = {u"別の備考"_s, QString(), QString()};
    return s;
}

QString saveTemplate(const QString &folder, const SlipData &slip, TSlipSaveType category, const QString &name)
{
    const QString path = Templates::newTemplatePath(folder);
    IniFile ini(path);
    Templates::writeHeader(ini, category, name);
    QString error;
    if (!SlipFile::save(ini, slip, category, sampleContext(), &error))
        qWarning() << error;
    return path;
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

} // namespace

class TestTemplates : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void scopeCarriesItsFields_data();
    void scopeCarriesItsFields();
    void listFiltersByCategory();
    void detailTexts_data();
    void detailTexts();
    void damagedFilesAreListedUnderAllOnly();
    void sameNameTwiceGivesTwoFiles();
};

void TestTemplates::scopeCarriesItsFields_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<bool>("customer");
    QTest::addColumn<bool>("vehicle");
    QTest::addColumn<bool>("lines");
    QTest::addColumn<bool>("money"); // slip type, costs, notes
    QTest::newRow("customer") << int(sstCustomer) << true << false << false << false;
    QTest::newRow("vehicle") << int(sstCar) << false << true << false << false;
    QTest::newRow("customer and vehicle") << int(sstCustCar) << true << true << false << false;
    QTest::newRow("lines") << int(sstLines) << false << false << true << false;
    QTest::newRow("slip") << int(sstSlip) << false << false << true << true;
}

void TestTemplates::scopeCarriesItsFields()
{
    QFETCH(int, category);
    QFETCH(bool, customer);
    QFETCH(bool, vehicle);
    QFETCH(bool, lines);
    QFETCH(bool, money);
    QTemporaryDir dir;
    const auto scope = TSlipSaveType(category);
    const SlipData full = fullSlip();
    const QString path = saveTemplate(dir.path(), full, scope, u"常連"_s);

    const IniFile ini(path);
    QCOMPARE(ini.readString(u"Template"_s, u"Category"_s), SaveTypeName(scope));
    QCOMPARE(ini.readString(u"Template"_s, u"Name"_s), u"常連"_s);
    // What is not in the scope is not in the file either.
    QCOMPARE(ini.sectionExists(u"Cust"_s), customer);
    QCOMPARE(ini.sectionExists(u"Car"_s), vehicle);
    QCOMPARE(ini.sectionExists(u"Note"_s), money);
    QVERIFY(!ini.sectionExists(u"Idx"_s));

    const SlipData other = otherSlip();
    SlipData loaded = other;
    SlipFile::read(ini, loaded, scope, sampleContext());
    const auto pick = [](bool travels, const SlipData &a, const SlipData &b) { return travels ? a : b; };
    QCOMPARE(loaded.custName, pick(customer, full, other).custName);
    QCOMPARE(loaded.city, pick(customer, full, other).city);
    QCOMPARE(loaded.carName, pick(vehicle, full, other).carName);
    QCOMPARE(loaded.num4, pick(vehicle, full, other).num4);
    QCOMPARE(loaded.typeCode, pick(vehicle, full, other).typeCode);
    QCOMPARE(loaded.rows.size(), pick(lines, full, other).rows.size());
    QCOMPARE(loaded.rows.first().TextA, pick(lines, full, other).rows.first().TextA);
    QCOMPARE(loaded.slipType, pick(money, full, other).slipType);
    QCOMPARE(loaded.memo, pick(money, full, other).memo);
    QCOMPARE(loaded.costRows[0], pick(money, full, other).costRows[0]);
    QCOMPARE(loaded.wTax, pick(money, full, other).wTax);
    // The slip's own number, date and tax settings never come from a template.
    QCOMPARE(loaded.slipCode, other.slipCode);
    QCOMPARE(loaded.slipDate, other.slipDate);
    QCOMPARE(loaded.taxRate, other.taxRate);
}

void TestTemplates::listFiltersByCategory()
{
    QTemporaryDir dir;
    const SlipData full = fullSlip();
    saveTemplate(dir.path(), full, sstCustomer, u"山田様"_s);
    saveTemplate(dir.path(), full, sstCar, u"プリウス"_s);
    saveTemplate(dir.path(), full, sstLines, u"オイル交換"_s);
    saveTemplate(dir.path(), full, sstLines, u"12ヶ月点検"_s);

    QCOMPARE(Templates::list(dir.path(), sstAll).size(), 4);
    QCOMPARE(Templates::list(dir.path(), 99).size(), 4);
    const QList<Templates::Entry> lines = Templates::list(dir.path(), sstLines);
    QCOMPARE(lines.size(), 2);
    for (const Templates::Entry &e : lines) {
        QCOMPARE(e.category, int(sstLines));
        QVERIFY(QFileInfo::exists(QDir(dir.path()).filePath(e.fileName)));
    }
    const QList<Templates::Entry> cars = Templates::list(dir.path(), sstCar);
    QCOMPARE(cars.size(), 1);
    QCOMPARE(cars.first().name, u"プリウス"_s);
    QVERIFY(Templates::list(dir.path(), sstSlip).isEmpty());
    QVERIFY(Templates::list(dir.filePath(u"missing"_s), sstAll).isEmpty());
}

void TestTemplates::detailTexts_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<bool>("withNumber");
    QTest::addColumn<QString>("detail");
    QTest::newRow("customer") << int(sstCustomer) << true << u"山田 太郎 愛知県 名古屋市中区栄1-2-3"_s;
    QTest::newRow("vehicle") << int(sstCar) << true << u"【名古屋300さ12-34】 トヨタ プリウス DAA-ZVW30"_s;
    QTest::newRow("vehicle, no number") << int(sstCar) << false << u" トヨタ プリウス DAA-ZVW30"_s;
    QTest::newRow("customer and vehicle")
        << int(sstCustCar) << true
        << u"山田 太郎 【名古屋300さ12-34】 / トヨタ プリウス DAA-ZVW30 / 愛知県 名古屋市中区栄1-2-3"_s;
    QTest::newRow("customer and vehicle, no number")
        << int(sstCustCar) << false
        << u"山田 太郎 / トヨタ プリウス DAA-ZVW30 / 愛知県 名古屋市中区栄1-2-3"_s;
    QTest::newRow("lines") << int(sstLines) << true
                           << u"エンジンオイル交換 1 | オイルエレメント 2 | ワイパーブレード 3"_s;
}

void TestTemplates::detailTexts()
{
    QFETCH(int, category);
    QFETCH(bool, withNumber);
    QFETCH(QString, detail);
    QTemporaryDir dir;
    SlipData s = fullSlip();
    if (!withNumber)
        s.num1 = s.num2 = s.num3 = s.num4 = QString();
    saveTemplate(dir.path(), s, TSlipSaveType(category), u"x"_s);
    const QList<Templates::Entry> entries = Templates::list(dir.path(), sstAll);
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries.first().detail, detail);
}

void TestTemplates::damagedFilesAreListedUnderAllOnly()
{
    QTemporaryDir dir;
    saveTemplate(dir.path(), fullSlip(), sstCustomer, u"山田様"_s);
    writeBytes(dir.filePath(u"garbage.tvt"_s), QByteArray("\x00\xff\xfe[[[\x81\n=\r\n", 12));
    writeBytes(dir.filePath(u"noheader.tvt"_s), Cp932::encode(u"[Cust]\r\nName=誰か\r\n"_s));
    writeBytes(dir.filePath(u"foreign.tvt"_s),
               Cp932::encode(u"[Template]\r\nCategory=sstBogus\r\nName=外部\r\n"_s));
    writeBytes(dir.filePath(u"other.txt"_s), "[Template]\r\nCategory=sstCustomer\r\n");
    QVERIFY(QDir(dir.path()).mkdir(u"folder.tvt"_s));

    const QList<Templates::Entry> all = Templates::list(dir.path(), sstAll);
    QCOMPARE(all.size(), 4);
    int unknown = 0;
    for (const Templates::Entry &e : all) {
        if (e.category == 0) {
            ++unknown;
            QVERIFY(e.fileName != u"other.txt"_s);
        }
    }
    QCOMPARE(unknown, 3);
    QCOMPARE(Templates::list(dir.path(), sstCustomer).size(), 1);
}

void TestTemplates::sameNameTwiceGivesTwoFiles()
{
    QTemporaryDir dir;
    const QString a = saveTemplate(dir.path(), fullSlip(), sstLines, u"同じ名前"_s);
    const QString b = saveTemplate(dir.path(), fullSlip(), sstLines, u"同じ名前"_s);
    QVERIFY(a != b);
    QVERIFY(a.endsWith(u".tvt"_s));
    QCOMPARE(Templates::list(dir.path(), sstLines).size(), 2);
}

QTEST_GUILESS_MAIN(TestTemplates)
#include "tst_templates.moc"
