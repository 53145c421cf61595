// A slip from its file to pages, the bundled invoice format, two copies:
//  - PrintDataAndPages: print data generation plus every page written to its
//    page file, as a preview or print run does it;
//  - FileToPdf: the whole PDF export from the slip file, as --export-pdf does
//    it: the slip read, its totals computed, its print snapshot written, the
//    print data made and every page drawn into the PDF;
//  - FileToPdfFourCopies: the same with all four copies, twice the pages of
//    FileToPdf from the same slip: its peak memory shows what the pages
//    themselves cost. (Four copies of 100,000 lines pass the 64 MB limit
//    of the print data.)
// Each size reports its wall time per run, the time per line item and the
// peak resident memory of that size alone (the process's high-water mark is
// reset before each size), so that growth in line count and in page count
// shows directly:
//   build/bin/bench_render
//   build/bin/bench_render --benchmark_filter=FileToPdf
#include "platform/IniFile.h"
#include "print/FontSetup.h"
#include "print/PageFiles.h"
#include "print/PrintPipeline.h"
#include "print/TMakeMataDBM.h"
#include "print/TPrnPlotY.h"
#include "slip/SlipFile.h"
#include "support/SampleSlip.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fstream>
#include <malloc.h>
#include <string>

using namespace Qt::StringLiterals;

namespace {

// The high-water mark of resident memory (VmHWM) since the last reset, in
// KiB; Linux keeps it per process and lets the process reset it. Memory the
// allocator still holds from making the fixture is given back first, so that
// the mark starts from what the run itself needs.
void resetPeakMemory()
{
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
}

long peakMemoryKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return 0;
}

// An application folder with the invoice format, the default logo setting and
// the line categories; the slip saved as a slip file and written as the print
// snapshot.
struct Fixture {
    QTemporaryDir dir;
    QString app = dir.path() + u'/';
    QString slipPath = app + u"slip.tvx"_s;
    PrintPipeline::Job job;
    QString error;

    explicit Fixture(int lines, int copies = 2)
    {
        for (const char16_t *sub : {u"Dat/Fmt", u"Dat/Tmp", u"Dat/Etc", u"Dat/Mst"})
            QDir().mkpath(app + QString::fromUtf16(sub));
        for (const char16_t *file :
             {u"Dat/Fmt/納品請求書.fmt", u"Dat/Etc/デフォルト.Dat", u"Dat/Mst/LineDiv.dat"})
            QFile::copy(QStringLiteral(TORVANE_DATA "/") + QString::fromUtf16(file),
                        app + QString::fromUtf16(file));
        job.appDir = app;
        job.prefix = u"1"_s;
        job.snapshotPath = app + u"Dat/Tmp/1PrTmpDat2"_s;
        job.formatPath = app + u"Dat/Fmt/納品請求書.fmt"_s;
        job.logoPath = app + u"Dat/Etc/デフォルト.Dat"_s;
        job.titles = {u"納品請求書"_s, u"納品請求書(控)"_s, u"請求書"_s, u"請求書(控)"_s};
        job.copies = {true, copies >= 2, copies >= 3, copies >= 4};
        const SlipData slip = sampleSlip(lines);
        IniFile file(slipPath);
        if (SlipFile::save(file, slip, sstAll, sampleContext(), &error))
            PrintPipeline::writeSnapshot(job.snapshotPath, slip, sampleContext(), job.logoPath, &error);
    }
};

void report(benchmark::State &state, int pages)
{
    state.SetComplexityN(state.range(0));
    if (pages > 0)
        state.counters["pages"] = pages;
    state.counters["peak_MB"] = double(peakMemoryKb()) / 1024.0;
    state.counters["per_line"] = benchmark::Counter(
        double(state.range(0)), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_PrintDataAndPages(benchmark::State &state)
{
    Fixture f(int(state.range(0)));
    if (!f.error.isEmpty()) {
        state.SkipWithError(f.error.toLocal8Bit().constData());
        return;
    }
    // A4 at 600 dpi with the usual 4 mm / 5 mm margins.
    const PageGeometry geometry(QSize(600, 600), QSize(4960, 7016), QSize(4724, 6780), QPoint(94, 118));
    int pages = 0;
    resetPeakMemory();
    for (auto _ : state) {
        QString script;
        QString error;
        if (!PrintPipeline::makeScript(f.job, nullptr, &script, &error)) {
            state.SkipWithError(error.toLocal8Bit().constData());
            return;
        }
        TPrnPlotY plot(geometry);
        plot.setPageFiles(f.app + u"Dat/Tmp/"_s, f.job.prefix);
        TMakeMataDBM renderer;
        renderer.SetScript(script);
        if (renderer.DrawPages(plot) != TMakeMataDBM::Result::Drawn) {
            state.SkipWithError(renderer.errorString().toLocal8Bit().constData());
            return;
        }
        pages = plot.pageCount();
        state.PauseTiming();
        PageFiles::remove(plot.tempDir(), plot.prefix(), pages);
        QFile::remove(script);
        state.ResumeTiming();
    }
    report(state, pages);
}

void fileToPdf(benchmark::State &state, int copies)
{
    Fixture f(int(state.range(0)), copies);
    if (!f.error.isEmpty()) {
        state.SkipWithError(f.error.toLocal8Bit().constData());
        return;
    }
    const QString pdf = f.app + u"out.pdf"_s;
    resetPeakMemory();
    for (auto _ : state) {
        QString error;
        if (!PrintPipeline::snapshotOfFile(f.slipPath, f.job.snapshotPath, f.app, f.job.logoPath, &error) ||
            !PrintPipeline::exportPdf(f.job, pdf, u"bench - Torvane"_s, 0, 0, nullptr, &error)) {
            state.SkipWithError(error.toLocal8Bit().constData());
            return;
        }
    }
    state.counters["pdf_MB"] = double(QFile(pdf).size()) / (1024.0 * 1024.0);
    report(state, 0);
}

void BM_FileToPdf(benchmark::State &state)
{
    fileToPdf(state, 2);
}

void BM_FileToPdfFourCopies(benchmark::State &state)
{
    fileToPdf(state, 4);
}

} // namespace

BENCHMARK(BM_PrintDataAndPages)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_FileToPdf)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    FontSetup::installSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
BENCHMARK(BM_FileToPdfFourCopies)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
