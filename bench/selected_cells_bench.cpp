// Listing the selected cells of a whole 200 x 2200 matrix (SelectedCellsCount) beside a plain loop
// that packs the same cells into a vector; the ratio is printed at the end.
#include "grid/core/ProGrid.h"

#include "bench/BenchRatio.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

namespace {

constexpr int kCols = 200;
constexpr int kRows = 2200;

TProStringGrid *g_grid = nullptr;

void BM_SelectedCellsCount(benchmark::State &state)
{
    TProStringGrid &g = *g_grid;
    g.SetSelection(GridRect(1, 1, kCols, kRows));
    int n = 0;
    for (auto _ : state) {
        n = g.SelectedCellsCount();
        benchmark::DoNotOptimize(n);
    }
    if (n != kCols * kRows || g.GetSelectedCell(n - 1).X != kCols || g.GetSelectedCell(n - 1).Y != kRows)
        state.SkipWithError("wrong cells listed");
}
BENCHMARK(BM_SelectedCellsCount)->Unit(benchmark::kMillisecond);

void BM_PlainPackedCells(benchmark::State &state)
{
    std::vector<int> cells;
    for (auto _ : state) {
        cells.clear();
        for (int c = 1; c <= kCols; ++c)
            for (int r = 1; r <= kRows; ++r)
                cells.push_back(int((uint32_t(r) << 16) | uint32_t(c)));
        benchmark::DoNotOptimize(cells.data());
    }
}
BENCHMARK(BM_PlainPackedCells)->Unit(benchmark::kMillisecond);

void PrintRatio(TTimesReporter::TValues &Times, TTimesReporter::TValues &)
{
    const double grid = Times["BM_SelectedCellsCount"], plain = Times["BM_PlainPackedCells"];
    if (grid > 0 && plain > 0)
        std::printf("SelectedCellsCount / plain packing loop: %.1f (goal: 3 or less)\n", grid / plain);
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    auto grid = std::make_unique<TProStringGrid>(nullptr);
    grid->SetColCount(kCols + 1);
    grid->SetRowCount(kRows + 1);
    g_grid = grid.get();
    TTimesReporter reporter(PrintRatio);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    g_grid = nullptr;
    grid.reset();
    benchmark::Shutdown();
    return 0;
}
