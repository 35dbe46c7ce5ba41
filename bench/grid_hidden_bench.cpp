// Hidden rows of a 100,000 x 10 grid: hiding every second row as one filter level and showing
// it again, beside a copy of every row's strings out of the same grid; and mapping every row
// between display and real indices with 50,000 rows hidden, beside std::lower_bound over a
// sorted vector of the hidden rows.
#include "bench/BenchMain.h"
#include "grid/core/ProGrid.h"
#include <algorithm>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 10;

struct TScene
{
    std::unique_ptr<TProStringGrid> grid = std::make_unique<TProStringGrid>(nullptr);
    std::unique_ptr<TIntList> everySecond = std::make_unique<TIntList>(0, 0);

    TScene()
    {
        grid->SetColCount(kCols);
        grid->SetRowCount(kRows);
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c)
                grid->SetCells(c, r, QString::number(r * kCols + c));
        for (int r = 1; r < kRows; r += 2)
            everySecond->Add(r);
    }
};

TScene *g_scene = nullptr;

void BM_CopyRowStrings(benchmark::State &state)
{
    TProStringGrid &g = *g_scene->grid;
    for (auto _ : state) {
        std::vector<std::unique_ptr<TStringList>> rows;
        rows.reserve(kRows);
        for (int r = 0; r < kRows; ++r) {
            auto l = std::make_unique<TStringList>();
            for (int c = 0; c < kCols; ++c)
                l->AddObject(g.GetGridCell(c, r), g.GetGridObject(c, r));
            rows.push_back(std::move(l));
        }
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(BM_CopyRowStrings)->Unit(benchmark::kMillisecond);

void BM_HideAndRestoreEverySecondRow(benchmark::State &state)
{
    TProStringGrid &g = *g_scene->grid;
    for (auto _ : state) {
        g.HideRowList(g_scene->everySecond.get());
        g.UnHideRowList();
        g.SetFilterLevel(g.FilterLevel() - 1);
    }
    if (g.RowCount() != kRows || g.GetGridCell(3, kRows - 1) != QString::number((kRows - 1) * kCols + 3))
        state.SkipWithError("rows not restored");
}
BENCHMARK(BM_HideAndRestoreEverySecondRow)->Unit(benchmark::kMillisecond);

void BM_LowerBoundBaseline(benchmark::State &state)
{
    std::vector<int> hidden;
    for (int r = 1; r < kRows; r += 2)
        hidden.push_back(r);
    for (auto _ : state) {
        long sum = 0;
        for (int d = 0; d < kRows - int(hidden.size()); ++d)
            sum += std::lower_bound(hidden.begin(), hidden.end(), d) - hidden.begin();
        for (int r = 0; r < kRows; ++r)
            sum += std::lower_bound(hidden.begin(), hidden.end(), r) - hidden.begin();
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_LowerBoundBaseline)->Unit(benchmark::kMillisecond);

void BM_MapEveryRowBothWays(benchmark::State &state)
{
    TProStringGrid &g = *g_scene->grid;
    g.HideRowList(g_scene->everySecond.get());
    for (auto _ : state) {
        long sum = 0;
        for (int d = 0; d < g.RowCount(); ++d)
            sum += g.RealRowIndex(d);
        for (int r = 0; r < kRows; ++r)
            sum += g.DisplRowIndex(r);
        benchmark::DoNotOptimize(sum);
    }
    if (g.RealRowIndex(1) != 2 || g.DisplRowIndex(kRows - 2) != kRows / 2 - 1)
        state.SkipWithError("wrong mapping");
    g.UnHideRowList();
    g.SetFilterLevel(0);
}
BENCHMARK(BM_MapEveryRowBothWays)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return RunWidgetBenchmarks(argc, argv, [] { g_scene = new TScene; }, [] { delete g_scene; });
}
