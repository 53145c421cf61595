// Line items at slip sizes far beyond real ones: the recompute the host runs
// on every change, painting the visible rows, and the file round trip.
//   QT_QPA_PLATFORM=offscreen build/bin/bench_lines
#include "lines/LineItems.h"
#include "lines/RowText.h"
#include "lines/widgets/SlipGridView.h"
#include "lines/widgets/TSlipGridFrame.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

LineCategoryList categories()
{
    return LineCategoryList::fromLines({u"整備,1"_s, u"部品,2"_s, u"値引,3"_s, u"小計,4"_s});
}

// Labour and parts with a discount and a subtotal every ten rows.
QStringList slipTexts(int n)
{
    QStringList texts;
    for (int i = 0; i < n; ++i) {
        switch (i % 10) {
        case 8:
            texts.append(u"値引,-1,　値引,,0,-100,0,0,-250"_s);
            break;
        case 9:
            texts.append(u"小計,-1,　小計,,0,0,0,0,0"_s);
            break;
        default:
            texts.append(i % 2 ? u"部品,8,\"エンジンオイル 5W-30\",,0,0,3.5,1980,0"_s
                               : u"整備,-1,点検,オイル交換,0.7,0,0,0,0"_s);
            break;
        }
    }
    return texts;
}

QList<TRowData> slipRows(int n)
{
    QList<TRowData> rows;
    for (const QString &text : slipTexts(n))
        rows.append(*RowText::parse(text, categories()));
    return rows;
}

void BM_Recompute(benchmark::State &state)
{
    const LineCategoryList cats = categories();
    const LineItems::Settings settings{10 * Fixed::One, 0, 8000 * Fixed::One};
    const QList<TRowData> fresh = slipRows(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        QList<TRowData> rows = fresh; // every row needs its products again
        state.ResumeTiming();
        LineItems::recalcRows(rows, cats, settings.labourRate);
        benchmark::DoNotOptimize(LineItems::CalcTecTotal(rows, cats));
        benchmark::DoNotOptimize(LineItems::CalcPartTotal(rows, cats));
        benchmark::DoNotOptimize(LineItems::CalcTaxTotal(rows, cats, settings));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_Recompute)->Arg(1000)->Arg(10000)->Complexity(benchmark::oN)->Unit(benchmark::kMicrosecond);

struct GridFixture {
    explicit GridFixture(int n)
    {
        frame.setCategories(categories());
        frame.setTaxRate(10 * Fixed::One);
        frame.setLabourRate(8000 * Fixed::One);
        frame.resize(900, frame.heightForRows(9));
        frame.show();
        frame.ReplaceRows(slipTexts(n));
    }
    TSlipGridFrame frame;
};

// What the host does on every change notification.
void BM_FrameRecomputeAll(benchmark::State &state)
{
    GridFixture g(int(state.range(0)));
    for (auto _ : state) {
        g.frame.RecalcRows();
        benchmark::DoNotOptimize(g.frame.CalcTecTotal());
        benchmark::DoNotOptimize(g.frame.CalcPartTotal());
        benchmark::DoNotOptimize(g.frame.CalcTaxTotal());
    }
}
BENCHMARK(BM_FrameRecomputeAll)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_PaintVisibleRows(benchmark::State &state)
{
    GridFixture g(int(state.range(0)));
    g.frame.setCurrentRow(500);
    QWidget *viewport = g.frame.grid()->viewport();
    QImage image(viewport->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        viewport->render(&image);
        benchmark::DoNotOptimize(image.bits());
    }
}
BENCHMARK(BM_PaintVisibleRows)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_ExportReplace(benchmark::State &state)
{
    GridFixture g(int(state.range(0)));
    QStringList texts;
    for (auto _ : state) {
        g.frame.ExportRows(texts);
        g.frame.ReplaceRows(texts);
    }
}
BENCHMARK(BM_ExportReplace)->Arg(1000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
