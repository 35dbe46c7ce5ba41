// Find of a text that no cell holds over 1,000 x 1,000 normal cells, against a plain loop that
// upper-cases and searches the same strings. The ratio should stay within 3.
#include "bench/BenchRatio.h"
#include "framework/rtl/SysUtils.h"
#include "grid/core/ProGrid.h"
#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

constexpr int kSize = 1000;

QString CellText(int c, int r) { return QStringLiteral("Sp%1 site%2").arg(r * 31 + c).arg(c % 17); }

TProStringGrid *Grid()
{
    static TProStringGrid *g = [] {
        auto *grid = new TProStringGrid(nullptr);
        grid->SetColCount(kSize + 1);
        grid->SetRowCount(kSize + 1);
        for (int r = 1; r <= kSize; ++r)
            for (int c = 1; c <= kSize; ++c)
                grid->SetCells(c, r, CellText(c, r));
        return grid;
    }();
    return g;
}

const QString kAbsent = QStringLiteral("no such text");

void BM_PlainUpperSearch(benchmark::State &state)
{
    TProStringGrid *g = Grid();
    const QString needle = AnsiUpperCase(kAbsent);
    for (auto _ : state) {
        int hits = 0;
        for (int c = 1; c <= kSize; ++c)
            for (int r = 1; r <= kSize; ++r)
                hits += AnsiUpperCase(g->GetGridCell(c, r)).contains(needle);
        benchmark::DoNotOptimize(hits);
    }
    state.SetItemsProcessed(state.iterations() * kSize * kSize);
}
BENCHMARK(BM_PlainUpperSearch)->Unit(benchmark::kMillisecond);

void BM_Find(benchmark::State &state)
{
    TProStringGrid *g = Grid();
    for (auto _ : state) {
        const TPoint p = g->Find(TPoint(-1, -1), kAbsent, TFindParams());
        if (p.X != -1)
            state.SkipWithError("found a text no cell holds");
        benchmark::DoNotOptimize(p);
    }
    state.SetItemsProcessed(state.iterations() * kSize * kSize);
}
BENCHMARK(BM_Find)->Unit(benchmark::kMillisecond);

void PrintRatio(TTimesReporter::TValues &Times, TTimesReporter::TValues &)
{
    if (Times.count("BM_Find") && Times["BM_PlainUpperSearch"] > 0)
        std::printf("Find 1000 x 1000, grid / plain loop = %.2f\n", Times["BM_Find"] / Times["BM_PlainUpperSearch"]);
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    TTimesReporter reporter(PrintRatio);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
