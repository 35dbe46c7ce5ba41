// The niche overlap engine without a window: indices, weights, number forms and the four
// randomization algorithms. Expected index values were computed independently (python3, floats,
// formatted with %.7g).
#include "framework/grids/Grids.h"
#include "framework/rtl/Strings.h"
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/System.h"
#include "models/overlap_diversity/NicheOverlapSims.h"
#include "tests/common/TestSupport.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <iomanip>
#include <map>
#include <numeric>
#include <QSet>
#include <memory>

namespace {

using Rows = std::vector<std::vector<QString>>;

// A grid of the main grid's layout holding Data.
std::unique_ptr<TStringGrid> GridOf(const Rows &Data)
{
    auto g = std::make_unique<TStringGrid>(nullptr);
    const int cols = static_cast<int>(Data[0].size());
    g->SetColCount(cols + 1);
    g->SetRowCount(static_cast<int>(Data.size()) + 1);
    for (int r = 1; r <= static_cast<int>(Data.size()); ++r)
        for (int c = 1; c <= cols; ++c) g->SetCells(c, r, Data[r - 1][c - 1]);
    return g;
}

// The engine with Data read and standardized.
std::unique_ptr<TNicheOverlapSims> EngineOf(const Rows &Data)
{
    auto s = std::make_unique<TNicheOverlapSims>();
    s->SetUpMatrices(*GridOf(Data));
    s->Calculate_Row_Pairs();
    s->StandardizeMatrix();
    return s;
}

QStringList PairTexts(TNicheOverlapSims &S, int Index)
{
    TStringList list;
    if (Index == niPianka) S.PiankaIndexArray(list);
    else S.CzekanowskiIndexArray(list);
    return list.ToStringList();
}

// Values of row r of the simulated matrix, sorted.
std::vector<double> SortedRow(const Real_Matrix &M, int r, int States)
{
    std::vector<double> v;
    for (int c = 1; c <= States; ++c) v.push_back(M[c][r]);
    std::sort(v.begin(), v.end());
    return v;
}

} // namespace

TEST(NicheIndices, PairValuesInPairOrder)
{
    struct Case
    {
        const char *name;
        Rows data;
        QStringList pianka, czekanowski;
    };
    const Case cases[] = {
        {"two rows", {{"1", "1", "1"}, {"1", "1", "0"}}, {"0.8164966"}, {"0.6666667"}},
        {"identical proportions", {{"2", "4", "0"}, {"1", "2", "0"}}, {"1"}, {"1"}},
        {"no shared state", {{"1", "0", "0"}, {"0", "3", "2"}}, {"0"}, {"0"}},
        {"four species",
         {{"1", "2", "0", "3"}, {"0", "1", "1", "0"}, {"2", "0", "2", "1"}, {"1", "1", "1", "1"}},
         {"0.3779645", "0.4454354", "0.8017837", "0.4714045", "0.7071068", "0.8333333"},
         {"0.3333333", "0.3666667", "0.6666667", "0.4", "0.5", "0.7"}},
        // Text and "x" read as 0; a number followed by text keeps the number.
        {"texts", {{"1", "x", "abc", "2kg"}, {"0", "1", "1", "0"}}, {"0"}, {"0"}},
    };
    for (const Case &c : cases) {
        auto s = EngineOf(c.data);
        EXPECT_EQ(s->Row_Pairs, c.pianka.size()) << c.name;
        EXPECT_EQ(PairTexts(*s, niPianka), c.pianka) << c.name;
        EXPECT_EQ(PairTexts(*s, niCzekanowski), c.czekanowski) << c.name;
        // The numbers of the run are the values the texts hold.
        for (int index : {niPianka, niCzekanowski}) {
            const QStringList texts = PairTexts(*s, index);
            std::vector<double> v(static_cast<size_t>(s->Row_Pairs));
            s->PairValues(index, v);
            for (size_t k = 0; k < v.size(); ++k) EXPECT_EQ(v[k], StrToFloat(texts[static_cast<int>(k)])) << c.name;
        }
    }
}

TEST(NicheIndices, MeanAndVarianceOfThePairValues)
{
    auto s = EngineOf({{"1", "2", "0", "3"}, {"0", "1", "1", "0"}, {"2", "0", "2", "1"}, {"1", "1", "1", "1"}});
    std::vector<double> v(6);
    s->PairValues(niPianka, v);
    double m = 0, var = 0;
    MeanVarianceValues(v, m, var);
    EXPECT_DOUBLE_EQ(m, 0.6061713666666667);
    EXPECT_DOUBLE_EQ(var, 0.03922624478705468);
    MeanVarianceValues(std::vector<double>{0.25}, m, var);
    EXPECT_EQ(m, 0.25);
    EXPECT_EQ(var, 0);
    // Equal values are their own mean with no spread; sum / n gives 0.09999999999999999 here.
    MeanVarianceValues(std::vector<double>(10, 0.1), m, var);
    EXPECT_EQ(m, 0.1);
    EXPECT_EQ(var, 0);
}

TEST(NicheIndices, WeightsDivideColumnsBeforeStandardization)
{
    // Weight 2 halves column 1 and weight 0 removes column 3: both rows become 0.5 1 0.
    auto s = EngineOf({{"1", "1", "1"}, {"1", "1", "0"}});
    s->UserDefined(std::vector<double>{2, 1, 0});
    EXPECT_EQ(s->ObservedMatrix[1][1], 0.5);
    EXPECT_EQ(s->ObservedMatrix[2][1], 1.0);
    EXPECT_EQ(s->ObservedMatrix[3][1], 0.0);
    s->StandardizeMatrix();
    EXPECT_EQ(PairTexts(*s, niPianka), QStringList({"1"}));

    // A weight missing from the table is 0: row 1 loses its only state.
    auto z = EngineOf({{"0", "0", "1"}, {"1", "1", "1"}, {"1", "0", "0"}});
    z->UserDefined(std::vector<double>{1, 1});
    z->StandardizeMatrix();
    EXPECT_EQ(PairTexts(*z, niPianka), QStringList({"0", "0", "0.7071068"}));
    EXPECT_EQ(PairTexts(*z, niCzekanowski), QStringList({"0.5", "0.5", "0.5"}));
}

// The run keeps numbers where the texts of the analysis would be re-read; both must agree with the
// framework's own text forms to the last bit.
TEST(NicheNumbers, SevenDigitValuesAndKeysMatchTheirTexts)
{
    RandSeed = 99;
    std::vector<double> values = {1.0 / 3, 0.99999995, 0.999999949, 0.12345675, 0.1234567499999, 1e-5 / 3, 7.0,
                                  123.456789, -0.8164965809, 2.5e-12, 0.5, 1e-300, 9999999.5};
    for (int i = 0; i < 20000; ++i) values.push_back(Random() * std::pow(10.0, Random(9) - 6));
    for (double v : values)
        EXPECT_EQ(RoundToGeneral7(v), StrToFloat(FloatToStrF(v, ffGeneral, 7, 5))) << std::setprecision(17) << v;

    // State 2^26 draws exactly 0.015625: the half rounds up to 0.01563.
    std::vector<uint32_t> states = {0, 1, 1u << 26, 0xFFFFFFFFu, 0xFFFF0000u, 42950u};
    for (int i = 0; i < 20000; ++i) states.push_back(static_cast<uint32_t>(Random(0x7FFFFFFF)) * 2u + (i & 1));
    for (uint32_t st : states) {
        const QString text = FloatToStrF(st * (1.0 / 4294967296.0), ffFixed, 7, 5);
        EXPECT_EQ(PermutationKey(st), static_cast<uint32_t>(std::lround(StrToFloat(text) * 1e5))) << st;
    }
}

TEST(NicheRandomize, OptionsNameTheAlgorithm)
{
    EXPECT_EQ(TNicheOverlapSims::AlgorithmOf(nbRelaxed, zsReshuffled), 1);
    EXPECT_EQ(TNicheOverlapSims::AlgorithmOf(nbRelaxed, zsRetained), 2);
    EXPECT_EQ(TNicheOverlapSims::AlgorithmOf(nbRetained, zsReshuffled), 3);
    EXPECT_EQ(TNicheOverlapSims::AlgorithmOf(nbRetained, zsRetained), 4);
}

// Over many matrices, what each algorithm must keep and what it must never do.
TEST(NicheRandomize, EachAlgorithmKeepsItsConstraints)
{
    // "x" is a forbidden state; "X" and " x" are ordinary states of no use. 0.000004 and
    // 1234.5678 would not survive a 7-digit text.
    const Rows data = {{"3", "0", "x", "1.5", "0.000004"},
                       {"0", "2", "5", "X", "1234.5678"},
                       {" x", "1", "0", "0", "4"}};
    auto s = EngineOf(data);
    const Real_Matrix &o = s->ObservedMatrix;
    const Real_Matrix &m = s->SimulatedMatrix;
    RandSeed = 2024;
    struct { int breadth, zeros; } options[] = {
        {nbRelaxed, zsReshuffled}, {nbRelaxed, zsRetained}, {nbRetained, zsReshuffled}, {nbRetained, zsRetained}};
    for (const auto &opt : options) {
        for (int i = 0; i < 2000; ++i) {
            s->RandomizeMatrix(opt.breadth, opt.zeros);
            const int a = s->Algorithm;
            for (int r = 1; r <= 3; ++r) {
                for (int c = 1; c <= 5; ++c) {
                    const double v = m[c][r];
                    if (s->Excluded(c, r)) {
                        EXPECT_EQ(v, 0) << "algorithm " << a << " x cell " << c << "," << r;
                    } else if (a == 1) {
                        EXPECT_TRUE(v >= 0 && v < 1) << c << "," << r;
                    } else if (a == 2) {
                        if (o[c][r] == 0) {
                            EXPECT_EQ(v, 0) << "algorithm 2 used state " << c << "," << r;
                        } else {
                            EXPECT_TRUE(v >= 0 && v < 1) << c << "," << r;
                        }
                    } else if (a == 4) {
                        EXPECT_EQ(v != 0, o[c][r] != 0) << "algorithm 4 used states, " << c << "," << r;
                    }
                }
                // The row's values move exactly, none lost or doubled.
                if (a >= 3) {
                    EXPECT_EQ(SortedRow(m, r, 5), SortedRow(o, r, 5)) << "algorithm " << a << " row " << r;
                }
            }
        }
        // "X" and " x" are drawn like any state under algorithm 1.
        if (s->Algorithm == 1) {
            EXPECT_GT(m[4][2], 0);
            EXPECT_GT(m[1][3], 0);
        }
    }
}

TEST(NicheRandomize, PermutationFollowsTheKeyTextsWithTiesInListOrder)
{
    // A seed that gives two of the first 30 draws the same 5-decimal text.
    const int n = 30;
    uint32_t seed = 1;
    QStringList keys;
    for (;; ++seed) {
        RandSeed = seed;
        keys.clear();
        for (int i = 0; i < n; ++i) keys << FloatToStrF(Random(), ffFixed, 7, 5);
        if (QSet<QString>(keys.begin(), keys.end()).size() < n) break;
    }
    // Entry p goes to the column of its rank among the keys, equal keys ranked in list order.
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return keys[a] < keys[b]; });

    Rows data(2);
    for (int c = 1; c <= n; ++c) {
        data[0].push_back(QString::number(c * 10));
        data[1].push_back(QStringLiteral("1"));
    }
    auto s = EngineOf(data);
    for (int zeros : {zsReshuffled, zsRetained}) {
        RandSeed = seed;
        s->RandomizeMatrix(nbRetained, zeros);
        for (int q = 0; q < n; ++q) EXPECT_EQ(s->SimulatedMatrix[q + 1][1], (order[q] + 1) * 10) << zeros << " " << q;
    }
}

TEST(NicheRandomize, PermutationsAreEquallyLikely)
{
    auto s = EngineOf({{"1", "2", "3"}, {"1", "1", "1"}});
    RandSeed = 77;
    std::map<std::vector<double>, int> seen;
    const int n = 6000;
    for (int i = 0; i < n; ++i) {
        s->RandomizeMatrix(nbRetained, zsRetained);
        ++seen[{s->SimulatedMatrix[1][1], s->SimulatedMatrix[2][1], s->SimulatedMatrix[3][1]}];
    }
    ASSERT_EQ(seen.size(), 6u);
    double chi2 = 0;
    for (const auto &[perm, count] : seen) chi2 += (count - n / 6.0) * (count - n / 6.0) / (n / 6.0);
    // 5 degrees of freedom: P(chi2 > 30) < 2e-5.
    EXPECT_LT(chi2, 30);
}
