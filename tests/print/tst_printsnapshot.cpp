#include "support/SampleSlip.h"

#include "lines/RowTransfer.h"
#include "platform/IniFile.h"
#include "print/PrintPipeline.h"
#include "slip/Totals.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestPrintSnapshot : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void holdsTheSlipAndTheKeysForPrinting();
    void unmappableCharactersPrintOrStopTheWrite();
};

void TestPrintSnapshot::holdsTheSlipAndTheKeysForPrinting()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Dat/Tmp/1PrTmpDat2"_s);
    SlipData slip = sampleSlip(12);
    slip.rows[3].TaxRate = Totals::ReducedRate;
    slip.rows[7].TaxRate = Totals::ReducedRate;
    slip.rows[5].LineDiv = u"値引"_s;
    slip.rows.append(TRowData{}); // trailing blank rows are not stored
    QString error;
    QVERIFY2(PrintPipeline::writeSnapshot(path, slip, sampleContext(), QString(), &error), qPrintable(error));

    const IniFile ini(path);
    QCOMPARE(ini.sections().count(u"Line"_s), 1);
    QCOMPARE(ini.readInteger(u"Line"_s, u"Count"_s, -1), 12);
    SlipData back;
    SlipFile::read(ini, back, sstAll, sampleContext());
    QCOMPARE(back.rows, RowTransfer::storedRows(slip.rows));
    QCOMPARE(back.custName, slip.custName);
    QCOMPARE(back.partTotal, slip.partTotal);
    QCOMPARE(ini.readBool(u"Line"_s, u"DigitType00005"_s, false), true);
    for (int i = 0; i < 12; ++i) {
        const QString reduced = ini.readString(u"Line"_s, SlipFile::rowKey(u"Reduced"_s, i));
        QCOMPARE(reduced, (i == 3 || i == 7) ? u"※"_s : QString());
    }
    // The keys only a print format reads sit beside the slip's own.
    QVERIFY(ini.valueExists(u"Price"_s, u"Base10"_s));
    QVERIFY(ini.valueExists(u"Price"_s, u"Tax8"_s));
    QVERIFY(ini.valueExists(u"Invoice"_s, u"RegNo"_s));

    // A second slip replaces the whole file.
    QVERIFY(PrintPipeline::writeSnapshot(path, sampleSlip(2), sampleContext(), QString(), &error));
    QCOMPARE(IniFile(path).readInteger(u"Line"_s, u"Count"_s, -1), 2);
    QVERIFY(!IniFile(path).valueExists(u"Line"_s, u"TextA00011"_s));
}

void TestPrintSnapshot::unmappableCharactersPrintOrStopTheWrite()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"snapshot"_s);
    SlipData slip = sampleSlip(3);
    slip.rows[1].TextA = u"𠮷野家"_s;

    QString unmappable;
    QString error;
    QVERIFY(PrintPipeline::writeSnapshot(path, slip, sampleContext(), QString(), &error, &unmappable));
    QCOMPARE(unmappable, u"𠮷"_s);
    QCOMPARE(IniFile(path).readString(u"Line"_s, u"TextA00001"_s), u"?野家"_s);

    QFile::remove(path);
    QVERIFY(!PrintPipeline::writeSnapshot(path, slip, sampleContext(), QString(), &error));
    QVERIFY(error.contains(u"𠮷"_s));
    QVERIFY(!QFile::exists(path));
}

QTEST_APPLESS_MAIN(TestPrintSnapshot)
#include "tst_printsnapshot.moc"
