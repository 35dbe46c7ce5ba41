// An individual-based rarefaction of 50 default levels x 9,999 iterations over 3,400 species, as
// the results window runs it offscreen, beside the same draws and indices in a bare loop. The
// run's own cost (event slices, progress, tables, curve statistics, grids) is the difference.
#include "bench/BenchForms.h"
#include "bench/BenchMain.h"
#include "framework/rtl/System.h"
#include "models/overlap_diversity/SpeciesDiversityLevels.h"
#include "models/overlap_diversity/SpeciesDiversityMain.h"
#include "models/overlap_diversity/SpeciesDiversityOpts.h"
#include "workspace/ProgressSims.h"
#include "workspace/TarvixMain.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

namespace {

constexpr int32_t Species = 3400;
constexpr int32_t Iterations = 9999;

std::vector<int32_t> Observed;

void SetUp()
{
    StartMainWindow();
    SpeciesDiversityOpts = CreateForm<TSpeciesDiversityOpts>();
    SpeciesDiversity = CreateForm<TSpeciesDiversity>();
    AbundanceLevelsOpts = CreateForm<TAbundanceLevelsOpts>();
    TProStringGrid *g = Tarvix->MainGrid;
    g->SetRowCount(Species + 1);
    g->SetColCount(2);
    g->SetCells(1, 0, QStringLiteral("site1"));
    for (int r = 1; r <= Species; ++r) {
        g->SetCells(0, r, QStringLiteral("sp%1").arg(r));
        g->SetCells(1, r, QStringLiteral("1"));
        Observed.push_back(1);
    }
    Tarvix->Iterations = Iterations;
    SpeciesDiversityOpts->ColumnTitlesToList();
    SpeciesDiversityOpts->IndexList->SetItemIndex(diHurlbertsPIE);
    SpeciesDiversityOpts->RandomizationGroup->SetItemIndex(daRarefaction);
    SpeciesDiversityOpts->RandomSeedEdit->SetText(QStringLiteral("11"));
}

void BM_RarefactionRun(benchmark::State &state)
{
    for (auto _ : state) {
        QTimer timer;
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [] {
            if (SpeciesDiversity->Visible()) SpeciesDiversity->Close();
        });
        timer.start();
        SpeciesDiversity->Run();
        if (SpeciesDiversity->DiversityCurveStringGrid->RowCount() != 52) state.SkipWithError("the run did not finish");
    }
}
BENCHMARK(BM_RarefactionRun)->Unit(benchmark::kMillisecond)->Iterations(1);

// The same draws and indices, stored and nothing else.
void BM_RarefactionBareDrawsAndIndices(benchmark::State &state)
{
    TSpeciesDiversitySims sims;
    sims.Index = diHurlbertsPIE;
    std::vector<int32_t> levels;
    sims.NumLevels = 50;
    sims.setDefaultAbundanceLevels(Species, levels);
    std::vector<int32_t> sample(Species);
    std::vector<double> table(levels.size() * Iterations);
    for (auto _ : state) {
        RandSeed = 11;
        for (size_t v = 0; v < levels.size(); ++v)
            for (int32_t it = 0; it < Iterations; ++it) {
                std::fill(sample.begin(), sample.end(), 0);
                sims.DoRandomDraw(levels[v], Observed, sample);
                sims.DetermineIndex(sample, levels[v]);
                table[v * Iterations + static_cast<size_t>(it)] = sims.indexResult;
            }
        benchmark::DoNotOptimize(table.data());
    }
}
BENCHMARK(BM_RarefactionBareDrawsAndIndices)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    return RunWidgetBenchmarks(argc, argv, SetUp, [] { QDir::setCurrent(QDir::tempPath()); });
}
