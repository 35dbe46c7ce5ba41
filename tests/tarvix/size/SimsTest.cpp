// The size overlap engine without a window: segments and metrics against values computed by hand
// and in Python, and every size source against the law it names.
#include "framework/rtl/System.h"
#include "models/overlap_diversity/SizeOverlapSims.h"
#include "workspace/TarvixHelpers.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <vector>

namespace {

// Stands in for the run: records the messages and owns the stop flag.
struct Engine
{
    TSizeOverlapSims Sims;
    QStringList Messages;
    bool Interrupt = false;

    Engine()
    {
        Sims.Context.ShowMessage = [this](const QString &m) { Messages << m; };
        Sims.Context.InterruptFlag = &Interrupt;
    }

    // The observed sizes on the source's scale and one simulated set of the same length.
    std::vector<double> Draw(const std::vector<double> &Sizes)
    {
        const int32_t n = static_cast<int32_t>(Sizes.size());
        std::vector<double> source(Sizes.size()), out(Sizes.size());
        Sims.SourceTransform(n, Sizes, source);
        Sims.SimulateNumberLine(n, source, out);
        return out;
    }

    void Parametric(int32_t Distribution, int32_t Parameters, int32_t Rounding = srNone)
    {
        Sims.Options.BodySizeDistributionGroup = ssParametric;
        Sims.Options.BodySizeDistributionGroupMain = Distribution;
        Sims.Options.BodySizeDistributionGroupC = Parameters;
        Sims.Options.RoundingGroup = Rounding;
    }

    void Histogram(std::vector<double> Sizes, std::vector<double> Weights)
    {
        Sims.Options.BodySizeDistributionGroup = ssHistogram;
        Sims.SetHistogram(std::move(Sizes), std::move(Weights));
    }
};

struct Moments
{
    double Mean = 0, Variance = 0;
    int64_t Count = 0;
};

Moments Of(const std::vector<double> &V)
{
    Moments m;
    m.Count = static_cast<int64_t>(V.size());
    for (double v : V) m.Mean += v;
    m.Mean /= static_cast<double>(m.Count);
    for (double v : V) m.Variance += (v - m.Mean) * (v - m.Mean);
    m.Variance /= static_cast<double>(m.Count - 1);
    return m;
}

// Mean within four standard errors of Mu, variance within four of Sigma2 (normal-theory error
// of a sample variance, widened by the kurtosis factor K: 2 for the normal law, 0.8 for uniform).
void ExpectLaw(const std::vector<double> &V, double Mu, double Sigma2, double K, const char *What)
{
    const Moments m = Of(V);
    const double n = static_cast<double>(m.Count);
    EXPECT_NEAR(m.Mean, Mu, 4 * std::sqrt(Sigma2 / n)) << What;
    EXPECT_NEAR(m.Variance, Sigma2, 4 * Sigma2 * std::sqrt(K / n)) << What;
}

std::vector<double> Sorted(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

} // namespace

// ---- Segments and metrics ---------------------------------------------------------------------

TEST(SizeSegments, MetricsOfSizes2_5_9OnBothScales)
{
    TSizeOverlapSims s;
    const std::vector<double> sizes{2, 5, 9};
    struct Case
    {
        int32_t Transformation;
        double Seg0, Seg1, Minimum, Variance;
        const char *MinimumText, *VarianceText;
    };
    // Log case by Python: log10(5) - log10(2), log10(9) - log10(5), and their variance.
    const Case cases[] = {
        {stSizeDifferences, 3, 4, 3, 0.5, "3.00000", "0.50000"},
        {stSizeRatios, 0.39794000867203766, 0.255272505103306, 0.255272505103306, 0.010177008287267027, "0.25527",
         "0.01018"},
    };
    for (const Case &c : cases) {
        s.Options.TransformationGroup = c.Transformation;
        std::vector<double> line(3), seg(2);
        s.AnalysisTransform(3, sizes, line);
        NumberLineToSegments(3, line, seg);
        EXPECT_DOUBLE_EQ(seg[0], c.Seg0);
        EXPECT_DOUBLE_EQ(seg[1], c.Seg1);
        s.Options.MetricGroup = smMinimumSegment;
        EXPECT_DOUBLE_EQ(s.ObservedMetric(2, seg), c.Minimum);
        EXPECT_EQ(FloatToStr75(s.ObservedMetric(2, seg)), c.MinimumText);
        s.Options.MetricGroup = smSegmentVariance;
        std::vector<double> list(4, -1);
        s.SimulatedMetric(2, seg, list, 2);
        EXPECT_DOUBLE_EQ(list[2], c.Variance);
        EXPECT_EQ(FloatToStr75(list[2]), c.VarianceText);
        EXPECT_EQ(list[1], -1);
    }
    // One segment, and equal segments, have no variance.
    const std::vector<double> one{2.5}, equal{1.5, 1.5, 1.5};
    EXPECT_EQ(SegmentMetric(smSegmentVariance, 1, one), 0);
    EXPECT_EQ(SegmentMetric(smSegmentVariance, 3, equal), 0);
    EXPECT_EQ(SegmentMetric(smMinimumSegment, 1, one), 2.5);
}

TEST(SizeSegments, TransformsFollowTheSourceAndTheScale)
{
    TSizeOverlapSims s;
    const std::vector<double> sizes{0.01, 0, -3, 1000};
    std::vector<double> out(4);
    for (int32_t d : {sdUniform, sdNormal}) {
        s.Options.BodySizeDistributionGroupMain = d;
        s.SourceTransform(4, sizes, out);
        EXPECT_EQ(out, sizes);
        s.BackTransform(4, sizes, out);
        EXPECT_EQ(out, sizes);
    }
    for (int32_t d : {sdLogUniform, sdLogNormal}) {
        s.Options.BodySizeDistributionGroupMain = d;
        s.SourceTransform(4, sizes, out);
        EXPECT_EQ(out, (std::vector<double>{-2, 0, 0, 3}));
        const std::vector<double> logs{-2, 0, -0.5, 3};
        s.BackTransform(4, logs, out);
        EXPECT_DOUBLE_EQ(out[0], 0.01);
        EXPECT_EQ(out[1], 1);
        EXPECT_DOUBLE_EQ(out[2], 0.31622776601683794);
        EXPECT_EQ(out[3], 1000);
    }
    // The histogram is never a log source, whatever the distribution group says.
    s.Options.BodySizeDistributionGroup = ssHistogram;
    EXPECT_FALSE(s.LogSource());
    s.Options.TransformationGroup = stSizeRatios;
    s.AnalysisTransform(4, sizes, out);
    EXPECT_EQ(out, (std::vector<double>{-2, 0, 0, 3}));
    s.Options.TransformationGroup = stSizeDifferences;
    s.AnalysisTransform(4, sizes, out);
    EXPECT_EQ(out, sizes);
    EXPECT_EQ(CountPositiveSizes(sizes), 2);
}

// ---- Uniform sources --------------------------------------------------------------------------

TEST(SizeSources, DataDefinedUniformKeepsTheObservedEndPoints)
{
    Engine e;
    RandSeed = 11;
    // Log uniform: the end points survive the trip through log10 and back.
    e.Parametric(sdLogUniform, spDataDefined);
    const std::vector<double> sizes{0.5, 3, 20, 7};
    std::vector<double> logs;
    for (int i = 0; i < 300; ++i) {
        std::vector<double> back(4);
        e.Sims.BackTransform(4, Sorted(e.Draw(sizes)), back);
        EXPECT_NEAR(back.front(), 0.5, 1e-12);
        EXPECT_NEAR(back.back(), 20, 1e-12);
        logs.push_back(std::log10(back[1]));
        logs.push_back(std::log10(back[2]));
    }
    EXPECT_DOUBLE_EQ(e.Sims.SourceMinimum, std::log10(0.5));
    EXPECT_DOUBLE_EQ(e.Sims.SourceMaximum, std::log10(20.0));
    // Inner sizes uniform on the log scale.
    const double a = std::log10(0.5), b = std::log10(20.0);
    ExpectLaw(logs, (a + b) / 2, (b - a) * (b - a) / 12, 0.8, "log uniform");

    // Two sizes: the set is the observed one in every draw.
    e.Parametric(sdUniform, spDataDefined);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(e.Draw({9, 4}), (std::vector<double>{4, 9}));

    // Inner sizes of the raw uniform between the extremes.
    std::vector<double> inner;
    for (int i = 0; i < 2000; ++i) {
        const auto set = e.Draw({2, 10, 6, 6, 6, 6});
        EXPECT_EQ(set[0], 2);
        EXPECT_EQ(set[1], 10);
        inner.insert(inner.end(), set.begin() + 2, set.end());
    }
    ExpectLaw(inner, 6, 64.0 / 12, 0.8, "uniform");
    EXPECT_GE(*std::min_element(inner.begin(), inner.end()), 2);
    EXPECT_LT(*std::max_element(inner.begin(), inner.end()), 10);
}

TEST(SizeSources, IntegerUniformDrawsEveryWholeSizeEquallyOften)
{
    Engine e;
    RandSeed = 5;
    // Data defined, end points 3 and 7.
    e.Parametric(sdUniform, spDataDefined, srInteger);
    std::map<double, int> counts;
    const int sets = 3000;
    for (int i = 0; i < sets; ++i) {
        const auto set = e.Draw({3, 5, 7, 4});
        for (size_t k = 2; k < set.size(); ++k) ++counts[set[k]];
    }
    ASSERT_EQ(counts.size(), 5u);
    const double draws = 2.0 * sets, p = 0.2;
    for (double k = 3; k <= 7; ++k) EXPECT_NEAR(counts[k] / draws, p, 4 * std::sqrt(p * (1 - p) / draws)) << k;

    // User defined: the minimum and the range are rounded, then whole sizes from the minimum on.
    e.Parametric(sdUniform, spUserDefined, srInteger);
    e.Sims.User.UniformMinimum = 2.6;
    e.Sims.User.UniformMaximum = 7.4;  // range 4.8 rounds to 5: sizes 3 to 8
    counts.clear();
    for (int i = 0; i < 2000; ++i)
        for (double v : e.Draw({1, 2, 3})) ++counts[v];
    ASSERT_EQ(counts.size(), 6u);
    EXPECT_EQ(counts.begin()->first, 3);
    EXPECT_EQ(counts.rbegin()->first, 8);
    for (const auto &[k, c] : counts) EXPECT_NEAR(c / 6000.0, 1 / 6.0, 4 * std::sqrt(5 / 36.0 / 6000)) << k;
    EXPECT_EQ(e.Sims.SourceMinimum, 3);
    EXPECT_EQ(e.Sims.SourceMaximum, 7.4);
}

TEST(SizeSources, UserDefinedUniformDrawsEverySizeBetweenTheEndPoints)
{
    Engine e;
    RandSeed = 99;
    std::vector<double> all;
    e.Parametric(sdUniform, spUserDefined);
    e.Sims.User.UniformMinimum = 1.5;
    e.Sims.User.UniformMaximum = 4.5;
    for (int i = 0; i < 3000; ++i) {
        const auto set = e.Draw({100, 200});
        all.insert(all.end(), set.begin(), set.end());
    }
    ExpectLaw(all, 3, 9.0 / 12, 0.8, "user uniform");
    EXPECT_GE(*std::min_element(all.begin(), all.end()), 1.5);
    EXPECT_LT(*std::max_element(all.begin(), all.end()), 4.5);

    // Log uniform on the log scale; negative end points are allowed there.
    all.clear();
    e.Parametric(sdLogUniform, spUserDefined);
    e.Sims.User.LogUniformMinimum = -1;
    e.Sims.User.LogUniformMaximum = 2;
    for (int i = 0; i < 3000; ++i) {
        const auto set = e.Draw({100, 200});
        all.insert(all.end(), set.begin(), set.end());
    }
    ExpectLaw(all, 0.5, 9.0 / 12, 0.8, "user log uniform");
    EXPECT_EQ(e.Sims.SourceMinimum, -1);
    EXPECT_EQ(e.Sims.SourceMaximum, 2);
}

// ---- Normal sources ---------------------------------------------------------------------------

TEST(SizeSources, NormalSourcesDrawTheirLaw)
{
    Engine e;
    RandSeed = 3;
    // Data defined: mean and sample deviation of the sizes 10, 12, 14, 16 (13 and sqrt(20/3)).
    e.Parametric(sdNormal, spDataDefined);
    std::vector<double> all;
    for (int i = 0; i < 2500; ++i) {
        const auto set = e.Draw({10, 12, 14, 16});
        all.insert(all.end(), set.begin(), set.end());
    }
    EXPECT_DOUBLE_EQ(e.Sims.SourceMean, 13);
    EXPECT_DOUBLE_EQ(e.Sims.SourceSD, 2.581988897471611);
    ExpectLaw(all, 13, 20.0 / 3, 2, "data normal");

    // User defined with whole sizes: centred on the mean, not one above it.
    e.Parametric(sdNormal, spUserDefined, srInteger);
    e.Sims.User.NormalMean = 5;
    e.Sims.User.NormalSD = 1;
    all.clear();
    for (int i = 0; i < 5000; ++i) {
        const auto set = e.Draw({1, 2});
        all.insert(all.end(), set.begin(), set.end());
    }
    for (double v : all) ASSERT_TRUE(v > 0 && v == std::round(v)) << v;
    EXPECT_NEAR(Of(all).Mean, 5, 0.05);

    // Log normal, data defined, on the log scale: never drawn again, so negative values stay.
    e.Parametric(sdLogNormal, spDataDefined);
    all.clear();
    for (int i = 0; i < 2500; ++i) {
        const auto set = e.Draw({0.1, 1, 10, 100});
        all.insert(all.end(), set.begin(), set.end());
    }
    EXPECT_DOUBLE_EQ(e.Sims.SourceMean, 0.5);
    EXPECT_DOUBLE_EQ(e.Sims.SourceSD, 1.2909944487358056);
    ExpectLaw(all, 0.5, 5.0 / 3, 2, "data log normal");
    EXPECT_LT(*std::min_element(all.begin(), all.end()), 0);

    e.Parametric(sdLogNormal, spUserDefined);
    e.Sims.User.LogNormalMean = -0.5;
    e.Sims.User.LogNormalSD = 0.25;
    all.clear();
    for (int i = 0; i < 5000; ++i) {
        const auto set = e.Draw({1, 2});
        all.insert(all.end(), set.begin(), set.end());
    }
    ExpectLaw(all, -0.5, 0.0625, 2, "user log normal");
    EXPECT_TRUE(e.Messages.isEmpty());
}

TEST(SizeSources, NormalRedrawsGiveUpWhenNoPositiveSizeComes)
{
    Engine e;
    RandSeed = 8;
    // Deviation 0 and Round(0.3) = 0: no draw can ever be positive.
    e.Parametric(sdNormal, spDataDefined, srInteger);
    const auto set = e.Draw({0.3, 0.3, 0.3});
    EXPECT_EQ(e.Messages, QStringList("Unable to satisfy restraints. Aborting simulation."));
    EXPECT_TRUE(e.Interrupt);
    // A stop asked for meanwhile ends the redraws without a message.
    Engine stopped;
    stopped.Parametric(sdNormal, spDataDefined, srInteger);
    stopped.Interrupt = true;
    stopped.Draw({0.3, 0.3, 0.3});
    EXPECT_TRUE(stopped.Messages.isEmpty());
}

// ---- Histogram --------------------------------------------------------------------------------

TEST(SizeHistogram, DrawsWithoutReplacementByColonizationWeight)
{
    Engine e;
    RandSeed = 21;
    // Rows of one size: every set has segments of 0.
    e.Histogram({4, 4, 4, 4, 4}, {1, 1, 1, 1, 1});
    for (int i = 0; i < 20; ++i) {
        const auto set = e.Draw({1, 2, 3});
        std::vector<double> seg(2);
        NumberLineToSegments(3, Sorted(set), seg);
        EXPECT_EQ(SegmentMetric(smSegmentVariance, 2, seg), 0);
        EXPECT_EQ(set, (std::vector<double>{4, 4, 4}));
    }

    // Exactly n rows of positive weight (the others: weight 0, size 0, size not a number): the
    // same set every time, in changing order.
    e.Histogram({3, 8, 5, 0, 9, 1}, {1, 2, 0, 5, 0.5, 0});
    std::set<std::vector<double>> orders;
    for (int i = 0; i < 50; ++i) {
        const auto set = e.Draw({1, 1, 1});
        EXPECT_EQ(Sorted(set), (std::vector<double>{3, 8, 9}));
        orders.insert(set);
    }
    EXPECT_GT(orders.size(), 1u);
    EXPECT_TRUE(e.Messages.isEmpty());
    EXPECT_FALSE(e.Interrupt);

    // One row short.
    e.Draw({1, 1, 1, 1});
    EXPECT_EQ(e.Messages, QStringList("Unable to satisfy restraints. Aborting simulation."));
    EXPECT_TRUE(e.Interrupt);

    // No weight at all: the stop request and no sizes, no message.
    Engine none;
    none.Histogram({5, 6, 7}, {0, 0, 0});
    EXPECT_EQ(none.Draw({1, 1}), (std::vector<double>{0, 0}));
    EXPECT_TRUE(none.Interrupt);
    EXPECT_TRUE(none.Messages.isEmpty());
    EXPECT_FALSE(none.Sims.HistogramWeights());
}

TEST(SizeHistogram, SingleDrawsFollowTheWeights)
{
    Engine e;
    RandSeed = 1234;
    e.Histogram({10, 20, 30}, {8, 1, 1});
    std::map<double, int> counts;
    const int n = 10000;
    for (int i = 0; i < n; ++i) ++counts[e.Draw({1})[0]];
    const double se = std::sqrt(0.8 * 0.2 / n), se1 = std::sqrt(0.1 * 0.9 / n);
    EXPECT_NEAR(counts[10] / double(n), 0.8, 4 * se);
    EXPECT_NEAR(counts[20] / double(n), 0.1, 4 * se1);
    EXPECT_NEAR(counts[30] / double(n), 0.1, 4 * se1);
    EXPECT_EQ(e.Sims.HistogramWeightList, (std::vector<double>{0.8, 0.1, 0.1}));
}

// The bisection must pick the row a walk down the running probabilities picks, also on a
// boundary, at a draw of 0 before leading rows of weight 0, and past the rounded total.
TEST(SizeHistogram, RowChoiceMatchesTheLinearWalk)
{
    Engine e;
    const std::vector<double> weights{0, 0, 3, 0, 1, 0, 0, 2.5, 0.1, 0, 7, 0};
    e.Histogram(std::vector<double>(weights.size(), 1.0), weights);
    ASSERT_TRUE(e.Sims.HistogramWeights());
    const auto &p = e.Sims.HistogramWeightList;
    const auto walk = [&](double r) {
        double sum = 0;
        int32_t last = -1;
        for (size_t k = 0; k < p.size(); ++k) {
            sum += p[k];
            if (p[k] > 0) {
                last = static_cast<int32_t>(k);
                if (sum >= r) return last;
            }
        }
        return last;
    };
    std::vector<double> draws{0, 1, 1.0 + 1e-15, 0.99999999999999989};
    double sum = 0;
    for (double q : p) {
        sum += q;
        draws.push_back(sum);
        draws.push_back(std::nextafter(sum, 0.0));
        draws.push_back(std::nextafter(sum, 2.0));
    }
    RandSeed = 4;
    for (int i = 0; i < 5000; ++i) draws.push_back(Random());
    for (double r : draws) {
        const int32_t row = e.Sims.HistogramRow(r);
        ASSERT_EQ(row, walk(r)) << r;
        ASSERT_GT(weights[static_cast<size_t>(row)], 0) << r;
    }
}

TEST(SizeHistogram, AStopEndsTheDrawsAtOnce)
{
    Engine e;
    e.Histogram({1, 2, 3}, {1, 1, 1});
    e.Interrupt = true;
    RandSeed = 77;
    EXPECT_EQ(e.Draw({5, 5}), (std::vector<double>{0, 0}));
    EXPECT_EQ(RandSeed, 77u);
    EXPECT_TRUE(e.Messages.isEmpty());
}

// ---- Every source -----------------------------------------------------------------------------

TEST(SizeSources, TheSameSeedGivesTheSameSetsForEverySource)
{
    struct Source
    {
        int32_t Kind, Distribution, Parameters, Rounding;
    };
    std::vector<Source> sources{{ssHistogram, 0, 0, srNone}};
    for (int32_t d : {sdUniform, sdNormal, sdLogUniform, sdLogNormal})
        for (int32_t p : {spDataDefined, spUserDefined})
            for (int32_t r : {srNone, srInteger}) sources.push_back({ssParametric, d, p, r});
    const std::vector<double> sizes{1.5, 4, 9, 2.5, 30};
    for (const Source &s : sources) {
        std::vector<std::vector<double>> runs[2];
        for (auto &run : runs) {
            Engine e;
            e.Histogram({1, 2, 3, 4, 5, 6, 7, 8}, {1, 2, 3, 4, 1, 2, 3, 4});
            e.Sims.Options.BodySizeDistributionGroup = s.Kind;
            if (s.Kind == ssParametric) e.Parametric(s.Distribution, s.Parameters, s.Rounding);
            e.Sims.User = {1, 20, 8, 3, -0.5, 1.5, 0.8, 0.3};
            RandSeed = 2024;
            for (int i = 0; i < 5; ++i) run.push_back(e.Draw(sizes));
            EXPECT_FALSE(e.Interrupt);
        }
        EXPECT_EQ(runs[0], runs[1]) << s.Kind << " " << s.Distribution << " " << s.Parameters << " " << s.Rounding;
        EXPECT_NE(runs[0][0], runs[0][1]);
    }
}
