// Sizing columns to their contents: AutoSizeColumns over 100,000 rows of 5 columns of plain text
// against a plain QFontMetrics loop over the same strings. The ratio should stay within 3.
#include "bench/BenchMain.h"
#include "grid/core/ProGrid.h"
#include <QFont>
#include <QFontMetrics>
#include <benchmark/benchmark.h>

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 5;

QString CellText(int c, int r) { return QStringLiteral("species %1 site %2").arg(r * 7 + c * 13).arg(c); }

TProStringGrid *Grid()
{
    static TProStringGrid *g = [] {
        auto *grid = new TProStringGrid(nullptr);
        grid->SetColCount(kCols + 1);
        grid->SetRowCount(kRows + 1);
        for (int r = 1; r <= kRows; ++r)
            for (int c = 1; c <= kCols; ++c)
                grid->SetCells(c, r, CellText(c, r));
        return grid;
    }();
    return g;
}

void BM_PlainFontMetricsLoop(benchmark::State &state)
{
    TProStringGrid *g = Grid();
    const QFont f = g->Font()->ToQFont();
    for (auto _ : state) {
        QFontMetrics fm(f);
        for (int c = 1; c <= kCols; ++c) {
            int widest = 0;
            for (int r = 1; r <= kRows; ++r)
                widest = std::max(widest, fm.horizontalAdvance(g->Cells(c, r)));
            benchmark::DoNotOptimize(widest);
        }
    }
    state.SetItemsProcessed(state.iterations() * kRows * kCols);
}
BENCHMARK(BM_PlainFontMetricsLoop)->Unit(benchmark::kMillisecond);

void BM_AutoSizeColumns(benchmark::State &state)
{
    TProStringGrid *g = Grid();
    for (auto _ : state) {
        g->AutoSizeColumns(false, 0);
        benchmark::DoNotOptimize(g->ColWidths(1));
    }
    state.SetItemsProcessed(state.iterations() * kRows * kCols);
}
BENCHMARK(BM_AutoSizeColumns)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) { return RunWidgetBenchmarks(argc, argv); }
