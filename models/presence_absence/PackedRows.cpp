#include "models/presence_absence/PackedRows.h"

#include <algorithm>

namespace {

// The pair loop is the hot spot of every index; the hardware popcount is several times faster
// than the portable bit trick, so the loop gets a clone for processors that have it.
__attribute__((target_clones("popcnt", "default"))) void SharedKernel(const uint64_t *bits, int32_t words,
                                                                       int32_t i, int32_t count, int32_t *shared)
{
    const uint64_t *a = bits + static_cast<size_t>(i) * words;
    const uint64_t *b = a + words;
    for (int32_t j = i + 1; j < count; ++j, b += words) {
        int32_t s = 0;
        for (int32_t w = 0; w < words; ++w) s += __builtin_popcountll(a[w] & b[w]);
        shared[j] = s;
    }
}

__attribute__((target_clones("popcnt", "default"))) void CountOnes(const uint64_t *bits, int32_t words,
                                                                    int32_t count, int32_t *ones)
{
    for (int32_t i = 0; i < count; ++i, bits += words) {
        int32_t s = 0;
        for (int32_t w = 0; w < words; ++w) s += __builtin_popcountll(bits[w]);
        ones[i] = s;
    }
}

} // namespace

void TPackedRows::Reset(int32_t count, int32_t bitsPerRow)
{
    count_ = std::max(count, 0);
    words_ = (std::max(bitsPerRow, 0) + 63) / 64;
    bits_.assign(static_cast<size_t>(count_) * words_, 0);
    ones_.assign(static_cast<size_t>(count_), 0);
}

void TPackedRows::BuildRows(const Matrix &M, int32_t Sites, int32_t Species)
{
    Sites = std::min(Sites, M.Cols() - 1);
    Species = std::min(Species, M.Rows() - 1);
    Reset(Species, Sites);
    if (count_ == 0 || words_ == 0) return;
    // Columns are contiguous in the matrix, so walk a column and scatter its bit over the rows.
    for (int32_t c = 1; c <= Sites; ++c) {
        const int32_t *col = M[c];
        const int32_t bit = (c - 1) & 63;
        uint64_t *word = bits_.data() + ((c - 1) >> 6);
        for (int32_t r = 1; r <= Species; ++r, word += words_)
            *word |= static_cast<uint64_t>(col[r] == 1) << bit;
    }
    CountOnes(bits_.data(), words_, count_, ones_.data());
}

void TPackedRows::BuildColumns(const Matrix &M, int32_t Sites, int32_t Species)
{
    Sites = std::min(Sites, M.Cols() - 1);
    Species = std::min(Species, M.Rows() - 1);
    Reset(Sites, Species);
    if (count_ == 0 || words_ == 0) return;
    for (int32_t c = 1; c <= Sites; ++c) {
        const int32_t *col = M[c];
        uint64_t *row = bits_.data() + static_cast<size_t>(c - 1) * words_;
        for (int32_t r = 1; r <= Species; ++r)
            row[(r - 1) >> 6] |= static_cast<uint64_t>(col[r] == 1) << ((r - 1) & 63);
    }
    CountOnes(bits_.data(), words_, count_, ones_.data());
}

void TPackedRows::SharedWithLater(int32_t i, std::span<int32_t> Shared) const
{
    if (i < 0 || i >= count_ || Shared.size() < static_cast<size_t>(count_)) return;
    SharedKernel(bits_.data(), words_, i, count_, Shared.data());
}

bool TPackedRows::Contains(int32_t a, int32_t b) const
{
    const uint64_t *x = Row(a);
    const uint64_t *y = Row(b);
    for (int32_t w = 0; w < words_; ++w)
        if (y[w] & ~x[w]) return false;
    return true;
}
