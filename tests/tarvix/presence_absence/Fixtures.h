#pragma once
// Small presence-absence matrices for the engine tests.
#include "framework/rtl/System.h"
#include "workspace/TarvixHelpers.h"
#include "workspace/TarvixTypes.h"

#include <QStringList>
#include <vector>

// One text per species row, one character per site ('1' present): {"1100", "0011"}.
inline Matrix FromRows(const QStringList &rows)
{
    const int32_t R = static_cast<int32_t>(rows.size());
    const int32_t C = R ? static_cast<int32_t>(rows[0].size()) : 0;
    Matrix m(C + 1, R + 1);
    for (int32_t r = 1; r <= R; ++r)
        for (int32_t c = 1; c <= C; ++c) m[c][r] = rows[r - 1][c - 1] == QLatin1Char('1') ? 1 : 0;
    MarginalTotalsSized(m, C, R);
    return m;
}

// Seeded random 0/1 matrix with current margins.
inline Matrix RandomMatrix(int32_t Species, int32_t Sites, double Fill, uint32_t Seed)
{
    RandSeed = Seed;
    Matrix m(Sites + 1, Species + 1);
    for (int32_t c = 1; c <= Sites; ++c)
        for (int32_t r = 1; r <= Species; ++r) m[c][r] = Random() < Fill ? 1 : 0;
    MarginalTotalsSized(m, Sites, Species);
    return m;
}

inline TInfoMat FullInfo(const Matrix &m) { return {m.Cols(), m.Rows(), m.Cols() - 1, m.Rows() - 1}; }

inline int32_t PairCount(int32_t n) { return n * (n - 1) / 2; }
