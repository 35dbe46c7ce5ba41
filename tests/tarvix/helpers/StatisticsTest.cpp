#include "workspace/TarvixHelpers.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

struct MeanCase
{
    std::vector<double> values;
    int32_t count;
    double mean;
    double variance;
};

TEST(MeanVariance, MeanAndSampleVariance)
{
    const double d = std::sqrt(1e-17); // two values whose sample variance is 5e-18
    const std::vector<MeanCase> cases = {
        {{1, 1, 1}, 3, 1, 0},
        {{7.5}, 1, 7.5, 0},
        {{2, 4, 4, 4, 5, 5, 7, 9}, 8, 5, 32.0 / 7},
        {{2, 4, 100}, 2, 3, 2},       // only the leading count values
        {{2, 4}, 5, 3, 2},            // a count past the end reads no further than the array
        {{3, 4}, 0, 0, 0},
        {{}, 0, 0, 0},
        {{0, d}, 2, d / 2, 0},        // within 1e-17 of 0
    };
    for (const auto &c : cases) {
        double mean = -99, variance = -99;
        MeanVariance(c.count, c.values, mean, variance);
        EXPECT_DOUBLE_EQ(mean, c.mean) << "count " << c.count;
        EXPECT_DOUBLE_EQ(variance, c.variance) << "count " << c.count;
    }
}

TEST(MeanVariance, IntegerValues)
{
    const std::vector<int32_t> v = {1, 2, 3, 4};
    double mean, variance;
    MeanVarianceInt(4, v, mean, variance);
    EXPECT_DOUBLE_EQ(mean, 2.5);
    EXPECT_DOUBLE_EQ(variance, 5.0 / 3);
    MeanVarianceInt(1, v, mean, variance);
    EXPECT_DOUBLE_EQ(mean, 1);
    EXPECT_DOUBLE_EQ(variance, 0);
    MeanVarianceInt(0, v, mean, variance);
    EXPECT_DOUBLE_EQ(mean, 0);
    EXPECT_DOUBLE_EQ(variance, 0);
    // A tiny but real spread is not rounded away for integers (no tolerance there).
    const std::vector<int32_t> big = {2000000000, 2000000001};
    MeanVarianceInt(2, big, mean, variance);
    EXPECT_DOUBLE_EQ(variance, 0.5);
}

TEST(CircularMeanVariance, UsesTheWholeCircle)
{
    struct Case { std::vector<double> angles; double mean; double variance; };
    const std::vector<Case> cases = {
        {{10, 350}, 0, 1 - std::cos(10 * M_PI / 180)},
        {{260, 280}, 270, 1 - std::cos(10 * M_PI / 180)},
        {{90}, 90, 0},
        {{200, 200, 200}, 200, 0},
        {{350, 20}, 5, 1 - std::cos(15 * M_PI / 180)},
    };
    for (const auto &c : cases) {
        double mean = -1, variance = -1;
        CircularMeanVariance(static_cast<int32_t>(c.angles.size()), c.angles, mean, variance);
        EXPECT_NEAR(mean, c.mean, 1e-9) << c.angles[0];
        EXPECT_GE(mean, 0);
        EXPECT_LT(mean, 360);
        EXPECT_NEAR(variance, c.variance, 1e-12) << c.angles[0];
    }
    double mean, variance;
    const std::vector<double> a = {10, 350};
    CircularMeanVariance(2, a, mean, variance);
    EXPECT_EQ(QString::number(variance, 'f', 7), "0.0151922");
    CircularMeanVariance(0, a, mean, variance);
    EXPECT_EQ(mean, 0);
    EXPECT_EQ(variance, 0);
}

TEST(TailProbabilities, CountsAndShares)
{
    double p1 = -1, p2 = -1;
    int32_t greater = 9, equal = 9, less = 9;
    const std::vector<double> sim = {1, 3, 3, 2, 0}; // the fifth is past the iterations
    TailProbabilities(sim, 2.0, 4, p1, p2, greater, equal, less);
    EXPECT_EQ(greater, 1); // simulated values below the observed one
    EXPECT_EQ(equal, 1);
    EXPECT_EQ(less, 2);
    EXPECT_DOUBLE_EQ(p1, 0.5);
    EXPECT_DOUBLE_EQ(p2, 0.75);
}

TEST(TailProbabilities, EqualityRule)
{
    double p1, p2;
    int32_t greater, equal, less;
    // Reals within 1e-15 are equal; integers compare exactly.
    const std::vector<double> sim = {1e-15, -9e-16, 3e-15, -3e-15};
    TailProbabilities(sim, 0.0, 4, p1, p2, greater, equal, less);
    EXPECT_EQ(equal, 2);
    EXPECT_EQ(less, 1);
    EXPECT_EQ(greater, 1);
    EXPECT_DOUBLE_EQ(p1, 0.75);
    EXPECT_DOUBLE_EQ(p2, 0.75);

    const std::vector<int32_t> ints = {2, 2, 3, 1};
    TailProbabilitiesInt(ints, 2.0, 4, p1, p2, greater, equal, less);
    EXPECT_EQ(equal, 2);
    TailProbabilitiesInt(ints, 2.0 + 1e-12, 4, p1, p2, greater, equal, less);
    EXPECT_EQ(equal, 0);
    EXPECT_EQ(greater, 3);
    EXPECT_EQ(less, 1);
    EXPECT_DOUBLE_EQ(p1, 0.75);
    EXPECT_DOUBLE_EQ(p2, 0.25);
}

TEST(TailProbabilities, NoIterationsLeavesSharesUntouched)
{
    double p1 = 0.3, p2 = 0.4;
    int32_t greater = 5, equal = 5, less = 5;
    TailProbabilities({}, 1.0, 0, p1, p2, greater, equal, less);
    EXPECT_EQ(p1, 0.3);
    EXPECT_EQ(p2, 0.4);
    EXPECT_EQ(greater + equal + less, 0);
}

std::vector<int32_t> Counts() { return {HistogramCounts.begin(), HistogramCounts.end()}; }

TEST(Histogram, EdgesBinsAndMarker)
{
    const std::vector<double> v = {0, 12};
    QString marker;
    BuildHistogram(1, v, 5.0, marker);
    for (int i = 0; i <= 12; ++i) EXPECT_DOUBLE_EQ(HistogramEdges[i], i);
    EXPECT_EQ(Counts(), std::vector<int32_t>({1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}));

    struct Mark { double observed; int position; };
    for (const Mark m : {Mark{-1, 0}, {0, 1}, {1, 1}, {1.5, 2}, {5, 5}, {11.5, 12}, {12, 12}, {12.5, 13}}) {
        BuildHistogram(1, v, m.observed, marker);
        EXPECT_EQ(marker, QString("\r\n").repeated(m.position)) << m.observed;
    }
}

TEST(Histogram, BinsAreHalfOpenAndTheLastHoldsTheMaximum)
{
    std::vector<double> v;
    for (int i = 0; i <= 12; ++i) v.push_back(i);
    QString marker;
    BuildHistogram(12, v, 0, marker);
    EXPECT_EQ(Counts(), std::vector<int32_t>({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2}));
    // Only elements 0..Last are binned, and the range comes from them.
    BuildHistogram(6, v, 0, marker);
    EXPECT_DOUBLE_EQ(HistogramEdges[12], 6);
    EXPECT_DOUBLE_EQ(HistogramEdges[2], 1);
    EXPECT_EQ(Counts(), std::vector<int32_t>({1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 1}));

    const std::vector<int32_t> ints = {0, 3, 12};
    BuildHistogramInt(2, ints, 3, marker);
    EXPECT_EQ(Counts(), std::vector<int32_t>({1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(marker, QString("\r\n").repeated(3));
}

TEST(Histogram, EqualValuesFallInTheLastBin)
{
    const std::vector<double> v(1000, 4.25);
    QString marker;
    BuildHistogram(999, v, 4.25, marker);
    EXPECT_EQ(HistogramCounts[11], 1000);
    for (double e : HistogramEdges) EXPECT_EQ(e, 4.25);
    EXPECT_EQ(marker, "\r\n");
    BuildHistogramIterations(v, 1000, 4.25, marker);
    EXPECT_EQ(HistogramCounts[11], 1000);
    EXPECT_EQ(marker, "\r\n");
}

TEST(Histogram, IterationsVariantNeedsTheLowestEdgeForBinZero)
{
    // Range from the first and the last value (5 and 0); -1 lies below the lowest edge.
    const std::vector<double> v = {5, -1, 0, 99};
    QString marker;
    BuildHistogram(2, v, 0, marker);
    EXPECT_EQ(HistogramCounts[0], 2);
    EXPECT_EQ(HistogramCounts[11], 1);
    BuildHistogramIterations(v, 3, 0, marker);
    EXPECT_EQ(HistogramCounts[0], 1);
    EXPECT_EQ(HistogramCounts[11], 2);
}

TEST(Histogram, NoValuesDoesNotReadPastTheArray)
{
    QString marker = "x";
    BuildHistogram(-1, std::vector<double>{}, 1.0, marker);
    EXPECT_EQ(Counts(), std::vector<int32_t>(12, 0));
    EXPECT_EQ(marker, QString("\r\n").repeated(13));
    BuildHistogram(5, std::vector<double>{2, 4}, 3.0, marker); // last index past the end
    EXPECT_DOUBLE_EQ(HistogramEdges[12], 4);
    EXPECT_EQ(HistogramCounts[0] + HistogramCounts[11], 2);
}

TEST(Sorting, LargeDegenerateInputs)
{
    const int n = 200000;
    std::vector<double> equal(n, 3.5);
    QuickSortReal(equal, 0, n - 1);
    EXPECT_TRUE(std::all_of(equal.begin(), equal.end(), [](double v) { return v == 3.5; }));

    std::vector<double> sorted(n), reversed(n);
    for (int i = 0; i < n; ++i) sorted[i] = i, reversed[i] = n - 1 - i;
    const auto expected = sorted;
    QuickSortReal(sorted, 0, n - 1);
    QuickSortReal(reversed, 0, n - 1);
    EXPECT_EQ(sorted, expected);
    EXPECT_EQ(reversed, expected);

    std::vector<int32_t> ints(n);
    for (int i = 0; i < n; ++i) ints[i] = i % 2 ? i : 7;
    auto intsExpected = ints;
    std::sort(intsExpected.begin(), intsExpected.end());
    QuickSortInt(ints, 0, n - 1);
    EXPECT_EQ(ints, intsExpected);
}

TEST(Sorting, SortsOnlyTheGivenRange)
{
    std::mt19937 gen(7);
    std::uniform_real_distribution<double> dist(-5, 5);
    std::vector<double> v(500);
    for (double &x : v) x = dist(gen);
    auto expected = v;
    std::sort(expected.begin() + 100, expected.begin() + 401);
    QuickSortReal(v, 100, 400);
    EXPECT_EQ(v, expected);

    std::vector<int32_t> ints = {5, 4, 3, 2, 1};
    QuickSortInt(ints, 2, 99); // high past the end stops at the last element
    EXPECT_EQ(ints, std::vector<int32_t>({5, 4, 1, 2, 3}));
    QuickSortInt(ints, 3, 1);
    EXPECT_EQ(ints, std::vector<int32_t>({5, 4, 1, 2, 3}));
}

TEST(Sorting, NotANumberStaysInsideTheArray)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<double> v;
    for (int i = 0; i < 1000; ++i) v.push_back(i % 3 ? 1000.0 - i : nan);
    QuickSortReal(v, 0, 999);
    const auto firstNan = std::find_if(v.begin(), v.end(), [](double x) { return std::isnan(x); });
    EXPECT_TRUE(std::is_sorted(v.begin(), firstNan));
    EXPECT_TRUE(std::all_of(firstNan, v.end(), [](double x) { return std::isnan(x); }));
    EXPECT_EQ(v.end() - firstNan, 334);
}

TEST(OrderStatistics, MedianMinMax)
{
    double median = -1;
    std::vector<double> odd = {5, 1, 3};
    MedianReal(odd, median);
    EXPECT_EQ(median, 3);
    EXPECT_EQ(odd, std::vector<double>({1, 3, 5}));
    std::vector<double> even = {4, 1, 3, 10};
    MedianReal(even, median);
    EXPECT_EQ(median, 3.5);
    median = -1;
    std::vector<double> none;
    MedianReal(none, median);
    EXPECT_EQ(median, -1);

    const std::vector<double> v = {3, -2, 8, -9};
    double lo = 0, hi = 0;
    MinReal(3, v, lo);
    MaxReal(3, v, hi);
    EXPECT_EQ(lo, -2);
    EXPECT_EQ(hi, 8);
    MinReal(1, v, lo);
    MaxReal(0, v, hi);
    EXPECT_EQ(lo, 3);
    EXPECT_EQ(hi, 3);
}

TEST(Regression, SlopeInterceptAndCorrelation)
{
    double slope, intercept, r;
    LinearRegression(std::vector<double>{1, 2, 3, 4, 5}, std::vector<double>{2, 4, 5, 4, 5}, 5, slope, intercept, r);
    EXPECT_NEAR(slope, 0.6, 1e-12);
    EXPECT_NEAR(intercept, 2.2, 1e-12);
    EXPECT_NEAR(r, std::sqrt(0.6), 1e-12);

    LinearRegression(std::vector<double>{1, 2, 3}, std::vector<double>{7, 5, 3}, 3, slope, intercept, r);
    EXPECT_NEAR(slope, -2, 1e-12);
    EXPECT_NEAR(intercept, 9, 1e-12);
    EXPECT_NEAR(r, -1, 1e-12);
    double only = 0;
    RegressionSlope(std::vector<double>{1, 2, 3}, std::vector<double>{7, 5, 3}, 3, only);
    EXPECT_EQ(only, slope);
    // Bit for bit the full regression's slope, also over fewer points than the arrays hold.
    std::vector<double> x, y;
    for (int k = 0; k < 997; ++k) {
        x.push_back(0.1 * k + 1e-3 * ((k * 7919) % 113) - 3.3);
        y.push_back(0.7 * x.back() + 0.01 * ((k * 104729) % 97));
    }
    for (int32_t count : {997, 500}) {
        LinearRegression(x, y, count, slope, intercept, r);
        RegressionSlope(x, y, count, only);
        EXPECT_EQ(only, slope) << count;
    }
    y.pop_back();
    LinearRegression(x, y, 996, slope, intercept, r);
    RegressionSlope(x, y, 996, only);
    EXPECT_EQ(only, slope);

    // No spread in x or y: no slope and no correlation, never a division by zero.
    LinearRegression(std::vector<double>{2, 2, 2}, std::vector<double>{1, 5, 6}, 3, slope, intercept, r);
    EXPECT_EQ(slope, 0);
    EXPECT_EQ(intercept, 4);
    EXPECT_EQ(r, 0);
    LinearRegression({}, {}, 0, slope, intercept, r);
    EXPECT_EQ(slope, 0);
    EXPECT_EQ(intercept, 0);
    EXPECT_EQ(r, 0);
}

// Sites are columns, species rows; index 0 holds the margins.
Matrix Fill(const std::vector<std::vector<int32_t>> &speciesRows)
{
    const int32_t rows = static_cast<int32_t>(speciesRows.size());
    const int32_t cols = static_cast<int32_t>(speciesRows[0].size());
    Matrix m(cols + 1, rows + 1);
    for (int32_t r = 0; r < rows; ++r)
        for (int32_t c = 0; c < cols; ++c) m[c + 1][r + 1] = speciesRows[r][c];
    return m;
}

TEST(MatrixPreparation, MarginalTotals)
{
    Matrix m = Fill({{1, 0, 2}, {0, 0, 3}, {4, 0, 0}});
    const TInfoMat info = {4, 4, 3, 3};
    MarginalTotals(m, info);
    EXPECT_EQ(m[0][1], 3);
    EXPECT_EQ(m[0][2], 3);
    EXPECT_EQ(m[0][3], 4);
    EXPECT_EQ(m[1][0], 5);
    EXPECT_EQ(m[2][0], 0);
    EXPECT_EQ(m[3][0], 5);
    EXPECT_EQ(m[0][0], 10);

    Matrix part = Fill({{1, 0, 2}, {0, 0, 3}, {4, 0, 0}});
    MarginalTotalsSized(part, 1, 2); // only site 1, species 1 and 2
    EXPECT_EQ(part[0][1], 1);
    EXPECT_EQ(part[0][2], 0);
    EXPECT_EQ(part[0][3], 0);
    EXPECT_EQ(part[1][0], 1);
    EXPECT_EQ(part[0][0], 1);
    MarginalTotalsSized(part, 0, 3);
    EXPECT_EQ(part[3][0], 0);
    MarginalTotalsSized(part, 9, 9); // counts past the matrix stop at its edge
    EXPECT_EQ(part[0][0], 10);

    Real_Matrix real(3, 2);
    real[1][1] = 0.25;
    real[2][1] = 0.5;
    RealMarginalTotals(real, 2, 1);
    EXPECT_DOUBLE_EQ(real[0][1], 0.75);
    EXPECT_DOUBLE_EQ(real[2][0], 0.5);
    EXPECT_DOUBLE_EQ(real[0][0], 0.75);
}

TEST(MatrixPreparation, CopyNonEmptyRowsAndCount)
{
    Matrix src = Fill({{1, 2}, {0, 0}, {0, 3}, {0, 0}});
    TInfoMat info = {3, 5, 2, 4};
    MarginalTotals(src, info);
    EXPECT_EQ(CountNonZeroRows(src, 4), 2);
    EXPECT_EQ(CountNonZeroRows(src, 1), 1);

    Matrix dst(3, 5);
    dst[1][3] = 77; // past the copied rows: kept
    CopyNonEmptyRows(src, dst, info);
    EXPECT_EQ(info[3], 2);
    EXPECT_EQ(dst[1][1], 1);
    EXPECT_EQ(dst[2][1], 2);
    EXPECT_EQ(dst[1][2], 0);
    EXPECT_EQ(dst[2][2], 3);
    EXPECT_EQ(dst[1][3], 77);
    EXPECT_EQ(dst[0][1], 0); // margins are not computed

    Matrix small(3, 2); // room for one species row only
    info[3] = 4;
    CopyNonEmptyRows(src, small, info);
    EXPECT_EQ(info[3], 1);
    EXPECT_EQ(small[2][1], 2);
}

TEST(MatrixPreparation, DropEmptyColumns)
{
    Matrix m = Fill({{1, 0, 2}, {0, 0, 3}});
    TInfoMat info = {4, 3, 3, 2};
    MarginalTotals(m, info);
    DropEmptyColumns(m, info);
    EXPECT_EQ(info[2], 2);
    EXPECT_EQ(m.Cols(), 4);
    EXPECT_EQ(m.Rows(), 3);
    EXPECT_EQ(m[1][1], 1);
    EXPECT_EQ(m[2][1], 2);
    EXPECT_EQ(m[2][2], 3);
    EXPECT_EQ(m[3][1], 0);
    EXPECT_EQ(m[3][2], 0);
    EXPECT_EQ(m[0][0], 0);
    EXPECT_EQ(m[1][0], 0);
}

TEST(MatrixPreparation, CopyIntArray)
{
    const std::vector<int32_t> src = {4, 5, 6};
    std::vector<int32_t> dst = {0, 0, 0, 9};
    CopyIntArray(src, dst);
    EXPECT_EQ(dst, std::vector<int32_t>({4, 5, 6, 9}));
    std::vector<int32_t> shorter(2);
    CopyIntArray(src, shorter);
    EXPECT_EQ(shorter, std::vector<int32_t>({4, 5}));
}

TEST(MatrixType, ResizeKeepsOverlap)
{
    Matrix m(2, 3);
    m[1][2] = 6;
    m[0][1] = 2;
    m.SetLength(3, 2);
    EXPECT_EQ(m[0][1], 2);
    EXPECT_EQ(m[2][1], 0);
    SetLength(m, 4, 4);
    EXPECT_EQ(m[0][1], 2);
    EXPECT_EQ(m[1][2], 0); // dropped by the smaller shape, comes back as zero
    EXPECT_EQ(m[3][3], 0);
    SetLength(m, 0, 4);
    EXPECT_TRUE(m.Empty());
}

} // namespace

// The shuffle draws several positions at once; each swap must still take the generator's next
// draw (state * 134775813 + 1, index = n * state >> 32) and leave the seed where single draws
// would, for every length around the groups of four.
TEST(RandomSwapShuffle, SwapsWithEachDrawInTurn)
{
    for (int32_t n : {0, 1, 2, 3, 4, 5, 7, 8, 9, 1001}) {
        std::vector<int32_t> a(static_cast<size_t>(n)), expected;
        for (int32_t k = 0; k < n; ++k) a[k] = k;
        expected = a;
        uint32_t state = 977;
        for (int32_t i = 0; i < n; ++i) {
            state = state * 134775813u + 1u;
            std::swap(expected[i], expected[(uint64_t(uint32_t(n)) * state) >> 32]);
        }
        RandSeed = 977;
        RandomSwapShuffle(std::span<int32_t>(a));
        EXPECT_EQ(a, expected) << n;
        EXPECT_EQ(RandSeed, state) << n;
    }
}
