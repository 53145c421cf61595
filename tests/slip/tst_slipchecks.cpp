#include "platform/IniFile.h"
#include "slip/SlipChecks.h"
#include "slip/SlipFile.h"

#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

using Edit = std::function<void(SlipData &)>;
Q_DECLARE_METATYPE(Edit)

namespace {

// A slip on which every check passes.
SlipData complete()
{
    SlipData s = SlipData::newSlip(QDate(2026, 12, 10));
    s.custName = u"山田"_s;
    s.zip1 = u"460"_s;
    s.zip2 = u"0008"_s;
    s.city = u"愛知県"_s;
    s.add1 = u"名古屋市"_s;
    s.tel = u"052"_s;
    s.taxRate = 10 * Fixed::One;
    s.num1 = u"名古屋"_s;
    s.num2 = u"300"_s;
    s.num3 = u"さ"_s;
    s.num4 = u"1234"_s;
    s.carName = u"プリウス"_s;
    s.eSize = 1800;
    s.first = QDate(2019, 5, 1);
    s.check = QDate(2027, 4, 30);
    s.kiro = 1;
    s.typeCode = u"ZVW50"_s;
    s.typeNum1 = u"1"_s;
    s.typeNum2 = u"2"_s;
    s.engine = u"2ZR"_s;
    s.chassis = u"X"_s;
    s.ravor = 8000;
    s.wTax = 1;
    s.ins = 1;
    s.stamp = 1;
    s.costRows[4] = {u"代行"_s, u"100"_s, false};
    s.inc = 1;
    return s;
}

} // namespace

class TestSlipChecks : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void status_data();
    void status();
    void colours();
    void samplesCarryTheirStatuses_data();
    void samplesCarryTheirStatuses();
};

void TestSlipChecks::status_data()
{
    QTest::addColumn<int>("section");
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QString>("text");
    const Edit none = [](SlipData &) {};
    for (int n = 1; n <= 6; ++n)
        QTest::addRow("section %d complete", n) << n << none << u"設定完了"_s;
    QTest::newRow("notes always") << 7 << Edit([](SlipData &s) { s = SlipData(); }) << u"確認済み"_s;
    QTest::newRow("name first") << 1 << Edit([](SlipData &s) { s.custName.clear(), s.tel.clear(); })
                                << u"顧客名が未設定です"_s;
    QTest::newRow("zip2") << 1 << Edit([](SlipData &s) { s.zip2.clear(); }) << u"郵便番号が未設定です"_s;
    QTest::newRow("prefecture") << 1 << Edit([](SlipData &s) { s.city.clear(); })
                                << u"都道府県が未設定です"_s;
    QTest::newRow("address") << 1 << Edit([](SlipData &s) { s.add1.clear(); }) << u"住所が未設定です"_s;
    QTest::newRow("telephone") << 1 << Edit([](SlipData &s) { s.tel.clear(); }) << u"電話番号が未設定です"_s;
    QTest::newRow("tax rate") << 2 << Edit([](SlipData &s) { s.taxRate = 0; }) << u"消費税率が未設定です"_s;
    QTest::newRow("no vehicle passes")
        << 3 << Edit([](SlipData &s) { s = SlipData(), s.noCar = true; }) << u"設定完了"_s;
    QTest::newRow("registration part")
        << 3 << Edit([](SlipData &s) { s.num3.clear(); }) << u"登録番号が未設定です"_s;
    QTest::newRow("car name") << 3 << Edit([](SlipData &s) { s.carName.clear(); }) << u"車名が未設定です"_s;
    QTest::newRow("displacement") << 3 << Edit([](SlipData &s) { s.eSize = 0; }) << u"排気量が未設定です"_s;
    // A vehicle date nobody entered is blank (day zero); 不明 / 車検なし pass.
    QTest::newRow("first registration blank")
        << 3 << Edit([](SlipData &s) { s.first = SlipData::dayZero(); }) << u"初度登録が未設定です"_s;
    QTest::newRow("first registration unknown")
        << 3 << Edit([](SlipData &s) { s.first = SlipData::dayZero(), s.noFirst = true; }) << u"設定完了"_s;
    QTest::newRow("inspection blank")
        << 3 << Edit([](SlipData &s) { s.check = SlipData::dayZero(); }) << u"車検期限が未設定です"_s;
    QTest::newRow("no inspection") << 3 << Edit([](SlipData &s) {
        s.check = SlipData::dayZero(), s.noCheck = true;
    }) << u"設定完了"_s;
    QTest::newRow("mileage") << 3 << Edit([](SlipData &s) { s.kiro = 0; }) << u"走行距離が未設定です"_s;
    QTest::newRow("model code") << 3 << Edit([](SlipData &s) { s.typeCode.clear(); })
                                << u"型式が未設定です"_s;
    QTest::newRow("type number") << 3 << Edit([](SlipData &s) { s.typeNum1.clear(); })
                                 << u"型式指定番号が未設定です"_s;
    QTest::newRow("category number") << 3 << Edit([](SlipData &s) { s.typeNum2.clear(); })
                                     << u"類別区分番号が未設定です"_s;
    QTest::newRow("engine") << 3 << Edit([](SlipData &s) { s.engine.clear(); })
                            << u"原動機型式が未設定です"_s;
    QTest::newRow("chassis") << 3 << Edit([](SlipData &s) { s.chassis.clear(); })
                             << u"車体番号が未設定です"_s;
    QTest::newRow("labour rate") << 4 << Edit([](SlipData &s) { s.ravor = 0; })
                                 << u"レバレートが未設定です"_s;
    QTest::newRow("weight tax") << 5 << Edit([](SlipData &s) { s.wTax = 0; }) << u"重量税が未設定です"_s;
    QTest::newRow("insurance") << 5 << Edit([](SlipData &s) { s.ins = 0; }) << u"自賠責が未設定です"_s;
    QTest::newRow("stamp") << 5 << Edit([](SlipData &s) { s.stamp = 0; }) << u"印紙代が未設定です"_s;
    QTest::newRow("cost row needs name and price")
        << 5 << Edit([](SlipData &s) { s.costRows[4].price.clear(), s.costRows[0].name = u"x"_s; })
        << u"諸費用が未設定です"_s;
    QTest::newRow("payment") << 6 << Edit([](SlipData &s) { s.inc = 0; }) << u"入金額が未設定です"_s;
}

void TestSlipChecks::status()
{
    QFETCH(int, section);
    QFETCH(Edit, edit);
    QFETCH(QString, text);
    SlipData s = complete();
    edit(s);
    QCOMPARE(SlipChecks::status(section, s), text);
}

void TestSlipChecks::colours()
{
    QCOMPARE(SlipChecks::statusColor(u"設定完了"_s), SlipChecks::Blue);
    QCOMPARE(SlipChecks::statusColor(u"確認済み"_s), SlipChecks::Blue);
    QCOMPARE(SlipChecks::statusColor(u"顧客名が未設定です"_s), SlipChecks::Red);
}

void TestSlipChecks::samplesCarryTheirStatuses_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("estimate") << u"estimate-with-vehicle.tvx"_s;
    QTest::newRow("delivery") << u"delivery-without-vehicle.tvx"_s;
}

// The bundled sample slips show the statuses their content gives, in the
// colours that go with them.
void TestSlipChecks::samplesCarryTheirStatuses()
{
    QFETCH(QString, file);
    SlipData s = SlipData::newSlip(QDate(2026, 12, 10));
    SlipFile::read(IniFile(QStringLiteral(TORVANE_SAMPLES "/") + file), s, sstAll, {{}, QDate(2026, 12, 10)});
    for (int n = 1; n <= SlipData::SectionCount; ++n) {
        const QString want = SlipChecks::status(n, s);
        QCOMPARE(s.sections[size_t(n - 1)].label, want);
        QCOMPARE(s.sections[size_t(n - 1)].labelColor, SlipChecks::statusColor(want));
    }
}

QTEST_GUILESS_MAIN(TestSlipChecks)
#include "tst_slipchecks.moc"
