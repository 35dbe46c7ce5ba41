#pragma once
// Macroecology: how an X-Y point cloud fills its box. Shapes (triangles,
// pyramids) and corner boundaries are counted against lines, the regression
// slope and the quadrant dispersion complete the six statistics; the null
// models shuffle the y values or draw whole clouds from a uniform or a normal
// law. Everything here is plain routines over arrays: the results window hands
// in the cloud, the box, the medians and the user's parameters, and a
// TSimContext for messages and the stop request.
#include "workspace/SimContext.h"

#include <cstdint>
#include <span>

// Item indexes of the options dialog's groups.
enum TMacroSymmetry : int32_t { msSymmetric = 0, msAsymmetric = 1 };
enum TMacroConstraint : int32_t { mcDataDefined = 0, mcUniform = 1, mcNormal = 2 };
enum TMacroPattern : int32_t { mpLeftTriangle = 0, mpRightTriangle = 1, mpPyramid = 2, mpInvertedPyramid = 3 };
enum TMacroBoundary : int32_t { mbUpperRight = 0, mbUpperLeft = 1, mbLowerRight = 2, mbLowerLeft = 3 };

// Draws allowed for one normal value before the cloud gives up.
inline constexpr int32_t MacroDrawLimit = 199999;

// ---- Lines
// ----------------------------------------------------------------------------------------
// A line of slope S through (X0, Y0) has the value S*x - S*X0 + Y0 at x. A
// point on a line is never counted and adds nothing to a sum of squares: every
// comparison is strict.

inline double LineValue(double S, double X0, double Y0, double X) { return S * X - S * X0 + Y0; }
// Numerator / Denominator, 0 when the denominator is exactly 0 (the line is
// then horizontal).
inline double SafeSlope(double Numerator, double Denominator)
{
    return Denominator == 0 ? 0.0 : Numerator / Denominator;
}

// Count and sum of squared distances of the points strictly below (above) the
// line; both outputs are reset first.
void CountBelowLine(std::span<const double> X, std::span<const double> Y, double S, double X0, double Y0,
                    int32_t &Count, double &SumSquares);
void CountAboveLine(std::span<const double> X, std::span<const double> Y, double S, double X0, double Y0,
                    int32_t &Count, double &SumSquares);
// The routines below add to outputs the caller has set.
void AddBelowLine(std::span<const double> X, std::span<const double> Y, double S, double X0, double Y0, int32_t &Count,
                  double &SumSquares);
// Below L1 or below L2, both through (X0, Y0); the distance is always taken to
// L1.
void AddBelowBentLine(std::span<const double> X, std::span<const double> Y, double S1, double S2, double X0, double Y0,
                      int32_t &Count, double &SumSquares);
// Below both sides of a pyramid: L1 through (A, B), L2 through ((A + C) / 2,
// D). The distance is taken to the lower of the two line values.
void AddInsidePyramid(std::span<const double> X, std::span<const double> Y, double S1, double S2, double A, double B,
                      double C, double D, int32_t &Count, double &SumSquares);
// The same with L1 through (P, Q) and L2 through (U, V).
void AddInsidePyramidAt(std::span<const double> X, std::span<const double> Y, double S1, double P, double Q, double S2,
                        double U, double V, int32_t &Count, double &SumSquares);
// Above both sides of an inverted pyramid: L1 through (A, D), L2 through ((A +
// C) / 2, B). The distance is taken to the lower line value, which for such a
// point is the farther line.
void AddInsideInvertedPyramid(std::span<const double> X, std::span<const double> Y, double S1, double S2, double A,
                              double B, double C, double D, int32_t &Count, double &SumSquares);
void AddInsideInvertedPyramidAt(std::span<const double> X, std::span<const double> Y, double S1, double P, double Q,
                                double S2, double U, double V, int32_t &Count, double &SumSquares);

// Sample variance (divisor 3) of the point counts of the four quadrants around
// (MedX, MedY); a point on a median line counts half in each neighbour, one on
// both a quarter in each.
void QuadrantDispersion(std::span<const double> X, std::span<const double> Y, double MedX, double MedY,
                        double &Dispersion);
// The four counts in the order upper right, upper left, lower left, lower
// right.
void QuadrantCounts(std::span<const double> X, std::span<const double> Y, double MedX, double MedY, double Counts[4]);

// The median of values already sorted ascending (0 for none): the middle one,
// or the mean of the two middle ones.
double SortedMedian(std::span<const double> Sorted);

// ---- One computation
// ------------------------------------------------------------------------------

struct TMacroBox
{
    double MinX = 0, MaxX = 0, MinY = 0, MaxY = 0;
};

// The six statistics of one cloud and the boundary line's slope.
struct TMacroStatistics
{
    int32_t WithinSpace = 0;
    double Coefficient = 0;
    double SumSquares = 0;
    double Variance = 0;
    double BoundaryCoefficient = 0;
    int32_t BoundaryWithinSpace = 0;
    double BoundarySumSquares = 0;
};

// The boundary segment that the charts draw.
struct TMacroSegment
{
    double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};

// The x sums of the regression slope: the sum and the sum of squared
// deviations from the mean, both in point order. They stay fixed while only the
// y values are shuffled.
struct TMacroXSums
{
    double Sum = 0;
    double CentredSquares = 0;
};
TMacroXSums MacroXSums(std::span<const double> X);

// The statistics of a cloud in Box: the lines stand on the mid-points of the
// box's sides (symmetric) or on the medians of the observed data (asymmetric).
// XSums, when given, are MacroXSums(X), taken once by the caller.
void MacroSymmetric(std::span<const double> X, std::span<const double> Y, const TMacroBox &Box, double MedX,
                    double MedY, int32_t Pattern, int32_t Boundary, TMacroStatistics &Out, TMacroSegment &Segment,
                    const TMacroXSums *XSums = nullptr);
void MacroAsymmetric(std::span<const double> X, std::span<const double> Y, const TMacroBox &Box, double MedX,
                     double MedY, int32_t Pattern, int32_t Boundary, TMacroStatistics &Out, TMacroSegment &Segment,
                     const TMacroXSums *XSums = nullptr);

// ---- Null models
// ------------------------------------------------------------------------------------

// The user's parameters of the two user-defined laws.
struct TMacroCloudParameters
{
    double MinimumX = 0, MaximumX = 1, MinimumY = 0, MaximumY = 1;
    double MeanX = 5, SDX = 1, MeanY = 5, SDY = 1;
};

// For each point in turn, y then x drawn uniformly between the end points; the
// box becomes the end points.
void UniformCloud(std::span<double> X, std::span<double> Y, double MinX, double MaxX, double MinY, double MaxY,
                  TMacroBox &Box);
// For each point in turn, y then x drawn from the normal laws, a value <= 0
// drawn again. A value that stays <= 0 for MacroDrawLimit draws shows "Unable
// to satisfy restraints. Aborting simulation.", sets the stop request and gives
// false.
bool NormalCloud(std::span<double> X, std::span<double> Y, double MeanX, double SDX, double MeanY, double SDY,
                 TSimContext &Context);
// One randomization by the constraints item: the y values shuffled in place
// (the box is the observed one, from the sorted observed values), a uniform
// cloud, or a normal cloud whose own extremes become the box. Any other item
// changes nothing.
void RandomizeCloud(int32_t Constraint, std::span<double> X, std::span<double> Y, std::span<const double> XSorted,
                    std::span<const double> YSorted, const TMacroCloudParameters &Parameters, TSimContext &Context,
                    TMacroBox &Box);
