// The whole Size Overlap run, offscreen: 29,999 iterations over 1,000 sizes drawn from the
// data-defined normal source ("None (size differences)", variance of the segments), beside the
// bare work of the same iterations: the normal draws, the sort and the scan of the segments.
#include "bench/BenchForms.h"
#include "bench/BenchMain.h"
#include "framework/rtl/System.h"
#include "models/overlap_diversity/SizeOverlapHistogram.h"
#include "models/overlap_diversity/SizeOverlapMain.h"
#include "models/overlap_diversity/SizeOverlapOpts.h"
#include "models/overlap_diversity/SizeOverlapUserDefined.h"
#include "workspace/ProgressSims.h"
#include "workspace/TarvixHelpers.h"
#include "workspace/TarvixMain.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

constexpr int Sizes = 1000;
constexpr int Iterations = 29999;

std::vector<double> Observed;

void SetUp()
{
    StartMainWindow();
    SizeOverlap = CreateForm<TSizeOverlap>();
    SizeOverlapOpts = CreateForm<TSizeOverlapOpts>();
    SizeOverLapUD1 = CreateForm<TSizeOverLapUD1>();
    SizeOverLapUD2 = CreateForm<TSizeOverLapUD2>();
    SizeOverLapUD3 = CreateForm<TSizeOverLapUD3>();
    SizeOverLapUD4 = CreateForm<TSizeOverLapUD4>();
    SizeOverLapUD5 = CreateForm<TSizeOverLapUD5>();
    SizeOverLapUD6 = CreateForm<TSizeOverLapUD6>();
    TProStringGrid *g = Tarvix->MainGrid;
    g->SetRowCount(Sizes + 1);
    g->SetColCount(2);
    g->SetCells(1, 0, QStringLiteral("mass"));
    RandSeed = 99;
    for (int r = 1; r <= Sizes; ++r) {
        g->SetCells(0, r, QStringLiteral("sp%1").arg(r));
        const double size = 50 + 10 * RandG(0, 1);
        g->SetCells(1, r, FloatToStr75(size));
        Observed.push_back(LeadingReal(g->Cells(1, r)));
    }
    SizeOverlapOpts->ColumnTitlesToList();
    SizeOverlapOpts->MetricGroup->SetItemIndex(smSegmentVariance);
    SizeOverlapOpts->TransformationGroup->SetItemIndex(stSizeDifferences);
    SizeOverlapOpts->BodySizeDistributionGroupMain->SetItemIndex(sdNormal);
    SizeOverlapOpts->IterationsEdit->SetText(QString::number(Iterations));
    SizeOverlapOpts->RandomSeedEdit->SetText(QStringLiteral("7"));
}

void BM_SizeOverlapRun(benchmark::State &state)
{
    for (auto _ : state) {
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [] {
            if (SizeOverlap->Visible()) SizeOverlap->Close();
        });
        timer.start(1);
        SizeOverlap->Run();
        if (Tarvix->InterruptFlag || SizeOverlap->MetricList.size() != size_t(Iterations))
            state.SkipWithError("the run did not finish");
    }
}
BENCHMARK(BM_SizeOverlapRun)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same draws, sorts and segment scans with nothing around them.
void BM_SizeOverlapBareWork(benchmark::State &state)
{
    std::vector<double> line(Sizes), segments(Sizes - 1), metrics(Iterations);
    double mean = 0, variance = 0;
    MeanVariance(Sizes, Observed, mean, variance);
    const double sd = std::sqrt(variance);
    for (auto _ : state) {
        RandSeed = 7;
        for (int i = 0; i < Iterations; ++i) {
            for (double &v : line) {
                do v = RandG(mean, sd);
                while (!(v > 0));
            }
            std::sort(line.begin(), line.end());
            for (int k = 0; k + 1 < Sizes; ++k) segments[size_t(k)] = line[size_t(k) + 1] - line[size_t(k)];
            double m = 0, ss = 0;
            for (double s : segments) m += s;
            m /= segments.size();
            for (double s : segments) ss += (s - m) * (s - m);
            metrics[size_t(i)] = ss / double(segments.size() - 1);
        }
        benchmark::DoNotOptimize(metrics.data());
    }
}
BENCHMARK(BM_SizeOverlapBareWork)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    return RunWidgetBenchmarks(argc, argv, SetUp, [] { QDir::setCurrent(QDir::tempPath()); });
}
