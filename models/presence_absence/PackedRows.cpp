#include "models/presence_absence/PackedRows.h"

#include <algorithm>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Shared counts of row i with the later rows, the row width fixed at compile time where it is
// small so that the word loop unrolls.
template <int32_t W>
[[gnu::always_inline]] inline void SharedRows(const uint64_t *bits, int32_t words, int32_t i, int32_t count,
                                              int32_t *shared)
{
    const int32_t n = W > 0 ? W : words;
    const uint64_t *a = bits + static_cast<size_t>(i) * n;
    const uint64_t *b = a + n;
    for (int32_t j = i + 1; j < count; ++j, b += n) {
        int32_t s = 0;
        for (int32_t w = 0; w < n; ++w) s += __builtin_popcountll(a[w] & b[w]);
        shared[j] = s;
    }
}

// The pair loop is the hot spot of every index; the hardware popcount is several times faster
// than the portable bit trick, so the loop gets a clone for processors that have it.
__attribute__((target_clones("popcnt", "default"))) void SharedKernel(const uint64_t *bits, int32_t words,
                                                                       int32_t i, int32_t count, int32_t *shared)
{
    switch (words) {
    case 1: return SharedRows<1>(bits, words, i, count, shared);
    case 2: return SharedRows<2>(bits, words, i, count, shared);
    case 3: return SharedRows<3>(bits, words, i, count, shared);
    case 4: return SharedRows<4>(bits, words, i, count, shared);
    case 5: return SharedRows<5>(bits, words, i, count, shared);
    case 6: return SharedRows<6>(bits, words, i, count, shared);
    case 7: return SharedRows<7>(bits, words, i, count, shared);
    case 8: return SharedRows<8>(bits, words, i, count, shared);
    default: return SharedRows<0>(bits, words, i, count, shared);
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

// ORs bit `bit` into acc[k] for each of the Count cells col[k] that hold 1.
inline void GatherBits(const int32_t *col, int32_t count, int32_t bit, uint64_t *acc)
{
    int32_t r = 0;
#if defined(__SSE2__)
    // Four cells at a time: compare, widen each 32-bit mask to 64 bits, keep the site's bit.
    const __m128i one = _mm_set1_epi32(1);
    const __m128i mask = _mm_set1_epi64x(static_cast<long long>(uint64_t(1) << bit));
    for (; r + 4 <= count; r += 4) {
        const __m128i eq = _mm_cmpeq_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i *>(col + r)), one);
        __m128i *dst = reinterpret_cast<__m128i *>(acc + r);
        _mm_storeu_si128(dst, _mm_or_si128(_mm_loadu_si128(dst), _mm_and_si128(_mm_unpacklo_epi32(eq, eq), mask)));
        _mm_storeu_si128(dst + 1,
                         _mm_or_si128(_mm_loadu_si128(dst + 1), _mm_and_si128(_mm_unpackhi_epi32(eq, eq), mask)));
    }
#endif
    for (; r < count; ++r) acc[r] |= static_cast<uint64_t>(col[r] == 1) << bit;
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
    // Columns are contiguous in the matrix: gather 64 of them into one word per species in a
    // contiguous buffer, four species at a time, then store the words into the rows.
    scratch_.resize(static_cast<size_t>(count_));
    uint64_t *acc = scratch_.data();
    for (int32_t w = 0; w < words_; ++w) {
        std::fill(acc, acc + count_, 0);
        const int32_t last = std::min(Sites, 64 * (w + 1));
        for (int32_t c = 64 * w + 1; c <= last; ++c) {
            const int32_t *col = M[c] + 1;
            const int32_t bit = (c - 1) & 63;
            GatherBits(col, count_, bit, acc);
        }
        for (int32_t r = 0; r < count_; ++r) bits_[static_cast<size_t>(r) * words_ + w] = acc[r];
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
