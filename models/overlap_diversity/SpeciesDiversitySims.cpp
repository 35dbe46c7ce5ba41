#include "models/overlap_diversity/SpeciesDiversitySims.h"
#include "framework/rtl/System.h"
#include "workspace/TarvixHelpers.h"

#include <algorithm>
#include <bit>
#include <cmath>

const QString MsgAbundanceLevelBelowOne = QStringLiteral("Abundance level < 1. Aborting simulation.");
const QString MsgUnableToIndependentSample = QStringLiteral("Unable to independent sample.");

int32_t DiversityInt(const QString &S)
{
    int i = 0;
    while (i < S.size() && S[i] == QLatin1Char(' ')) ++i;
    bool negative = false;
    if (i < S.size() && (S[i] == QLatin1Char('+') || S[i] == QLatin1Char('-'))) negative = S[i++] == QLatin1Char('-');
    int64_t value = 0;
    for (; i < S.size() && S[i] >= QLatin1Char('0') && S[i] <= QLatin1Char('9'); ++i) {
        value = value * 10 + (S[i].unicode() - '0');
        if (value > int64_t(INT32_MAX) + 1) return 0;
    }
    value = negative ? -value : value;
    return value > INT32_MAX ? 0 : static_cast<int32_t>(value);
}

// ---- Pool ------------------------------------------------------------------------------------

void TIndividualPool::Assign(std::span<const int32_t> Counts)
{
    constexpr size_t W = Width;
    counts_.assign(Counts.begin(), Counts.end());
    // Entry counts per level, from the leaves up, each a whole number of nodes; the root is
    // the first level that fits one node.
    size_t sizes[8];
    int levels = 0;
    size_t n = std::max<size_t>(counts_.size(), 1);
    for (;;) {
        const size_t nodes = (n + W - 1) / W;
        sizes[levels++] = nodes * W;
        if (nodes == 1) break;
        n = nodes;
    }
    levelStart_.resize(static_cast<size_t>(levels));
    size_t at = 0;
    for (int k = 0; k < levels; ++k) {
        levelStart_[static_cast<size_t>(k)] = at;
        at += sizes[levels - 1 - k];
    }
    sums_.assign(at, 0);
    // The leaves, then each level above from the node totals of the one below it.
    int32_t *leaves = sums_.data() + levelStart_.back();
    std::copy(counts_.begin(), counts_.end(), leaves);
    int64_t total = 0;
    for (int32_t x : counts_) total += x;
    total_ = static_cast<int32_t>(total);
    for (int k = levels - 1; k >= 0; --k) {
        int32_t *level = sums_.data() + levelStart_[static_cast<size_t>(k)];
        const size_t size = sizes[levels - 1 - k];
        int32_t *parent = k > 0 ? sums_.data() + levelStart_[static_cast<size_t>(k - 1)] : nullptr;
        for (size_t node = 0; node * W < size; ++node) {
            int32_t run = 0;
            for (size_t j = 0; j < W; ++j) level[node * W + j] = run += level[node * W + j];
            if (parent) parent[node] = run;
        }
    }
}

// Wider vectors halve the compares where the processor has them; the choice is made once, at
// load time.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define DIVERSITY_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define DIVERSITY_VECTOR_CLONES
#endif

DIVERSITY_VECTOR_CLONES int32_t TIndividualPool::Draw(int32_t r)
{
    constexpr int32_t W = Width;
    int32_t rest = r;
    size_t node = 0;
    for (size_t start : levelStart_) {
        // The running sums only grow, so the entries below rest are the children before the one
        // that holds individual r, and the entries from it on cover it and lose one.
        int32_t *sums = sums_.data() + start + node * W;
        int32_t before = 0;
        for (int32_t j = 0; j < W; ++j) {
            const int32_t below = sums[j] < rest;
            before += below;
            sums[j] -= 1 - below;
        }
        rest -= before > 0 ? sums[before - 1] : 0;
        node = node * W + static_cast<size_t>(before);
    }
    --counts_[node];
    --total_;
    return static_cast<int32_t>(node);
}

// ---- Curve statistics ------------------------------------------------------------------------

TCurveStatistics CurveStatistics(std::span<const double> Column)
{
    TCurveStatistics s;
    const int32_t n = static_cast<int32_t>(Column.size());
    if (n < 1) return s;
    MeanVariance(n, Column, s.Mean, s.Variance);
    // Diversity values repeat a lot (richness takes few values, a level of N only one), which
    // the first-element pivot of the shared quicksort turns quadratic; any sort gives the same
    // order statistics.
    std::vector<double> sorted(Column.begin(), Column.end());
    std::sort(sorted.begin(), sorted.end());
    const size_t mid = static_cast<size_t>(n / 2);
    s.Median = n % 2 == 1 ? sorted[mid] : (sorted[mid - 1] + sorted[mid]) / 2;
    const int32_t h = n - 1;
    s.Low = sorted[static_cast<size_t>(Trunc(0.025 * h))];
    s.High = sorted[static_cast<size_t>(std::min<int64_t>(Round(0.975 * h), h))];
    return s;
}

// ---- Indices ---------------------------------------------------------------------------------

void TSpeciesDiversitySims::fail(const QString &Message)
{
    if (Context.ShowMessage) Context.ShowMessage(Message);
    if (Context.InterruptFlag) *Context.InterruptFlag = true;
}

void TSpeciesDiversitySims::getNonZeroRows(std::span<const int32_t> V)
{
    NonZeroRows = static_cast<int32_t>(std::count_if(V.begin(), V.end(), [](int32_t x) { return x != 0; }));
    indexResult = NonZeroRows;
}

void TSpeciesDiversitySims::getIndividualsCount(std::span<const int32_t> V, int32_t &Total) const
{
    int64_t sum = 0;
    for (int32_t x : V) sum += x;
    Total = static_cast<int32_t>(sum);
}

bool TSpeciesDiversitySims::DetermineIndex(std::span<const int32_t> V, int32_t b)
{
    if (b < 1) {
        if (Context.ShowMessage) Context.ShowMessage(MsgAbundanceLevelBelowOne);
        return false;
    }
    switch (Index) {
    case diRichness: getNonZeroRows(V); break;
    case diHurlbertsPIE: HurlbertsPIE(V, b); break;
    case diDominance: Dominance(V, b); break;
    default: ShannonIndex(V, b); break;
    }
    return true;
}

void TSpeciesDiversitySims::HurlbertsPIE(std::span<const int32_t> V, int32_t b)
{
    const double n = b;
    double sum = 0;
    for (int32_t x : V) {
        const double p = x / n;
        sum += p * p;
    }
    // One individual has no second one to meet: the factor stays finite and the index is 0.
    const double factor = b == 1 ? 2.0 / 1.0 : n / (n - 1);
    indexResult = factor * (1 - sum);
}

void TSpeciesDiversitySims::Dominance(std::span<const int32_t> V, int32_t b)
{
    int32_t most = 0;
    for (int32_t x : V) most = std::max(most, x);
    indexResult = most / static_cast<double>(b);
}

void TSpeciesDiversitySims::ShannonIndex(std::span<const int32_t> V, int32_t b)
{
    const double n = b;
    double sum = 0;
    for (int32_t x : V)
        if (x != 0) {
            const double p = x / n;
            sum += p * std::log(p);
        }
    indexResult = -sum;
}

// ---- Levels ----------------------------------------------------------------------------------

void TSpeciesDiversitySims::defaultLevels(int32_t L, double d, int32_t Bound, std::vector<int32_t> &Levels)
{
    Levels.assign(1, 1);
    int64_t b = 1;
    for (int32_t s = 1; s < L; ++s) {
        b = s % 2 == 1 ? Round(static_cast<double>(b) + d) : Trunc(static_cast<double>(b) + d);
        // The levels only grow: once one reaches the bound, none after it is written.
        if (b >= Bound) break;
        Levels.push_back(static_cast<int32_t>(b));
    }
    NumLevels = static_cast<int32_t>(Levels.size());
}

void TSpeciesDiversitySims::setDefaultAbundanceLevels(int32_t N, std::vector<int32_t> &Levels)
{
    const int32_t L = NumLevels;
    if (L < 1) {
        Levels.clear();
        NumLevels = 0;
        return;
    }
    defaultLevels(L, static_cast<double>(N) / L, N, Levels);
}

void TSpeciesDiversitySims::SetDefaultSampleLevels(int32_t L, std::vector<int32_t> &Levels)
{
    if (L <= 0) {
        if (Context.InterruptFlag) *Context.InterruptFlag = true;
        Levels.clear();
        NumLevels = 0;
        return;
    }
    defaultLevels(L, static_cast<double>(ColCount) / L, individualsCount, Levels);
}

void TSpeciesDiversitySims::getAbundanceLevels(const TStrings &Lines, std::vector<int32_t> &Levels)
{
    Levels.resize(static_cast<size_t>(Lines.Count()));
    for (int j = 0; j < Lines.Count(); ++j) Levels[static_cast<size_t>(j)] = std::max(DiversityInt(Lines.Get(j)), 1);
}

// ---- Draws -----------------------------------------------------------------------------------

void TSpeciesDiversitySims::Accumulation_DoRandomDraw(int32_t k, TIndividualPool &Pool, std::span<int32_t> Sample)
{
    k = std::min(k, Pool.Total());
    for (int32_t i = 0; i < k; ++i) {
        ++Sample[static_cast<size_t>(Pool.Draw(1 + Random(Pool.Total())))];
    }
    individualsCount = Pool.Total();
}

void TSpeciesDiversitySims::DoRandomDraw(int32_t k, std::span<const int32_t> Pool, std::span<int32_t> Sample)
{
    scratch_.Assign(Pool);
    k = std::min(k, scratch_.Total());
    for (int32_t i = 0; i < k; ++i) {
        ++Sample[static_cast<size_t>(scratch_.Draw(1 + Random(scratch_.Total())))];
    }
}

void TSpeciesDiversitySims::AddColumnToList(int32_t s, const Matrix &M, std::span<int32_t> Sample)
{
    const int32_t *column = M[s];
    const size_t n = std::min(Sample.size(), static_cast<size_t>(M.Rows()));
    for (size_t i = 0; i < n; ++i) Sample[i] += column[i];
}

void TSpeciesDiversitySims::DoSampleDrawAccumulation(int32_t k, const Matrix &M, std::span<int32_t> Sample)
{
    const int32_t samples = M.Cols();
    if (samples < 1) return;
    for (int32_t i = 0; i < k; ++i) AddColumnToList(Random(samples), M, Sample);
}

void TSpeciesDiversitySims::DoSampleDrawIndependent(int32_t k, const Matrix &M, std::span<int32_t> Sample)
{
    const int32_t samples = M.Cols();
    if (k > samples) {
        fail(MsgUnableToIndependentSample);
        return;
    }
    used_.assign(static_cast<size_t>(samples), 0);
    // The generator runs through every state, so a free sample always comes.
    for (int32_t i = 0; i < k; ++i) {
        int32_t s;
        do s = Random(samples);
        while (used_[static_cast<size_t>(s)]);
        used_[static_cast<size_t>(s)] = 1;
    }
    for (int32_t s = 0; s < samples; ++s)
        if (used_[static_cast<size_t>(s)]) AddColumnToList(s, M, Sample);
}
