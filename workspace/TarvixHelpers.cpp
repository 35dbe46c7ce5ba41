#include "workspace/TarvixHelpers.h"

#include "framework/rtl/Strings.h"
#include "framework/rtl/SysUtils.h"

#include <algorithm>
#include <cmath>

std::array<double, 13> HistogramEdges{};
std::array<int32_t, 12> HistogramCounts{};

namespace {

const double DegToRad = 0.017453292519943295769;
const double RadToDeg = 57.295779513082320877;
const QString CRLF = QStringLiteral("\r\n");

// Number of leading elements a routine may read: callers pass counts, never more than exist.
template <typename T>
size_t Used(int32_t count, std::span<T> a)
{
    return count <= 0 ? 0 : std::min(static_cast<size_t>(count), a.size());
}

template <typename T>
void MeanAndSS(std::span<const T> values, double &mean, double &ss)
{
    double sum = 0;
    for (T v : values) sum += v;
    mean = values.empty() ? 0 : sum / static_cast<double>(values.size());
    ss = 0;
    for (T v : values) ss += (v - mean) * (v - mean);
}

template <typename T, typename Same>
void TailOf(std::span<const T> a, double observed, int32_t iterations, Same same, double &P1, double &P2,
            int32_t &Greater, int32_t &Equal, int32_t &Less)
{
    Greater = Equal = Less = 0;
    for (T s : a.first(Used(iterations, a))) {
        if (same(observed, s))
            ++Equal;
        else if (observed < s)
            ++Less;
        else if (observed > s)
            ++Greater;
    }
    if (iterations < 1) return;
    P1 = static_cast<double>(Greater + Equal) / iterations;
    P2 = static_cast<double>(Less + Equal) / iterations;
}

// Only the iterations variant requires the lowest edge for bin 0; the others put anything
// below edge 1 there.
enum class TBinZero { BelowEdge1, FromEdge0 };

template <typename T>
void HistogramOf(std::span<const T> values, TBinZero binZero, double observed, QString &PositionText)
{
    double lo = 0, hi = 0;
    if (!values.empty()) {
        lo = std::min<double>(values.front(), values.back());
        hi = std::max<double>(values.front(), values.back());
    }
    // Repeated addition, so the top edge may differ from the maximum by rounding.
    const double width = (hi - lo) / 12;
    auto &e = HistogramEdges;
    e[0] = lo;
    for (int i = 1; i <= 12; ++i) e[i] = e[i - 1] + width;

    HistogramCounts.fill(0);
    for (T raw : values) {
        const double v = raw;
        int bin = 11;
        if (binZero == TBinZero::BelowEdge1 ? v < e[1] : (e[0] <= v && v < e[1])) {
            bin = 0;
        } else {
            for (int k = 1; k <= 10; ++k)
                if (e[k] <= v && v < e[k + 1]) {
                    bin = k;
                    break;
                }
        }
        ++HistogramCounts[bin];
    }

    int position = 13;
    if (observed < e[0])
        position = 0;
    else if (observed <= e[1])
        position = 1;
    else
        for (int k = 2; k <= 12; ++k)
            if (observed <= e[k]) {
                position = k;
                break;
            }
    PositionText = CRLF.repeated(position);
}

template <typename T>
std::span<const T> UpToLast(int32_t last, std::span<const T> a)
{
    return a.first(Used(last < 0 ? 0 : last + 1, a));
}

// Ascending; NaN is moved behind the numbers first, since with NaN a plain "<" is not a strict
// weak order and the sort could run off the array.
template <typename It>
void SortAscending(It first, It last)
{
    if constexpr (std::is_floating_point_v<std::iter_value_t<It>>)
        last = std::partition(first, last, [](auto v) { return !std::isnan(v); });
    std::sort(first, last);
}

template <typename T>
void SortRange(std::span<T> a, int32_t low, int32_t high)
{
    if (a.empty()) return;
    const int64_t lo = std::max<int64_t>(low, 0);
    const int64_t hi = std::min<int64_t>(high, static_cast<int64_t>(a.size()) - 1);
    if (lo >= hi) return;
    SortAscending(a.begin() + lo, a.begin() + hi + 1);
}

template <typename T>
void Margins(TMatrixOf<T> &M, int32_t cols, int32_t rows)
{
    cols = std::min(cols, M.Cols() - 1);
    rows = std::min(rows, M.Rows() - 1);
    if (cols < 1 || rows < 1) return;
    // Wider accumulator for the integer matrix; the total is stored back in the matrix's type.
    using Sum = std::conditional_t<std::is_integral_v<T>, int64_t, double>;
    // Walk the column-major store column by column; each row total still adds its cells in
    // column order, so real totals round exactly as a row-by-row walk would.
    std::vector<Sum> rowSums(static_cast<size_t>(rows) + 1, Sum(0));
    Sum grand = 0;
    for (int32_t c = 1; c <= cols; ++c) {
        const T *col = M[c];
        Sum s = 0;
        for (int32_t r = 1; r <= rows; ++r) {
            s += col[r];
            rowSums[static_cast<size_t>(r)] += col[r];
        }
        M[c][0] = static_cast<T>(s);
        grand += M[c][0];
    }
    for (int32_t r = 1; r <= rows; ++r) M[0][r] = static_cast<T>(rowSums[static_cast<size_t>(r)]);
    M[0][0] = static_cast<T>(grand);
}

std::vector<double> Numbers(const TStrings &list)
{
    std::vector<double> v;
    v.reserve(list.Count());
    for (int i = 0; i < list.Count(); ++i) v.push_back(StrToFloat(list.Strings(i)));
    return v;
}

} // namespace

void MeanVariance(int32_t Count, std::span<const double> A, double &Mean, double &Variance)
{
    const auto values = A.first(Used(Count, A));
    double ss;
    MeanAndSS(values, Mean, ss);
    Variance = 0;
    if (ss == 0 || values.size() < 2) return;
    const double q = ss / static_cast<double>(values.size() - 1);
    Variance = std::fabs(q) <= 1e-17 ? 0 : q;
}

void MeanVarianceInt(int32_t Count, std::span<const int32_t> A, double &Mean, double &Variance)
{
    const auto values = A.first(Used(Count, A));
    double ss;
    MeanAndSS(values, Mean, ss);
    Variance = values.size() < 2 ? 0 : ss / static_cast<double>(values.size() - 1);
}

void MeanVarianceList(const TStrings &List, double &Mean, double &Variance)
{
    const auto values = Numbers(List);
    double ss;
    MeanAndSS(std::span<const double>(values), Mean, ss);
    // No rounding tolerance here, unlike MeanVariance.
    Variance = ss == 0 || values.size() < 2 ? 0 : ss / static_cast<double>(values.size() - 1);
}

void CircularMeanVariance(int32_t Count, std::span<const double> A, double &Mean, double &Variance)
{
    const auto angles = A.first(Used(Count, A));
    Mean = 0;
    Variance = 0;
    if (angles.empty()) return;
    double S = 0, C = 0;
    for (double a : angles) {
        S += std::sin(a * DegToRad);
        C += std::cos(a * DegToRad);
    }
    const double R = std::sqrt(S * S + C * C);
    // The whole circle: a mean between 180 and 360 degrees is possible.
    if (R > 0) {
        double m = std::atan2(S, C) * RadToDeg;
        if (m < 0) m += 360;
        // A sine sum a rounding error below 0 gives 360 here, which is 0 degrees.
        if (m >= 360) m = 0;
        Mean = m;
    }
    Variance = 1 - R / static_cast<double>(angles.size());
}

void TailProbabilities(std::span<const double> A, double Observed, int32_t Iterations, double &P1, double &P2,
                       int32_t &Greater, int32_t &Equal, int32_t &Less)
{
    TailOf(A, Observed, Iterations, [](double x, double s) { return std::fabs(x - s) <= 1e-15; }, P1, P2, Greater,
           Equal, Less);
}

void TailProbabilitiesInt(std::span<const int32_t> A, double Observed, int32_t Iterations, double &P1, double &P2,
                          int32_t &Greater, int32_t &Equal, int32_t &Less)
{
    TailOf(A, Observed, Iterations, [](double x, int32_t s) { return x == s; }, P1, P2, Greater, Equal, Less);
}

void TailProbabilitiesList(const TStrings &List, double Observed, double &P1, double &P2, int32_t &Greater,
                           int32_t &Equal, int32_t &Less)
{
    const auto values = Numbers(List);
    TailProbabilities(values, Observed, static_cast<int32_t>(values.size()), P1, P2, Greater, Equal, Less);
}

void BuildHistogram(int32_t Last, std::span<const double> A, double Observed, QString &PositionText)
{
    HistogramOf(UpToLast(Last, A), TBinZero::BelowEdge1, Observed, PositionText);
}

void BuildHistogramInt(int32_t Last, std::span<const int32_t> A, double Observed, QString &PositionText)
{
    HistogramOf(UpToLast(Last, A), TBinZero::BelowEdge1, Observed, PositionText);
}

void BuildHistogramIterations(std::span<const double> A, int32_t Iterations, double Observed, QString &PositionText)
{
    HistogramOf(A.first(Used(Iterations, A)), TBinZero::FromEdge0, Observed, PositionText);
}

QString FloatToStr75(double Value) { return FloatToStrF(Value, ffFixed, 7, 5); }

double LeadingReal(const QString &S)
{
    double v = 0;
    int code = 0;
    Val(S, v, code);
    if (code == 0) return v;
    // A digit where reading stopped means the number itself went out of range ("1e400" stops
    // after "1e40"): that is no number, not a shorter one.
    if (code <= S.size() && S[code - 1].unicode() >= '0' && S[code - 1].unicode() <= '9') return 0.0;
    double part = 0;
    Val(S.left(code - 1), part, code);
    return code == 0 ? part : 0.0;
}

void HistogramToText(QString &Ranges, QString &Counts)
{
    Ranges = CRLF;
    Counts = CRLF;
    for (int i = 0; i < 12; ++i) {
        Ranges += FloatToStr75(HistogramEdges[i]) + ' ' + FloatToStr75(HistogramEdges[i + 1]) + CRLF;
        Counts += IntToStr(HistogramCounts[i]) + CRLF;
    }
}

void HistogramToColumns(QString &Lower, QString &Upper, QString &Counts)
{
    Lower = CRLF;
    Upper = CRLF;
    Counts = CRLF;
    for (int i = 0; i < 12; ++i) {
        Lower += FloatToStr75(HistogramEdges[i]) + CRLF;
        Upper += FloatToStr75(HistogramEdges[i + 1]) + CRLF;
        Counts += IntToStr(HistogramCounts[i]) + CRLF;
    }
}

void QuickSortReal(std::span<double> A, int32_t Low, int32_t High) { SortRange(A, Low, High); }

void QuickSortInt(std::span<int32_t> A, int32_t Low, int32_t High) { SortRange(A, Low, High); }

void MedianReal(std::span<double> A, double &Median)
{
    if (A.empty()) return;
    SortAscending(A.begin(), A.end());
    const size_t n = A.size();
    Median = n % 2 ? A[n / 2] : (A[n / 2 - 1] + A[n / 2]) / 2;
}

void MedianList(const TStrings &List, double &Median)
{
    auto values = Numbers(List);
    MedianReal(values, Median);
}

void MinReal(int32_t Count, std::span<const double> A, double &Minimum)
{
    if (A.empty()) return;
    Minimum = A[0];
    for (double v : A.first(Used(Count, A)))
        if (v < Minimum) Minimum = v;
}

void MaxReal(int32_t Count, std::span<const double> A, double &Maximum)
{
    if (A.empty()) return;
    Maximum = A[0];
    for (double v : A.first(Used(Count, A)))
        if (v > Maximum) Maximum = v;
}

void LinearRegression(std::span<const double> X, std::span<const double> Y, int32_t Count, double &Slope,
                      double &Intercept, double &R)
{
    double Sx = 0, Sy = 0;
    for (double x : X) Sx += x;
    for (double y : Y) Sy += y;
    const double meanX = X.empty() ? 0 : Sx / static_cast<double>(X.size());
    const double meanY = Y.empty() ? 0 : Sy / static_cast<double>(Y.size());
    const size_t n = std::min(Used(Count, X), Y.size());
    double Sxy = 0, SSx = 0, SSy = 0;
    for (size_t i = 0; i < n; ++i) {
        Sxy += X[i] * Y[i];
        SSx += (X[i] - meanX) * (X[i] - meanX);
        SSy += (Y[i] - meanY) * (Y[i] - meanY);
    }
    const double sxy = Count <= 0 ? 0 : Sxy - Sx * Sy / Count;
    Slope = SSx <= 0 ? 0 : sxy / SSx;
    Intercept = meanY - Slope * meanX;
    R = SSy * SSx <= 0 ? 0 : sxy / std::sqrt(SSy * SSx);
}

// The slope of LinearRegression, every sum taken in the same order, without the sums that only r
// and the intercept need: the macroecology statistics take it once per iteration.
void RegressionSlope(std::span<const double> X, std::span<const double> Y, int32_t Count, double &Slope)
{
    double Sx = 0, Sy = 0;
    if (X.size() == Y.size()) {
        for (size_t i = 0; i < X.size(); ++i) {
            Sx += X[i];
            Sy += Y[i];
        }
    } else {
        for (double x : X) Sx += x;
        for (double y : Y) Sy += y;
    }
    const double meanX = X.empty() ? 0 : Sx / static_cast<double>(X.size());
    const size_t n = std::min(Used(Count, X), Y.size());
    double Sxy = 0, SSx = 0;
    for (size_t i = 0; i < n; ++i) {
        Sxy += X[i] * Y[i];
        SSx += (X[i] - meanX) * (X[i] - meanX);
    }
    Slope = SlopeFromSums(Sx, Sy, Sxy, SSx, Count);
}

double SlopeFromSums(double Sx, double Sy, double Sxy, double SSx, int32_t Count)
{
    const double sxy = Count <= 0 ? 0 : Sxy - Sx * Sy / Count;
    return SSx <= 0 ? 0 : sxy / SSx;
}

void MarginalTotalsSized(Matrix &M, int32_t Cols, int32_t Rows) { Margins(M, Cols, Rows); }

void MarginalTotals(Matrix &M, const TInfoMat &info_Mat) { Margins(M, info_Mat[2], info_Mat[3]); }

void RealMarginalTotals(Real_Matrix &M, int32_t Cols, int32_t Rows) { Margins(M, Cols, Rows); }

void CopyNonEmptyRows(const Matrix &Source, Matrix &Dest, TInfoMat &info_Mat)
{
    const int32_t rows = std::min(info_Mat[3], Source.Rows() - 1);
    const int32_t cols = std::min({info_Mat[2], Source.Cols() - 1, Dest.Cols() - 1});
    // Rows that do not fit the destination are not copied.
    const int32_t room = std::max(Dest.Rows() - 1, 0);
    // Runs once per simulated matrix: the row list keeps its space between calls.
    thread_local std::vector<int32_t> kept;
    kept.clear();
    for (int32_t r = 1; r <= rows && static_cast<int32_t>(kept.size()) < room; ++r)
        if (Source[0][r] > 0) kept.push_back(r);
    // Column by column, following the store's layout.
    for (int32_t c = 1; c <= cols; ++c) {
        const int32_t *src = Source[c];
        int32_t *dst = Dest[c];
        for (size_t k = 0; k < kept.size(); ++k) dst[k + 1] = src[kept[k]];
    }
    info_Mat[3] = static_cast<int32_t>(kept.size());
}

void DropEmptyColumns(Matrix &M, TInfoMat &info_Mat)
{
    Matrix kept(info_Mat[0], info_Mat[1]);
    const int32_t cols = std::min(info_Mat[2], M.Cols() - 1);
    const int32_t rows = std::min({info_Mat[3], M.Rows() - 1, kept.Rows() - 1});
    const int32_t room = std::max(kept.Cols() - 1, 0);
    int32_t k = 0;
    for (int32_t c = 1; c <= cols && k < room; ++c) {
        if (M[c][0] <= 0) continue;
        ++k;
        if (rows > 0) std::copy(M[c] + 1, M[c] + rows + 1, kept[k] + 1);
    }
    info_Mat[2] = k;
    M = std::move(kept);
}

int32_t CountNonZeroRows(const Matrix &M, int32_t Rows)
{
    if (M.Empty()) return 0;
    int32_t n = 0;
    for (int32_t r = 1; r <= std::min(Rows, M.Rows() - 1); ++r)
        if (M[0][r] > 0) ++n;
    return n;
}

void CopyIntArray(std::span<const int32_t> Source, std::span<int32_t> Dest)
{
    std::copy_n(Source.begin(), std::min(Source.size(), Dest.size()), Dest.begin());
}

TResultBlock RealResultBlock(std::span<double> Sims, int32_t N, double Observed)
{
    TResultBlock b;
    if (N < 1) return b;
    MeanVariance(N, Sims, b.Mean, b.Variance);
    TailProbabilities(Sims, Observed, N, b.P1, b.P2, b.Greater, b.Equal, b.Less);
    b.Ses = b.Variance > 0 ? (Observed - b.Mean) / std::sqrt(b.Variance) : 0.0;
    QuickSortReal(Sims, 0, N - 1);
    BuildHistogram(N - 1, Sims, Observed, b.Position);
    HistogramToText(b.Edges, b.Counts);
    return b;
}

TResultBlock IntResultBlock(std::span<int32_t> Sims, int32_t N, double Observed)
{
    TResultBlock b;
    if (N < 1) return b;
    MeanVarianceInt(N, Sims, b.Mean, b.Variance);
    TailProbabilitiesInt(Sims, Observed, N, b.P1, b.P2, b.Greater, b.Equal, b.Less);
    b.Ses = b.Variance > 0 ? (Observed - b.Mean) / std::sqrt(b.Variance) : 0.0;
    QuickSortInt(Sims, 0, N - 1);
    BuildHistogramInt(N - 1, Sims, Observed, b.Position);
    HistogramToText(b.Edges, b.Counts);
    return b;
}

void UnpackResultBlock(const TResultBlock &B, double &Mean, double &Variance, double &P1, double &P2, int32_t &Less,
                       int32_t &Equal, int32_t &Greater, double &Ses, QString &Position, QString &Edges,
                       QString &Counts)
{
    Mean = B.Mean;
    Variance = B.Variance;
    P1 = B.P1;
    P2 = B.P2;
    Less = B.Less;
    Equal = B.Equal;
    Greater = B.Greater;
    Ses = B.Ses;
    Position = B.Position;
    Edges = B.Edges;
    Counts = B.Counts;
}
