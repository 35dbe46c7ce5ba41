// Presence-absence engine: each figure runs twice, once through the engine and once the
// straightforward way (nested loops over the Matrix layout, events let in on every swap
// attempt), so that the two lines print one above the other.
#include "framework/rtl/System.h"
#include "models/presence_absence/CoOccurrenceSims.h"
#include "models/presence_absence/SwapChainIndex.h"
#include "tests/tarvix/presence_absence/Fixtures.h"
#include "workspace/TarvixHelpers.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

namespace {

double PackedCScore(const Matrix &m, std::vector<double> &units)
{
    CScoreUnits(m, FullInfo(m), units);
    double mean, variance;
    MeanVariance(static_cast<int32_t>(units.size()), units, mean, variance);
    return mean;
}

double DirectCScore(const Matrix &M, std::vector<double> &units)
{
    const int32_t s = M.Cols() - 1, n = M.Rows() - 1;
    size_t k = 0;
    for (int32_t i = 1; i < n; ++i)
        for (int32_t j = i + 1; j <= n; ++j) {
            int32_t ri = 0, rj = 0, both = 0;
            for (int32_t c = 1; c <= s; ++c) {
                ri += M[c][i] == 1;
                rj += M[c][j] == 1;
                both += M[c][i] == 1 && M[c][j] == 1;
            }
            units[k++] = static_cast<double>(static_cast<int64_t>(ri - both) * (rj - both));
        }
    double mean, variance;
    MeanVariance(static_cast<int32_t>(units.size()), units, mean, variance);
    return mean;
}

double DirectCheckerboards(const Matrix &M)
{
    const int32_t s = M.Cols() - 1, n = M.Rows() - 1;
    double count = 0;
    for (int32_t i = 1; i < n; ++i)
        for (int32_t j = i + 1; j <= n; ++j) {
            if (M[0][i] == 0 || M[0][j] == 0) continue;
            int32_t c = 1;
            while (c <= s && !(M[c][i] == 1 && M[c][j] == 1)) ++c;
            count += c > s;
        }
    return count;
}

double DirectCombinations(const Matrix &M)
{
    const int32_t s = M.Cols() - 1, n = M.Rows() - 1;
    std::vector<bool> marked(static_cast<size_t>(s) + 1, true);
    for (int32_t c = 1; c < s; ++c)
        for (int32_t d = c + 1; d <= s; ++d) {
            int32_t r = 1;
            while (r <= n && M[c][r] == M[d][r]) ++r;
            if (r > n) marked[static_cast<size_t>(c)] = false;
        }
    double count = 0;
    for (int32_t c = 1; c <= s; ++c) count += marked[static_cast<size_t>(c)];
    return count;
}

// The swap as first written: events let in on every attempt.
void DirectSwap(Matrix &Q)
{
    const int32_t R = Q.Rows() - 1, C = Q.Cols() - 1;
    for (;;) {
        QCoreApplication::processEvents();
        const int32_t r1 = Random(R) + 1, c1 = Random(C) + 1, r2 = Random(R) + 1, c2 = Random(C) + 1;
        int32_t &a = Q[c1][r1], &b = Q[c2][r2], &c = Q[c2][r1], &d = Q[c1][r2];
        if (a * b + c * d == 1 && a + b + c + d == 2) {
            a = 1 - a;
            b = 1 - b;
            c = 1 - c;
            d = 1 - d;
            return;
        }
    }
}

// Runs one index computation and shows its value beside the time.
template <typename F>
void RunIndex(benchmark::State &state, F Index)
{
    double value = 0;
    for (auto _ : state) {
        // Through a const value: the read-write form of DoNotOptimize garbles doubles on GCC.
        const double v = Index();
        benchmark::DoNotOptimize(v);
        value = v;
    }
    state.counters["value"] = value;
}

Matrix Square(const benchmark::State &state, uint32_t Seed)
{
    return RandomMatrix(state.range(0), state.range(0), state.range(1) / 100.0, Seed);
}

template <typename F>
double WholeIndex(F Routine, const Matrix &m)
{
    std::vector<double> out(1);
    Routine(m, FullInfo(m), out);
    return out[0];
}

void Sizes(benchmark::internal::Benchmark *b) { b->Args({100, 30})->Args({500, 30})->Unit(benchmark::kMicrosecond); }

void BM_CScore_Packed(benchmark::State &state)
{
    const Matrix m = Square(state, 1);
    std::vector<double> units(static_cast<size_t>(state.range(0) * (state.range(0) - 1) / 2));
    RunIndex(state, [&] { return PackedCScore(m, units); });
}
BENCHMARK(BM_CScore_Packed)->Apply(Sizes);

void BM_CScore_Direct(benchmark::State &state)
{
    const Matrix m = Square(state, 1);
    std::vector<double> units(static_cast<size_t>(state.range(0) * (state.range(0) - 1) / 2));
    RunIndex(state, [&] { return DirectCScore(m, units); });
}
BENCHMARK(BM_CScore_Direct)->Apply(Sizes);

void BM_Checkerboards_Packed(benchmark::State &state)
{
    const Matrix m = Square(state, 2);
    RunIndex(state, [&] { return WholeIndex(CheckerboardCount, m); });
}
BENCHMARK(BM_Checkerboards_Packed)->Args({500, 5})->Unit(benchmark::kMicrosecond);

void BM_Checkerboards_Direct(benchmark::State &state)
{
    const Matrix m = Square(state, 2);
    RunIndex(state, [&] { return DirectCheckerboards(m); });
}
BENCHMARK(BM_Checkerboards_Direct)->Args({500, 5})->Unit(benchmark::kMicrosecond);

// Few species, so that many site columns repeat.
void BM_Combinations_Packed(benchmark::State &state)
{
    const Matrix m = RandomMatrix(8, state.range(0), 0.3, 3);
    RunIndex(state, [&] { return WholeIndex(SpeciesCombinations, m); });
}
BENCHMARK(BM_Combinations_Packed)->Arg(2000)->Unit(benchmark::kMicrosecond);

void BM_Combinations_Direct(benchmark::State &state)
{
    const Matrix m = RandomMatrix(8, state.range(0), 0.3, 3);
    RunIndex(state, [&] { return DirectCombinations(m); });
}
BENCHMARK(BM_Combinations_Direct)->Arg(2000)->Unit(benchmark::kMicrosecond);

// 5,000 iterations of the sequential swap on 100 x 100 at 30% fill, burn-in included, as the run
// drives them: the bare chain (no index), the index followed along the chain, and the index
// counted in full on a copy of every matrix. The argument is the index (TPresenceIndex):
// 0 C-score, 1 checkerboards, 2 combinations, 4 relative overlap, 5 union, 6 overlap.
constexpr int32_t SequentialIterations = 5000;

Matrix SequentialFixture() { return RandomMatrix(100, 100, 0.3, 4); }

void SequentialSims(TCoOccurrenceSims &sims, const Matrix &P, bool InPlace)
{
    sims.Context.ProcessMessages = [] { QCoreApplication::processEvents(); };
    sims.RowGroup = cnFixedSum;
    sims.ColumnGroup = cnFixedSum;
    sims.FixedFixedGroup = ffSequentialSwap;
    sims.Iterations = SequentialIterations;
    sims.Fixed_Mat = P;
    sims.ChainInPlace = InPlace;
}

void BM_SequentialSwap_BareChain(benchmark::State &state)
{
    const Matrix P = SequentialFixture();
    for (auto _ : state) {
        RandSeed = 1;
        TCoOccurrenceSims sims;
        SequentialSims(sims, P, true);
        Matrix Q;
        for (int32_t i = 0; i < SequentialIterations; ++i) sims.NextSimulatedMatrix(P, Q);
        benchmark::DoNotOptimize(sims.Fixed_Mat.Data());
    }
}
BENCHMARK(BM_SequentialSwap_BareChain)->Unit(benchmark::kMillisecond);

void IndexArgs(benchmark::internal::Benchmark *b)
{
    for (int64_t index : {piCScore, piCheckerboards, piRelativeOverlap, piUnion, piOverlap, piCombinations})
        b->Arg(index);
    b->Unit(benchmark::kMillisecond);
}

// The run's full count of one simulated matrix (empty sites excluded, the run's default).
double FullIndex(const Matrix &Q, TPresenceIndex Index, Matrix &F, std::vector<double> &pairs)
{
    TInfoMat info = FullInfo(Q);
    CopyNonEmptyRows(Q, F, info);
    MarginalTotals(F, info);
    return PresenceIndex(Index, F, info, true, pairs);
}

void BM_SequentialSwap_Followed(benchmark::State &state)
{
    const Matrix P = SequentialFixture();
    const auto index = static_cast<TPresenceIndex>(state.range(0));
    std::vector<double> pairs(100 * 99 / 2);
    double sum = 0;
    for (auto _ : state) {
        RandSeed = 1;
        TCoOccurrenceSims sims;
        SequentialSims(sims, P, true);
        TSwapChainIndex chain;
        Matrix Q, F(P.Cols(), P.Rows());
        sum = 0;
        for (int32_t i = 0; i < SequentialIterations; ++i) {
            sims.NextSimulatedMatrix(P, Q);
            if (chain.Started()) {
                chain.Swap(sims.LastChainSwap);
                sum += chain.Value();
            } else {
                sum += FullIndex(sims.Fixed_Mat, index, F, pairs);
                chain.Start(sims.Fixed_Mat, index, static_cast<int32_t>(pairs.size()), true);
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["mean"] = sum / SequentialIterations;
}
BENCHMARK(BM_SequentialSwap_Followed)->Apply(IndexArgs);

void BM_SequentialSwap_FullCount(benchmark::State &state)
{
    const Matrix P = SequentialFixture();
    const auto index = static_cast<TPresenceIndex>(state.range(0));
    std::vector<double> pairs(100 * 99 / 2);
    double sum = 0;
    for (auto _ : state) {
        RandSeed = 1;
        TCoOccurrenceSims sims;
        SequentialSims(sims, P, false);
        Matrix Q, F(P.Cols(), P.Rows());
        sum = 0;
        for (int32_t i = 0; i < SequentialIterations; ++i) {
            sims.NextSimulatedMatrix(P, Q);
            MarginalTotalsSized(Q, 100, 100);
            sum += FullIndex(Q, index, F, pairs);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["mean"] = sum / SequentialIterations;
}
BENCHMARK(BM_SequentialSwap_FullCount)->Apply(IndexArgs);

// The straightforward way for the C-score: nested loops, events let in on every swap attempt.
void BM_SequentialSwapCScore_Direct(benchmark::State &state)
{
    const Matrix P = RandomMatrix(100, 100, 0.3, 4);
    std::vector<double> units(100 * 99 / 2);
    for (auto _ : state) {
        Matrix chain = P, Q;
        for (int32_t i = 0; i < TCoOccurrenceSims::SwapCount(100, 100); ++i) DirectSwap(chain);
        double sum = 0;
        for (int32_t i = 0; i < SequentialIterations; ++i) {
            if (i > 0) DirectSwap(chain);
            Q = chain;
            MarginalTotalsSized(Q, 100, 100);
            sum += DirectCScore(Q, units);
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_SequentialSwapCScore_Direct)->Unit(benchmark::kMillisecond);

// One matrix of each cell shuffle from 100 x 100 at 30% fill (argument: 0 all cells, 1 within
// rows, 2 within columns).
void BM_CellShuffle(benchmark::State &state)
{
    const Matrix P = RandomMatrix(100, 100, 0.3, 6);
    TCoOccurrenceSims sims;
    Matrix Q;
    RandSeed = 1;
    for (auto _ : state) {
        switch (state.range(0)) {
        case 0: sims.ShuffleCells(P, Q); break;
        case 1: sims.ShuffleWithinRows(P, Q); break;
        default: sims.ShuffleWithinColumns(P, Q); break;
        }
        benchmark::DoNotOptimize(Q.Data());
    }
}
BENCHMARK(BM_CellShuffle)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// One independent-swap matrix from the observed 500 x 500 matrix at 20% fill: max(30,000, R x C),
// that is 250,000 swaps.
void BM_IndependentSwap_Engine(benchmark::State &state)
{
    const Matrix P = RandomMatrix(500, 500, 0.2, 5);
    TCoOccurrenceSims sims;
    sims.Context.ProcessMessages = [] { QCoreApplication::processEvents(); };
    Matrix Q;
    for (auto _ : state) sims.IndependentSwap(P, Q);
}
BENCHMARK(BM_IndependentSwap_Engine)->Unit(benchmark::kMillisecond);

void BM_IndependentSwap_Direct(benchmark::State &state)
{
    const Matrix P = RandomMatrix(500, 500, 0.2, 5);
    Matrix Q;
    for (auto _ : state) {
        Q = P;
        for (int32_t i = 0; i < TCoOccurrenceSims::SwapCount(500, 500); ++i) DirectSwap(Q);
    }
}
BENCHMARK(BM_IndependentSwap_Direct)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
