// Print data generation plus page rendering of a whole slip, as one print
// run does it: the bundled invoice format, two copies, every page written to
// its page file. Run one size per process to compare peak memory:
//   build/bin/bench_render --benchmark_filter='/100$'
//   build/bin/bench_render --benchmark_filter='/1000$'
#include "print/FontSetup.h"
#include "print/PageFiles.h"
#include "print/PrintPipeline.h"
#include "print/TMakeMataDBM.h"
#include "print/TPrnPlotY.h"
#include "support/SampleSlip.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

long peakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void BM_PrintDataAndPages(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString app = dir.path() + u'/';
    QDir().mkpath(app + u"Dat/Fmt"_s);
    QDir().mkpath(app + u"Dat/Tmp"_s);
    QDir().mkpath(app + u"Dat/Etc"_s);
    QFile::copy(QStringLiteral(TORVANE_DATA "/Dat/Fmt/納品請求書.fmt"), app + u"Dat/Fmt/納品請求書.fmt"_s);
    QFile::copy(QStringLiteral(TORVANE_DATA "/Dat/Etc/デフォルト.Dat"), app + u"Dat/Etc/デフォルト.Dat"_s);

    PrintPipeline::Job job;
    job.appDir = app;
    job.prefix = u"1"_s;
    job.snapshotPath = app + u"Dat/Tmp/1PrTmpDat2"_s;
    job.formatPath = app + u"Dat/Fmt/納品請求書.fmt"_s;
    job.logoPath = app + u"Dat/Etc/デフォルト.Dat"_s;
    job.titles = {u"納品請求書"_s, u"納品請求書(控)"_s, QString(), QString()};
    job.copies = {true, true, false, false};
    QString error;
    if (!PrintPipeline::writeSnapshot(job.snapshotPath, sampleSlip(int(state.range(0))), sampleContext(),
                                      job.logoPath, &error)) {
        state.SkipWithError(error.toLocal8Bit().constData());
        return;
    }
    // A4 at 600 dpi with the usual 4 mm / 5 mm margins.
    const PageGeometry geometry(QSize(600, 600), QSize(4960, 7016), QSize(4724, 6780), QPoint(94, 118));
    int pages = 0;
    for (auto _ : state) {
        QString script;
        if (!PrintPipeline::makeScript(job, nullptr, &script, &error)) {
            state.SkipWithError(error.toLocal8Bit().constData());
            return;
        }
        TPrnPlotY plot(geometry);
        plot.setPageFiles(app + u"Dat/Tmp/"_s, job.prefix);
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
    state.counters["pages"] = pages;
    state.counters["peakRSS_MB"] = double(peakRssKb()) / 1024.0;
}

} // namespace

BENCHMARK(BM_PrintDataAndPages)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

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
