// Statistics routines over one analysis's worth of simulated values.
#include "workspace/TarvixHelpers.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

const int32_t N = 100000;

std::vector<double> Values()
{
    std::mt19937 gen(42);
    std::normal_distribution<double> dist(10, 3);
    std::vector<double> v(N);
    for (double &x : v) x = dist(gen);
    return v;
}

void BM_TailProbabilities(benchmark::State &state)
{
    const auto v = Values();
    double p1, p2;
    int32_t greater, equal, less;
    for (auto _ : state) {
        TailProbabilities(v, 10.0, N, p1, p2, greater, equal, less);
        benchmark::DoNotOptimize(p1);
    }
}
BENCHMARK(BM_TailProbabilities);

void BM_BuildHistogram(benchmark::State &state)
{
    auto v = Values();
    std::sort(v.begin(), v.end());
    QString marker;
    for (auto _ : state) {
        BuildHistogram(N - 1, v, 10.0, marker);
        benchmark::DoNotOptimize(HistogramCounts.data());
    }
}
BENCHMARK(BM_BuildHistogram);

void BM_QuickSortReal(benchmark::State &state)
{
    const auto source = Values();
    std::vector<double> v;
    for (auto _ : state) {
        state.PauseTiming();
        v = source;
        state.ResumeTiming();
        QuickSortReal(v, 0, N - 1);
        benchmark::DoNotOptimize(v.data());
    }
}
BENCHMARK(BM_QuickSortReal);

void BM_QuickSortRealSorted(benchmark::State &state)
{
    auto v = Values();
    std::sort(v.begin(), v.end());
    for (auto _ : state) {
        QuickSortReal(v, 0, N - 1);
        benchmark::DoNotOptimize(v.data());
    }
}
BENCHMARK(BM_QuickSortRealSorted);

} // namespace

BENCHMARK_MAIN();
