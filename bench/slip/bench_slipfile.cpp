// Save and load of a slip with many line items: one parse and one write per
// file, so the cost grows linearly with the row count.
#include "platform/IniFile.h"
#include "slip/SlipFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

SlipFile::Context context()
{
    return {LineCategoryList::fromLines({QStringLiteral("整備,1"), QStringLiteral("部品,2"),
                                         QStringLiteral("値引,3"), QStringLiteral("小計,4")}),
            QDate(2026, 12, 10)};
}

SlipData slipWithRows(int rows)
{
    SlipData s = SlipData::newSlip(QDate(2026, 12, 10));
    s.custName = QStringLiteral("山田 太郎");
    for (int i = 0; i < rows; ++i) {
        TRowData r;
        r.LineDiv = (i % 3 == 0) ? QStringLiteral("整備") : QStringLiteral("部品");
        r.TextA = QStringLiteral("ブレーキパッド交換 フロント左右 %1").arg(i);
        r.WorkName = QStringLiteral("交換");
        r.WorkPoint = 5000;
        r.WorkPrice = 40000000;
        r.Count = 2 * Fixed::One;
        r.UnitPrice = 12345678;
        r.Price = 24691356;
        s.rows.append(r);
    }
    return s;
}

void SaveAndLoad(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.tvx"));
    const SlipData slip = slipWithRows(int(state.range(0)));
    const SlipFile::Context ctx = context();
    for (auto _ : state) {
        QFile::remove(path);
        {
            IniFile ini(path);
            QString error;
            if (!SlipFile::save(ini, slip, sstAll, ctx, &error))
                state.SkipWithError("save failed");
        }
        SlipData back;
        SlipFile::read(IniFile(path), back, sstAll, ctx);
        benchmark::DoNotOptimize(back.rows.size());
    }
    state.SetComplexityN(state.range(0));
}

// Saving over an existing file (the everyday "上書き保存"): every key is updated in place.
void SaveOverExisting(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.tvx"));
    const SlipData slip = slipWithRows(int(state.range(0)));
    const SlipFile::Context ctx = context();
    {
        IniFile ini(path);
        SlipFile::save(ini, slip, sstAll, ctx, nullptr);
    }
    for (auto _ : state) {
        IniFile ini(path);
        SlipFile::save(ini, slip, sstAll, ctx, nullptr);
    }
    state.SetComplexityN(state.range(0));
}

} // namespace

BENCHMARK(SaveAndLoad)
    ->Arg(1000)
    ->Arg(2000)
    ->Arg(4000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(SaveOverExisting)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
