// One Macroecology iteration (DoSims: the y values shuffled, then the six statistics) on 100,000
// points, for every shape and boundary and both placements of the lines, beside the same
// iteration taking the medians by sorting the observed values at each computation.
#include "bench/BenchForms.h"
#include "bench/BenchMain.h"
#include "framework/rtl/System.h"
#include "models/macroecology/MacroecologyMain.h"
#include "models/macroecology/MacroecologyOpts.h"
#include "models/macroecology/MacroecologySims.h"
#include "workspace/TarvixHelpers.h"

#include <QDir>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

constexpr int Points = 100000;

void SetUp()
{
    StartMainWindow();
    MacroecologyOpts = CreateForm<TMacroecologyOpts>();
    MacroEcology = CreateForm<TMacroEcology>();
    RandSeed = 17;
    TMacroEcology *e = MacroEcology;
    e->xVariableList.resize(Points);
    e->yVariableList.resize(Points);
    for (int k = 0; k < Points; ++k) {
        e->xVariableList[k] = 1 + 99 * Random();
        // A wedge: y bounded by a line through the cloud.
        e->yVariableList[k] = Random() * (101 - e->xVariableList[k]);
    }
    e->xVarsSorted = e->xVariableList;
    e->yVarsSorted = e->yVariableList;
    QuickSortReal(e->xVarsSorted, 0, Points - 1);
    QuickSortReal(e->yVarsSorted, 0, Points - 1);
}

void Choose(const benchmark::State &State)
{
    MacroecologyOpts->PatternGroup->SetItemIndex(int(State.range(0)));
    MacroecologyOpts->BoundaryGroup->SetItemIndex(int(State.range(1)));
    MacroecologyOpts->SymmetryGroup->SetItemIndex(int(State.range(2)));
    MacroecologyOpts->ConstraintsGroup->OnClick = nullptr;
    MacroecologyOpts->ConstraintsGroup->SetItemIndex(mcDataDefined);
}

void BM_DoSims(benchmark::State &State)
{
    Choose(State);
    TMacroEcology *e = MacroEcology;
    int32_t within = 0, boundary = 0;
    double slope = 0, ss = 0, dispersion = 0, bslope = 0, bss = 0;
    RandSeed = 5;
    for (auto _ : State) {
        e->DoSims(0, within, slope, ss, dispersion, bslope, boundary, bss);
        benchmark::DoNotOptimize(bss);
    }
}

// The same iteration taking its medians with MedianReal: the sorted observed values
// sorted again at every computation.
void BM_DoSimsSortingMedians(benchmark::State &State)
{
    Choose(State);
    TMacroEcology *e = MacroEcology;
    TSimContext ctx;
    TMacroStatistics s;
    TMacroSegment seg;
    RandSeed = 5;
    for (auto _ : State) {
        TMacroBox box{e->MinX, e->MaxX, e->MinY, e->MaxY};
        RandomizeCloud(mcDataDefined, e->xVariableList, e->yVariableList, e->xVarsSorted, e->yVarsSorted, {}, ctx, box);
        double medX = 0, medY = 0;
        MedianReal(e->xVarsSorted, medX);
        MedianReal(e->yVarsSorted, medY);
        if (State.range(2) == msSymmetric)
            MacroSymmetric(e->xVariableList, e->yVariableList, box, medX, medY, int(State.range(0)),
                           int(State.range(1)), s, seg);
        else
            MacroAsymmetric(e->xVariableList, e->yVariableList, box, medX, medY, int(State.range(0)),
                            int(State.range(1)), s, seg);
        benchmark::DoNotOptimize(s);
    }
}

void Shapes(benchmark::internal::Benchmark *b)
{
    b->ArgNames({"shape", "boundary", "asym"});
    for (int symmetry = 0; symmetry < 2; ++symmetry)
        for (int p = 0; p < 4; ++p)
            for (int c = 0; c < 4; ++c) b->Args({p, c, symmetry});
}

BENCHMARK(BM_DoSims)->Apply(Shapes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DoSimsSortingMedians)->Apply(Shapes)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char **argv)
{
    return RunWidgetBenchmarks(argc, argv, SetUp, [] { QDir::setCurrent(QDir::tempPath()); });
}
