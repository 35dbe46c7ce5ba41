// One accumulation pass over all 100,000 individuals of 1,000 species: the cumulative search of
// the species diversity draws beside the linear walk it replaces. Both take the same random
// numbers; the first run checks that they give the same sample.
#include "framework/rtl/System.h"
#include "models/overlap_diversity/SpeciesDiversitySims.h"

#include <benchmark/benchmark.h>
#include <numeric>
#include <vector>

namespace {

constexpr int32_t Species = 1000;
constexpr int32_t Individuals = 100000;

std::vector<int32_t> Counts()
{
    RandSeed = 4242;
    std::vector<int32_t> c(Species);
    for (int32_t &x : c) x = 1 + Random(199);
    const int32_t sum = std::accumulate(c.begin(), c.end(), 0);
    // Brings the total to exactly 100,000 through the largest species.
    auto most = std::max_element(c.begin(), c.end());
    *most += Individuals - sum;
    return c;
}

void LinearWalk(std::vector<int32_t> Pool, std::vector<int32_t> &Sample)
{
    int32_t remaining = Individuals;
    for (int32_t i = 0; i < Individuals; ++i) {
        const int32_t r = 1 + Random(remaining);
        size_t s = 0;
        int32_t sum = Pool[0];
        while (sum < r) sum += Pool[++s];
        ++Sample[s];
        --Pool[s];
        --remaining;
    }
}

void CumulativeSearch(TSpeciesDiversitySims &Sims, const std::vector<int32_t> &Pool, std::vector<int32_t> &Sample)
{
    TIndividualPool pool;
    pool.Assign(Pool);
    Sims.individualsCount = Individuals;
    Sims.Accumulation_DoRandomDraw(Individuals, pool, Sample);
}

// The sample after the first 50,000 draws (the full pass returns the pool itself).
bool SameSample(const std::vector<int32_t> &Pool)
{
    TSpeciesDiversitySims sims;
    std::vector<int32_t> a(Species), b(Species);
    RandSeed = 99;
    TIndividualPool pool;
    pool.Assign(Pool);
    sims.Accumulation_DoRandomDraw(Individuals / 2, pool, a);
    RandSeed = 99;
    std::vector<int32_t> walk = Pool;
    int32_t remaining = Individuals;
    for (int32_t i = 0; i < Individuals / 2; ++i) {
        const int32_t r = 1 + Random(remaining--);
        size_t s = 0;
        int32_t sum = walk[0];
        while (sum < r) sum += walk[++s];
        ++b[s];
        --walk[s];
    }
    return a == b;
}

void BM_AccumulationPassLinearWalk(benchmark::State &state)
{
    const std::vector<int32_t> pool = Counts();
    std::vector<int32_t> sample(Species);
    for (auto _ : state) {
        RandSeed = 7;
        std::fill(sample.begin(), sample.end(), 0);
        LinearWalk(pool, sample);
        benchmark::DoNotOptimize(sample.data());
    }
}
BENCHMARK(BM_AccumulationPassLinearWalk)->Unit(benchmark::kMillisecond);

void BM_AccumulationPassCumulativeSearch(benchmark::State &state)
{
    const std::vector<int32_t> pool = Counts();
    if (!SameSample(pool)) state.SkipWithError("the cumulative search drew another sample than the walk");
    TSpeciesDiversitySims sims;
    std::vector<int32_t> sample(Species);
    for (auto _ : state) {
        RandSeed = 7;
        std::fill(sample.begin(), sample.end(), 0);
        CumulativeSearch(sims, pool, sample);
        benchmark::DoNotOptimize(sample.data());
    }
}
BENCHMARK(BM_AccumulationPassCumulativeSearch)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
