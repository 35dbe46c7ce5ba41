// The niche overlap engine.
#include "models/overlap_diversity/NicheOverlapSims.h"
#include "framework/grids/Grids.h"
#include "framework/rtl/Strings.h"
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/System.h"
#include "workspace/TarvixHelpers.h"
#include "workspace/WeightsTable.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace {

QString GeneralText(double Value) { return FloatToStrF(Value, ffGeneral, 7, 5); }

const double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                         1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

} // namespace

namespace {

// The value of the general text, the slow and sure way.
[[gnu::noinline]] double ViaText(double Value) { return StrToFloat(GeneralText(Value)); }

inline double Round7(double Value)
{
    if (Value == 0) return 0;
    const double a = std::fabs(Value);
    const int binary = static_cast<int>((std::bit_cast<uint64_t>(a) >> 52) & 0x7ff) - 1023;
    // Infinities, NaN and subnormals.
    if (binary == 1024 || binary == -1023) return ViaText(Value);
    // Scaled so that the 7 kept digits are the integer part: a * 10^k in [1e6, 1e7). The binary
    // exponent times log10(2), floored, is the decimal exponent or one below it.
    int k = 6 - ((binary * 78913) >> 18);
    if (k < 1 || k > 22) return ViaText(Value);
    double s = a * kPow10[k];
    if (s >= 1e7) s = a * kPow10[--k];
    if (s < 1e6 || s >= 1e7) return ViaText(Value);
    // The nearest integer, without a branch: adding 1.5 * 2^52 leaves no bits for a fraction.
    const double nearest = (s + 6755399441055744.0) - 6755399441055744.0;
    // The product carries an error of about 1e-9; a fraction that close to a half is decided by
    // the text's own rounding.
    if (std::fabs(std::fabs(s - nearest) - 0.5) < 1e-6) return ViaText(Value);
    // An integer below 1e7 over an exact power of ten: one correctly rounded division, the same
    // double as the decimal text read back.
    const double r = nearest / kPow10[k];
    return Value < 0 ? -r : r;
}

} // namespace

double RoundToGeneral7(double Value) { return Round7(Value); }

uint32_t PermutationKey(uint32_t State)
{
    // The draw is State / 2^32; its fixed text keeps 5 decimals, rounded half up. The draw has at
    // most 32 binary decimals, so the text's rounding of its decimal digits is the exact one.
    return static_cast<uint32_t>((static_cast<uint64_t>(State) * 100000u + 0x80000000u) >> 32);
}

void MeanVarianceValues(std::span<const double> Values, double &Mean, double &Variance)
{
    // Summed about the first value: equal values give exactly their value and variance 0, where
    // a plain sum / n can miss by a bit and turn the spread of identical simulations into a
    // standardized effect of about 1.
    const double first = Values.empty() ? 0 : Values[0];
    double sum = 0;
    for (double v : Values) sum += v - first;
    Mean = Values.empty() ? 0 : first + sum / static_cast<double>(Values.size());
    double ss = 0;
    for (double v : Values) ss += (v - Mean) * (v - Mean);
    Variance = ss == 0 || Values.size() < 2 ? 0 : ss / static_cast<double>(Values.size() - 1);
}

void TNicheOverlapSims::SetUpMatrices(const TStringGrid &Grid)
{
    const int32_t C = Grid.ColCount(), R = Grid.RowCount();
    states_ = std::max(C - 1, 0);
    species_ = std::max(R - 1, 0);
    for (Real_Matrix *m : {&ObservedMatrix, &StandardizedMatrix, &SimulatedMatrix, &DataDefinedMatrix}) {
        m->SetLength(C, R);
        m->Fill(0);
    }
    excluded_.SetLength(C, R);
    excluded_.Fill(0);
    for (int32_t c = 1; c < C; ++c)
        for (int32_t r = 1; r < R; ++r) {
            const QString text = Grid.Cells(c, r);
            excluded_[c][r] = text == QLatin1String("x");
            ObservedMatrix[c][r] = LeadingReal(text);
        }
}

void TNicheOverlapSims::Calculate_Row_Pairs()
{
    const int64_t R = species_ + 1;
    Row_Pairs = static_cast<int32_t>((R - 1) * (R - 2) / 2);
    NumPairs = Row_Pairs;
}

bool TNicheOverlapSims::ZeroRows_Test(int32_t &NonZeroRows, int32_t &RowError)
{
    RealMarginalTotals(ObservedMatrix, states_, species_);
    CheckNonZeroRows(ObservedMatrix, species_, NonZeroRows, RowError);
    return NonZeroRows >= 0;
}

void TNicheOverlapSims::standardize(const Real_Matrix &Source)
{
    for (int32_t r = 1; r <= species_; ++r) {
        double s = 0;
        for (int32_t c = 1; c <= states_; ++c) s += Source[c][r];
        for (int32_t c = 1; c <= states_; ++c) StandardizedMatrix[c][r] = s > 0 ? Source[c][r] / s : 0.0;
    }
}

void TNicheOverlapSims::UserDefined(std::span<const double> Weights)
{
    for (int32_t c = 1; c <= states_; ++c) {
        const double w = static_cast<size_t>(c - 1) < Weights.size() ? Weights[static_cast<size_t>(c - 1)] : 0.0;
        double *column = ObservedMatrix[c];
        for (int32_t r = 1; r <= species_; ++r) column[r] = w > 0 ? column[r] / w : 0.0;
    }
}

void TNicheOverlapSims::pairs(int32_t Index, std::span<double> Out)
{
    // A column of the matrix holds the species side by side, so each sum runs over the states in
    // order (the rounding of a plain loop over one pair) while one species is set against all
    // later ones at once.
    const size_t n = static_cast<size_t>(species_);
    rows_.assign(n + 1, 0.0);
    sumSquares_.assign(n + 1, 0.0);
    if (Index == niPianka)
        for (int32_t c = 1; c <= states_; ++c) {
            const double *p = StandardizedMatrix[c];
            for (size_t r = 1; r <= n; ++r) sumSquares_[r] += p[r] * p[r];
        }
    double *acc = rows_.data();
    size_t k = 0;
    for (size_t i = 1; i < n && k < Out.size(); ++i) {
        std::fill(acc + i + 1, acc + n + 1, 0.0);
        for (int32_t c = 1; c <= states_; ++c) {
            const double *p = StandardizedMatrix[c];
            const double pi = p[i];
            if (Index == niPianka)
                for (size_t j = i + 1; j <= n; ++j) acc[j] += pi * p[j];
            else
                for (size_t j = i + 1; j <= n; ++j) acc[j] += std::fabs(pi - p[j]);
        }
        for (size_t j = i + 1; j <= n && k < Out.size(); ++j, ++k) {
            if (Index == niPianka) {
                const double root = std::sqrt(sumSquares_[i] * sumSquares_[j]);
                Out[k] = root == 0 ? 0.0 : acc[j] / root;
            } else {
                Out[k] = 1 - 0.5 * acc[j];
            }
        }
    }
}

void TNicheOverlapSims::PairValues(int32_t Index, std::span<double> Pairs)
{
    pairs(Index, Pairs);
    for (double &v : Pairs) v = Round7(v);
}

void TNicheOverlapSims::PiankaIndexArray(TStrings &List)
{
    std::vector<double> v(static_cast<size_t>(std::max(Row_Pairs, 0)));
    pairs(niPianka, v);
    for (double x : v) List.Add(GeneralText(x));
}

void TNicheOverlapSims::CzekanowskiIndexArray(TStrings &List)
{
    std::vector<double> v(static_cast<size_t>(std::max(Row_Pairs, 0)));
    pairs(niCzekanowski, v);
    for (double x : v) List.Add(GeneralText(x));
}

int32_t TNicheOverlapSims::AlgorithmOf(int32_t NicheBreadth, int32_t ZeroStates)
{
    return (NicheBreadth == nbRelaxed ? 1 : 3) + (ZeroStates == zsRetained ? 1 : 0);
}

void TNicheOverlapSims::permuteRow(int32_t r)
{
    const size_t m = cols_.size();
    keys_.resize(m);
    // The key in the high half, the list position in the low half: tied keys rank in list order,
    // so every value lands in exactly one column.
    for (size_t p = 0; p < m; ++p) {
        Random();
        keys_[p] = (static_cast<uint64_t>(PermutationKey(RandSeed)) << 32) | p;
    }
    std::sort(keys_.begin(), keys_.end());
    for (size_t q = 0; q < m; ++q) SimulatedMatrix[cols_[q]][r] = values_[keys_[q] & 0xffffffffu];
}

void TNicheOverlapSims::RandomizeMatrix(int32_t NicheBreadth, int32_t ZeroStates)
{
    Algorithm = AlgorithmOf(NicheBreadth, ZeroStates);
    if (Algorithm == 4) SimulatedMatrix.Fill(0);
    for (int32_t r = 1; r <= species_; ++r) {
        switch (Algorithm) {
        case 1:
            for (int32_t c = 1; c <= states_; ++c) SimulatedMatrix[c][r] = excluded_[c][r] ? 0.0 : Random();
            break;
        case 2:
            for (int32_t c = 1; c <= states_; ++c)
                SimulatedMatrix[c][r] = ObservedMatrix[c][r] != 0 && !excluded_[c][r] ? Random() : 0.0;
            break;
        default:
            cols_.clear();
            values_.clear();
            for (int32_t c = 1; c <= states_; ++c) {
                const bool eligible = Algorithm == 3 ? !excluded_[c][r] : ObservedMatrix[c][r] != 0;
                if (eligible) {
                    cols_.push_back(c);
                    values_.push_back(ObservedMatrix[c][r]);
                } else if (Algorithm == 3) {
                    SimulatedMatrix[c][r] = 0;
                }
            }
            permuteRow(r);
            break;
        }
    }
}
