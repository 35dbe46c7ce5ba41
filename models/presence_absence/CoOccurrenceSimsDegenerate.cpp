#include "models/presence_absence/CoOccurrenceSims.h"
#include "framework/rtl/System.h"
#include "workspace/TarvixHelpers.h"

namespace {

constexpr int32_t MaxDiscarded = 3000;
constexpr int32_t MaxFixPasses = 2999;

// Index of the first largest total among Totals(1..Count).
template <typename F>
int32_t Donor(int32_t Count, F Total)
{
    int32_t best = 1;
    for (int32_t k = 2; k <= Count; ++k)
        if (Total(k) > Total(best)) best = k;
    return best;
}

} // namespace

void TCoOccurrenceSims::NextSimulatedMatrix(const Matrix &P, Matrix &Q)
{
    DegenerateFlag = false;
    // Followed in place, the chain is the simulated matrix; its margins are always current.
    const bool inPlace = ChainInPlace && CanFollowChain(P);
    auto generate = [&] {
        chainInPlaceNow_ = inPlace;
        GenerateNullMatrix(P, Q);
        chainInPlaceNow_ = false;
        if (!marginsCurrent_ && !inPlace) MarginalTotalsSized(Q, Q.Cols() - 1, Q.Rows() - 1);
    };
    Matrix &M = inPlace ? Fixed_Mat : Q;
    switch (DegenerateGroup) {
    case dgDiscard:
        Caption(QStringLiteral("Tarvix is discarding..."));
        for (int32_t k = 0;;) {
            if (slice_.Stopped()) return;
            generate();
            if (Interrupted()) return;
            Caption(QStringLiteral("...") + QString::number(k));
            ++k;
            if (!IsDegenerate(M)) return;
            if (k >= MaxDiscarded) return Fail(MsgDiscarded3000);
        }
    case dgSplit:
        generate();
        DegenerateFlag = IsDegenerate(M);
        break;
    case dgFix:
        generate();
        if (!Interrupted()) FixDegenerate(M);
        break;
    default:
        generate();
        break;
    }
}

bool TCoOccurrenceSims::IsDegenerate(const Matrix &Q)
{
    const int32_t R = Q.Rows() - 1, C = Q.Cols() - 1;
    for (int32_t r = 1; r <= R; ++r)
        if (Q[0][r] == 0) return true;
    for (int32_t c = 1; c <= C; ++c)
        if (Q[c][0] == 0) return true;
    return false;
}

void TCoOccurrenceSims::FixDegenerate(Matrix &Q)
{
    const int32_t R = Q.Rows() - 1, C = Q.Cols() - 1;
    if (R < 1 || C < 1) return;
    // The generator is not reseeded here: a seeded run has to stay reproducible.
    Caption(QStringLiteral("Tarvix is fixing..."));
    for (int32_t pass = 1;; ++pass) {
        if (slice_.Stopped()) return;
        Caption(QStringLiteral("...") + QString::number(pass));
        bool clean = true;
        for (int32_t i = 1; i <= R; ++i) {
            if (slice_.Stopped()) return;
            if (Q[0][i] != 0) continue;
            clean = false;
            const int32_t donor = Donor(R, [&](int32_t k) { return Q[0][k]; });
            // An empty matrix has nothing to move; drawing for a donor presence would never end.
            if (Q[0][donor] <= 0) return Fail(MsgDiscarded3000);
            int32_t s;
            do {
                if (slice_.Stopped()) return;
                s = Random(C) + 1;
            } while (Q[s][donor] != 1);
            Q[s][donor] = 0;
            --Q[0][donor];
            --Q[s][0];
            const int32_t t = Random(C) + 1;
            Q[t][i] = 1;
            ++Q[0][i];
            ++Q[t][0];
        }
        for (int32_t j = 1; j <= C; ++j) {
            if (slice_.Stopped()) return;
            if (Q[j][0] != 0) continue;
            clean = false;
            const int32_t donor = Donor(C, [&](int32_t k) { return Q[k][0]; });
            if (Q[donor][0] <= 0) return Fail(MsgDiscarded3000);
            int32_t k;
            do {
                if (slice_.Stopped()) return;
                k = Random(R) + 1;
            } while (Q[donor][k] != 1);
            Q[donor][k] = 0;
            --Q[donor][0];
            --Q[0][k];
            const int32_t u = Random(R) + 1;
            Q[j][u] = 1;
            ++Q[j][0];
            ++Q[0][u];
        }
        Caption(QStringLiteral("...") + QString::number(pass + 1));
        if (clean) return;
        if (pass >= MaxFixPasses) return Fail(MsgDiscarded3000);
    }
}
