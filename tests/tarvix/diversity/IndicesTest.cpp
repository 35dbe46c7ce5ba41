// The four diversity indices and the level rules, on plain vectors. Expected values are worked
// out by hand or, where noted, in exact arithmetic outside the program.
#include "framework/controls/UiSeam.h"
#include "framework/rtl/Classes.h"
#include "models/overlap_diversity/SpeciesDiversitySims.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

struct IndexCase
{
    int32_t index;
    std::vector<int32_t> v;
    int32_t b;
    double expected;
};

} // namespace

TEST(DiversityIndices, EachIndexOfAVector)
{
    const IndexCase cases[] = {
        {diHurlbertsPIE, {1}, 1, 0.0},
        {diHurlbertsPIE, {0, 1, 0}, 1, 0.0},
        {diHurlbertsPIE, {1, 1}, 2, 1.0},
        // 12/11 (1 - (25 + 9 + 4 + 1 + 1) / 144) = 26/33, in double arithmetic.
        {diHurlbertsPIE, {5, 3, 2, 1, 1}, 12, 0.787878787878788},
        {diShannon, {0, 7, 0}, 7, 0.0},
        {diShannon, {1, 1}, 2, 0.6931471805599453},
        // -sum p ln p of 5/12, 3/12, 2/12, 1/12, 1/12.
        {diShannon, {5, 3, 2, 1, 1}, 12, 1.4241299173467734},
        {diDominance, {5, 3, 2}, 10, 0.5},
        {diDominance, {0, 0, 4}, 8, 0.5},
        {diRichness, {5, 0, 3, 0, -0}, 8, 2.0},
    };
    TSpeciesDiversitySims s;
    for (const IndexCase &c : cases) {
        s.Index = c.index;
        TUiScript ui;
        ASSERT_TRUE(s.DetermineIndex(c.v, c.b));
        EXPECT_DOUBLE_EQ(s.indexResult, c.expected) << "index " << c.index << " b " << c.b;
        EXPECT_TRUE(ui.Messages().isEmpty());
    }
    // Richness also counts into NonZeroRows.
    EXPECT_EQ(s.NonZeroRows, 2);
}

TEST(DiversityIndices, LevelBelowOneIsRefusedWithoutTouchingTheStopFlag)
{
    TSpeciesDiversitySims s;
    bool stop = false;
    s.Context.InterruptFlag = &stop;
    QStringList shown;
    s.Context.ShowMessage = [&](const QString &m) { shown << m; };
    s.indexResult = 42;
    for (int32_t b : {0, -3}) EXPECT_FALSE(s.DetermineIndex(std::vector<int32_t>{1, 2}, b));
    EXPECT_EQ(shown, QStringList(2, "Abundance level < 1. Aborting simulation."));
    EXPECT_EQ(s.indexResult, 42);
    EXPECT_FALSE(stop);
}

TEST(DiversityLevels, DefaultAbundanceLevels)
{
    const struct
    {
        int32_t N, L;
        std::vector<int32_t> levels;
    } cases[] = {
        {100, 10, {1, 11, 21, 31, 41, 51, 61, 71, 81, 91}},
        // d = 5/6: rounded on odd steps, truncated on even ones.
        {5, 6, {1, 2, 2, 3, 3, 4}},
        // Halves round to the even neighbour: 2.5 -> 2, 3.5 -> 4.
        {3, 2, {1, 2}},
        {5, 2, {1, 4}},
        {30, 4, {1, 8, 15, 22}},
        // One species of two: the second step reaches N, so the list holds the one level below.
        {2, 2, {1}},
        // Steps that reach N end the list there: no empty slot stays behind.
        {10, 3, {1, 4, 7}},
        {3, 3, {1, 2}},
        {3, 5, {1, 2, 2}},
    };
    TSpeciesDiversitySims s;
    for (const auto &c : cases) {
        std::vector<int32_t> levels{99, 99};
        s.NumLevels = c.L;
        s.setDefaultAbundanceLevels(c.N, levels);
        EXPECT_EQ(levels, c.levels) << "N " << c.N << " L " << c.L;
        EXPECT_EQ(s.NumLevels, static_cast<int32_t>(c.levels.size()));
    }
    // Sixty species of 100 each: 50 levels, 120 apart.
    s.NumLevels = 50;
    std::vector<int32_t> levels;
    s.setDefaultAbundanceLevels(6000, levels);
    ASSERT_EQ(levels.size(), 50u);
    EXPECT_EQ(levels[1], 121);
    EXPECT_EQ(levels[49], 5881);
}

TEST(DiversityLevels, DefaultSampleLevels)
{
    TSpeciesDiversitySims s;
    bool stop = false;
    s.Context.InterruptFlag = &stop;
    // Ten samples (ColCount 11), four levels: d = 2.75.
    s.ColCount = 11;
    s.individualsCount = 10;
    std::vector<int32_t> levels;
    s.SetDefaultSampleLevels(4, levels);
    EXPECT_EQ(levels, (std::vector<int32_t>{1, 4, 6, 9}));
    EXPECT_EQ(s.NumLevels, 4);
    // The bound is the number of individuals.
    s.individualsCount = 6;
    s.SetDefaultSampleLevels(4, levels);
    EXPECT_EQ(levels, (std::vector<int32_t>{1, 4}));
    EXPECT_FALSE(stop);
    levels = {7};
    s.SetDefaultSampleLevels(0, levels);
    EXPECT_TRUE(stop);
    EXPECT_TRUE(levels.empty());
    EXPECT_EQ(s.NumLevels, 0);
}

TEST(DiversityLevels, UserLevelsUseTheIntegerParse)
{
    TStringList lines;
    for (const char *l : {"10", "0", "-5", "12abc", "abc", "  7", "+3", "", "99999999999"}) lines.Add(QLatin1String(l));
    std::vector<int32_t> levels;
    TSpeciesDiversitySims::getAbundanceLevels(lines, levels);
    EXPECT_EQ(levels, (std::vector<int32_t>{10, 1, 1, 12, 1, 7, 3, 1, 1}));
}

TEST(DiversityCurve, StatisticsOfOneLevel)
{
    // 1000 values 1000, 999, ..., 1: the limits are the 25th and the 975th smallest.
    std::vector<double> column;
    for (int i = 1000; i >= 1; --i) column.push_back(i);
    const TCurveStatistics s = CurveStatistics(column);
    EXPECT_DOUBLE_EQ(s.Mean, 500.5);
    EXPECT_DOUBLE_EQ(s.Median, 500.5);
    // Sample variance of 1..n is n (n + 1) / 12.
    EXPECT_DOUBLE_EQ(s.Variance, 1000.0 * 1001.0 / 12.0);
    EXPECT_EQ(s.Low, 25);
    EXPECT_EQ(s.High, 975);
    EXPECT_EQ(column.front(), 1000) << "the caller's column keeps its order";

    const TCurveStatistics one = CurveStatistics(std::vector<double>{0.25});
    EXPECT_EQ(one.Variance, 0);
    EXPECT_EQ(one.Low, 0.25);
    EXPECT_EQ(one.High, 0.25);
    EXPECT_EQ(one.Median, 0.25);
    EXPECT_EQ(one.Mean, 0.25);
    // Five values: H = 4, low at Trunc(0.1) = 0, high at Round(3.9) = 4.
    const TCurveStatistics five = CurveStatistics(std::vector<double>{3, 1, 4, 1, 5});
    EXPECT_EQ(five.Low, 1);
    EXPECT_EQ(five.High, 5);
    EXPECT_EQ(five.Median, 3);
    EXPECT_DOUBLE_EQ(five.Variance, 3.2);
}
