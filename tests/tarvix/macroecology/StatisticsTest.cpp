// The shape, boundary, slope and dispersion statistics and the randomized
// clouds, without a window. Expected values are worked by hand from the lines'
// equations (and checked with Python).
#include "framework/rtl/System.h"
#include "models/macroecology/MacroecologySims.h"
#include "tests/common/TestSupport.h"

#include <QStringList>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

struct TCloud
{
    std::vector<double> x, y;
    TMacroBox Box() const
    {
        TMacroBox b{x[0], x[0], y[0], y[0]};
        for (size_t k = 0; k < x.size(); ++k) {
            b.MinX = std::min(b.MinX, x[k]);
            b.MaxX = std::max(b.MaxX, x[k]);
            b.MinY = std::min(b.MinY, y[k]);
            b.MaxY = std::max(b.MaxY, y[k]);
        }
        return b;
    }
};

// Box 1..5 x 1..5, medians 3 and 3.
const TCloud Five{{1, 2, 3, 4, 5}, {1, 4, 2, 5, 3}};
// Box 0..10 x 0..10, medians 7 and 7.
const TCloud Skewed{{0, 2, 7, 8, 10}, {3, 10, 0, 9, 7}};

TEST(MacroStatistics, SymmetricShapesAndBoundaries)
{
    struct Case
    {
        int pattern;
        int count;
        double ss;
    };
    // Left triangle below y = 6 - x ((2,4) on it); right triangle below y = x;
    // pyramid below 2x - 1 and 11 - 2x; inverted pyramid above 7 - 2x and 2x - 5,
    // measured to the lower value (so (4,5) to -1: 36).
    const Case shapes[] = {
        {mpLeftTriangle, 2, 17}, {mpRightTriangle, 2, 5}, {mpPyramid, 1, 9}, {mpInvertedPyramid, 3, 62}};
    struct Corner
    {
        int boundary;
        int count;
        double ss, slope;
        TMacroSegment segment;
    };
    // Upper right: above 8 - x ((5,3) on it); upper left: above x + 2 ((2,4) on
    // it); lower right: below x - 2 ((5,3) on it); lower left: below 4 - x.
    const Corner corners[] = {{mbUpperRight, 1, 1, -1, {3, 5, 5, 3}},
                              {mbUpperLeft, 0, 0, 1, {1, 3, 3, 5}},
                              {mbLowerRight, 0, 0, 1, {3, 1, 5, 3}},
                              {mbLowerLeft, 1, 4, -1, {1, 3, 3, 1}}};
    for (const Case &s : shapes)
        for (const Corner &c : corners) {
            TMacroStatistics out;
            out.WithinSpace = 99;
            out.SumSquares = 99;
            TMacroSegment seg;
            MacroSymmetric(Five.x, Five.y, Five.Box(), 3, 3, s.pattern, c.boundary, out, seg);
            const std::string where = std::to_string(s.pattern) + "/" + std::to_string(c.boundary);
            EXPECT_EQ(out.WithinSpace, s.count) << where;
            EXPECT_DOUBLE_EQ(out.SumSquares, s.ss) << where;
            EXPECT_EQ(out.BoundaryWithinSpace, c.count) << where;
            EXPECT_DOUBLE_EQ(out.BoundarySumSquares, c.ss) << where;
            EXPECT_DOUBLE_EQ(out.BoundaryCoefficient, c.slope) << where;
            EXPECT_DOUBLE_EQ(out.Coefficient, 0.5) << where;
            // Quadrant counts 1.5, 1, 1.5, 1: variance 0.25 / 3.
            EXPECT_DOUBLE_EQ(out.Variance, 0.25 / 3) << where;
            EXPECT_EQ(seg.X1, c.segment.X1) << where;
            EXPECT_EQ(seg.Y1, c.segment.Y1) << where;
            EXPECT_EQ(seg.X2, c.segment.X2) << where;
            EXPECT_EQ(seg.Y2, c.segment.Y2) << where;
        }
}

TEST(MacroStatistics, AsymmetricShapesAndBoundaries)
{
    struct Case
    {
        int pattern;
        int count;
        double ss;
    };
    // Left triangle: L1 = 10 - 3x/7, L2 = 49/3 + 7 - 7x/3 through (7,7); (0,3)
    // and (7,0) add 49 each, (2,10) is below L2 only and adds (10 - 64/7)^2.
    // Right triangle: y = x, 49 + 9. Pyramid: only (7,0), 100 below the apex
    // value 10. Inverted pyramid: (2,10) measured to 2*10/3 - 70/3 and (8,9) to
    // 10 - 80/7: (80/3)^2 + (73/7)^2.
    const Case shapes[] = {{mpLeftTriangle, 3, 49 + 49 + 36.0 / 49},
                           {mpRightTriangle, 2, 58},
                           {mpPyramid, 1, 100},
                           {mpInvertedPyramid, 2, 6400.0 / 9 + 5329.0 / 49}};
    struct Corner
    {
        int boundary;
        int count;
        double ss, slope;
        TMacroSegment segment;
    };
    const Corner corners[] = {{mbUpperRight, 0, 0, -1, {7, 10, 10, 7}},
                              {mbUpperLeft, 1, 225.0 / 49, 3.0 / 7, {0, 7, 7, 10}},
                              {mbLowerRight, 0, 0, 7.0 / 3, {7, 0, 10, 7}},
                              {mbLowerLeft, 1, 16, -1, {0, 7, 7, 0}}};
    for (const Case &s : shapes)
        for (const Corner &c : corners) {
            TMacroStatistics out;
            TMacroSegment seg;
            MacroAsymmetric(Skewed.x, Skewed.y, Skewed.Box(), 7, 7, s.pattern, c.boundary, out, seg);
            const std::string where = std::to_string(s.pattern) + "/" + std::to_string(c.boundary);
            EXPECT_EQ(out.WithinSpace, s.count) << where;
            EXPECT_NEAR(out.SumSquares, s.ss, 1e-12) << where;
            EXPECT_EQ(out.BoundaryWithinSpace, c.count) << where;
            EXPECT_NEAR(out.BoundarySumSquares, c.ss, 1e-12) << where;
            EXPECT_NEAR(out.BoundaryCoefficient, c.slope, 1e-15) << where;
            EXPECT_EQ(seg.X1, c.segment.X1) << where;
            EXPECT_EQ(seg.Y1, c.segment.Y1) << where;
            EXPECT_EQ(seg.X2, c.segment.X2) << where;
            EXPECT_EQ(seg.Y2, c.segment.Y2) << where;
        }
}

TEST(MacroStatistics, RoutinesResetOrAddAndNeverCountAPointOnALine)
{
    const std::vector<double> x{0, 1, 2}, y{0, 1, 3};
    int32_t count = 7;
    double ss = 7;
    // y = x: (0,0) and (1,1) lie on it, (2,3) above it.
    CountBelowLine(x, y, 1, 0, 0, count, ss);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(ss, 0);
    CountAboveLine(x, y, 1, 0, 0, count, ss);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(ss, 1);
    count = 7;
    ss = 7;
    // y = 2: two points below it, adding 4 and 1 to what was there.
    AddBelowLine(x, y, 0, 5, 2, count, ss);
    EXPECT_EQ(count, 9);
    EXPECT_EQ(ss, 12);
    count = 1;
    ss = 1;
    // Below 2x (through (0,0)) and 6 - 2x (through (1,4)): only (1,1), measured
    // to the lower 2.
    AddInsidePyramid(x, y, 2, -2, 0, 0, 2, 4, count, ss);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(ss, 2);
}

TEST(MacroStatistics, DegenerateBoxesAndQuadrants)
{
    // MaxX = MinX: the symmetric triangles become y = MinY, below which nothing
    // lies.
    const std::vector<double> x{2, 2, 2}, y{1, 3, 5};
    const TMacroBox flat{2, 2, 1, 5};
    for (int pattern : {mpLeftTriangle, mpRightTriangle}) {
        TMacroStatistics out;
        TMacroSegment seg;
        MacroSymmetric(x, y, flat, 2, 3, pattern, mbUpperRight, out, seg);
        EXPECT_EQ(out.WithinSpace, 0) << pattern;
        EXPECT_EQ(out.SumSquares, 0) << pattern;
        EXPECT_EQ(out.Coefficient, 0) << pattern;  // all x equal
    }

    struct Case
    {
        const char *what;
        std::vector<double> x, y;
        double medX, medY;
        double counts[4];
        double dispersion;
    };
    const Case cases[] = {
        {"one spot", {3, 3, 3, 3, 3}, {4, 4, 4, 4, 4}, 3, 4, {1.25, 1.25, 1.25, 1.25}, 0},
        {"one per quadrant", {5, 1, 1, 5}, {5, 5, 1, 1}, 3, 3, {1, 1, 1, 1}, 0},
        {"all upper right", {5, 6, 7, 8}, {5, 6, 7, 8}, 3, 3, {4, 0, 0, 0}, 4},
        {"on the medians", {3, 3, 1, 5}, {5, 1, 3, 3}, 3, 3, {1, 1, 1, 1}, 0},
    };
    for (const Case &c : cases) {
        double counts[4];
        QuadrantCounts(c.x, c.y, c.medX, c.medY, counts);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(counts[i], c.counts[i]) << c.what << " " << i;
        double d = -1;
        QuadrantDispersion(c.x, c.y, c.medX, c.medY, d);
        EXPECT_DOUBLE_EQ(d, c.dispersion) << c.what;
    }
    EXPECT_EQ(SortedMedian(std::vector<double>{1, 2, 7, 9}), 4.5);
    EXPECT_EQ(SortedMedian(std::vector<double>{}), 0);
}

TEST(MacroClouds, DataDefinedShufflesTheYValuesOnly)
{
    std::vector<double> x{1, 2, 3, 4, 5}, y{1, 4, 2, 5, 3};
    const std::vector<double> xs{1, 2, 3, 4, 5}, ys{1, 2, 3, 4, 5};
    TSimContext ctx;
    TMacroBox box{-9, -9, -9, -9};
    RandSeed = 1;
    RandomizeCloud(mcDataDefined, x, y, xs, ys, {}, ctx, box);
    EXPECT_EQ(y, (std::vector<double>{1, 5, 3, 4, 2}));
    // The next shuffle permutes the order the last one left.
    RandomizeCloud(mcDataDefined, x, y, xs, ys, {}, ctx, box);
    EXPECT_EQ(y, (std::vector<double>{2, 3, 4, 5, 1}));
    EXPECT_EQ(x, xs);
    EXPECT_EQ(box.MinX, 1);
    EXPECT_EQ(box.MaxX, 5);
    EXPECT_EQ(box.MinY, 1);
    EXPECT_EQ(box.MaxY, 5);
    // Another item changes nothing.
    RandomizeCloud(7, x, y, xs, ys, {}, ctx, box);
    EXPECT_EQ(y, (std::vector<double>{2, 3, 4, 5, 1}));
}

TEST(MacroClouds, UniformDrawsYBeforeX)
{
    std::vector<double> x(2), y(2);
    TMacroBox box;
    RandSeed = 1;
    UniformCloud(x, y, 0, 1, 0, 1, box);
    EXPECT_EQ(y[0], 134775814.0 / 4294967296.0);
    EXPECT_EQ(x[0], 0.8610484672244638);
    // End points 2..4 and 10..20 from seed 7 (by the generator's formula in
    // Python).
    TSimContext ctx;
    TMacroCloudParameters p;
    p.MinimumX = 2;
    p.MaximumX = 4;
    p.MinimumY = 10;
    p.MaximumY = 20;
    RandSeed = 7;
    RandomizeCloud(mcUniform, x, y, {}, {}, p, ctx, box);
    EXPECT_DOUBLE_EQ(y[0], 12.196595752611756);
    EXPECT_DOUBLE_EQ(x[0], 3.678119266871363);
    EXPECT_DOUBLE_EQ(y[1], 12.517759525217116);
    EXPECT_DOUBLE_EQ(x[1], 3.389926159288734);
    EXPECT_EQ(box.MinX, 2);
    EXPECT_EQ(box.MaxX, 4);
    EXPECT_EQ(box.MinY, 10);
    EXPECT_EQ(box.MaxY, 20);

    // The law: the mean and variance of many draws on 0..1.
    std::vector<double> bx(40000), by(40000);
    RandSeed = 11;
    UniformCloud(bx, by, 0, 1, 0, 1, box);
    double mean = 0, sq = 0;
    for (double v : bx) mean += v;
    mean /= bx.size();
    for (double v : bx) sq += (v - mean) * (v - mean);
    EXPECT_NEAR(mean, 0.5, 0.006);
    EXPECT_NEAR(sq / (bx.size() - 1), 1.0 / 12, 0.002);
}

TEST(MacroClouds, NormalDrawsArePositiveAndSetTheBox)
{
    std::vector<double> x(3), y(3);
    TSimContext ctx;
    TMacroCloudParameters p;
    p.MeanX = 2;
    p.SDX = 0.5;
    p.MeanY = 5;
    p.SDY = 1;
    TMacroBox box;
    RandSeed = 3;
    RandomizeCloud(mcNormal, x, y, {}, {}, p, ctx, box);
    // The polar method on the generator, y before x (Python).
    const double ex[3] = {2.4732452521172696, 2.234871493821662, 1.5553309865089608};
    const double ey[3] = {4.090455556794855, 4.3632393203412585, 5.726133058936076};
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(x[k], ex[k], 1e-13) << k;
        EXPECT_NEAR(y[k], ey[k], 1e-13) << k;
    }
    EXPECT_EQ(box.MinX, x[2]);
    EXPECT_EQ(box.MaxX, x[0]);
    EXPECT_EQ(box.MinY, y[0]);
    EXPECT_EQ(box.MaxY, y[2]);

    // A law around 0.5 with deviation 1 gives many values <= 0: all are drawn
    // again, and what is left is the normal law cut at 0.
    std::vector<double> bx(20000), by(20000);
    p.MeanX = p.MeanY = 0.5;
    p.SDX = p.SDY = 1;
    RandSeed = 5;
    RandomizeCloud(mcNormal, bx, by, {}, {}, p, ctx, box);
    double mean = 0;
    for (size_t k = 0; k < bx.size(); ++k) {
        ASSERT_GT(bx[k], 0) << k;
        ASSERT_GT(by[k], 0) << k;
        mean += by[k];
    }
    // Mean of N(0.5, 1) cut at 0: 0.5 + phi(0.5) / Phi(0.5) = 1.0092 (scipy).
    EXPECT_NEAR(mean / by.size(), 1.00917, 0.02);
    EXPECT_GT(box.MinY, 0);
    EXPECT_LT(box.MinY, 0.01);
}

TEST(MacroClouds, ANormalLawWithoutPositiveValuesGivesUp)
{
    std::vector<double> x(4, -1), y(4, -1);
    QStringList shown;
    bool stop = false;
    TSimContext ctx;
    ctx.ShowMessage = [&](const QString &m) { shown << m; };
    ctx.InterruptFlag = &stop;
    RandSeed = 2;
    EXPECT_FALSE(NormalCloud(x, y, 1, 1, -1e9, 1, ctx));
    EXPECT_EQ(shown, QStringList("Unable to satisfy restraints. Aborting simulation."));
    EXPECT_TRUE(stop);
}

}  // namespace

// One computation walks the points once where it can; the routines one after the other (taken
// when the columns differ in length: a trailing 0 in y changes no sum) must give the same bits.
TEST(MacroStatistics, OneWalkMatchesTheRoutinesOneAfterTheOther)
{
    RandSeed = 11;
    std::vector<double> x(2000), y(2000);
    // Half-unit values put many points on the medians and on the lines.
    for (size_t k = 0; k < x.size(); ++k) {
        x[k] = std::floor(Random() * 20) / 2;
        y[k] = std::floor(Random() * 20) / 2;
    }
    std::vector<double> y0 = y;
    y0.push_back(0);
    const TCloud c{x, y};
    const TMacroBox box = c.Box();
    for (bool asym : {false, true})
        for (int pattern = 0; pattern < 4; ++pattern)
            for (int boundary = 0; boundary < 4; ++boundary) {
                TMacroStatistics a, b, f;
                TMacroSegment sa, sb, sf;
                const auto run = asym ? MacroAsymmetric : MacroSymmetric;
                run(x, y, box, 4.5, 5, pattern, boundary, a, sa, nullptr);
                run(x, y0, box, 4.5, 5, pattern, boundary, b, sb, nullptr);
                // The x sums taken once beforehand change nothing.
                const TMacroXSums xSums = MacroXSums(x);
                run(x, y, box, 4.5, 5, pattern, boundary, f, sf, &xSums);
                SCOPED_TRACE(testing::Message() << asym << " " << pattern << " " << boundary);
                EXPECT_EQ(a.WithinSpace, b.WithinSpace);
                EXPECT_EQ(a.SumSquares, b.SumSquares);
                EXPECT_EQ(a.Coefficient, b.Coefficient);
                EXPECT_EQ(f.Coefficient, b.Coefficient);
                EXPECT_EQ(f.SumSquares, b.SumSquares);
                EXPECT_EQ(f.Variance, b.Variance);
                EXPECT_EQ(a.Variance, b.Variance);
                EXPECT_EQ(a.BoundaryCoefficient, b.BoundaryCoefficient);
                EXPECT_EQ(a.BoundaryWithinSpace, b.BoundaryWithinSpace);
                EXPECT_EQ(a.BoundarySumSquares, b.BoundarySumSquares);
                EXPECT_EQ(sa.X1, sb.X1);
                EXPECT_EQ(sa.Y2, sb.Y2);
                EXPECT_GT(a.WithinSpace, 0);
            }
}

// The walk takes the points two at a time: an odd count leaves one for the end, and a NaN (which
// counts in no quadrant) or infinities of both signs (whose sum is NaN) send the quadrants back to
// their bins. Each must still give the bits of the routines one after the other.
TEST(MacroStatistics, OneWalkMatchesTheRoutinesForOddCountsAndUnorderedValues)
{
    const double inf = INFINITY, nan = NAN;
    struct Case
    {
        const char *name;
        std::vector<double> x, y;
    };
    const Case cases[] = {
        {"odd", {1, 2, 3, 4, 5, 2.5, 3}, {1, 4, 2, 5, 3, 3, 4.5}},
        {"nan x", {1, 2, nan, 4, 5, 3}, {1, 4, 2, 5, 3, 3}},
        {"nan y", {1, 2, 3, 4, 5, 3, 2}, {1, 4, 2, 5, 3, nan, 3}},
        {"infinities", {1, 2, 3, 4, 5, 3}, {1, inf, 2, -inf, 3, 3}},
    };
    const auto same = [](double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); };
    for (const Case &c : cases)
        for (bool asym : {false, true})
            for (int pattern = 0; pattern < 4; ++pattern)
                for (int boundary = 0; boundary < 4; ++boundary) {
                    std::vector<double> y0 = c.y;
                    y0.push_back(0);
                    const TMacroBox box{1, 5, 1, 5};
                    TMacroStatistics a, b;
                    TMacroSegment sa, sb;
                    const auto run = asym ? MacroAsymmetric : MacroSymmetric;
                    run(c.x, c.y, box, 3, 3, pattern, boundary, a, sa, nullptr);
                    run(c.x, y0, box, 3, 3, pattern, boundary, b, sb, nullptr);
                    SCOPED_TRACE(testing::Message() << c.name << " " << asym << " " << pattern << " " << boundary);
                    EXPECT_EQ(a.WithinSpace, b.WithinSpace);
                    EXPECT_TRUE(same(a.SumSquares, b.SumSquares)) << a.SumSquares << " " << b.SumSquares;
                    EXPECT_EQ(a.BoundaryWithinSpace, b.BoundaryWithinSpace);
                    EXPECT_TRUE(same(a.BoundarySumSquares, b.BoundarySumSquares));
                    EXPECT_TRUE(same(a.Variance, b.Variance)) << a.Variance << " " << b.Variance;
                    EXPECT_TRUE(same(a.Coefficient, b.Coefficient));
                }
    // Quadrants by hand for the NaN in y: (3, NaN) counts nowhere; of the other six, (1,1) lower
    // left, (2,4) upper left, (3,2) half lower left, half lower right, (4,5) upper right, (5,3)
    // half upper right, half lower right, (2,3) half upper left, half lower left: 1.5, 1.5, 2, 1;
    // mean 1.5, variance (0 + 0 + 0.25 + 0.25) / 3.
    TMacroStatistics s;
    TMacroSegment seg;
    MacroSymmetric(cases[2].x, cases[2].y, TMacroBox{1, 5, 1, 5}, 3, 3, mpPyramid, mbUpperRight, s, seg, nullptr);
    EXPECT_DOUBLE_EQ(s.Variance, 0.5 / 3);
}
