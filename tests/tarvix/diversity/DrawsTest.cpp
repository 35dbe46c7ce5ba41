// The four sampling schemes: what they take, that they follow the linear walk's draws exactly,
// and that they draw the law they name (seeded, compared within a few standard errors with
// expectations worked out in exact arithmetic outside the program).
#include "framework/controls/UiSeam.h"
#include "framework/rtl/System.h"
#include "models/overlap_diversity/SpeciesDiversitySims.h"

#include <gtest/gtest.h>
#include <cmath>
#include <map>
#include <numeric>
#include <vector>

namespace {

using Vec = std::vector<int32_t>;

int32_t Sum(const Vec &v) { return std::accumulate(v.begin(), v.end(), 0); }

// The reference draw: a walk from the first species adding counts until the sum reaches r.
void LinearDraw(int32_t k, Vec &Pool, Vec &Sample)
{
    int32_t remaining = Sum(Pool);
    for (int32_t i = 0; i < k; ++i) {
        const int32_t r = 1 + Random(remaining);
        size_t s = 0;
        int32_t sum = Pool[0];
        while (sum < r) sum += Pool[++s];
        ++Sample[s];
        --Pool[s];
        --remaining;
    }
}

// Samples of 1..S with one marker species each: a pooled sample counts how often each was drawn.
Matrix MarkerSamples(int32_t S)
{
    Matrix M(S, S);
    for (int32_t s = 0; s < S; ++s) M[s][s] = 1;
    return M;
}

struct Moments
{
    double n = 0, sum = 0, sq = 0;
    void Add(double x)
    {
        ++n;
        sum += x;
        sq += x * x;
    }
    double Mean() const { return sum / n; }
    double Variance() const { return (sq - sum * sum / n) / (n - 1); }
    // Standard error of the mean, with the variance given or estimated.
    double Se(double Var) const { return std::sqrt(Var / n); }
};

} // namespace

TEST(DiversityDraws, IndividualDrawsTakeWhatThePoolHolds)
{
    TSpeciesDiversitySims s;
    const Vec observed{4, 0, 3, 1, 0, 2};
    RandSeed = 11;
    Vec sample(6, 0);
    s.individualsCount = 10;
    s.DoRandomDraw(10, observed, sample);
    EXPECT_EQ(sample, observed) << "k = N takes every individual";

    // Successive accumulation calls continue one draw without replacement.
    TIndividualPool pool;
    pool.Assign(observed);
    s.individualsCount = 10;
    Vec acc(6, 0);
    for (int32_t k : {3, 0, 4, 2, 5}) {
        s.Accumulation_DoRandomDraw(k, pool, acc);
        for (size_t i = 0; i < observed.size(); ++i) {
            EXPECT_GE(pool.Counts()[i], 0);
            EXPECT_EQ(acc[i] + pool.Counts()[i], observed[i]);
        }
        EXPECT_EQ(s.individualsCount, pool.Total());
    }
    EXPECT_EQ(acc, observed) << "the pool ran dry: a larger k takes only what is left";
    EXPECT_EQ(pool.Total(), 0);
}

TEST(DiversityDraws, CumulativeSearchFollowsTheLinearWalk)
{
    TSpeciesDiversitySims s;
    for (uint32_t seed : {1u, 2u, 77u, 4000000000u}) {
        RandSeed = seed;
        Vec observed(1 + Random(40));
        for (int32_t &x : observed) x = Random(3) == 0 ? 0 : Random(9);
        observed.back() += 1;
        const int32_t N = Sum(observed);
        const int32_t k = 1 + Random(N);

        RandSeed = seed;
        Vec expected(observed.size(), 0), walkPool = observed;
        LinearDraw(k, walkPool, expected);
        RandSeed = seed;
        Vec sample(observed.size(), 0);
        s.individualsCount = N;
        s.DoRandomDraw(k, observed, sample);
        EXPECT_EQ(sample, expected) << "seed " << seed;

        // The accumulation draw in two parts follows one walk too.
        RandSeed = seed;
        Vec expected2(observed.size(), 0);
        walkPool = observed;
        LinearDraw(k, walkPool, expected2);
        RandSeed = seed;
        TIndividualPool pool;
        pool.Assign(observed);
        Vec acc(observed.size(), 0);
        s.Accumulation_DoRandomDraw(k / 2, pool, acc);
        s.Accumulation_DoRandomDraw(k - k / 2, pool, acc);
        EXPECT_EQ(acc, expected2) << "seed " << seed;
        EXPECT_EQ(pool.Counts(), walkPool) << "seed " << seed;
    }
}

// A draw of k from (5, 3, 2, 1, 1) is hypergeometric: E[richness] = sum 1 - C(N-n_i, k)/C(N, k)
// (1444/495 at k = 4, 59/33 at 2, 485/132 at 6, variances 0.46385, 0.16713, 0.52700), and
// Hurlbert's PIE of the sample is unbiased for the pool's, 26/33, at every k >= 2.
TEST(DiversityDraws, RarefactionAndAccumulationDrawTheHypergeometricLaw)
{
    const Vec observed{5, 3, 2, 1, 1};
    const int reps = 20000;
    TSpeciesDiversitySims s;
    RandSeed = 20261210;
    Moments rich4, pie4, first4;
    Vec sample(5);
    for (int i = 0; i < reps; ++i) {
        std::fill(sample.begin(), sample.end(), 0);
        s.individualsCount = 12;
        s.DoRandomDraw(4, observed, sample);
        s.Index = diRichness;
        s.DetermineIndex(sample, 4);
        rich4.Add(s.indexResult);
        s.Index = diHurlbertsPIE;
        s.DetermineIndex(sample, 4);
        pie4.Add(s.indexResult);
        first4.Add(sample[0]);
    }
    EXPECT_NEAR(rich4.Mean(), 1444.0 / 495, 4 * rich4.Se(0.4638465462707887));
    EXPECT_NEAR(rich4.Variance(), 0.4638465462707887, 0.03);
    EXPECT_NEAR(pie4.Mean(), 26.0 / 33, 4 * pie4.Se(pie4.Variance()));
    // Species 1: mean 4 * 5/12, variance 4 (5/12)(7/12)(8/11).
    const double var1 = 4 * (5.0 / 12) * (7.0 / 12) * (8.0 / 11);
    EXPECT_NEAR(first4.Mean(), 4 * 5.0 / 12, 4 * first4.Se(var1));
    EXPECT_NEAR(first4.Variance(), var1, 0.04);

    // Nested: 2 individuals, then 4 more.
    Moments rich2, rich6;
    TIndividualPool pool;
    for (int i = 0; i < reps; ++i) {
        std::fill(sample.begin(), sample.end(), 0);
        pool.Assign(observed);
        s.Index = diRichness;
        s.Accumulation_DoRandomDraw(2, pool, sample);
        s.DetermineIndex(sample, 2);
        rich2.Add(s.indexResult);
        s.Accumulation_DoRandomDraw(4, pool, sample);
        s.DetermineIndex(sample, 6);
        rich6.Add(s.indexResult);
    }
    EXPECT_NEAR(rich2.Mean(), 59.0 / 33, 4 * rich2.Se(0.16712580348943984));
    EXPECT_NEAR(rich6.Mean(), 485.0 / 132, 4 * rich6.Se(0.5269988849534304));
}

TEST(DiversityDraws, SampleAccumulationDrawsSamplesWithReplacement)
{
    // Three draws from four samples: each sample is drawn Binomial(3, 1/4) times, and all three
    // differ with probability 4 * 3 * 2 / 64 = 0.375.
    const Matrix M = MarkerSamples(4);
    TSpeciesDiversitySims s;
    RandSeed = 5;
    const int reps = 20000;
    Moments first;
    int distinct = 0;
    Vec sample(4);
    for (int i = 0; i < reps; ++i) {
        std::fill(sample.begin(), sample.end(), 0);
        s.DoSampleDrawAccumulation(3, M, sample);
        ASSERT_EQ(Sum(sample), 3);
        first.Add(sample[0]);
        distinct += *std::max_element(sample.begin(), sample.end()) == 1;
    }
    EXPECT_NEAR(first.Mean(), 0.75, 4 * first.Se(0.5625));
    EXPECT_NEAR(first.Variance(), 0.5625, 0.03);
    EXPECT_NEAR(distinct / double(reps), 0.375, 4 * std::sqrt(0.375 * 0.625 / reps));
}

TEST(DiversityDraws, IndependentSamplesAreDistinctAndEveryPairEquallyLikely)
{
    const Matrix M = MarkerSamples(4);
    TSpeciesDiversitySims s;
    RandSeed = 9;
    const int reps = 12000;
    std::map<Vec, int> pairs;
    Vec sample(4);
    for (int i = 0; i < reps; ++i) {
        std::fill(sample.begin(), sample.end(), 0);
        s.DoSampleDrawIndependent(2, M, sample);
        ++pairs[sample];
    }
    ASSERT_EQ(pairs.size(), 6u) << "only the six pairs of distinct samples";
    const double se = std::sqrt(reps * (1.0 / 6) * (5.0 / 6));
    for (const auto &[pair, n] : pairs) {
        EXPECT_EQ(Sum(pair), 2);
        EXPECT_NEAR(n, reps / 6.0, 4 * se);
    }

    // All samples pool everything.
    Matrix data(3, 2);
    data[0][0] = 2;
    data[1][1] = 5;
    data[2][0] = 1;
    data[2][1] = 1;
    Vec all(2, 0);
    s.DoSampleDrawIndependent(3, data, all);
    EXPECT_EQ(all, (Vec{3, 6}));
}

TEST(DiversityDraws, IndependentDrawReachesEverySampleAndRefusesTooMany)
{
    // Ten thousand of ten thousand samples: the last free one always comes.
    const int32_t S = 10000;
    Matrix M(S, 1);
    for (int32_t c = 0; c < S; ++c) M[c][0] = 1;
    TSpeciesDiversitySims s;
    bool stop = false;
    s.Context.InterruptFlag = &stop;
    QStringList shown;
    s.Context.ShowMessage = [&](const QString &m) { shown << m; };
    for (uint32_t seed : {1u, 2u, 3u}) {
        RandSeed = seed;
        Vec sample(1, 0);
        s.DoSampleDrawIndependent(S, M, sample);
        EXPECT_EQ(sample[0], S);
    }
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_FALSE(stop);

    Vec sample(1, 0);
    const uint32_t before = RandSeed;
    s.DoSampleDrawIndependent(S + 1, M, sample);
    EXPECT_EQ(shown, QStringList("Unable to independent sample."));
    EXPECT_TRUE(stop);
    EXPECT_EQ(sample[0], 0);
    EXPECT_EQ(RandSeed, before) << "refused before any draw";
}
