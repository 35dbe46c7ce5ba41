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

#include "models/presence_absence/CoOccurrenceSims.h"

// Stands in for the run's window: records what the engine shows and owns the stop flag.
struct TRecorder
{
    QStringList Messages;
    QStringList Captions;
    std::vector<int32_t> ProgressMax;
    int32_t Closes = 0;
    bool Interrupt = false;

    explicit TRecorder(TCoOccurrenceSims &Sims)
    {
        TSimContext &c = Sims.Context;
        c.ShowMessage = [this](const QString &m) { Messages << m; };
        c.SetProgressCaption = [this](const QString &t) { Captions << t; };
        c.SetProgressMax = [this](int32_t m) { ProgressMax.push_back(m); };
        c.CloseProgress = [this] { ++Closes; };
        c.InterruptFlag = &Interrupt;
    }
};

// Recomputes the margins from the cells and checks the cells are 0 or 1.
inline bool ZeroOne(const Matrix &m)
{
    for (int32_t c = 1; c < m.Cols(); ++c)
        for (int32_t r = 1; r < m.Rows(); ++r)
            if (m[c][r] != 0 && m[c][r] != 1) return false;
    return true;
}

inline Matrix WithFreshMargins(Matrix m)
{
    MarginalTotalsSized(m, m.Cols() - 1, m.Rows() - 1);
    return m;
}
