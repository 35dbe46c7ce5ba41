#pragma once
// Presence-absence rows packed 64 sites to a word, so that pair counts become AND + popcount.
#include "workspace/TarvixTypes.h"

#include <cstdint>
#include <span>
#include <vector>

class TPackedRows
{
public:
    // Packs species rows 1..Species of M over sites 1..Sites (a cell counts when it holds 1).
    // Row i of the pack is species i + 1; bit k of a row is site k + 1.
    void BuildRows(const Matrix &M, int32_t Sites, int32_t Species);
    // Packs site columns 1..Sites over species 1..Species instead: row k of the pack is site k + 1.
    void BuildColumns(const Matrix &M, int32_t Sites, int32_t Species);

    int32_t Count() const { return count_; }
    int32_t Words() const { return words_; }
    const uint64_t *Row(int32_t i) const { return bits_.data() + static_cast<size_t>(i) * words_; }
    // Number of set bits of row i.
    int32_t Ones(int32_t i) const { return ones_[static_cast<size_t>(i)]; }
    const int32_t *OnesData() const { return ones_.data(); }

    // Shared[j] := bits common to rows i and j, for j = i + 1 .. Count() - 1.
    void SharedWithLater(int32_t i, std::span<int32_t> Shared) const;
    // True when row a holds every bit of row b.
    bool Contains(int32_t a, int32_t b) const;

private:
    void Reset(int32_t count, int32_t bitsPerRow);

    int32_t count_ = 0;
    int32_t words_ = 0;
    std::vector<uint64_t> bits_;
    std::vector<int32_t> ones_;
    std::vector<uint64_t> scratch_;
};
