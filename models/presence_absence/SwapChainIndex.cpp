#include "models/presence_absence/SwapChainIndex.h"
#include "models/presence_absence/PackedRows.h"
#include "workspace/TarvixHelpers.h"

#include <algorithm>
#include <bit>

// ---- Distinct patterns -----------------------------------------------------------------------
// Open addressing with linear probing; a removed pattern's slot is refilled by shifting the
// entries after it back, so that no search ever has to step over a dead slot.

void TSwapChainIndex::TPatternCount::Reset(int32_t Words, int32_t Capacity)
{
    words_ = Words;
    size_t slotCount = 8;
    while (slotCount < 2 * static_cast<size_t>(std::max(Capacity, 1))) slotCount *= 2;
    mask_ = slotCount - 1;
    keys_.assign(slotCount * static_cast<size_t>(words_), 0);
    counts_.assign(slotCount, 0);
    distinct_ = 0;
}

uint64_t TSwapChainIndex::TPatternCount::Hash(const uint64_t *Pattern) const
{
    uint64_t h = 0x9E3779B97F4A7C15u;
    for (int32_t w = 0; w < words_; ++w) {
        h = (h ^ Pattern[w]) * 0xBF58476D1CE4E5B9u;
        h ^= h >> 31;
    }
    h *= 0x94D049BB133111EBu;
    return h ^ (h >> 29);
}

bool TSwapChainIndex::TPatternCount::Same(size_t Slot, const uint64_t *Pattern) const
{
    return std::equal(Pattern, Pattern + words_, keys_.data() + Slot * words_);
}

size_t TSwapChainIndex::TPatternCount::Find(const uint64_t *Pattern) const
{
    size_t i = Hash(Pattern) & mask_;
    while (counts_[i] != 0 && !Same(i, Pattern)) i = (i + 1) & mask_;
    return i;
}

void TSwapChainIndex::TPatternCount::Add(const uint64_t *Pattern)
{
    const size_t i = Find(Pattern);
    if (counts_[i]++ == 0) {
        std::copy(Pattern, Pattern + words_, keys_.data() + i * words_);
        ++distinct_;
    }
}

void TSwapChainIndex::TPatternCount::Remove(const uint64_t *Pattern)
{
    size_t hole = Find(Pattern);
    if (counts_[hole] == 0 || --counts_[hole] > 0) return;
    --distinct_;
    for (size_t j = (hole + 1) & mask_; counts_[j] != 0; j = (j + 1) & mask_) {
        const size_t home = Hash(keys_.data() + j * words_) & mask_;
        // The entry at j may move back to the hole unless its home lies after the hole (up to j).
        const bool stays = hole < j ? (home > hole && home <= j) : (home > hole || home <= j);
        if (stays) continue;
        std::copy_n(keys_.data() + j * words_, words_, keys_.data() + hole * words_);
        counts_[hole] = counts_[j];
        hole = j;
    }
    counts_[hole] = 0;
}

// ---- The chain's index -----------------------------------------------------------------------

bool TSwapChainIndex::NeedsShared() const { return index_ != piCombinations && index_ != piVRatio; }

void TSwapChainIndex::Start(const Matrix &Chain, TPresenceIndex Index, int32_t PairSlots, bool ExcludeEmptySites)
{
    started_ = false;
    index_ = Index;
    slots_ = PairSlots;
    exclude_ = ExcludeEmptySites;
    const int32_t R = std::max(Chain.Rows() - 1, 0), C = std::max(Chain.Cols() - 1, 0);

    // The live species in order, as the run compacts them.
    live_.assign(static_cast<size_t>(R) + 1, -1);
    n_ = 0;
    for (int32_t r = 1; r <= R; ++r)
        if (Chain[0][r] > 0) live_[static_cast<size_t>(r)] = n_++;
    const int64_t livePairs = static_cast<int64_t>(n_) * (n_ - 1) / 2;
    // The run's pair list holds every live pair; a shorter one is left to the full count.
    if (livePairs > PairSlots) return;

    words_ = (n_ + 63) / 64;
    columns_.assign(static_cast<size_t>(C + 1) * words_, 0);
    for (int32_t c = 1; c <= C; ++c)
        for (int32_t r = 1; r <= R; ++r) {
            const int32_t i = live_[static_cast<size_t>(r)];
            if (i >= 0 && Chain[c][r] == 1) Column(c)[i >> 6] |= uint64_t(1) << (i & 63);
        }

    Matrix F(Chain.Cols(), Chain.Rows());
    TInfoMat info{Chain.Cols(), Chain.Rows(), C, R};
    CopyNonEmptyRows(Chain, F, info);
    MarginalTotals(F, info);
    TPackedRows rows;
    rows.BuildRows(F, C, n_);
    ones_.assign(rows.OnesData(), rows.OnesData() + n_);

    units_ = checkerboards_ = sharedSum_ = unionSum_ = 0;
    shared_.clear();
    ratios_.clear();
    if (NeedsShared()) {
        shared_.assign(static_cast<size_t>(n_) * n_, 0);
        if (index_ == piRelativeOverlap) ratios_.assign(static_cast<size_t>(livePairs), 0.0);
        std::vector<int32_t> s(static_cast<size_t>(n_));
        for (int32_t i = 0; i + 1 < n_; ++i) {
            rows.SharedWithLater(i, s);
            for (int32_t j = i + 1; j < n_; ++j) {
                const int32_t v = s[static_cast<size_t>(j)];
                Shared(i, j) = v;
                const int32_t ri = ones_[static_cast<size_t>(i)], rj = ones_[static_cast<size_t>(j)];
                units_ += static_cast<int64_t>(ri - v) * (rj - v);
                checkerboards_ += v == 0;
                sharedSum_ += v;
                unionSum_ += ri + rj - v;
                if (index_ == piRelativeOverlap)
                    ratios_[PairAt(i, j)] = static_cast<double>(v) / static_cast<double>(ri + rj - v);
            }
        }
    }

    counted_.assign(static_cast<size_t>(C) + 1, 0);
    if (index_ == piCombinations) {
        patterns_.Reset(words_, C);
        for (int32_t c = 1; c <= C; ++c)
            if (!exclude_ || Chain[c][0] > 0) {
                counted_[static_cast<size_t>(c)] = 1;
                patterns_.Add(Column(c));
            }
    }

    fixed_ = 0;
    if (index_ == piVRatio) {
        std::vector<double> out(static_cast<size_t>(std::max(PairSlots, 1)));
        fixed_ = PresenceIndex(piVRatio, F, info, exclude_, out);
    }
    started_ = true;
}

template <typename F>
void TSwapChainIndex::MoveShared(int32_t i1, int32_t i2, const uint64_t *A, const uint64_t *B, F Update)
{
    // A species present at exactly one of the two sites gains a shared site with the species
    // that moves there and loses one with the species that leaves; the pair of the two swapped
    // species keeps its count.
    int32_t *S = shared_.data();
    const size_t n = static_cast<size_t>(n_);
    for (int32_t w = 0; w < words_; ++w) {
        uint64_t x = A[w] ^ B[w];
        if ((i1 >> 6) == w) x &= ~(uint64_t(1) << (i1 & 63));
        if ((i2 >> 6) == w) x &= ~(uint64_t(1) << (i2 & 63));
        const uint64_t atB = B[w];
        while (x) {
            const int32_t bit = std::countr_zero(x);
            x &= x - 1;
            const int32_t k = w * 64 + bit;
            const int32_t d = static_cast<int32_t>((atB >> bit) & 1) * 2 - 1;
            // Each count is kept once, in the row of the lower species.
            int32_t &c1 = i1 < k ? S[i1 * n + k] : S[k * n + i1];
            int32_t &c2 = i2 < k ? S[i2 * n + k] : S[k * n + i2];
            const int32_t s1 = c1, s2 = c2;
            Update(k, s1, s2, d);
            c1 = s1 + d;
            c2 = s2 - d;
        }
    }
}

void TSwapChainIndex::Swap(int32_t Species1, int32_t Site1, int32_t Species2, int32_t Site2)
{
    if (!started_) return;
    const int32_t i1 = live_[static_cast<size_t>(Species1)], i2 = live_[static_cast<size_t>(Species2)];
    // A swap moves presences of live species only; anything else needs a full count.
    if (i1 < 0 || i2 < 0) {
        started_ = false;
        return;
    }
    // Species 1 leaves site a for site b, species 2 leaves b for a.
    const bool fromSite1 = Has(Site1, i1);
    const int32_t a = fromSite1 ? Site1 : Site2, b = fromSite1 ? Site2 : Site1;
    uint64_t *colA = Column(a), *colB = Column(b);
    if (index_ == piCombinations) {
        if (counted_[static_cast<size_t>(a)]) patterns_.Remove(colA);
        if (counted_[static_cast<size_t>(b)]) patterns_.Remove(colB);
    }
    const int64_t r1 = ones_[static_cast<size_t>(i1)], r2 = ones_[static_cast<size_t>(i2)];
    const int32_t *ones = ones_.data();
    switch (index_) {
    case piCScore: {
        // (x - d)(y - d) - xy = 1 - d(x + y) for d = +1 or -1.
        int64_t units = 0;
        MoveShared(i1, i2, colA, colB, [&](int32_t k, int32_t s1, int32_t s2, int32_t d) {
            units += 2 - d * (r1 + ones[k] - 2 * s1) + d * (r2 + ones[k] - 2 * s2);
        });
        units_ += units;
        break;
    }
    case piCheckerboards: {
        int64_t count = 0;
        MoveShared(i1, i2, colA, colB, [&](int32_t, int32_t s1, int32_t s2, int32_t d) {
            count += (s1 + d == 0) - (s1 == 0) + (s2 - d == 0) - (s2 == 0);
        });
        checkerboards_ += count;
        break;
    }
    case piRelativeOverlap:
        MoveShared(i1, i2, colA, colB, [&](int32_t k, int32_t s1, int32_t s2, int32_t d) {
            const int32_t n1 = s1 + d, n2 = s2 - d;
            ratios_[i1 < k ? PairAt(i1, k) : PairAt(k, i1)] =
                static_cast<double>(n1) / static_cast<double>(r1 + ones[k] - n1);
            ratios_[i2 < k ? PairAt(i2, k) : PairAt(k, i2)] =
                static_cast<double>(n2) / static_cast<double>(r2 + ones[k] - n2);
        });
        break;
    case piUnion:
    case piOverlap:
        // Each move adds d to one pair and takes it from another: the sums stay as they are.
        MoveShared(i1, i2, colA, colB, [](int32_t, int32_t, int32_t, int32_t) {});
        break;
    default: break;
    }
    colA[i1 >> 6] ^= uint64_t(1) << (i1 & 63);
    colA[i2 >> 6] ^= uint64_t(1) << (i2 & 63);
    colB[i1 >> 6] ^= uint64_t(1) << (i1 & 63);
    colB[i2 >> 6] ^= uint64_t(1) << (i2 & 63);
    if (index_ == piCombinations) {
        if (counted_[static_cast<size_t>(a)]) patterns_.Add(colA);
        if (counted_[static_cast<size_t>(b)]) patterns_.Add(colB);
    }
}

double TSwapChainIndex::Value() const
{
    const double slotCount = static_cast<double>(slots_);
    switch (index_) {
    // Sums of integers: exact in 64 bits, and so the same double as the sum of the pair list.
    case piCScore: return static_cast<double>(units_) / slotCount;
    case piCheckerboards: return static_cast<double>(checkerboards_);
    case piCombinations: return static_cast<double>(patterns_.Distinct());
    case piVRatio: return fixed_;
    case piUnion: return static_cast<double>(unionSum_) / slotCount;
    case piOverlap: return static_cast<double>(sharedSum_) / slotCount;
    case piRelativeOverlap: break;
    }
    // A sum of ratios depends on the order of the additions: summed again in pair order, as
    // the full count sums its pair list (the pairs past the live ones add 0).
    double sum = 0;
    for (double r : ratios_) sum += r;
    return sum / slotCount;
}
