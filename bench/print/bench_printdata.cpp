// Print data generation for a slip of N line items through the bundled
// delivery note format, two copies, written to a file as a print run does.
//
//   build/bin/bench_printdata --benchmark_filter=PrintData
#include "platform/Cp932.h"
#include "print/TSlipMakeDBM.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

QString writeSlip(const QTemporaryDir &dir, int lines)
{
    QString s = u"[No]\r\nSlipCode=00001234\r\nSlipDiv=2\r\nSlipDate=2024/11/05\r\n"
                u"[Cust]\r\nName=山田 太郎\r\nCustNameTitle=山田 太郎  様\r\n"
                u"[Price]\r\nLast=1234567\r\nTtl=1122334\r\n[Line]\r\nCount="_s +
                QString::number(lines) + u"\r\n"_s;
    static const char16_t *const divs[] = {u"整備", u"部品", u"部品", u"値引", u"小計"};
    for (int i = 0; i < lines; ++i) {
        const QString n = QString::number(i).rightJustified(5, u'0');
        const int kind = i % 5;
        const bool discount = kind == 3;
        s += u"LineDiv"_s + n + u'=' + QString::fromUtf16(divs[kind]) + u"\r\n"_s;
        s += u"TextA"_s + n + u"=ブレーキパッド 交換 "_s + QString::number(i) + u"\r\n"_s;
        s += u"WorkName"_s + n + u"=交換\r\n"_s;
        s += u"WorkPoint"_s + n + u"=1.5\r\n"_s;
        s += u"WorkPrice"_s + n + (discount ? u"=-2475\r\n"_s : u"=2475\r\n"_s);
        s += u"Count"_s + n + u"=2\r\n"_s;
        s += u"UnitPrice"_s + n + u"=4400\r\n"_s;
        s += u"Price"_s + n + (discount ? u"=-8800\r\n"_s : u"=8800\r\n"_s);
        s += u"DigitType"_s + n + (discount ? u"=1\r\n"_s : u"=0\r\n"_s);
    }
    const QString path = dir.filePath(u"slip.tvx"_s);
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(Cp932::encode(s));
    return path;
}

void BM_PrintData(benchmark::State &state)
{
    QTemporaryDir dir;
    PrintRunInputs in;
    in.snapshotPath = writeSlip(dir, int(state.range(0)));
    in.formatPath = QStringLiteral(TORVANE_DATA "/Dat/Fmt/納品請求書.fmt");
    in.scriptPath = dir.filePath(u"PrTmpDat"_s);
    in.titles = {u"納品請求書"_s, u"納品請求書(控)"_s, QString(), QString()};
    in.enabled = {true, true, false, false};
    for (auto _ : state) {
        TSlipMakeDBM dbm(in);
        QString path;
        if (!dbm.MakePrintData(path) || path.isEmpty()) {
            state.SkipWithError(qPrintable(dbm.errorString()));
            break;
        }
    }
    state.SetComplexityN(state.range(0));
    state.counters["script_bytes"] = double(QFile(in.scriptPath).size());
}

} // namespace

BENCHMARK(BM_PrintData)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

BENCHMARK_MAIN();
