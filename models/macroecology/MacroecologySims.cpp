#include "models/macroecology/MacroecologySims.h"
#include "framework/rtl/System.h"
#include "workspace/TarvixHelpers.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

size_t Points(std::span<const double> X, std::span<const double> Y) { return std::min(X.size(), Y.size()); }

// D * D when Inside, else +0 (which leaves a sum as it was), chosen by a mask: clouds are random,
// so a branch would be mispredicted for half the points.
inline double MaskedSquare(bool Inside, double D)
{
    const double sq = D * D;
    uint64_t bits = 0;
    std::memcpy(&bits, &sq, sizeof bits);
    bits &= uint64_t(0) - uint64_t(Inside);
    double out = 0;
    std::memcpy(&out, &bits, sizeof out);
    return out;
}

// Adds every point that Test finds inside (it gives the point's distance D) to Count and, in point
// order, its squared distance to SumSquares.
template <typename F>
void AddPoints(std::span<const double> X, std::span<const double> Y, int32_t &Count, double &SumSquares, F &&Test)
{
    const size_t n = std::min(X.size(), Y.size());
    int32_t count = Count;
    double sum = SumSquares;
    for (size_t k = 0; k < n; ++k) {
        double d = 0;
        const bool inside = Test(X[k], Y[k], d);
        count += inside;
        sum += MaskedSquare(inside, d);
    }
    Count = count;
    SumSquares = sum;
}

// Two points side by side: the point tests run on both lanes at once with the same operations as
// on one value, so every lane gives the bits the one-point form gives.
using TPair = double __attribute__((vector_size(16)));
using TPairMask = int64_t __attribute__((vector_size(16)));

// A comparison's mask as a plain bit pattern: left to itself GCC keeps it a vector of truth values
// and, at the baseline SSE2, rebuilds every use of it one lane at a time through the integer
// registers.
inline TPairMask Settled(TPairMask M)
{
#if defined(__GNUC__) && defined(__SSE2__)
    asm("" : "+x"(M));
#endif
    return M;
}

inline bool Settled(bool M) { return M; }

inline TPair Select(TPairMask M, TPair A, TPair B) { return TPair((TPairMask(A) & M) | (TPairMask(B) & ~M)); }
inline double Select(bool M, double A, double B) { return M ? A : B; }
inline TPair MaskedSquare(TPairMask Inside, TPair D) { return TPair(TPairMask(D * D) & Inside); }

// The line value at x, as LineValue computes it, for one point or a pair.
template <typename T>
inline T LineAt(double S, double X0, double Y0, T X)
{
    return S * X - S * X0 + Y0;
}

// The lower of two line values; ties take the second, as the sum rule reads.
template <typename T>
inline T LowerLine(T L1, T L2)
{
    return Select(L1 < L2, L1, L2);
}

// The point tests: each gives whether (x, y) counts and its distance D to the measuring line.
struct TBelowLine
{
    double S, X0, Y0;
    template <typename T>
    auto operator()(T x, T y, T &d) const
    {
        const T l = LineAt(S, X0, Y0, x);
        d = y - l;
        return y < l;
    }
};

struct TAboveLine
{
    double S, X0, Y0;
    template <typename T>
    auto operator()(T x, T y, T &d) const
    {
        const T l = LineAt(S, X0, Y0, x);
        d = y - l;
        return y > l;
    }
};

struct TBelowBentLine
{
    double S1, S2, X0, Y0;
    template <typename T>
    auto operator()(T x, T y, T &d) const
    {
        const T l1 = LineAt(S1, X0, Y0, x);
        const T l2 = LineAt(S2, X0, Y0, x);
        d = y - l1;
        return Settled(y < l1) | Settled(y < l2);
    }
};

struct TInsidePyramid
{
    double S1, P, Q, S2, U, V;
    template <typename T>
    auto operator()(T x, T y, T &d) const
    {
        const T l1 = LineAt(S1, P, Q, x);
        const T l2 = LineAt(S2, U, V, x);
        d = y - LowerLine(l1, l2);
        return Settled(y < l1) & Settled(y < l2);
    }
};

struct TInsideInvertedPyramid
{
    double S1, P, Q, S2, U, V;
    template <typename T>
    auto operator()(T x, T y, T &d) const
    {
        const T l1 = LineAt(S1, P, Q, x);
        const T l2 = LineAt(S2, U, V, x);
        d = y - LowerLine(l1, l2);
        return Settled(y > l1) & Settled(y > l2);
    }
};

// Per axis 0 below the median, 1 on it, 2 above it, 3 for a value that compares with nothing
// (NaN), which counts nowhere: computed without branches, since a random cloud would defeat the
// predictor.
inline int QuadrantBin(double x, double y, double MedX, double MedY)
{
    const int ix = (x >= MedX) + (x > MedX) + 3 * (x != x);
    const int iy = (y >= MedY) + (y > MedY) + 3 * (y != y);
    return 4 * ix + iy;
}

void CountsFromBins(const int64_t Bins[16], double Counts[4])
{
    const auto bin = [Bins](int ix, int iy) { return Bins[4 * ix + iy]; };
    // In quarters of a point: a point on one median counts half in each of its two quadrants, one
    // on both a quarter in each of the four.
    const int64_t centre = bin(1, 1);
    const int64_t ur = 4 * bin(2, 2) + 2 * (bin(1, 2) + bin(2, 1)) + centre;
    const int64_t ul = 4 * bin(0, 2) + 2 * (bin(1, 2) + bin(0, 1)) + centre;
    const int64_t ll = 4 * bin(0, 0) + 2 * (bin(1, 0) + bin(0, 1)) + centre;
    const int64_t lr = 4 * bin(2, 0) + 2 * (bin(1, 0) + bin(2, 1)) + centre;
    Counts[0] = static_cast<double>(ur) / 4;
    Counts[1] = static_cast<double>(ul) / 4;
    Counts[2] = static_cast<double>(ll) / 4;
    Counts[3] = static_cast<double>(lr) / 4;
}

}  // namespace

void AddBelowLine(std::span<const double> X, std::span<const double> Y, double S, double X0, double Y0, int32_t &Count,
                  double &SumSquares)
{
    AddPoints(X, Y, Count, SumSquares, TBelowLine{S, X0, Y0});
}

void CountBelowLine(std::span<const double> X, std::span<const double> Y, double S, double X0, double Y0,
                    int32_t &Count, double &SumSquares)
{
    Count = 0;
    SumSquares = 0;
    AddBelowLine(X, Y, S, X0, Y0, Count, SumSquares);
}

void CountAboveLine(std::span<const double> X, std::span<const double> Y, double S, double X0, double Y0,
                    int32_t &Count, double &SumSquares)
{
    Count = 0;
    SumSquares = 0;
    AddPoints(X, Y, Count, SumSquares, TAboveLine{S, X0, Y0});
}

void AddBelowBentLine(std::span<const double> X, std::span<const double> Y, double S1, double S2, double X0, double Y0,
                      int32_t &Count, double &SumSquares)
{
    AddPoints(X, Y, Count, SumSquares, TBelowBentLine{S1, S2, X0, Y0});
}

void AddInsidePyramid(std::span<const double> X, std::span<const double> Y, double S1, double S2, double A, double B,
                      double C, double D, int32_t &Count, double &SumSquares)
{
    AddInsidePyramidAt(X, Y, S1, A, B, S2, (A + C) / 2, D, Count, SumSquares);
}

void AddInsidePyramidAt(std::span<const double> X, std::span<const double> Y, double S1, double P, double Q, double S2,
                        double U, double V, int32_t &Count, double &SumSquares)
{
    AddPoints(X, Y, Count, SumSquares, TInsidePyramid{S1, P, Q, S2, U, V});
}

void AddInsideInvertedPyramid(std::span<const double> X, std::span<const double> Y, double S1, double S2, double A,
                              double B, double C, double D, int32_t &Count, double &SumSquares)
{
    AddInsideInvertedPyramidAt(X, Y, S1, A, D, S2, (A + C) / 2, B, Count, SumSquares);
}

void AddInsideInvertedPyramidAt(std::span<const double> X, std::span<const double> Y, double S1, double P, double Q,
                                double S2, double U, double V, int32_t &Count, double &SumSquares)
{
    AddPoints(X, Y, Count, SumSquares, TInsideInvertedPyramid{S1, P, Q, S2, U, V});
}

void QuadrantCounts(std::span<const double> X, std::span<const double> Y, double MedX, double MedY, double Counts[4])
{
    int64_t bins[16] = {};
    const size_t n = Points(X, Y);
    for (size_t k = 0; k < n; ++k) ++bins[QuadrantBin(X[k], Y[k], MedX, MedY)];
    CountsFromBins(bins, Counts);
}

void QuadrantDispersion(std::span<const double> X, std::span<const double> Y, double MedX, double MedY,
                        double &Dispersion)
{
    double counts[4];
    QuadrantCounts(X, Y, MedX, MedY, counts);
    double mean = 0;
    MeanVariance(4, std::span<const double>(counts, 4), mean, Dispersion);
}

namespace {

// The sum of squared deviations from the mean Sum / n, in point order.
double CentredSquares(std::span<const double> X, double Sum)
{
    const size_t n = X.size();
    const double mean = n == 0 ? 0 : Sum / static_cast<double>(n);
    double squares = 0;
    for (size_t k = 0; k < n; ++k) squares += (X[k] - mean) * (X[k] - mean);
    return squares;
}

}  // namespace

TMacroXSums MacroXSums(std::span<const double> X)
{
    double sum = 0;
    for (double x : X) sum += x;
    return {sum, CentredSquares(X, sum)};
}

double SortedMedian(std::span<const double> Sorted)
{
    const size_t n = Sorted.size();
    if (n == 0) return 0;
    if (n % 2 == 1) return Sorted[n / 2];
    return (Sorted[n / 2 - 1] + Sorted[n / 2]) / 2;
}

// ---- One computation
// ------------------------------------------------------------------------------

namespace {

// The boundary of the chosen corner: the line through the corner's two side points (Cx on the
// horizontal side, Cy on the vertical one), counted above for the upper corners and below for the
// lower ones. Calls Use with the point test; false for an unknown corner.
template <typename F>
bool WithBoundary(const TMacroBox &B, double Cx, double Cy, int32_t Boundary, double Slope, TMacroSegment &Segment,
                  F &&Use)
{
    switch (Boundary) {
    case mbUpperRight:
        Segment = {Cx, B.MaxY, B.MaxX, Cy};
        Use(TAboveLine{Slope, Cx, B.MaxY});
        return true;
    case mbUpperLeft:
        Segment = {B.MinX, Cy, Cx, B.MaxY};
        Use(TAboveLine{Slope, B.MinX, Cy});
        return true;
    case mbLowerRight:
        Segment = {Cx, B.MinY, B.MaxX, Cy};
        Use(TBelowLine{Slope, Cx, B.MinY});
        return true;
    case mbLowerLeft:
        Segment = {B.MinX, Cy, Cx, B.MinY};
        Use(TBelowLine{Slope, B.MinX, Cy});
        return true;
    default: return false;
    }
}

// The shape's point test with the lines on the box's mid-points. False for an unknown shape.
template <typename F>
bool WithSymmetricShape(const TMacroBox &B, int32_t Pattern, F &&Use)
{
    const double midX = (B.MinX + B.MaxX) / 2;
    switch (Pattern) {
    case mpLeftTriangle: Use(TBelowLine{SafeSlope(-(B.MaxY - B.MinY), B.MaxX - B.MinX), B.MaxX, B.MinY}); return true;
    case mpRightTriangle: Use(TBelowLine{SafeSlope(B.MaxY - B.MinY, B.MaxX - B.MinX), B.MinX, B.MinY}); return true;
    case mpPyramid:
        Use(TInsidePyramid{SafeSlope(B.MinY - B.MaxY, B.MinX - midX), B.MinX, B.MinY,
                           SafeSlope(B.MaxY - B.MinY, midX - B.MaxX), midX, B.MaxY});
        return true;
    case mpInvertedPyramid:
        Use(TInsideInvertedPyramid{SafeSlope(B.MaxY - B.MinY, B.MinX - midX), B.MinX, B.MaxY,
                                   SafeSlope(B.MinY - B.MaxY, midX - B.MaxX), midX, B.MinY});
        return true;
    default: return false;
    }
}

// The shape's point test with the lines through the medians. False for an unknown shape.
template <typename F>
bool WithAsymmetricShape(const TMacroBox &B, double MedX, double MedY, int32_t Pattern, F &&Use)
{
    switch (Pattern) {
    case mpLeftTriangle:
        Use(TBelowBentLine{SafeSlope(B.MaxY - MedY, B.MinX - MedX), SafeSlope(MedY - B.MinY, MedX - B.MaxX), MedX, MedY});
        return true;
    case mpRightTriangle:
        Use(TBelowBentLine{SafeSlope(B.MinY - MedY, B.MinX - MedX), SafeSlope(MedY - B.MaxY, MedX - B.MaxX), MedX, MedY});
        return true;
    case mpPyramid:
        Use(TInsidePyramid{SafeSlope(B.MinY - B.MaxY, B.MinX - MedX), B.MinX, B.MinY,
                           SafeSlope(B.MaxY - B.MinY, MedX - B.MaxX), MedX, B.MaxY});
        return true;
    case mpInvertedPyramid:
        Use(TInsideInvertedPyramid{SafeSlope(B.MaxY - B.MinY, B.MinX - MedX), B.MinX, B.MaxY,
                                   SafeSlope(B.MinY - B.MaxY, MedX - B.MaxX), MedX, B.MinY});
        return true;
    default: return false;
    }
}

// What one walk over the points counts and sums.
struct TWalkSums
{
    int64_t InShape = 0, InBound = 0;
    double ShapeSum = 0, BoundSum = 0, Sx = 0, Sy = 0, Sxy = 0;
};

inline TPair LoadPair(const double *P)
{
    TPair v;
    std::memcpy(&v, P, sizeof v);
    return v;
}

// The quadrant counts come from three sums over the points, each a count in whole units (its order
// does not matter): with ix, iy = 0 below the median, 1 on it, 2 above it, a point adds ix * iy
// quarters to the upper right, (2 - ix) * iy to the upper left, and so on. A value that compares
// with nothing (NaN) counts nowhere: the sums cannot say so, and the bins are counted instead.
struct TQuadrantSums
{
    int64_t Points = 0, SumX = 0, SumY = 0, SumXY = 0;
    bool Unordered = false;
};

void CountsFromSums(const TQuadrantSums &Q, double Counts[4])
{
    const int64_t ur = Q.SumXY, ul = 2 * Q.SumY - Q.SumXY, lr = 2 * Q.SumX - Q.SumXY,
                  ll = 4 * Q.Points - 2 * Q.SumX - 2 * Q.SumY + Q.SumXY;
    Counts[0] = static_cast<double>(ur) / 4;
    Counts[1] = static_cast<double>(ul) / 4;
    Counts[2] = static_cast<double>(ll) / 4;
    Counts[3] = static_cast<double>(lr) / 4;
}

// Shape, boundary, quadrants and the sums of the slope in one walk over the points, two at a time.
// The tests and products of a pair are independent; the sums then take lane 0 before lane 1, in
// point order as the separate routines add, so the results are the same to the last bit. The x
// sum is skipped when the caller has it (the x values do not move).
template <bool WithXSum, typename TShape, typename TBound>
TWalkSums Walk(std::span<const double> X, std::span<const double> Y, double MedX, double MedY, const TShape &Shape,
               const TBound &Bound, TQuadrantSums &Q)
{
    const size_t n = X.size();
    const double *xs = X.data(), *ys = Y.data();
    // Counts kept negative (a true lane is -1) in the pair loop.
    TPairMask inShape = {0, 0}, inBound = {0, 0}, qx = {0, 0}, qy = {0, 0}, qxy = {0, 0};
    const TPair mx = {MedX, MedX}, my = {MedY, MedY};
    TPair squares = {0, 0}, ySums = {0, 0};
    double Sx = 0;
    size_t k = 0;
    for (; k + 2 <= n; k += 2) {
        const TPair x = LoadPair(xs + k), y = LoadPair(ys + k);
        TPair d, e;
        const TPairMask a = Settled(Shape(x, y, d));
        inShape += a;
        const TPair sqA = MaskedSquare(a, d);
        const TPairMask b = Settled(Bound(x, y, e));
        inBound += b;
        const TPair sqB = MaskedSquare(b, e);
        const TPairMask ix = Settled(x >= mx) + Settled(x > mx), ge = Settled(y >= my), gt = Settled(y > my);
        qx += ix;
        qy += ge + gt;
        qxy += (ix & ge) + (ix & gt);
        const TPair xy = x * y;
        // Two sums side by side in one register, lane by lane the same additions.
        squares += TPair{sqA[0], sqB[0]};
        squares += TPair{sqA[1], sqB[1]};
        if constexpr (WithXSum) {
            Sx += x[0];
            Sx += x[1];
        }
        ySums += TPair{y[0], xy[0]};
        ySums += TPair{y[1], xy[1]};
    }
    double shapeSum = squares[0], boundSum = squares[1], Sy = ySums[0], Sxy = ySums[1];
    TWalkSums w;
    w.InShape = -(inShape[0] + inShape[1]);
    w.InBound = -(inBound[0] + inBound[1]);
    Q.Points = static_cast<int64_t>(n);
    Q.SumX = -(qx[0] + qx[1]);
    Q.SumY = -(qy[0] + qy[1]);
    Q.SumXY = -(qxy[0] + qxy[1]);
    for (; k < n; ++k) {
        const double x = xs[k], y = ys[k];
        double d = 0, e = 0;
        const bool a = Shape(x, y, d);
        w.InShape += a;
        shapeSum += MaskedSquare(a, d);
        const bool b = Bound(x, y, e);
        w.InBound += b;
        boundSum += MaskedSquare(b, e);
        const int ix = (x >= MedX) + (x > MedX), iy = (y >= MedY) + (y > MedY);
        Q.SumX += ix;
        Q.SumY += iy;
        Q.SumXY += ix * iy;
        if constexpr (WithXSum) Sx += x;
        Sy += y;
        Sxy += x * y;
    }
    // A value that compares with nothing makes the sum of y or that of the products NaN (the
    // check also takes in a few clouds that hold none, which only count their bins).
    Q.Unordered = std::isnan(Sy) || std::isnan(Sxy);
    w.ShapeSum = shapeSum;
    w.BoundSum = boundSum;
    w.Sx = Sx;
    w.Sy = Sy;
    w.Sxy = Sxy;
    return w;
}

template <typename TShape, typename TBound>
void OnePass(std::span<const double> X, std::span<const double> Y, double MedX, double MedY, const TShape &Shape,
             const TBound &Bound, const TMacroXSums *XSums, TMacroStatistics &Out)
{
    const size_t n = X.size();
    TQuadrantSums q;
    const TWalkSums w =
        XSums ? Walk<false>(X, Y, MedX, MedY, Shape, Bound, q) : Walk<true>(X, Y, MedX, MedY, Shape, Bound, q);
    double counts[4];
    if (q.Unordered)
        QuadrantCounts(X, Y, MedX, MedY, counts);
    else
        CountsFromSums(q, counts);
    double mean = 0;
    MeanVariance(4, std::span<const double>(counts, 4), mean, Out.Variance);
    Out.WithinSpace = static_cast<int32_t>(w.InShape);
    Out.SumSquares = w.ShapeSum;
    Out.BoundaryWithinSpace = static_cast<int32_t>(w.InBound);
    Out.BoundarySumSquares = w.BoundSum;
    const TMacroXSums xSums = XSums ? *XSums : TMacroXSums{w.Sx, CentredSquares(X, w.Sx)};
    Out.Coefficient = SlopeFromSums(xSums.Sum, w.Sy, w.Sxy, xSums.CentredSquares, static_cast<int32_t>(n));
}

// One computation: the routines one after the other where the cloud's columns differ in length or
// the choice is unknown (that path leaves what an unknown choice does not touch), else one walk.
template <typename FShape>
void Compute(std::span<const double> X, std::span<const double> Y, const TMacroBox &B, double MedX, double MedY,
             double Cx, double Cy, int32_t Boundary, double BoundarySlope, FShape &&WithShape, const TMacroXSums *XSums,
             TMacroStatistics &Out, TMacroSegment &Segment)
{
    Out.BoundaryCoefficient = BoundarySlope;
    TMacroSegment segment = Segment;
    bool done = false;
    if (X.size() == Y.size())
        WithShape([&](const auto &Shape) {
            done = WithBoundary(B, Cx, Cy, Boundary, BoundarySlope, segment,
                                [&](const auto &Bound) { OnePass(X, Y, MedX, MedY, Shape, Bound, XSums, Out); });
        });
    if (done) {
        Segment = segment;
        return;
    }
    Out.WithinSpace = 0;
    Out.SumSquares = 0;
    Out.BoundaryWithinSpace = 0;
    QuadrantDispersion(X, Y, MedX, MedY, Out.Variance);
    WithShape([&](const auto &Shape) { AddPoints(X, Y, Out.WithinSpace, Out.SumSquares, Shape); });
    RegressionSlope(X, Y, static_cast<int32_t>(Points(X, Y)), Out.Coefficient);
    WithBoundary(B, Cx, Cy, Boundary, BoundarySlope, Segment, [&](const auto &Bound) {
        Out.BoundaryWithinSpace = 0;
        Out.BoundarySumSquares = 0;
        AddPoints(X, Y, Out.BoundaryWithinSpace, Out.BoundarySumSquares, Bound);
    });
}

}  // namespace

void MacroSymmetric(std::span<const double> X, std::span<const double> Y, const TMacroBox &B, double MedX, double MedY,
                    int32_t Pattern, int32_t Boundary, TMacroStatistics &Out, TMacroSegment &Segment,
                    const TMacroXSums *XSums)
{
    const double midX = (B.MinX + B.MaxX) / 2;
    const double midY = (B.MinY + B.MaxY) / 2;
    double slope = 0;
    switch (Boundary) {
    case mbUpperRight:
    case mbLowerLeft: slope = SafeSlope(B.MaxY - B.MinY, B.MinX - B.MaxX); break;
    case mbUpperLeft:
    case mbLowerRight: slope = SafeSlope(B.MaxY - B.MinY, B.MaxX - B.MinX); break;
    default: break;
    }
    Compute(X, Y, B, MedX, MedY, midX, midY, Boundary, slope,
            [&](auto &&Use) { return WithSymmetricShape(B, Pattern, Use); }, XSums, Out, Segment);
}

void MacroAsymmetric(std::span<const double> X, std::span<const double> Y, const TMacroBox &B, double MedX, double MedY,
                     int32_t Pattern, int32_t Boundary, TMacroStatistics &Out, TMacroSegment &Segment,
                    const TMacroXSums *XSums)
{
    double slope = 0;
    switch (Boundary) {
    case mbUpperRight: slope = SafeSlope(B.MaxY - MedY, MedX - B.MaxX); break;
    case mbUpperLeft: slope = SafeSlope(B.MaxY - MedY, MedX - B.MinX); break;
    case mbLowerRight: slope = SafeSlope(MedY - B.MinY, B.MaxX - MedX); break;
    case mbLowerLeft: slope = SafeSlope(MedY - B.MinY, B.MinX - MedX); break;
    default: break;
    }
    Compute(X, Y, B, MedX, MedY, MedX, MedY, Boundary, slope,
            [&](auto &&Use) { return WithAsymmetricShape(B, MedX, MedY, Pattern, Use); }, XSums, Out,
            Segment);
}

// ---- Null models
// ------------------------------------------------------------------------------------

void UniformCloud(std::span<double> X, std::span<double> Y, double MinX, double MaxX, double MinY, double MaxY,
                  TMacroBox &Box)
{
    Box = {MinX, MaxX, MinY, MaxY};
    const size_t n = std::min(X.size(), Y.size());
    for (size_t k = 0; k < n; ++k) {
        Y[k] = Random() * (MaxY - MinY) + MinY;
        X[k] = Random() * (MaxX - MinX) + MinX;
    }
}

namespace {

// A normal draw > 0; false, with the stop request set, when none comes within
// the limit.
bool PositiveDraw(double Mean, double SD, TSimContext &Context, double &Value)
{
    for (int32_t draws = 0; draws < MacroDrawLimit; ++draws) {
        Value = RandG(Mean, SD);
        if (Value > 0) return true;
    }
    // A law that almost never gives a positive value would hold the run for ever.
    if (Context.ShowMessage) Context.ShowMessage(QStringLiteral("Unable to satisfy restraints. Aborting simulation."));
    if (Context.InterruptFlag) *Context.InterruptFlag = true;
    return false;
}

}  // namespace

bool NormalCloud(std::span<double> X, std::span<double> Y, double MeanX, double SDX, double MeanY, double SDY,
                 TSimContext &Context)
{
    const size_t n = std::min(X.size(), Y.size());
    for (size_t k = 0; k < n; ++k) {
        if (!PositiveDraw(MeanY, SDY, Context, Y[k])) return false;
        if (!PositiveDraw(MeanX, SDX, Context, X[k])) return false;
    }
    return true;
}

void RandomizeCloud(int32_t Constraint, std::span<double> X, std::span<double> Y, std::span<const double> XSorted,
                    std::span<const double> YSorted, const TMacroCloudParameters &P, TSimContext &Context,
                    TMacroBox &Box)
{
    switch (Constraint) {
    case mcDataDefined:
        RandomSwapShuffle(Y);
        if (!XSorted.empty()) {
            Box.MinX = XSorted.front();
            Box.MaxX = XSorted.back();
        }
        if (!YSorted.empty()) {
            Box.MinY = YSorted.front();
            Box.MaxY = YSorted.back();
        }
        break;
    case mcUniform: UniformCloud(X, Y, P.MinimumX, P.MaximumX, P.MinimumY, P.MaximumY, Box); break;
    case mcNormal: {
        NormalCloud(X, Y, P.MeanX, P.SDX, P.MeanY, P.SDY, Context);
        const int32_t n = static_cast<int32_t>(std::min(X.size(), Y.size()));
        if (n < 1) break;
        MinReal(n, X, Box.MinX);
        MaxReal(n, X, Box.MaxX);
        MinReal(n, Y, Box.MinY);
        MaxReal(n, Y, Box.MaxY);
        break;
    }
    default: break;
    }
}
