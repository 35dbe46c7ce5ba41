#pragma once
// Statistics and matrix routines shared by every analysis: mean and variance, tail probabilities,
// the 12-bin histogram, sorting and order statistics, regression and matrix margins.
// They need no window: run state such as the iteration count or the matrix sizes is passed in.
#include "framework/rtl/System.h"
#include "workspace/TarvixTypes.h"

class TStrings;

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <span>
#include <utility>

// The last histogram built; the text routines format it.
extern std::array<double, 13> HistogramEdges;
extern std::array<int32_t, 12> HistogramCounts;

// The 7,5 fixed format of the result texts: 7 significant digits written with 5 decimals.
QString FloatToStr75(double Value);
// The real at the start of a text: the whole text when it is a number, else the longest leading
// part that is one (sign kept), else 0. A number out of range ("1e400") is no number: 0.
double LeadingReal(const QString &S);

// Mean and variance. Count says how many leading values are used (never more than the array has).
void MeanVariance(int32_t Count, std::span<const double> A, double &Mean, double &Variance);
void MeanVarianceInt(int32_t Count, std::span<const int32_t> A, double &Mean, double &Variance);
// The list forms read every line as a decimal number; a line that is not one raises
// EConvertError (the lists hold numbers the system wrote itself).
void MeanVarianceList(const TStrings &List, double &Mean, double &Variance);
// Angles in degrees; Mean in [0, 360), Variance = 1 - R / Count.
void CircularMeanVariance(int32_t Count, std::span<const double> A, double &Mean, double &Variance);

// Tail probabilities of Observed against the first Iterations simulated values.
// P1 = share at or below the observed value, P2 = share at or above it; both left untouched
// when Iterations < 1.
void TailProbabilities(std::span<const double> A, double Observed, int32_t Iterations, double &P1, double &P2,
                       int32_t &Greater, int32_t &Equal, int32_t &Less);
void TailProbabilitiesInt(std::span<const int32_t> A, double Observed, int32_t Iterations, double &P1, double &P2,
                          int32_t &Greater, int32_t &Equal, int32_t &Less);
// The same over the numbers of a list, divided by its line count; P1 and P2 are untouched for
// an empty list.
void TailProbabilitiesList(const TStrings &List, double Observed, double &P1, double &P2, int32_t &Greater,
                           int32_t &Equal, int32_t &Less);

// 12-bin histogram of sorted values A[0..Last]; PositionText gets one CR LF per bin position
// of the observed value, so that it lines up with the histogram lines.
void BuildHistogram(int32_t Last, std::span<const double> A, double Observed, QString &PositionText);
void BuildHistogramInt(int32_t Last, std::span<const int32_t> A, double Observed, QString &PositionText);
void BuildHistogramIterations(std::span<const double> A, int32_t Iterations, double Observed, QString &PositionText);
// The last histogram as text, every text opening with CR LF and every line ended by CR LF:
// "low high" edge pairs and counts, or low edges, high edges and counts one per line.
void HistogramToText(QString &Ranges, QString &Counts);
void HistogramToColumns(QString &Lower, QString &Upper, QString &Counts);

// One statistic's result block over the first N simulated values: mean and variance, the two
// tails with their counts, the standardized effect size (0 without variance) and the 12-bin
// histogram with the observed value's position and its edge and count texts. Sorts the values.
struct TResultBlock
{
    double Mean = 0, Variance = 0, P1 = 0, P2 = 0, Ses = 0;
    int32_t Less = 0, Equal = 0, Greater = 0;
    QString Position, Edges, Counts;
};
TResultBlock RealResultBlock(std::span<double> Sims, int32_t N, double Observed);
TResultBlock IntResultBlock(std::span<int32_t> Sims, int32_t N, double Observed);
// Copies a block into the separate fields the results windows keep.
void UnpackResultBlock(const TResultBlock &B, double &Mean, double &Variance, double &P1, double &P2, int32_t &Less,
                       int32_t &Equal, int32_t &Greater, double &Ses, QString &Position, QString &Edges,
                       QString &Counts);

// Ascending in-place sorts of elements Low..High.
void QuickSortReal(std::span<double> A, int32_t Low, int32_t High);
void QuickSortInt(std::span<int32_t> A, int32_t Low, int32_t High);
// Sorts A in place and gives its median; Median is untouched for an empty array.
void MedianReal(std::span<double> A, double &Median);
// Median of the list's numbers, taken on a sorted copy; untouched for an empty list.
void MedianList(const TStrings &List, double &Median);
void MinReal(int32_t Count, std::span<const double> A, double &Minimum);
void MaxReal(int32_t Count, std::span<const double> A, double &Maximum);

void LinearRegression(std::span<const double> X, std::span<const double> Y, int32_t Count, double &Slope,
                      double &Intercept, double &R);
void RegressionSlope(std::span<const double> X, std::span<const double> Y, int32_t Count, double &Slope);
// The least-squares slope from the sums of x, y and x*y and the centred sum of squares of x.
double SlopeFromSums(double Sx, double Sy, double Sxy, double SSx, int32_t Count);

// Margins of M over sites 1..Cols and species 1..Rows; nothing when either count is below 1.
void MarginalTotalsSized(Matrix &M, int32_t Cols, int32_t Rows);
void MarginalTotals(Matrix &M, const TInfoMat &info_Mat);
void RealMarginalTotals(Real_Matrix &M, int32_t Cols, int32_t Rows);
// Copies the species rows of Source with a positive total into consecutive rows of Dest from 1;
// info_Mat[3] becomes the number copied.
void CopyNonEmptyRows(const Matrix &Source, Matrix &Dest, TInfoMat &info_Mat);
// Replaces M by a matrix holding only the site columns with a positive total; info_Mat[2] becomes
// the number kept. The new margins are 0.
void DropEmptyColumns(Matrix &M, TInfoMat &info_Mat);
// Number of species rows 1..Rows whose total is positive.
int32_t CountNonZeroRows(const Matrix &M, int32_t Rows);
void CopyIntArray(std::span<const int32_t> Source, std::span<int32_t> Dest);

// Every position in turn swaps with one drawn by Random over the whole array, itself included.
// Repeated shuffles accumulate, each permuting the order the last one left, so the chain reaches
// every order with equal chance.
template <typename T>
void RandomSwapShuffle(std::span<T> A)
{
    const auto n = static_cast<int32_t>(A.size());
    int32_t i = 0;
    if (n >= 4) {
        // Four positions at a time, from four states that each step four draws at once: the draws
        // are Random's, in its order, but none waits for the one before it.
        constexpr uint32_t m = RandomMultiplier, c = RandomIncrement;
        constexpr uint32_t m2 = m * m, c2 = c * m + c;
        constexpr uint32_t m4 = m2 * m2, c4 = c2 * m2 + c2;
        uint32_t s0 = RandSeed * m + c;
        uint32_t s1 = s0 * m + c, s2 = s1 * m + c, s3 = s2 * m + c;
        for (;;) {
            std::swap(A[i], A[RandomBelow(s0, n)]);
            std::swap(A[i + 1], A[RandomBelow(s1, n)]);
            std::swap(A[i + 2], A[RandomBelow(s2, n)]);
            std::swap(A[i + 3], A[RandomBelow(s3, n)]);
            i += 4;
            if (i + 4 > n) break;
            s0 = s0 * m4 + c4;
            s1 = s1 * m4 + c4;
            s2 = s2 * m4 + c4;
            s3 = s3 * m4 + c4;
        }
        RandSeed = s3;
    }
    for (; i < n; ++i) std::swap(A[i], A[Random(n)]);
}

// ---- Routines over grids and the main window's run state --------------------------------------
// The forms without a grid argument read the main window (Tarvix): its Iterations, info_Mat,
// the counts of MainGrid, and they write NonZeroRows and RowError. Messages go through the
// dialog seam.

class TStringGrid;
class TProStringGrid;

// The same routines as above with the iteration count and the matrix sizes of the main window.
void TailProbabilities(std::span<const double> A, double Observed, double &P1, double &P2, int32_t &Greater,
                       int32_t &Equal, int32_t &Less);
void TailProbabilitiesInt(std::span<const int32_t> A, double Observed, double &P1, double &P2, int32_t &Greater,
                          int32_t &Equal, int32_t &Less);
void BuildHistogramIterations(std::span<const double> A, double Observed, QString &PositionText);
void MarginalTotals(Matrix &M);
// Over the data columns and rows of MainGrid.
void RealMarginalTotals(Real_Matrix &M);
void CopyNonEmptyRows(const Matrix &Source, Matrix &Dest);
void DropEmptyColumns(Matrix &M);
// NonZeroRows := the species rows of MainGrid whose total is positive.
void CountNonZeroRows(const Matrix &M);

// Counts the leading rows 1..Rows with a positive total; at the first that has none, shows
// "Non Zero Row = r ; aborting simulation." and gives NonZeroRows -1 and RowError r.
// RowError is 0 when every row passes. Rows past the end of M are not read.
void CheckNonZeroRows(const Real_Matrix &M, int32_t Rows, int32_t &NonZeroRows, int32_t &RowError);
void CheckNonZeroRows(const Real_Matrix &M);

// True when every data cell (rows and columns from 1) is an integer > 0. The first one that is
// not positive is reported by row and column; a cell that is no integer fails silently.
bool CheckPositiveIntegers(TProStringGrid *Grid);
// The same with reals; a cell that is no number raises EConvertError to the caller.
bool CheckPositiveReals(TStringGrid *Grid);
// At most 3400 species rows and 100 sites, each limit reported by its own message.
bool CheckDiversityLimits(const TStringGrid *Grid);
bool CheckDiversityLimits();

// Fills Grid from the bytes of a weights file: cells split at single spaces, rows at CR LF, LF
// or CR; a last line without a line end is a row like the others. The grid is left without
// fixed rows or columns, its column count that of the first line.
void ReadWeightsTable(const QByteArray &Bytes, TStringGrid *Grid);

// Element k as decimal text into column 1, row k + 1.
void IntsToGridColumn(std::span<const int32_t> A, TStringGrid *Grid);
// Both grids get Source's row count and, in every row, Source's columns 0, A and B.
void CopyColumnsToGrids(const TStringGrid *Source, TStringGrid *Grid1, TStringGrid *Grid2, int32_t A, int32_t B);
void CopyColumnsToGrids(TStringGrid *Grid1, TStringGrid *Grid2, int32_t A, int32_t B);
// Source's row titles into column 0 of Grid; Grid's row count is left as it is.
void CopyRowTitles(const TStringGrid *Source, TStringGrid *Grid);
void CopyRowTitles(TStringGrid *Grid);

// Opens the progress window for a run of the main window's Iterations over MainGrid.
void StartProgress(const QString &Model);
// Head of every simulation iteration: lets pending events through (the abort button among
// them); when a stop has been asked for, closes the progress window and gives true.
bool SimulationInterrupted();
