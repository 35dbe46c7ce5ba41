#include "models/presence_absence/CoOccurrenceSims.h"
#include "tests/tarvix/presence_absence/Fixtures.h"

#include <cmath>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

// 10 species x 12 sites with no empty row or column.
Matrix Fixture()
{
    const Matrix m = RandomMatrix(10, 12, 0.4, 2024);
    for (int32_t r = 1; r <= 10; ++r) EXPECT_GT(m[0][r], 0);
    for (int32_t c = 1; c <= 12; ++c) EXPECT_GT(m[c][0], 0);
    return m;
}

std::vector<double> Ramp(int32_t n)
{
    std::vector<double> w(n);
    for (int32_t i = 0; i < n; ++i) w[i] = i + 1;
    return w;
}

void Prepare(TCoOccurrenceSims &sims, const Matrix &P, int32_t rows, int32_t cols, int32_t fixedFixed)
{
    sims.RowGroup = rows;
    sims.ColumnGroup = cols;
    sims.FixedFixedGroup = fixedFixed;
    sims.Iterations = 100;
    sims.SitesNumberLine.assign(P.Cols(), 0);
    sims.SpeciesNumberLine.assign(P.Rows(), 0);
    sims.LoadSiteWeights(Ramp(P.Cols() - 1));
    sims.LoadSpeciesWeights(Ramp(P.Rows() - 1));
    sims.Fixed_Mat = P;
    sims.Done = false;
}

int32_t CellsDiffering(const Matrix &a, const Matrix &b)
{
    int32_t n = 0;
    for (int32_t c = 1; c < a.Cols(); ++c)
        for (int32_t r = 1; r < a.Rows(); ++r) n += a[c][r] != b[c][r];
    return n;
}

} // namespace

TEST(NullModelGenerators, EveryConstraintKeepsTheMarginsItFixes)
{
    const Matrix P = Fixture();
    const Matrix observed = P;
    struct { int32_t rows, cols, fixedFixed; } combos[18];
    int32_t n = 0;
    for (int32_t r = 0; r < 4; ++r)
        for (int32_t c = 0; c < 4; ++c)
            if (r == cnFixedSum && c == cnFixedSum)
                for (int32_t f = 0; f < 3; ++f) combos[n++] = {r, c, f};
            else
                combos[n++] = {r, c, 0};
    for (const auto &k : combos) {
        SCOPED_TRACE(testing::Message() << "rows " << k.rows << " columns " << k.cols << " algorithm " << k.fixedFixed);
        TCoOccurrenceSims sims;
        TRecorder rec(sims);
        Prepare(sims, P, k.rows, k.cols, k.fixedFixed);
        RandSeed = 77;
        Matrix Q, last;
        int32_t changed = 0;
        for (int32_t i = 0; i < 100; ++i) {
            sims.NextSimulatedMatrix(P, Q);
            ASSERT_TRUE(ZeroOne(Q));
            const Matrix q = WithFreshMargins(Q);
            ASSERT_EQ(Q, q) << "margins are current after the step";
            ASSERT_EQ(q[0][0], P[0][0]);
            for (int32_t r = 1; r <= 10 && k.rows == cnFixedSum; ++r) ASSERT_EQ(q[0][r], P[0][r]) << "species " << r;
            for (int32_t c = 1; c <= 12 && k.cols == cnFixedSum; ++c) ASSERT_EQ(q[c][0], P[c][0]) << "site " << c;
            changed += !(Q == P);
            last = Q;
        }
        EXPECT_GT(changed, 90);
        EXPECT_EQ(P, observed);
        EXPECT_TRUE(rec.Messages.isEmpty());
        EXPECT_FALSE(rec.Interrupt);

        // The same seed gives the same matrices.
        Prepare(sims, P, k.rows, k.cols, k.fixedFixed);
        RandSeed = 77;
        for (int32_t i = 0; i < 100; ++i) sims.NextSimulatedMatrix(P, Q);
        EXPECT_EQ(Q, last);
    }
}

TEST(NullModelGenerators, DrawTheRandomNumbersInTheDocumentedOrder)
{
    const Matrix P = FromRows({"1100", "0110", "0011"});
    TCoOccurrenceSims sims;
    TRecorder rec(sims);

    // Cell shuffle: the twelve cells numbered site by site (site 1 species 1..3, then site 2,
    // ...); from cell 12 down to cell 2, cell k trades places with cell Random(k) + 1.
    RandSeed = 5;
    Matrix expected = P;
    const auto cell = [&](int32_t k) -> int32_t & { return expected[(k - 1) / 3 + 1][(k - 1) % 3 + 1]; };
    for (int32_t k = 12; k >= 2; --k) std::swap(cell(k), cell(Random(k) + 1));
    RandSeed = 5;
    Matrix Q;
    sims.ShuffleCells(P, Q);
    EXPECT_EQ(Q, expected);

    // Checkerboard swap: species 1, site 1, species 2, site 2, until a checkerboard turns up.
    RandSeed = 9;
    expected = P;
    for (;;) {
        const int32_t r1 = Random(3) + 1, c1 = Random(4) + 1, r2 = Random(3) + 1, c2 = Random(4) + 1;
        const int32_t a = expected[c1][r1], b = expected[c2][r2], c = expected[c2][r1], d = expected[c1][r2];
        if (a * b + c * d == 1 && a + b + c + d == 2) {
            for (int32_t *cell : {&expected[c1][r1], &expected[c2][r2], &expected[c2][r1], &expected[c1][r2]})
                *cell = 1 - *cell;
            break;
        }
    }
    const uint32_t after = RandSeed;
    RandSeed = 9;
    Q = P;
    EXPECT_TRUE(sims.CheckerboardSwap(Q));
    EXPECT_EQ(Q, expected);
    EXPECT_EQ(RandSeed, after);

    // An independent-swap matrix is exactly N single swaps from the observed one.
    const Matrix big = RandomMatrix(70, 90, 0.3, 6);
    RandSeed = 13;
    Matrix single = big;
    for (int32_t i = 0; i < TCoOccurrenceSims::SwapCount(70, 90); ++i) ASSERT_TRUE(sims.CheckerboardSwap(single));
    const uint32_t afterSingle = RandSeed;
    RandSeed = 13;
    sims.IndependentSwap(big, Q);
    EXPECT_EQ(Q, single);
    EXPECT_EQ(RandSeed, afterSingle);
}

TEST(NullModelGenerators, SequentialSwapBurnsInOnceThenMovesOneSwapPerMatrix)
{
    // 1 0 / 0 1 has exactly two matrices with its margins; one swap goes from one to the other.
    const Matrix P = FromRows({"10", "01"});
    const Matrix other = FromRows({"01", "10"});
    TCoOccurrenceSims sims;
    TRecorder rec(sims);
    Prepare(sims, P, cnFixedSum, cnFixedSum, ffSequentialSwap);
    RandSeed = 1;
    Matrix Q;
    sims.GenerateNullMatrix(P, Q);
    EXPECT_TRUE(sims.Done);
    EXPECT_THAT(rec.ProgressMax, ElementsAre(30000, 100));
    EXPECT_EQ(WithFreshMargins(Q), P); // 30,000 swaps: an even number
    for (int32_t i = 0; i < 6; ++i) {
        sims.GenerateNullMatrix(P, Q);
        EXPECT_EQ(WithFreshMargins(Q), i % 2 == 0 ? other : P) << i;
    }
    EXPECT_EQ(rec.ProgressMax.size(), 2u);

    // On a larger matrix every later matrix is one swap (four cells) from the one before.
    const Matrix big = Fixture();
    Prepare(sims, big, cnFixedSum, cnFixedSum, ffSequentialSwap);
    sims.GenerateNullMatrix(big, Q);
    Matrix before = Q;
    for (int32_t i = 0; i < 20; ++i) {
        sims.GenerateNullMatrix(big, Q);
        EXPECT_EQ(CellsDiffering(before, Q), 4);
        before = Q;
    }
}

TEST(NullModelGenerators, MatrixWithoutCheckerboardIsReturnedUnchanged)
{
    // Nested rows: the only matrix with these margins.
    const Matrix P = FromRows({"1110", "1100", "1000"});
    for (int32_t algorithm : {ffSequentialSwap, ffIndependentSwap}) {
        TCoOccurrenceSims sims;
        TRecorder rec(sims);
        Prepare(sims, P, cnFixedSum, cnFixedSum, algorithm);
        Matrix Q = P;
        EXPECT_FALSE(sims.CheckerboardSwap(Q));
        EXPECT_EQ(Q, P);
        // Nothing to draw for: the random stream stays where it was.
        RandSeed = 21;
        sims.GenerateNullMatrix(P, Q);
        sims.GenerateNullMatrix(P, Q);
        EXPECT_EQ(Q, P);
        EXPECT_EQ(RandSeed, 21u);
        EXPECT_FALSE(rec.Interrupt);
    }
}

TEST(NullModelGenerators, ImpossibleConstraintsStopWithOneMessage)
{
    const QString unable = MsgUnableToSatisfy;
    struct
    {
        const char *what;
        int32_t rows, cols;
        std::vector<double> siteWeights; // empty: leave the ramp
        bool inflateSpecies;             // margins asking for more presences than the sites hold
        bool emptyMatrix;
        QString message;
    } cases[] = {
        {"fixed rows, weighted sites too few", cnFixedSum, cnProportional, {}, true, false, unable},
        {"fixed rows, user sites too few", cnFixedSum, cnUserDefined, {1, 1, 0, 0}, false, false, unable},
        {"user sites all zero", cnEquiprobable, cnUserDefined, {0, 0, 0, 0}, false, false, unable},
        {"no column totals", cnFixedSum, cnProportional, {}, false, true, QStringLiteral("Column Number Line error.")},
        {"no row totals", cnProportional, cnFixedSum, {}, false, true, QStringLiteral("Row Number Line error.")},
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(k.what);
        Matrix P = k.emptyMatrix ? FromRows({"0000", "0000"}) : FromRows({"1110", "0110"});
        if (k.inflateSpecies) {
            // Sites 1..3 carry weight; species 1 asks for four presences.
            P[0][1] = 4;
            P[0][0] = 6;
        }
        TCoOccurrenceSims sims;
        TRecorder rec(sims);
        Prepare(sims, P, k.rows, k.cols, 0);
        if (!k.siteWeights.empty()) sims.LoadSiteWeights(k.siteWeights);
        Matrix Q;
        RandSeed = 3;
        sims.GenerateNullMatrix(P, Q);
        EXPECT_THAT(rec.Messages, ElementsAre(k.message));
        EXPECT_TRUE(rec.Interrupt);
    }
}

TEST(NullModelGenerators, ZeroWeightsNeverReceiveAPresence)
{
    // Site 3 is empty in the observed matrix, so its proportional weight is 0.
    const Matrix P = FromRows({"1101", "0101", "1100"});
    TCoOccurrenceSims sims;
    TRecorder rec(sims);
    Prepare(sims, P, cnFixedSum, cnProportional, 0);
    Matrix Q;
    for (uint32_t seed = 0; seed < 300; ++seed) {
        RandSeed = seed;
        sims.GenerateNullMatrix(P, Q);
        ASSERT_EQ(WithFreshMargins(Q)[3][0], 0) << seed;
    }

    // A weight line whose elements add up to less than the largest draw: draws past the sum
    // take the last positive weight, never the zero-weight site or a site past the end.
    const Matrix P2 = FromRows({"100", "010", "000"});
    sims.SitesNumberLine = {1.0, 0.3, 0.3, 0.0};
    for (uint32_t seed = 0; seed < 300; ++seed) {
        RandSeed = seed;
        sims.FillTotalWeightedSites(P2, Q);
        const Matrix q = WithFreshMargins(Q);
        ASSERT_EQ(q[0][0], 2) << seed;
        ASSERT_EQ(q[3][0], 0) << seed;
    }
    EXPECT_TRUE(rec.Messages.isEmpty());
}

TEST(NullModelGenerators, AbortReachesALoopThatCannotFinish)
{
    // Margins that no 0/1 matrix meets keep the knight's tour drawing; the abort button
    // (here: the first event slice) must still stop it.
    Matrix P = FromRows({"10", "01"});
    P[0][0] = 3;
    TCoOccurrenceSims sims;
    TRecorder rec(sims);
    int32_t slices = 0;
    sims.Context.ProcessMessages = [&] {
        ++slices;
        rec.Interrupt = true;
    };
    Matrix Q;
    sims.KnightsTourFill(P, Q);
    EXPECT_EQ(slices, 1);
    EXPECT_EQ(rec.Closes, 1);
}

// Each cell shuffle must draw every arrangement with equal probability. One presence per
// shuffled line starting in the last cell shows the bias of a swap-with-any-cell loop: there
// it ends next to its start 1.32 times as often as it should and in the first cell 0.76 times.
TEST(NullModelGenerators, CellShufflesPlaceEveryPresenceUniformly)
{
    constexpr int32_t N = 2000000;
    const QString one18 = QString(17, QLatin1Char('0')) + QLatin1Char('1');
    QStringList column18(18, QStringLiteral("00"));
    column18[17] = QStringLiteral("11");
    struct
    {
        const char *what;
        Matrix P;
        int32_t rows, cols;
        double cellProbability; // of each cell holding a presence
        double cScore;          // expected C-score over all species pairs; < 0: not checked
        double cScoreSd;        // its standard deviation for one matrix
    } cases[] = {
        // Two species at site 18 of 18: they meet with probability 1/18, else their one
        // pair is a checkerboard unit.
        {"fixed rows, equiprobable sites", FromRows({one18, one18}), cnFixedSum, cnEquiprobable, 1.0 / 18, 17.0 / 18,
         std::sqrt(17.0) / 18},
        // The transpose: two sites, each holding species 18 of 18; one pair of 153 scores 1
        // when the two presences fall on different species.
        {"equiprobable species, fixed sites", FromRows(column18), cnEquiprobable, cnFixedSum, 1.0 / 18,
         17.0 / 18 / 153, std::sqrt(17.0) / 18 / 153},
        {"equiprobable cells", FromRows({"0000", "0000", "0001"}), cnEquiprobable, cnEquiprobable, 1.0 / 12, -1, 0},
    };
    for (auto &k : cases) {
        SCOPED_TRACE(k.what);
        TCoOccurrenceSims sims;
        TRecorder rec(sims);
        Prepare(sims, k.P, k.rows, k.cols, 0);
        const int32_t R = k.P.Rows() - 1, C = k.P.Cols() - 1;
        const TInfoMat info = FullInfo(k.P);
        std::vector<int64_t> hits(static_cast<size_t>(R) * C, 0);
        std::vector<double> units(static_cast<size_t>(PairCount(R)));
        double cScoreSum = 0;
        RandSeed = 20240;
        Matrix Q;
        for (int32_t i = 0; i < N; ++i) {
            sims.GenerateNullMatrix(k.P, Q);
            for (int32_t c = 1; c <= C; ++c)
                for (int32_t r = 1; r <= R; ++r) hits[static_cast<size_t>(c - 1) * R + (r - 1)] += Q[c][r];
            if (k.cScore >= 0) {
                CScoreUnits(Q, info, units);
                double sum = 0;
                for (double u : units) sum += u;
                cScoreSum += sum / static_cast<double>(units.size());
            }
        }
        const double p = k.cellProbability, se = std::sqrt(p * (1 - p) / N);
        for (int32_t c = 1; c <= C; ++c)
            for (int32_t r = 1; r <= R; ++r) {
                EXPECT_NEAR(static_cast<double>(hits[static_cast<size_t>(c - 1) * R + (r - 1)]) / N, p, 4 * se)
                    << "site " << c << " species " << r;
            }
        if (k.cScore >= 0) {
            EXPECT_NEAR(cScoreSum / N, k.cScore, 4 * k.cScoreSd / std::sqrt(double(N)));
        }
        EXPECT_TRUE(rec.Messages.isEmpty());
    }
}
