#pragma once
// The index of a sequential-swap chain, followed swap by swap. One checkerboard swap changes four
// cells of two species, so it changes the shared-site counts of those two species with the
// others and the patterns of two site columns, and nothing else: the index is updated from
// those instead of counted again over every pair. Every value is the same double as the full
// count (PresenceIndex on the compacted matrix) gives.
#include "models/presence_absence/CoOccurrenceSims.h"
#include "workspace/TarvixTypes.h"

#include <cstdint>
#include <vector>

class TSwapChainIndex
{
public:
    // Counts Chain (margins current) in full. PairSlots is the length of the run's pair list,
    // which the pairwise means divide by; ExcludeEmptySites as in PresenceIndex.
    void Start(const Matrix &Chain, TPresenceIndex Index, int32_t PairSlots, bool ExcludeEmptySites);
    bool Started() const { return started_; }
    void Reset() { started_ = false; }

    // Follows one checkerboard swap of species rows Species1 and Species2 between site columns
    // Site1 and Site2 (grid numbers), made on the chain since Start or the last call.
    void Swap(int32_t Species1, int32_t Site1, int32_t Species2, int32_t Site2);
    void Swap(const TCoOccurrenceSims::TChainSwap &S) { Swap(S.Species1, S.Site1, S.Species2, S.Site2); }

    // The index of the chain as it stands.
    double Value() const;

private:
    // Distinct site patterns: a multiset of bit columns with the number of distinct ones.
    class TPatternCount
    {
    public:
        void Reset(int32_t Words, int32_t Capacity);
        void Add(const uint64_t *Pattern);
        void Remove(const uint64_t *Pattern);
        int32_t Distinct() const { return distinct_; }

    private:
        uint64_t Hash(const uint64_t *Pattern) const;
        bool Same(size_t Slot, const uint64_t *Pattern) const;
        size_t Find(const uint64_t *Pattern) const; // the pattern's slot, or the empty slot for it

        int32_t words_ = 0;
        size_t mask_ = 0;
        std::vector<uint64_t> keys_;  // words_ per slot
        std::vector<int32_t> counts_; // 0: empty slot
        int32_t distinct_ = 0;
    };

    uint64_t *Column(int32_t Site) { return columns_.data() + static_cast<size_t>(Site) * words_; }
    bool Has(int32_t Site, int32_t Live) const
    {
        return (columns_[static_cast<size_t>(Site) * words_ + (Live >> 6)] >> (Live & 63)) & 1;
    }
    int32_t &Shared(int32_t i, int32_t j) { return shared_[static_cast<size_t>(i) * n_ + j]; }
    // Position of pair (i, j), i < j, in pair order.
    size_t PairAt(int32_t i, int32_t j) const
    {
        return static_cast<size_t>(i) * (2 * static_cast<size_t>(n_) - i - 1) / 2 + (j - i - 1);
    }
    // Moves the shared-site counts of the two swapped species i1 (from site column A to B) and
    // i2 (from B to A) with every other species; Update(k, s1, s2, d) sees the counts of k
    // with i1 and i2 before the move, s1 going up by d and s2 down by d.
    template <typename F>
    void MoveShared(int32_t i1, int32_t i2, const uint64_t *A, const uint64_t *B, F Update);
    bool NeedsShared() const;

    bool started_ = false;
    TPresenceIndex index_ = piCScore;
    int32_t slots_ = 0;
    bool exclude_ = false;
    int32_t n_ = 0;     // live species
    int32_t words_ = 0; // per site column
    std::vector<int32_t> live_;     // grid species row -> live species, -1 when empty
    std::vector<int32_t> ones_;     // presences of each live species
    std::vector<uint64_t> columns_; // per grid site: bits of the live species present
    std::vector<int32_t> shared_;   // shared sites of species i < j at [i][j] of an n x n table
    std::vector<double> ratios_;    // relative overlap of every live pair, in pair order
    int64_t units_ = 0;             // C-score units
    int64_t checkerboards_ = 0;
    int64_t sharedSum_ = 0;
    int64_t unionSum_ = 0;
    TPatternCount patterns_;
    std::vector<uint8_t> counted_; // per grid site: its pattern is in patterns_
    double fixed_ = 0;             // V-ratio: margins alone, which no swap changes
};
