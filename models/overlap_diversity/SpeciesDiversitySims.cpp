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
    const size_t n = Counts.size();
    counts_.assign(Counts.begin(), Counts.end());
    tree_.assign(n + 1, 0);
    int64_t total = 0;
    for (size_t j = 1; j <= n; ++j) {
        tree_[j] += counts_[j - 1];
        total += counts_[j - 1];
        const size_t parent = j + (j & (~j + 1));
        if (parent <= n) tree_[parent] += tree_[j];
    }
    total_ = static_cast<int32_t>(total);
    topBit_ = n == 0 ? 0 : static_cast<int32_t>(std::bit_floor(n));
}

int32_t TIndividualPool::Find(int32_t r) const
{
    // Descends to the last position whose prefix sum is below r; the next species holds r.
    const int32_t n = Size();
    int32_t pos = 0;
    int32_t rest = r;
    for (int32_t step = topBit_; step > 0; step >>= 1) {
        const int32_t next = pos + step;
        if (next <= n && tree_[static_cast<size_t>(next)] < rest) {
            pos = next;
            rest -= tree_[static_cast<size_t>(next)];
        }
    }
    return pos;
}

void TIndividualPool::Take(int32_t i)
{
    --counts_[static_cast<size_t>(i)];
    --total_;
    const size_t n = counts_.size();
    for (size_t j = static_cast<size_t>(i) + 1; j <= n; j += j & (~j + 1)) --tree_[j];
}

// ---- Curve statistics ------------------------------------------------------------------------

TCurveStatistics CurveStatistics(std::span<const double> Column)
{
    TCurveStatistics s;
    const int32_t n = static_cast<int32_t>(Column.size());
    if (n < 1) return s;
    MeanVariance(n, Column, s.Mean, s.Variance);
    std::vector<double> sorted(Column.begin(), Column.end());
    MedianReal(sorted, s.Median);
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
        const int32_t r = 1 + Random(Pool.Total());
        const int32_t s = Pool.Find(r);
        ++Sample[static_cast<size_t>(s)];
        Pool.Take(s);
    }
    individualsCount = Pool.Total();
}

void TSpeciesDiversitySims::DoRandomDraw(int32_t k, std::span<const int32_t> Pool, std::span<int32_t> Sample)
{
    scratch_.Assign(Pool);
    k = std::min(k, scratch_.Total());
    for (int32_t i = 0; i < k; ++i) {
        const int32_t s = scratch_.Find(1 + Random(scratch_.Total()));
        ++Sample[static_cast<size_t>(s)];
        scratch_.Take(s);
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
