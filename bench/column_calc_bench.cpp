// ColumnSum over 100,000 rows of number texts, against a plain loop that converts the same
// texts with NumberTextToDecimal and StrToFloat.
#include "bench/BenchMain.h"
#include "grid/core/ProGrid.h"
#include "grid/core/ProUtil.h"
#include <benchmark/benchmark.h>

namespace {
constexpr int Rows = 100000;

QString RowText(int r) { return QString::number(r % 1000) + QStringLiteral(".25"); }

// Made after the application object and freed before it.
TProStringGrid *g_grid = nullptr;

void BM_ColumnSum(benchmark::State &state)
{
    double sum = 0;
    for (auto _ : state) {
        sum = g_grid->ColumnSum(1, 1, Rows);
        benchmark::DoNotOptimize(sum);
    }
    state.counters["rows"] = Rows;
}
BENCHMARK(BM_ColumnSum)->Unit(benchmark::kMillisecond);

void BM_PlainLoopSum(benchmark::State &state)
{
    QStringList texts;
    for (int r = 1; r <= Rows; ++r)
        texts << RowText(r);
    double sum = 0;
    for (auto _ : state) {
        sum = 0;
        for (const QString &t : texts)
            sum += StrToFloat(NumberTextToDecimal(t));
        benchmark::DoNotOptimize(sum);
    }
    state.counters["rows"] = Rows;
}
BENCHMARK(BM_PlainLoopSum)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char **argv)
{
    return RunWidgetBenchmarks(
        argc, argv,
        [] {
            g_grid = new TProStringGrid(nullptr);
            g_grid->SetColCount(3);
            g_grid->SetRowCount(Rows + 1);
            for (int r = 1; r <= Rows; ++r)
                g_grid->SetCells(1, r, RowText(r));
        },
        [] { delete g_grid; });
}
