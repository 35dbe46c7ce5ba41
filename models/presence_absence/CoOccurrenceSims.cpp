#include "models/presence_absence/CoOccurrenceSims.h"
#include "models/presence_absence/PackedRows.h"
#include "framework/rtl/System.h"
#include "workspace/TarvixHelpers.h"

#include <algorithm>
#include <numeric>

const QString MsgUnableToSatisfy = QStringLiteral("Unable to satisfy restraints. Aborting simulation.");
const QString MsgDiscarded3000 = QStringLiteral("3000 consecutive matrices were discarded...aborting simulation.");

namespace {

// Draws per presence before a weighted fill gives up.
constexpr int32_t MaxDraws = 199999;

int32_t SpeciesOf(const Matrix &P) { return std::max(P.Rows() - 1, 0); }
int32_t SitesOf(const Matrix &P) { return std::max(P.Cols() - 1, 0); }

// Q becomes a matrix of its own with P's cells.
void CopyInto(const Matrix &P, Matrix &Q) { Q = P; }

// Q gets P's shape and margins, with every data cell 0.
void ClearedCopy(const Matrix &P, Matrix &Q)
{
    Q = P;
    for (int32_t c = 1; c < Q.Cols(); ++c) std::fill(Q[c] + 1, Q[c] + Q.Rows(), 0);
}

// Weighted choice over elements 1.. of a weight vector: the first index whose running sum
// exceeds the draw (Strict) or reaches it. The running sums are kept so that a draw is a binary
// search; with a negative weight they are not monotone and the choice scans them in order.
class TWeightedChoice
{
public:
    TWeightedChoice(const std::vector<double> &Line, int32_t Count, bool Strict)
        : strict_(Strict), total_(Line.empty() ? 0 : Line[0])
    {
        const int32_t n = std::clamp(Count, 0, std::max(static_cast<int32_t>(Line.size()) - 1, 0));
        sums_.resize(static_cast<size_t>(n));
        double sum = 0;
        for (int32_t i = 1; i <= n; ++i) {
            const double w = Line[static_cast<size_t>(i)];
            sum += w;
            sums_[static_cast<size_t>(i - 1)] = sum;
            if (w < 0) monotone_ = false;
            if (w > 0) lastPositive_ = i;
        }
    }

    // When rounding leaves the last running sum just below the draw, the last element with a
    // positive weight is taken: never an index past the end.
    int32_t Pick(double x) const
    {
        if (monotone_) {
            const auto it = strict_ ? std::upper_bound(sums_.begin(), sums_.end(), x)
                                    : std::lower_bound(sums_.begin(), sums_.end(), x);
            if (it != sums_.end()) return static_cast<int32_t>(it - sums_.begin()) + 1;
        } else {
            for (size_t i = 0; i < sums_.size(); ++i)
                if (strict_ ? sums_[i] > x : sums_[i] >= x) return static_cast<int32_t>(i) + 1;
        }
        return lastPositive_;
    }

    // A total weight that is not positive cannot place anything.
    bool Usable() const { return total_ > 0 && lastPositive_ > 0; }

private:
    std::vector<double> sums_;
    bool strict_;
    double total_;
    bool monotone_ = true;
    int32_t lastPositive_ = 0;
};

} // namespace

TCoOccurrenceSims::TCoOccurrenceSims() : slice_(Context) { Context.InterruptFlag = &ownInterrupt_; }

void TCoOccurrenceSims::Fail(const QString &Message)
{
    if (Context.ShowMessage) Context.ShowMessage(Message);
    if (Context.InterruptFlag) *Context.InterruptFlag = true;
}

void TCoOccurrenceSims::Caption(const QString &Text)
{
    if (Context.SetProgressCaption) Context.SetProgressCaption(Text);
}

void TCoOccurrenceSims::CloseProgress()
{
    if (Context.CloseProgress) Context.CloseProgress();
}

int32_t TCoOccurrenceSims::SwapCount(int32_t Rows, int32_t Cols)
{
    return static_cast<int32_t>(std::max<int64_t>(30000, static_cast<int64_t>(Rows) * Cols));
}

// ---- Dispatch ------------------------------------------------------------------------------

void TCoOccurrenceSims::GenerateNullMatrix(const Matrix &P, Matrix &Q)
{
    marginsCurrent_ = false;
    // A failed weight vector has already told the user; the fill would only repeat it.
    auto sites = [&] { SiteWeightsFromMargins(P); return !Interrupted(); };
    auto species = [&] { SpeciesWeightsFromMargins(P); return !Interrupted(); };
    switch (RowGroup * 4 + ColumnGroup) {
    case cnEquiprobable * 4 + cnEquiprobable: ShuffleCells(P, Q); break;
    case cnEquiprobable * 4 + cnFixedSum: ShuffleWithinColumns(P, Q); break;
    case cnEquiprobable * 4 + cnProportional: if (sites()) FillTotalWeightedSites(P, Q); break;
    case cnEquiprobable * 4 + cnUserDefined: FillTotalWeightedSites(P, Q); break;
    case cnFixedSum * 4 + cnEquiprobable: ShuffleWithinRows(P, Q); break;
    case cnFixedSum * 4 + cnFixedSum:
        if (FixedFixedGroup == ffIndependentSwap) IndependentSwap(P, Q);
        else if (FixedFixedGroup == ffKnightsTour) KnightsTourFill(P, Q);
        else SequentialSwap(P, Q);
        break;
    case cnFixedSum * 4 + cnProportional: if (sites()) FillRowsWeightedSites(P, Q); break;
    case cnFixedSum * 4 + cnUserDefined: FillRowsWeightedSites(P, Q); break;
    case cnProportional * 4 + cnEquiprobable: if (species()) FillTotalWeightedSpecies(P, Q); break;
    case cnProportional * 4 + cnFixedSum: if (species()) FillColumnsWeightedSpecies(P, Q); break;
    case cnProportional * 4 + cnProportional: if (species() && sites()) FillTotalWeightedBoth(P, Q); break;
    case cnProportional * 4 + cnUserDefined: if (species()) FillTotalWeightedBoth(P, Q); break;
    case cnUserDefined * 4 + cnEquiprobable: FillTotalWeightedSpecies(P, Q); break;
    case cnUserDefined * 4 + cnFixedSum: FillColumnsWeightedSpecies(P, Q); break;
    case cnUserDefined * 4 + cnProportional: if (sites()) FillTotalWeightedBoth(P, Q); break;
    case cnUserDefined * 4 + cnUserDefined: FillTotalWeightedBoth(P, Q); break;
    default: CopyInto(P, Q); break;
    }
}

// ---- Cell shuffles ---------------------------------------------------------------------------

void TCoOccurrenceSims::ShuffleCells(const Matrix &P, Matrix &Q)
{
    CopyInto(P, Q);
    const int32_t R = SpeciesOf(P), C = SitesOf(P);
    for (int32_t r = 1; r <= R; ++r)
        for (int32_t c = 1; c <= C; ++c) {
            const int32_t r2 = Random(R) + 1;
            const int32_t c2 = Random(C) + 1;
            std::swap(Q[c][r], Q[c2][r2]);
        }
}

void TCoOccurrenceSims::ShuffleWithinRows(const Matrix &P, Matrix &Q)
{
    CopyInto(P, Q);
    const int32_t R = SpeciesOf(P), C = SitesOf(P);
    for (int32_t r = 1; r <= R; ++r)
        for (int32_t c = 1; c <= C; ++c) std::swap(Q[c][r], Q[Random(C) + 1][r]);
}

void TCoOccurrenceSims::ShuffleWithinColumns(const Matrix &P, Matrix &Q)
{
    CopyInto(P, Q);
    const int32_t R = SpeciesOf(P), C = SitesOf(P);
    for (int32_t c = 1; c <= C; ++c) {
        int32_t *col = Q[c];
        for (int32_t r = 1; r <= R; ++r) std::swap(col[r], col[Random(R) + 1]);
    }
}

// ---- Weighted fills ----------------------------------------------------------------------------
// Each presence is placed by redrawing until a draw lands on an empty cell.

template <typename CellFn>
bool TCoOccurrenceSims::Place(CellFn Cell)
{
    for (int32_t d = 0; d < MaxDraws; ++d) {
        if (slice_.Stopped()) return false;
        int32_t &cell = Cell();
        if (cell == 0) {
            cell = 1;
            return true;
        }
    }
    Fail(MsgUnableToSatisfy);
    return false;
}

void TCoOccurrenceSims::FillRowsWeightedSites(const Matrix &P, Matrix &Q)
{
    ClearedCopy(P, Q);
    const int32_t R = SpeciesOf(P), C = SitesOf(P);
    const TWeightedChoice sites(SitesNumberLine, C, true);
    if (!sites.Usable()) return Fail(MsgUnableToSatisfy);
    for (int32_t r = 1; r <= R; ++r)
        for (int32_t k = 0; k < P[0][r]; ++k)
            if (!Place([&]() -> int32_t & { return Q[sites.Pick(Random())][r]; })) return;
}

void TCoOccurrenceSims::FillColumnsWeightedSpecies(const Matrix &P, Matrix &Q)
{
    ClearedCopy(P, Q);
    const int32_t R = SpeciesOf(P), C = SitesOf(P);
    const TWeightedChoice species(SpeciesNumberLine, R, false);
    if (!species.Usable()) return Fail(MsgUnableToSatisfy);
    for (int32_t c = 1; c <= C; ++c)
        for (int32_t k = 0; k < P[c][0]; ++k)
            if (!Place([&]() -> int32_t & { return Q[c][species.Pick(Random())]; })) return;
}

void TCoOccurrenceSims::FillTotalWeightedSites(const Matrix &P, Matrix &Q)
{
    ClearedCopy(P, Q);
    const int32_t R = SpeciesOf(P), C = SitesOf(P);
    const TWeightedChoice sites(SitesNumberLine, C, false);
    if (!sites.Usable()) return Fail(MsgUnableToSatisfy);
    for (int32_t k = 0; k < P[0][0]; ++k)
        if (!Place([&]() -> int32_t & {
                const int32_t r = Random(R) + 1;
                return Q[sites.Pick(Random())][r];
            }))
            return;
}

void TCoOccurrenceSims::FillTotalWeightedSpecies(const Matrix &P, Matrix &Q)
{
    ClearedCopy(P, Q);
    const int32_t R = SpeciesOf(P), C = SitesOf(P);
    const TWeightedChoice species(SpeciesNumberLine, R, false);
    if (!species.Usable()) return Fail(MsgUnableToSatisfy);
    for (int32_t k = 0; k < P[0][0]; ++k)
        if (!Place([&]() -> int32_t & {
                const int32_t c = Random(C) + 1;
                return Q[c][species.Pick(Random())];
            }))
            return;
}

void TCoOccurrenceSims::FillTotalWeightedBoth(const Matrix &P, Matrix &Q)
{
    ClearedCopy(P, Q);
    const int32_t R = SpeciesOf(P), C = SitesOf(P);
    const TWeightedChoice sites(SitesNumberLine, C, false);
    const TWeightedChoice species(SpeciesNumberLine, R, false);
    if (!sites.Usable() || !species.Usable()) return Fail(MsgUnableToSatisfy);
    for (int32_t k = 0; k < P[0][0]; ++k)
        if (!Place([&]() -> int32_t & {
                const double x1 = Random();
                const double x2 = Random();
                return Q[sites.Pick(x1)][species.Pick(x2)];
            }))
            return;
}

// ---- Weight vectors ------------------------------------------------------------------------------

namespace {

// Line[0] := sum of the weights; Line[i] := weight i / sum when the sum is positive.
// Returns the sum. The vector is never read or written past its length.
double Normalize(std::vector<double> &Line, std::span<const double> Weights)
{
    if (Line.empty()) Line.resize(Weights.size() + 1);
    const size_t n = std::min(Weights.size(), Line.size() - 1);
    const double total = std::accumulate(Weights.begin(), Weights.begin() + static_cast<ptrdiff_t>(n), 0.0);
    Line[0] = total;
    if (total > 0)
        for (size_t i = 1; i <= n; ++i) Line[i] = Weights[i - 1] / total;
    return total;
}

} // namespace

void TCoOccurrenceSims::SiteWeightsFromMargins(const Matrix &P)
{
    const int32_t C = SitesOf(P);
    std::vector<double> totals(static_cast<size_t>(C));
    for (int32_t c = 1; c <= C; ++c) totals[static_cast<size_t>(c - 1)] = P[c][0];
    if (SitesNumberLine.size() < static_cast<size_t>(C) + 1) SitesNumberLine.resize(static_cast<size_t>(C) + 1);
    if (!(Normalize(SitesNumberLine, totals) > 0)) Fail(QStringLiteral("Column Number Line error."));
}

void TCoOccurrenceSims::SpeciesWeightsFromMargins(const Matrix &P)
{
    const int32_t R = SpeciesOf(P);
    std::vector<double> totals(static_cast<size_t>(R));
    for (int32_t r = 1; r <= R; ++r) totals[static_cast<size_t>(r - 1)] = P[0][r];
    if (SpeciesNumberLine.size() < static_cast<size_t>(R) + 1) SpeciesNumberLine.resize(static_cast<size_t>(R) + 1);
    if (!(Normalize(SpeciesNumberLine, totals) > 0)) Fail(QStringLiteral("Row Number Line error."));
}

void TCoOccurrenceSims::LoadSiteWeights(std::span<const double> Weights) { Normalize(SitesNumberLine, Weights); }

void TCoOccurrenceSims::LoadSpeciesWeights(std::span<const double> Weights) { Normalize(SpeciesNumberLine, Weights); }

// ---- Fixed-fixed algorithms ---------------------------------------------------------------------

namespace {

// Cells of a Matrix as the swap sees them.
class TMatrixCells
{
public:
    explicit TMatrixCells(Matrix &Q) : q_(Q) {}
    int32_t Get(int32_t c, int32_t r) const { return q_[c][r]; }
    void Flip(int32_t c, int32_t r) { q_[c][r] = 1 - q_[c][r]; }

private:
    Matrix &q_;
};

// The same cells as bits, column by column. A swap chain reads four random cells per attempt;
// a bit matrix stays in the nearest caches where the 32-bit matrix does not.
class TBitCells
{
public:
    explicit TBitCells(const Matrix &Q)
        : words_((Q.Rows() + 63) / 64), bits_(static_cast<size_t>(Q.Cols()) * words_, 0)
    {
        for (int32_t c = 1; c < Q.Cols(); ++c)
            for (int32_t r = 1; r < Q.Rows(); ++r)
                if (Q[c][r] == 1) Flip(c, r);
    }
    int32_t Get(int32_t c, int32_t r) const { return static_cast<int32_t>((Word(c, r) >> (r & 63)) & 1); }
    void Flip(int32_t c, int32_t r) { Word(c, r) ^= uint64_t(1) << (r & 63); }
    void CopyTo(Matrix &Q) const
    {
        for (int32_t c = 1; c < Q.Cols(); ++c)
            for (int32_t r = 1; r < Q.Rows(); ++r) Q[c][r] = Get(c, r);
    }

private:
    uint64_t &Word(int32_t c, int32_t r) { return bits_[static_cast<size_t>(c) * words_ + (r >> 6)]; }
    uint64_t Word(int32_t c, int32_t r) const { return bits_[static_cast<size_t>(c) * words_ + (r >> 6)]; }

    int32_t words_;
    std::vector<uint64_t> bits_;
};

// One attempt: species r1, site c1, species r2, site c2; the 2 x 2 submatrix is flipped when it
// is a checkerboard. Row and column totals stay the same.
template <typename Cells>
bool TrySwap(Cells &q, int32_t R, int32_t C)
{
    const int32_t r1 = Random(R) + 1;
    const int32_t c1 = Random(C) + 1;
    const int32_t r2 = Random(R) + 1;
    const int32_t c2 = Random(C) + 1;
    const int32_t a = q.Get(c1, r1), b = q.Get(c2, r2), c = q.Get(c2, r1), d = q.Get(c1, r2);
    if (a * b + c * d != 1 || a + b + c + d != 2) return false;
    q.Flip(c1, r1);
    q.Flip(c2, r2);
    q.Flip(c2, r1);
    q.Flip(c1, r2);
    return true;
}

// A matrix has no checkerboard exactly when its rows form a chain under inclusion; it is then
// the only matrix with its margins.
bool HasCheckerboard(const Matrix &Q)
{
    TPackedRows rows;
    rows.BuildRows(Q, Q.Cols() - 1, Q.Rows() - 1);
    std::vector<int32_t> order(static_cast<size_t>(rows.Count()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int32_t x, int32_t y) { return rows.Ones(x) > rows.Ones(y); });
    for (size_t k = 1; k < order.size(); ++k)
        if (!rows.Contains(order[k - 1], order[k])) return true;
    return false;
}

} // namespace

bool TCoOccurrenceSims::CheckerboardSwap(Matrix &Q)
{
    const int32_t R = SpeciesOf(Q), C = SitesOf(Q);
    if (R < 2 || C < 2) return false;
    // Without any checkerboard the draws would go on for ever; after a long run of misses,
    // look once whether there is one.
    const int64_t missesBeforeLook = 4 * static_cast<int64_t>(R) * C + 1000;
    TMatrixCells cells(Q);
    for (int64_t misses = 1;; ++misses) {
        if (slice_.Stopped()) {
            CloseProgress();
            return false;
        }
        if (TrySwap(cells, R, C)) return true;
        if (misses == missesBeforeLook && !HasCheckerboard(Q)) return false;
    }
}

bool TCoOccurrenceSims::SwapMany(Matrix &Q, int32_t N, int32_t &Swaps)
{
    Swaps = 0;
    const int32_t R = SpeciesOf(Q), C = SitesOf(Q);
    if (R < 2 || C < 2 || !HasCheckerboard(Q)) return false;
    TBitCells cells(Q);
    for (; Swaps < N; ++Swaps)
        for (;;) {
            if (slice_.Stopped()) {
                CloseProgress();
                cells.CopyTo(Q);
                return true;
            }
            if (TrySwap(cells, R, C)) break;
        }
    cells.CopyTo(Q);
    return true;
}

void TCoOccurrenceSims::SequentialSwap(const Matrix &P, Matrix &Q)
{
    if (Fixed_Mat.Cols() != P.Cols() || Fixed_Mat.Rows() != P.Rows()) {
        Fixed_Mat = P;
        Done = false;
    }
    if (!Done) {
        // Swaps keep the margins, so every copy of the chain carries current ones.
        MarginalTotalsSized(Fixed_Mat, SitesOf(P), SpeciesOf(P));
        const int32_t N = SwapCount(SpeciesOf(P), SitesOf(P));
        if (Context.SetProgressMax) Context.SetProgressMax(N);
        int32_t swaps = 0;
        // The bar follows the burn-in on the event slices, not on every swap.
        slice_.OnSlice = [&] {
            if (Context.SetProgressPosition) Context.SetProgressPosition(swaps);
        };
        // Swaps keep the margins, so a chain without a checkerboard never gets one.
        chainLocked_ = !SwapMany(Fixed_Mat, N, swaps);
        slice_.OnSlice = nullptr;
        if (Interrupted()) return;
        if (Context.SetProgressMax) Context.SetProgressMax(Iterations);
        if (Context.SetProgressPosition) Context.SetProgressPosition(0);
        Done = true;
    } else if (!chainLocked_) {
        CheckerboardSwap(Fixed_Mat);
        if (Interrupted()) return;
    }
    CopyInto(Fixed_Mat, Q);
    marginsCurrent_ = true;
}

void TCoOccurrenceSims::IndependentSwap(const Matrix &P, Matrix &Q)
{
    CopyInto(P, Q);
    int32_t swaps = 0;
    SwapMany(Q, SwapCount(SpeciesOf(P), SitesOf(P)), swaps);
    marginsCurrent_ = true; // P's margins, kept by every swap
}

void TCoOccurrenceSims::KnightsTourFill(const Matrix &P, Matrix &Q)
{
    Q.SetLength(P.Cols(), P.Rows());
    Q.Fill(0);
    const int32_t R = SpeciesOf(P), C = SitesOf(P);
    if (R < 1 || C < 1) return;
    const int32_t T = P[0][0];
    const int64_t L = static_cast<int64_t>(R) * C - T;
    // The last two draws; the earlier one is undone when the fill is stuck. Site 0 marks
    // "no draw yet", so a stuck start never touches the margins.
    int32_t earlierSite = 0, earlierSpecies = 0, lastSite = 0, lastSpecies = 0;
    int64_t failures = 0;
    while (Q[0][0] < T) {
        if (slice_.Stopped()) {
            CloseProgress();
            return;
        }
        if (failures > L) {
            if (earlierSite > 0 && Q[earlierSite][earlierSpecies] == 1) {
                Q[earlierSite][earlierSpecies] = 0;
                --Q[earlierSite][0];
                --Q[0][earlierSpecies];
                --Q[0][0];
            }
            failures = 0;
            continue;
        }
        int32_t s, k;
        do {
            s = Random(C + 1);
            k = Random(R + 1);
        } while (s < 1 || k < 1);
        earlierSite = lastSite;
        earlierSpecies = lastSpecies;
        lastSite = s;
        lastSpecies = k;
        if (Q[s][0] >= P[s][0] || Q[0][k] >= P[0][k] || Q[s][k] == 1) {
            ++failures;
            continue;
        }
        Q[s][k] = 1;
        ++Q[s][0];
        ++Q[0][k];
        ++Q[0][0];
        failures = 0;
    }
    marginsCurrent_ = true; // kept placement by placement
}
