#include "models/presence_absence/CoOccurrenceSims.h"
#include "tests/tarvix/presence_absence/Fixtures.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

bool HasEmptyLine(const Matrix &q)
{
    for (int32_t r = 1; r < q.Rows(); ++r)
        if (q[0][r] == 0) return true;
    for (int32_t c = 1; c < q.Cols(); ++c)
        if (q[c][0] == 0) return true;
    return false;
}

// Cell shuffles of a matrix sparse enough to leave empty rows or columns now and then.
class ShuffledSparse : public ::testing::Test
{
protected:
    ShuffledSparse() : rec(sims)
    {
        sims.RowGroup = sims.ColumnGroup = cnEquiprobable;
        RandSeed = 8;
    }

    const Matrix P = FromRows({"100000", "010000", "001100", "000010", "000001", "100001"});
    TCoOccurrenceSims sims;
    TRecorder rec;
    Matrix Q;
};

} // namespace

TEST(DegenerateMatrices, IsDegenerateLooksAtRowsAndColumns)
{
    EXPECT_FALSE(TCoOccurrenceSims::IsDegenerate(FromRows({"10", "01"})));
    EXPECT_TRUE(TCoOccurrenceSims::IsDegenerate(FromRows({"11", "00"})));
    EXPECT_TRUE(TCoOccurrenceSims::IsDegenerate(FromRows({"10", "10"})));
}

TEST(DegenerateMatrices, DiscardGivesUpAfter3000Matrices)
{
    // Fixed row sums keep the empty species empty: every matrix is degenerate.
    const Matrix P = FromRows({"110", "011", "000"});
    TCoOccurrenceSims sims;
    TRecorder rec(sims);
    sims.RowGroup = cnFixedSum;
    sims.ColumnGroup = cnEquiprobable;
    sims.DegenerateGroup = dgDiscard;
    Matrix Q;
    sims.NextSimulatedMatrix(P, Q);
    EXPECT_THAT(rec.Messages, ElementsAre(MsgDiscarded3000));
    EXPECT_TRUE(rec.Interrupt);
    ASSERT_EQ(rec.Captions.size(), 3001);
    EXPECT_EQ(rec.Captions.front(), "Tarvix is discarding...");
    EXPECT_EQ(rec.Captions.back(), "...2999");

    // A non-degenerate matrix is kept at once.
    rec.Captions.clear();
    rec.Interrupt = false;
    sims.ColumnGroup = cnFixedSum;
    const Matrix full = FromRows({"110", "011", "101"});
    sims.Fixed_Mat = full;
    sims.NextSimulatedMatrix(full, Q);
    EXPECT_THAT(rec.Captions, ElementsAre("Tarvix is discarding...", "...0"));
    EXPECT_FALSE(TCoOccurrenceSims::IsDegenerate(Q));
}

TEST_F(ShuffledSparse, SplitFlagsExactlyTheDegenerateMatrices)
{
    sims.DegenerateGroup = dgSplit;
    int32_t flagged = 0;
    for (int32_t i = 0; i < 200; ++i) {
        sims.NextSimulatedMatrix(P, Q);
        ASSERT_EQ(Q, WithFreshMargins(Q)) << "margins are current";
        ASSERT_EQ(sims.DegenerateFlag, HasEmptyLine(Q));
        flagged += sims.DegenerateFlag;
    }
    EXPECT_GT(flagged, 0);
    EXPECT_LT(flagged, 200);
}

TEST_F(ShuffledSparse, FixFillsEveryLineAndKeepsTheTotal)
{
    sims.DegenerateGroup = dgFix;
    int32_t fixes = 0;
    for (int32_t i = 0; i < 200; ++i) {
        rec.Captions.clear();
        sims.NextSimulatedMatrix(P, Q);
        ASSERT_TRUE(ZeroOne(Q));
        ASSERT_EQ(Q, WithFreshMargins(Q)) << "the fix keeps the margins in step";
        ASSERT_EQ(Q[0][0], P[0][0]);
        ASSERT_FALSE(HasEmptyLine(Q));
        fixes += rec.Captions.size() > 3;
    }
    EXPECT_GT(fixes, 0);
    EXPECT_TRUE(rec.Messages.isEmpty());

    // A matrix with no empty line is left alone after one clean pass.
    rec.Captions.clear();
    Matrix clean = P;
    sims.FixDegenerate(clean);
    EXPECT_EQ(clean, P);
    EXPECT_THAT(rec.Captions, ElementsAre("Tarvix is fixing...", "...1", "...2"));
}

TEST(DegenerateMatrices, FixIsReproducibleUnderASeed)
{
    const Matrix degenerate = FromRows({"1110", "0000", "1100"});
    TCoOccurrenceSims sims;
    TRecorder rec(sims);
    Matrix first = degenerate, second = degenerate;
    RandSeed = 42;
    sims.FixDegenerate(first);
    const uint32_t after = RandSeed;
    RandSeed = 42;
    sims.FixDegenerate(second);
    EXPECT_EQ(first, second);
    EXPECT_EQ(RandSeed, after);
    EXPECT_FALSE(HasEmptyLine(first));
}

TEST(DegenerateMatrices, FixThatCannotSucceedStops)
{
    struct { const char *what; QStringList rows; const char *lastCaption; } cases[] = {
        {"fewer presences than lines", {"100", "000", "000"}, "...3000"}, // passes keep moving the one presence
        {"no presence at all", {"000", "000"}, "...1"},                  // no donor to take from
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(k.what);
        Matrix Q = FromRows(k.rows);
        TCoOccurrenceSims sims;
        TRecorder rec(sims);
        sims.FixDegenerate(Q);
        EXPECT_THAT(rec.Messages, ElementsAre(MsgDiscarded3000));
        EXPECT_TRUE(rec.Interrupt);
        EXPECT_EQ(rec.Captions.back(), k.lastCaption);
        EXPECT_EQ(Q, WithFreshMargins(Q));
    }
}
