// The whole Macroecology run offscreen (options, Run, results window, charts) on 10,000 points
// with 5,000 iterations, beside the bare DoSims iterations of the same run; the ratio of the two is
// printed at the end.
#include "bench/BenchForms.h"
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/System.h"
#include "models/macroecology/MacroecologyMain.h"
#include "models/macroecology/MacroecologyOpts.h"
#include "models/macroecology/MacroecologyUserDefined.h"
#include "workspace/ProgressSims.h"
#include "workspace/TarvixHelpers.h"
#include "workspace/TarvixMain.h"

#include <QApplication>
#include <QDir>
#include <QTimer>
#include "bench/BenchRatio.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int Points = 10000;
constexpr int Iterations = 5000;

void SetUp()
{
    StartMainWindow();
    MacroecologyOpts = CreateForm<TMacroecologyOpts>();
    MacroEcology = CreateForm<TMacroEcology>();
    MacroEcologyUD1 = CreateForm<TMacroEcologyUD1>();
    MacroEcologyUD2 = CreateForm<TMacroEcologyUD2>();
    TProStringGrid *g = Tarvix->MainGrid;
    g->SetRowCount(Points + 1);
    g->SetColCount(3);
    g->SetCells(1, 0, QStringLiteral("area"));
    g->SetCells(2, 0, QStringLiteral("range"));
    RandSeed = 23;
    for (int r = 1; r <= Points; ++r) {
        g->SetCells(0, r, QStringLiteral("sp%1").arg(r));
        const double x = 1 + 99 * Random();
        g->SetCells(1, r, FloatToStr75(x));
        g->SetCells(2, r, FloatToStr75(Random() * (101 - x)));
    }
    MacroecologyOpts->ColumnTitlesToList();
    MacroecologyOpts->PatternGroup->SetItemIndex(mpLeftTriangle);
    MacroecologyOpts->BoundaryGroup->SetItemIndex(mbUpperRight);
    MacroecologyOpts->SymmetryGroup->SetItemIndex(msAsymmetric);
    MacroecologyOpts->IterationsEdit->SetText(QString::number(Iterations));
    MacroecologyOpts->RandomSeedEdit->SetText(QStringLiteral("7"));
    Tarvix->Iterations = Iterations;
}

void BM_MacroecologyRun(benchmark::State &State)
{
    for (auto _ : State) {
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [] {
            if (MacroEcology->Visible()) {
                // The charts are drawn, as the user's first look at them draws them.
                MacroEcology->PageControl1->SetActivePage(MacroEcology->BoundaryChartsSheet);
                MacroEcology->Chart1->Widget()->grab();
                MacroEcology->PageControl1->SetActivePage(MacroEcology->RegressionChartsSheet);
                MacroEcology->Chart3->Widget()->grab();
                MacroEcology->Close();
            }
        });
        timer.start(1);
        MacroEcology->Run();
        if (Tarvix->InterruptFlag || MacroEcology->SimSpaces.size() != size_t(Iterations))
            State.SkipWithError("the run did not finish");
    }
}
BENCHMARK(BM_MacroecologyRun)->Unit(benchmark::kMillisecond)->Iterations(3);

// The run's iterations with nothing around them.
void BM_MacroecologyBareIterations(benchmark::State &State)
{
    TMacroEcology *e = MacroEcology;
    for (auto _ : State) {
        State.PauseTiming();
        RandSeed = 7;
        e->InitMatrices();
        e->MinX = e->xVarsSorted.front();
        e->MaxX = e->xVarsSorted.back();
        e->MinY = e->yVarsSorted.front();
        e->MaxY = e->yVarsSorted.back();
        State.ResumeTiming();
        int32_t within = 0, boundary = 0;
        double slope = 0, ss = 0, dispersion = 0, bslope = 0, bss = 0;
        for (int i = 0; i < Iterations; ++i) {
            e->DoSims(i, within, slope, ss, dispersion, bslope, boundary, bss);
            benchmark::DoNotOptimize(bss);
        }
    }
}
BENCHMARK(BM_MacroecologyBareIterations)->Unit(benchmark::kMillisecond)->Iterations(3);

// Run / bare iterations.
void PrintRatio(TTimesReporter::TValues &Times, TTimesReporter::TValues &)
{
    double run = 0, bare = 0;
    for (const auto &[name, t] : Times) {
        if (name.rfind("BM_MacroecologyRun", 0) == 0) run = t;
        if (name.rfind("BM_MacroecologyBareIterations", 0) == 0) bare = t;
    }
    if (run > 0 && bare > 0) std::printf("run / bare iterations = %.2f\n", run / bare);
}

}  // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    SetUp();
    TTimesReporter reporter(PrintRatio);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    QDir::setCurrent(QDir::tempPath());
    benchmark::Shutdown();
    return 0;
}
