#include "models/presence_absence/CoOccurrenceSims.h"
#include "models/presence_absence/PackedRows.h"
#include "workspace/TarvixHelpers.h"

#include <algorithm>
#include <numeric>

namespace {

struct TLive
{
    int32_t Sites;
    int32_t Species;
};

TLive LiveCounts(const Matrix &M, const TInfoMat &info_Mat)
{
    return {std::clamp(info_Mat[2], 0, std::max(M.Cols() - 1, 0)),
            std::clamp(info_Mat[3], 0, std::max(M.Rows() - 1, 0))};
}

// The indices run once per simulated matrix: keep the scratch space between calls.
thread_local TPackedRows Packed;
thread_local std::vector<int32_t> Shared;

// Writes Value(r_i, r_j, shared) for every species pair i < j in pair order from Out[0] on,
// r being the number of presences of a species.
template <typename F>
void ForEachPair(const Matrix &M, const TInfoMat &info_Mat, std::span<double> Out, F Value)
{
    const TLive live = LiveCounts(M, info_Mat);
    Packed.BuildRows(M, live.Sites, live.Species);
    const int32_t n = Packed.Count();
    Shared.resize(static_cast<size_t>(n));
    const int32_t *ones = Packed.OnesData();
    const int32_t *shared = Shared.data();
    double *out = Out.data();
    size_t left = Out.size();
    for (int32_t i = 0; i + 1 < n && left > 0; ++i) {
        Packed.SharedWithLater(i, Shared);
        const int32_t last = static_cast<int32_t>(std::min<size_t>(n, i + 1 + left));
        const int32_t ri = ones[i];
        for (int32_t j = i + 1; j < last; ++j) *out++ = Value(ri, ones[j], shared[j]);
        left -= static_cast<size_t>(last - i - 1);
    }
}

} // namespace

void PairSharedSites(const Matrix &M, const TInfoMat &info_Mat, std::span<double> Out)
{
    ForEachPair(M, info_Mat, Out, [](int32_t, int32_t, int32_t s) { return static_cast<double>(s); });
}

void PairUnion(const Matrix &M, const TInfoMat &info_Mat, std::span<double> Out)
{
    ForEachPair(M, info_Mat, Out, [](int32_t ri, int32_t rj, int32_t s) { return static_cast<double>(ri + rj - s); });
}

void PairRelativeOverlap(const Matrix &M, const TInfoMat &info_Mat, std::span<double> Out)
{
    ForEachPair(M, info_Mat, Out, [](int32_t ri, int32_t rj, int32_t s) {
        const int32_t u = ri + rj - s;
        return u > 0 ? static_cast<double>(s) / static_cast<double>(u) : 0.0;
    });
}

void CScoreUnits(const Matrix &M, const TInfoMat &info_Mat, std::span<double> Out)
{
    // 64-bit product: (r_i - S)(r_j - S) passes 2^31 on wide matrices.
    ForEachPair(M, info_Mat, Out, [](int32_t ri, int32_t rj, int32_t s) {
        return static_cast<double>(static_cast<int64_t>(ri - s) * (rj - s));
    });
}

void CheckerboardCount(const Matrix &M, const TInfoMat &info_Mat, std::span<double> Out)
{
    if (Out.empty()) return;
    const TLive live = LiveCounts(M, info_Mat);
    Packed.BuildRows(M, live.Sites, live.Species);
    const int32_t n = Packed.Count();
    Shared.resize(static_cast<size_t>(n));
    int64_t count = 0;
    for (int32_t i = 0; i + 1 < n; ++i) {
        if (M[0][i + 1] == 0) continue;
        Packed.SharedWithLater(i, Shared);
        for (int32_t j = i + 1; j < n; ++j)
            if (M[0][j + 1] != 0 && Shared[static_cast<size_t>(j)] == 0) ++count;
    }
    Out[0] = static_cast<double>(count);
}

void SpeciesCombinations(const Matrix &M, const TInfoMat &info_Mat, std::span<double> Out)
{
    if (Out.empty()) return;
    const TLive live = LiveCounts(M, info_Mat);
    // Distinct column patterns: sort the packed columns and count the runs.
    Packed.BuildColumns(M, live.Sites, live.Species);
    const int32_t s = Packed.Count();
    const int32_t words = Packed.Words();
    std::vector<int32_t> order(static_cast<size_t>(s));
    std::iota(order.begin(), order.end(), 0);
    auto less = [&](int32_t a, int32_t b) {
        return std::lexicographical_compare(Packed.Row(a), Packed.Row(a) + words, Packed.Row(b), Packed.Row(b) + words);
    };
    std::sort(order.begin(), order.end(), less);
    int32_t distinct = s > 0 ? 1 : 0;
    for (int32_t k = 1; k < s; ++k)
        if (less(order[static_cast<size_t>(k - 1)], order[static_cast<size_t>(k)])) ++distinct;
    Out[0] = distinct;
}

void VRatio(const Matrix &M, const TInfoMat &info_Mat, std::span<double> Out)
{
    if (Out.empty()) return;
    const TLive live = LiveCounts(M, info_Mat);
    Packed.BuildRows(M, live.Sites, live.Species);
    const int32_t s = live.Sites;
    // A 0/1 row with r presences out of s has the sum of squared deviations r(s - r)/s.
    double speciesVariances = 0;
    if (s >= 2)
        for (int32_t i = 0; i < Packed.Count(); ++i) {
            const double r = Packed.Ones(i);
            speciesVariances += r * (s - r) / s / (s - 1);
        }
    std::vector<double> totals(static_cast<size_t>(s));
    for (int32_t c = 1; c <= s; ++c) totals[static_cast<size_t>(c - 1)] = M[c][0];
    double mean = 0, siteVariance = 0;
    MeanVariance(s, totals, mean, siteVariance);
    Out[0] = speciesVariances > 0 ? siteVariance / speciesVariances : 0;
}

double PresenceIndex(TPresenceIndex Index, Matrix &M, TInfoMat &info_Mat, bool ExcludeEmptySites,
                     std::span<double> PairList, double *PairVariance)
{
    if (ExcludeEmptySites) {
        DropEmptyColumns(M, info_Mat);
        MarginalTotals(M, info_Mat);
    }
    std::fill(PairList.begin(), PairList.end(), 0.0);
    const int32_t n = static_cast<int32_t>(PairList.size());
    if (PairVariance) *PairVariance = 0;
    double mean = 0, variance = 0;
    switch (Index) {
    case piCScore:
        CScoreUnits(M, info_Mat, PairList);
        MeanVariance(n, PairList, mean, variance);
        if (PairVariance) *PairVariance = variance;
        return mean;
    case piCheckerboards: CheckerboardCount(M, info_Mat, PairList); break;
    case piCombinations: SpeciesCombinations(M, info_Mat, PairList); break;
    case piVRatio: VRatio(M, info_Mat, PairList); break;
    case piRelativeOverlap: PairRelativeOverlap(M, info_Mat, PairList); break;
    case piUnion: PairUnion(M, info_Mat, PairList); break;
    case piOverlap: PairSharedSites(M, info_Mat, PairList); break;
    }
    if (Index < piRelativeOverlap) return PairList.empty() ? 0.0 : PairList[0];
    MeanVariance(n, PairList, mean, variance);
    return mean;
}
