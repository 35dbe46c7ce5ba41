#include "models/presence_absence/CoOccurrenceSims.h"
#include "tests/tarvix/presence_absence/Fixtures.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <numeric>

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

double Mean(const std::vector<double> &v) { return std::accumulate(v.begin(), v.end(), 0.0) / v.size(); }

std::vector<double> Pairwise(void (*f)(const Matrix &, const TInfoMat &, std::span<double>), const Matrix &m,
                             const TInfoMat &info)
{
    std::vector<double> out(PairCount(info[3]), -1);
    f(m, info, out);
    return out;
}

double Whole(void (*f)(const Matrix &, const TInfoMat &, std::span<double>), const Matrix &m, const TInfoMat &info)
{
    std::vector<double> out(1, -1);
    f(m, info, out);
    return out[0];
}

// The indices as the formulas state them, cell by cell over the Matrix layout.
struct TDirect
{
    std::vector<double> shared, unions, units;
    double checkerboards = 0, combinations = 0, vratio = 0;

    TDirect(const Matrix &M, int32_t s, int32_t n)
    {
        for (int32_t i = 1; i < n; ++i)
            for (int32_t j = i + 1; j <= n; ++j) {
                int32_t both = 0, either = 0, ri = 0, rj = 0;
                for (int32_t c = 1; c <= s; ++c) {
                    both += M[c][i] + M[c][j] == 2;
                    either += std::min(1, M[c][i] + M[c][j]);
                    ri += M[c][i] == 1;
                    rj += M[c][j] == 1;
                }
                shared.push_back(both);
                unions.push_back(either);
                units.push_back(double(ri - both) * (rj - both));
                checkerboards += M[0][i] != 0 && M[0][j] != 0 && both == 0;
            }
        std::vector<bool> marked(s + 1, true);
        for (int32_t c = 1; c < s; ++c)
            for (int32_t d = c + 1; d <= s; ++d) {
                bool same = true;
                for (int32_t r = 1; r <= n && same; ++r) same = M[c][r] == M[d][r];
                if (same) marked[c] = false;
            }
        for (int32_t c = 1; c <= s; ++c) combinations += marked[c];
        double speciesVar = 0;
        for (int32_t r = 1; r <= n; ++r) {
            std::vector<double> cells;
            for (int32_t c = 1; c <= s; ++c) cells.push_back(M[c][r]);
            double mean, var;
            MeanVariance(s, cells, mean, var);
            speciesVar += var;
        }
        std::vector<double> totals;
        for (int32_t c = 1; c <= s; ++c) totals.push_back(M[c][0]);
        double mean, siteVar;
        MeanVariance(s, totals, mean, siteVar);
        vratio = speciesVar > 0 ? siteVar / speciesVar : 0;
    }
};

} // namespace

TEST(PresenceAbsenceIndices, SmallFixtureGivesTheKnownValues)
{
    const Matrix m = FromRows({"1100", "0011", "1100"});
    const TInfoMat info = FullInfo(m);
    const auto units = Pairwise(CScoreUnits, m, info);
    EXPECT_THAT(units, ElementsAre(4, 0, 4));
    EXPECT_NEAR(Mean(units), 2.66667, 5e-6);
    EXPECT_EQ(Whole(CheckerboardCount, m, info), 2);
    EXPECT_EQ(Whole(SpeciesCombinations, m, info), 2);
    EXPECT_NEAR(Whole(VRatio, m, info), 0.33333, 5e-6);
    const auto shared = Pairwise(PairSharedSites, m, info);
    const auto unions = Pairwise(PairUnion, m, info);
    EXPECT_THAT(shared, ElementsAre(0, 2, 0));
    EXPECT_THAT(unions, ElementsAre(4, 2, 4));
    const auto overlap = Pairwise(PairRelativeOverlap, m, info);
    EXPECT_THAT(overlap, ElementsAre(0, 1, 0));
    EXPECT_NEAR(Mean(overlap), 0.33333, 5e-6);
}

TEST(PresenceAbsenceIndices, EmptySpeciesCountsAsZeroPairsAndNoCheckerboard)
{
    const Matrix m = FromRows({"1100", "0011", "1100", "0000"});
    const TInfoMat info = FullInfo(m);
    const auto units = Pairwise(CScoreUnits, m, info);
    EXPECT_THAT(units, ElementsAre(4, 0, 0, 4, 0, 0));
    EXPECT_NEAR(Mean(units), 1.33333, 5e-6);
    EXPECT_EQ(Whole(CheckerboardCount, m, info), 2);
}

TEST(PresenceAbsenceIndices, UseTheLiveCountsAndStayInsideTheOutput)
{
    // Cells past the live counts are ignored, whatever they hold.
    Matrix m = FromRows({"1101", "0011", "1101"});
    TInfoMat info = FullInfo(m);
    info[2] = 3;
    info[3] = 2;
    std::vector<double> out(3, -1);
    CScoreUnits(m, info, out);
    EXPECT_THAT(out, ElementsAre(2, -1, -1));

    // One live species: no pair value and no checkerboard.
    info[3] = 1;
    std::fill(out.begin(), out.end(), -1);
    PairUnion(m, info, out);
    EXPECT_THAT(out, ElementsAre(-1, -1, -1));
    EXPECT_EQ(Whole(CheckerboardCount, m, info), 0);

    // An output shorter than the pair list gets its first values only.
    info = FullInfo(m);
    std::vector<double> two(2, -1);
    PairSharedSites(m, info, two);
    EXPECT_THAT(two, ElementsAre(1, 3));
}

TEST(PresenceAbsenceIndices, MatchTheDirectFormulasOnRandomMatrices)
{
    struct { int32_t species, sites; double fill; } cases[] = {
        {2, 2, 0.5}, {7, 5, 0.3}, {13, 64, 0.5}, {9, 65, 0.2}, {40, 130, 0.3}, {70, 3, 0.5}, {5, 200, 0.05}, {6, 1, 0.5},
    };
    uint32_t seed = 11;
    for (const auto &k : cases) {
        const Matrix m = RandomMatrix(k.species, k.sites, k.fill, seed++);
        const TInfoMat info = FullInfo(m);
        const TDirect direct(m, k.sites, k.species);
        SCOPED_TRACE(testing::Message() << k.species << " x " << k.sites);
        EXPECT_THAT(Pairwise(PairSharedSites, m, info), ElementsAreArray(direct.shared));
        EXPECT_THAT(Pairwise(PairUnion, m, info), ElementsAreArray(direct.unions));
        std::vector<double> overlap(direct.shared.size());
        for (size_t p = 0; p < overlap.size(); ++p)
            overlap[p] = direct.unions[p] > 0 ? direct.shared[p] / direct.unions[p] : 0;
        EXPECT_THAT(Pairwise(PairRelativeOverlap, m, info), ElementsAreArray(overlap));
        EXPECT_THAT(Pairwise(CScoreUnits, m, info), ElementsAreArray(direct.units));
        EXPECT_EQ(Whole(CheckerboardCount, m, info), direct.checkerboards);
        EXPECT_EQ(Whole(SpeciesCombinations, m, info), direct.combinations);
        EXPECT_NEAR(Whole(VRatio, m, info), direct.vratio, 1e-12 * std::max(1.0, direct.vratio));
    }
}

TEST(PresenceAbsenceIndices, EdgeCases)
{
    // Disjoint species: shared 0, union r_i + r_j, units r_i * r_j.
    Matrix m = FromRows({"11100", "00011"});
    EXPECT_THAT(Pairwise(CScoreUnits, m, FullInfo(m)), ElementsAre(6));
    EXPECT_THAT(Pairwise(PairUnion, m, FullInfo(m)), ElementsAre(5));
    // Identical site columns count once; all-different columns count each.
    m = FromRows({"1010", "0101"});
    EXPECT_EQ(Whole(SpeciesCombinations, m, FullInfo(m)), 2);
    m = FromRows({"1100", "1010"});
    EXPECT_EQ(Whole(SpeciesCombinations, m, FullInfo(m)), 4);
    // Every species the same in every site: all species variances 0.
    m = FromRows({"1111", "0000"});
    EXPECT_EQ(Whole(VRatio, m, FullInfo(m)), 0);
}

TEST(PresenceAbsenceIndices, CScoreUnitsDoNotOverflowOnWideMatrices)
{
    // Two disjoint species of 46,341 sites each: 46,341^2 passes the 32-bit range.
    const int32_t half = 46341;
    Matrix m(2 * half + 1, 3);
    for (int32_t c = 1; c <= half; ++c) m[c][1] = 1;
    for (int32_t c = half + 1; c <= 2 * half; ++c) m[c][2] = 1;
    MarginalTotalsSized(m, 2 * half, 2);
    EXPECT_THAT(Pairwise(CScoreUnits, m, FullInfo(m)), ElementsAre(double(half) * half));
}
