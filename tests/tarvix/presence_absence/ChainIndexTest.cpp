// The index followed along the sequential-swap chain against a full count of every matrix.
#include "models/presence_absence/CoOccurrenceSims.h"
#include "models/presence_absence/SwapChainIndex.h"
#include "tests/tarvix/presence_absence/Fixtures.h"

#include <bit>
#include <gtest/gtest.h>
#include <set>

namespace {

// A random matrix with some species rows and site columns emptied.
Matrix WithEmptyLines(int32_t Species, int32_t Sites, double Fill, uint32_t Seed, std::vector<int32_t> EmptySpecies,
                      std::vector<int32_t> EmptySites)
{
    Matrix m = RandomMatrix(Species, Sites, Fill, Seed);
    for (int32_t r : EmptySpecies)
        for (int32_t c = 1; c <= Sites; ++c) m[c][r] = 0;
    for (int32_t c : EmptySites)
        for (int32_t r = 1; r <= Species; ++r) m[c][r] = 0;
    MarginalTotalsSized(m, Sites, Species);
    return m;
}

void UseSequentialSwap(TCoOccurrenceSims &Sims, const Matrix &P, bool InPlace)
{
    Sims.RowGroup = cnFixedSum;
    Sims.ColumnGroup = cnFixedSum;
    Sims.FixedFixedGroup = ffSequentialSwap;
    Sims.Iterations = 10;
    Sims.Fixed_Mat = P;
    Sims.Done = false;
    Sims.ChainInPlace = InPlace;
}

// The index as the run counts it on a fresh copy of the simulated matrix.
double FullCount(const Matrix &Simulated, TPresenceIndex Index, int32_t Slots, bool Exclude)
{
    TInfoMat info = FullInfo(Simulated);
    Matrix F(Simulated.Cols(), Simulated.Rows());
    CopyNonEmptyRows(Simulated, F, info);
    MarginalTotals(F, info);
    std::vector<double> pairs(static_cast<size_t>(Slots));
    return PresenceIndex(Index, F, info, Exclude, pairs);
}

} // namespace

TEST(SwapChainIndex, EqualsAFullCountOfEveryMatrixToTheLastBit)
{
    struct
    {
        const char *what;
        Matrix P;
    } fixtures[] = {
        {"30 x 40", WithEmptyLines(30, 40, 0.3, 11, {5, 17}, {3, 20})},
        // More than 512 sites: rows of more than eight words.
        {"12 x 600", WithEmptyLines(12, 600, 0.2, 12, {1}, {7, 300, 600})},
        // More than 64 species: site columns of two words; species 64 and 65 straddle them.
        {"70 x 30", WithEmptyLines(70, 30, 0.35, 13, {64, 70}, {30})},
    };
    const TPresenceIndex indices[] = {piCScore,          piCheckerboards, piCombinations, piVRatio,
                                      piRelativeOverlap, piUnion,         piOverlap};
    constexpr int32_t Iterations = 3000;
    std::set<TPresenceIndex> varied;
    for (const auto &f : fixtures)
        for (TPresenceIndex index : indices)
            for (bool exclude : {false, true}) {
                SCOPED_TRACE(testing::Message() << f.what << ", index " << index << (exclude ? ", exclude" : ""));
                const int32_t pairSlots = PairCount(f.P.Rows() - 1);
                TCoOccurrenceSims sims;
                TRecorder rec(sims);
                UseSequentialSwap(sims, f.P, true);
                ASSERT_TRUE(sims.CanFollowChain(f.P));
                TSwapChainIndex chain;
                RandSeed = 99;
                Matrix Q;
                std::set<double> values;
                int64_t seen = 0;
                for (int32_t i = 0; i < Iterations; ++i) {
                    sims.NextSimulatedMatrix(f.P, Q);
                    if (i == 0) {
                        chain.Start(sims.Fixed_Mat, index, pairSlots, exclude);
                        ASSERT_TRUE(chain.Started());
                    } else {
                        ASSERT_EQ(sims.ChainSwapCount, seen + 1) << i;
                        chain.Swap(sims.LastChainSwap);
                    }
                    seen = sims.ChainSwapCount;
                    const double full = FullCount(sims.Fixed_Mat, index, pairSlots, exclude);
                    ASSERT_EQ(std::bit_cast<uint64_t>(chain.Value()), std::bit_cast<uint64_t>(full))
                        << "iteration " << i << ": " << chain.Value() << " against " << full;
                    values.insert(full);
                }
                // The chain in place leaves Q alone.
                EXPECT_TRUE(Q.Empty());
                // The margins fix the V-ratio and the sums of shared sites and unions.
                if (index == piVRatio || index == piUnion || index == piOverlap) {
                    EXPECT_EQ(values.size(), 1u);
                }
                if (values.size() > 1) varied.insert(index);
                EXPECT_TRUE(rec.Messages.isEmpty());
            }
    // Every index that swaps can change did change somewhere, or the comparison proved little.
    EXPECT_EQ(varied, std::set<TPresenceIndex>({piCScore, piCheckerboards, piCombinations, piRelativeOverlap}));
}

TEST(SwapChainIndex, ChainInPlaceDrawsTheSameMatrices)
{
    const Matrix P = WithEmptyLines(20, 25, 0.3, 5, {4}, {9});
    for (int32_t degenerate : {dgRetain, dgSplit}) {
        TCoOccurrenceSims copied, inPlace;
        TRecorder a(copied), b(inPlace);
        UseSequentialSwap(copied, P, false);
        UseSequentialSwap(inPlace, P, true);
        copied.DegenerateGroup = inPlace.DegenerateGroup = degenerate;
        Matrix Q, unused;
        for (int32_t i = 0; i < 200; ++i) {
            RandSeed = static_cast<uint32_t>(1000 + i);
            copied.NextSimulatedMatrix(P, Q);
            const uint32_t after = RandSeed;
            RandSeed = static_cast<uint32_t>(1000 + i);
            inPlace.NextSimulatedMatrix(P, unused);
            ASSERT_EQ(RandSeed, after) << i;
            ASSERT_EQ(inPlace.Fixed_Mat, Q) << i;
            ASSERT_EQ(inPlace.DegenerateFlag, copied.DegenerateFlag) << i;
            ASSERT_EQ(inPlace.DegenerateFlag, degenerate == dgSplit) << i;
        }
        EXPECT_EQ(a.Captions, b.Captions);
    }
}

TEST(SwapChainIndex, FollowedOnlyWhereNoTreatmentChangesTheChain)
{
    const Matrix full = WithEmptyLines(6, 8, 0.5, 3, {}, {});
    ASSERT_FALSE(TCoOccurrenceSims::IsDegenerate(full));
    const Matrix emptySpecies = WithEmptyLines(6, 8, 0.5, 3, {2}, {});
    struct
    {
        int32_t rows, cols, algorithm, degenerate;
        bool degenerateP, followed;
    } cases[] = {
        {cnFixedSum, cnFixedSum, ffSequentialSwap, dgRetain, true, true},
        {cnFixedSum, cnFixedSum, ffSequentialSwap, dgSplit, true, true},
        {cnFixedSum, cnFixedSum, ffSequentialSwap, dgDiscard, true, false},
        {cnFixedSum, cnFixedSum, ffSequentialSwap, dgFix, true, false},
        {cnFixedSum, cnFixedSum, ffSequentialSwap, dgDiscard, false, true},
        {cnFixedSum, cnFixedSum, ffSequentialSwap, dgFix, false, true},
        {cnFixedSum, cnFixedSum, ffIndependentSwap, dgRetain, false, false},
        {cnFixedSum, cnFixedSum, ffKnightsTour, dgRetain, false, false},
        {cnFixedSum, cnEquiprobable, ffSequentialSwap, dgRetain, false, false},
    };
    for (const auto &k : cases) {
        TCoOccurrenceSims sims;
        sims.RowGroup = k.rows;
        sims.ColumnGroup = k.cols;
        sims.FixedFixedGroup = k.algorithm;
        sims.DegenerateGroup = k.degenerate;
        EXPECT_EQ(sims.CanFollowChain(k.degenerateP ? emptySpecies : full), k.followed)
            << k.rows << k.cols << k.algorithm << k.degenerate << k.degenerateP;
    }

    // Fix on a degenerate observed matrix changes every copy of the chain, never the chain:
    // with ChainInPlace asked for, the copy is made and fixed as before.
    TCoOccurrenceSims sims;
    TRecorder rec(sims);
    UseSequentialSwap(sims, emptySpecies, true);
    sims.DegenerateGroup = dgFix;
    Matrix Q;
    RandSeed = 8;
    sims.NextSimulatedMatrix(emptySpecies, Q);
    EXPECT_FALSE(TCoOccurrenceSims::IsDegenerate(Q));
    EXPECT_EQ(sims.Fixed_Mat[0][2], 0);
}
