// The runs test: its sequence, null models and statistics without a window, and the run from
// the main grid to the results window, its files and its refusals.
#include "app/AnalysisLinks.h"
#include "framework/controls/UiSeam.h"
#include "framework/rtl/System.h"
#include "models/standard/RunsTestMain.h"
#include "models/standard/RunsTestOpts.h"
#include "models/standard/RunsTestSims.h"
#include "tests/tarvix/workspace/MainWindowFixture.h"
#include "workspace/TarvixHelpers.h"

#include <QTimer>
#include <array>
#include <cmath>
#include <functional>
#include <vector>

namespace {

// ---- Statistics and null models, window-free ---------------------------------------------------

struct StatCase
{
    const char *what;
    std::vector<double> x;  // already in X order
    std::vector<int32_t> y;
    TRunsSampling sampling;
    TRunsDataType type;
    int32_t longest;
    double mean, variance;  // worked by hand
};

TEST(RunsStatistics, LongestRunMeanAndVarianceOfXAtTheOnes)
{
    const StatCase cases[] = {
        // Ones at X 2, 3, 5, 6, 7: mean 23/5, squared deviations 17.2 over 4.
        {"presence", {1, 2, 3, 4, 5, 6, 7, 8}, {0, 1, 1, 0, 1, 1, 1, 0}, rsWithoutReplacement, rdLinear, 3, 4.6, 4.3},
        // A 2 is one one without replacement.
        {"count as one", {1, 2, 3, 4}, {0, 2, 1, 0}, rsWithoutReplacement, rdLinear, 2, 2.5, 0.5},
        // With replacement the 2 is two ones: X 2, 2, 3; mean 7/3, variance (1/9+1/9+4/9)/2.
        {"counts", {1, 2, 3, 4}, {0, 2, 1, 0}, rsWithReplacement, rdLinear, 3, 7.0 / 3.0, 1.0 / 3.0},
        // Angles 350 and 10 point north: mean direction 0, R = 2 cos 10 deg.
        {"angular", {10, 90, 350}, {1, 0, 1}, rsWithoutReplacement, rdAngular, 1, 0.0,
         1.0 - std::cos(10.0 * M_PI / 180.0)},
        {"no ones", {1, 2}, {0, 0}, rsWithReplacement, rdLinear, 0, 0.0, 0.0},
    };
    for (const StatCase &c : cases) {
        std::vector<double> ones;
        int32_t longest = -1;
        double mean = -1, variance = -1;
        if (c.sampling == rsWithReplacement) RunStatisticsCounts(c.x, c.y, c.type, ones, longest, mean, variance);
        else RunStatistics(c.x, c.y, c.type, ones, longest, mean, variance);
        EXPECT_EQ(longest, c.longest) << c.what;
        EXPECT_NEAR(mean, c.mean, 1e-12) << c.what;
        EXPECT_NEAR(variance, c.variance, 1e-12) << c.what;
    }
}

TEST(RunsStatistics, SequenceOrderKeepsTheGridOrderOfEqualX)
{
    EXPECT_EQ(RunsSequenceOrder(std::vector<double>{3, 1, 3, 1, 2}), (std::vector<int32_t>{1, 3, 4, 0, 2}));
    EXPECT_EQ(CountOnes(std::vector<int32_t>{0, 2, -1, 1}, rsWithoutReplacement), 2);
    EXPECT_EQ(CountOnes(std::vector<int32_t>{0, 2, -1, 1}, rsWithReplacement), 3);
}

// Two positions: each swap partner is drawn over both, so a move happens half the time. A
// partner drawn below the last position only would swap every time.
TEST(RunsNullModels, ShuffleMovesEveryEntryWithEqualChance)
{
    RandSeed = 11;
    std::vector<int32_t> s{1, 0};
    const int n = 200000;
    int moved = 0, atFirst = 0;
    for (int k = 0; k < n; ++k) {
        const int before = s[0];
        ShuffleSequence(s);
        moved += s[0] != before;
        atFirst += s[0];
    }
    const double se = std::sqrt(0.25 / n);
    EXPECT_NEAR(moved / double(n), 0.5, 4 * se);
    EXPECT_NEAR(atFirst / double(n), 0.5, 4 * se);

    // Five positions holding 2, 1, 0, 0, 0: values move unchanged, each lands anywhere alike.
    std::vector<int32_t> t{2, 1, 0, 0, 0};
    std::array<int, 5> twoAt{};
    for (int k = 0; k < n; ++k) {
        ShuffleSequence(t);
        int twos = 0, ones = 0;
        for (int i = 0; i < 5; ++i) {
            twos += t[i] == 2;
            ones += t[i] == 1;
            if (t[i] == 2) ++twoAt[i];
        }
        ASSERT_EQ(twos, 1);
        ASSERT_EQ(ones, 1);
    }
    for (int i = 0; i < 5; ++i) EXPECT_NEAR(twoAt[i] / double(n), 0.2, 4 * std::sqrt(0.16 / n)) << i;
}

TEST(RunsNullModels, ScatterOnesDrawsPositionsUniformly)
{
    RandSeed = 5;
    std::vector<int32_t> s(4, 0);
    std::array<int64_t, 4> hits{};
    const int n = 50000;
    for (int k = 0; k < n; ++k) {
        ScatterOnes(s, 3);
        int total = 0;
        for (int i = 0; i < 4; ++i) {
            hits[i] += s[i];
            total += s[i];
        }
        ASSERT_EQ(total, 3);
    }
    // Each of 3n ones lands on a position with chance 1/4.
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(hits[i] / (3.0 * n), 0.25, 4 * std::sqrt(0.1875 / (3.0 * n))) << i;
}

TEST(RunsNullModels, WeightedDrawsFollowXAndNeverReachAZeroX)
{
    bool stop = false;
    TSimContext ctx;
    ctx.InterruptFlag = &stop;
    TWeightedPlacer placer(ctx);
    const std::vector<double> x{0, 1, 2, 3};
    std::vector<double> line;
    double sum = 0;
    BuildNumberLine(x, line, sum);
    EXPECT_EQ(sum, 6);
    placer.SetNumberLine(line, sum);

    RandSeed = 3;
    const int n = 60000;
    std::array<int64_t, 4> scattered{};
    std::array<int64_t, 4> placed{};
    std::vector<int32_t> s(4, 0);
    for (int k = 0; k < n; ++k) {
        placer.ScatterOnesByWeight(s, 1);
        for (int i = 0; i < 4; ++i) scattered[i] += s[i];
        placer.PlaceOnesByWeight(s, 2);
        for (int i = 0; i < 4; ++i) placed[i] += s[i];
    }
    EXPECT_FALSE(stop);
    EXPECT_EQ(scattered[0], 0);
    EXPECT_EQ(placed[0], 0);
    for (int i = 1; i < 4; ++i) {
        const double p = x[i] / 6.0;
        EXPECT_NEAR(scattered[i] / double(n), p, 4 * std::sqrt(p * (1 - p) / n)) << i;
    }
    // Two ones on distinct positions among weights 1, 2, 3: position 1 stays empty when the
    // pair is {2, 3}, with chance (2/6)(3/4) + (3/6)(2/3) = 7/12.
    EXPECT_NEAR(placed[1] / double(n), 5.0 / 12.0, 4 * std::sqrt(35.0 / 144.0 / n));
    EXPECT_EQ(placed[1] + placed[2] + placed[3], 2 * n);

    // A draw at or past the whole total, as rounding can leave it, takes the last position.
    EXPECT_EQ(placer.PositionOf(0.0), 1);
    EXPECT_EQ(placer.PositionOf(1.0), 3);
    EXPECT_EQ(placer.PositionOf(2.0), 3);
}

TEST(RunsNullModels, ProportionalModelsRefuseWeightsThatAreNoProportions)
{
    const std::vector<std::vector<double>> bad{{0, 0, 0}, {-1, 0, 2}, {}};
    for (const auto &x : bad) {
        bool stop = false;
        QStringList shown;
        TSimContext ctx;
        ctx.InterruptFlag = &stop;
        ctx.ShowMessage = [&](const QString &m) { shown << m; };
        TWeightedPlacer placer(ctx);
        std::vector<double> line;
        double sum = 0;
        BuildNumberLine(x, line, sum);
        placer.SetNumberLine(line, sum);
        std::vector<int32_t> s(x.size(), 7);
        placer.PlaceOnesByWeight(s, 1);
        EXPECT_TRUE(stop);
        EXPECT_EQ(shown, QStringList("Unable to satisfy restraints. Aborting simulation."));
        EXPECT_EQ(s, std::vector<int32_t>(x.size(), 7));
    }
}

// One free position too few: the search gives up with the message instead of hanging.
TEST(RunsNullModels, PlacementThatCannotFindAFreePositionStops)
{
    bool stop = false;
    QStringList shown;
    TSimContext ctx;
    ctx.InterruptFlag = &stop;
    ctx.ShowMessage = [&](const QString &m) { shown << m; };
    TWeightedPlacer placer(ctx);
    const std::vector<double> x{0, 1, 1};
    std::vector<double> line;
    double sum = 0;
    BuildNumberLine(x, line, sum);
    placer.SetNumberLine(line, sum);
    std::vector<int32_t> s(3, 0);
    RandSeed = 1;
    placer.PlaceOnesByWeight(s, 3);
    EXPECT_TRUE(stop);
    EXPECT_EQ(shown, QStringList("Unable to satisfy restraints. Aborting simulation."));
}

// ---- The run through the forms ------------------------------------------------------------------

class RunsTest : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        RunsTestShell = create<TRunsTestShell>();
        RunsTestOpts = create<TRunsTestOpts>();
        LinkAnalyses();
    }

    void TearDown() override
    {
        destroy(RunsTestOpts);
        destroy(RunsTestShell);
        MainWindowFixture::TearDown();
    }

    // Rows of (title, X, Y) under the titles "site", "x", "y".
    static void SetData(const std::vector<std::tuple<const char *, const char *, const char *>> &Rows)
    {
        TProStringGrid *g = Tarvix->MainGrid;
        g->SetColCount(3);
        g->SetRowCount(static_cast<int>(Rows.size()) + 1);
        g->SetCells(0, 0, QStringLiteral("species"));
        g->SetCells(1, 0, QStringLiteral("x"));
        g->SetCells(2, 0, QStringLiteral("y"));
        int r = 1;
        for (const auto &[t, x, y] : Rows) {
            g->SetCells(0, r, QString::fromUtf8(t));
            g->SetCells(1, r, QString::fromUtf8(x));
            g->SetCells(2, r, QString::fromUtf8(y));
            ++r;
        }
    }

    static void SetSequence(const std::vector<int> &Y)
    {
        std::vector<std::tuple<const char *, const char *, const char *>> rows;
        static std::vector<QByteArray> keep;
        keep.clear();
        for (size_t i = 0; i < Y.size(); ++i) {
            keep.push_back(QByteArray("r") + QByteArray::number(int(i + 1)));
            keep.push_back(QByteArray::number(int(i + 1)));
            keep.push_back(QByteArray::number(Y[i]));
        }
        for (size_t i = 0; i < Y.size(); ++i)
            rows.emplace_back(keep[3 * i].constData(), keep[3 * i + 1].constData(), keep[3 * i + 2].constData());
        SetData(rows);
    }

    // Shows the dialog (building its lists), sets it up and runs, as the Analyze command does.
    static void RunWith(const char *Iterations, const char *Seed, const std::function<void()> &Step = {})
    {
        WhileShown(RunsTestShell, [&] {
            WhileShown(RunsTestOpts, [] { Tarvix->RunsTest1->Click(); }, [&] {
                RunsTestOpts->IterationsEdit->SetText(QString::fromLatin1(Iterations));
                RunsTestOpts->RandomSeedEdit->SetText(QString::fromLatin1(Seed));
                if (Step) Step();
                RunsTestOpts->Run1->Click();
            });
        });
    }

    static QStringList Summary() { return RunsTestShell->Memo1->Lines()->ToStringList(); }
};

TEST_F(RunsTest, ObservedStatisticsAndTheSummaryLayout)
{
    SetSequence({0, 1, 1, 0, 1, 1, 1, 0});
    RunWith("200", "7");
    const QStringList s = Summary();
    ASSERT_FALSE(s.isEmpty());
    EXPECT_EQ(s[1], "XVariable = x");
    EXPECT_EQ(s[2], "YVariable = y");
    EXPECT_EQ(s[3], "Iterations = 200");
    EXPECT_EQ(s[4], "Random seed = 7");
    EXPECT_EQ(s[5], "Simulation constraints = equiprobable.");
    EXPECT_EQ(s[6], "SamplingAlgorithm = without replacement.");
    EXPECT_EQ(s[7], "Data type = linear.");
    EXPECT_EQ(s[8], QString(46, QLatin1Char('_')));
    EXPECT_EQ(s[10], "LONGEST RUN");
    EXPECT_EQ(s[11], "Observed longest run = 3");
    EXPECT_TRUE(s.contains("Observed mean = 4.60000"));
    EXPECT_TRUE(s.contains("Observed variance = 4.30000"));
    // 13 histogram lines after each header, the first two blanks around the separator.
    const int h = static_cast<int>(s.indexOf("Histogram          # Simulations"));
    ASSERT_GT(h, 0);
    EXPECT_EQ(s[h + 1], "  ");
    EXPECT_EQ(s[h + 14], QString(46, QLatin1Char('_')));
    EXPECT_EQ(s.mid(s.indexOf("INPUT MATRIX:")).mid(2, 2), QStringList({"species x y ", "r1 1 0 "}));
    EXPECT_EQ(RunsTestShell->LongestRunMemo->Lines()->Strings(0), "Observed longest run = 3");
    EXPECT_EQ(RunsTestShell->MeanMemo->Lines()->Strings(2).left(27), "Mean of simulated means = 4");

    // Every simulated sequence keeps five ones among eight: counts add up to the iterations.
    int less = 0, equal = 0, greater = 0;
    for (const QString &l : s) {
        if (l.startsWith("Number of times observed mean < ")) less = l.section(" = ", 1).toInt();
        if (l.startsWith("Number of times observed mean = ")) equal = l.section(" = ", 2).toInt();
        if (l.startsWith("Number of times observed mean > ")) greater = l.section(" = ", 1).toInt();
    }
    EXPECT_EQ(less + equal + greater, 200);

    // The batch row carries the mean statistic.
    const int m = static_cast<int>(s.indexOf("MEAN"));
    ASSERT_GT(m, 0);
    QString ses;
    for (int i = m; i < s.size() && ses.isEmpty(); ++i)
        if (s[i].startsWith("Standardized Effect Size = ")) ses = s[i].mid(27);
    EXPECT_EQ(Tarvix->BatchGrid->Cells(1, 1), ses);

    // The same seed draws the same sequences.
    const QStringList first = s;
    RunWith("200", "7");
    EXPECT_EQ(Summary(), first);
}

TEST_F(RunsTest, WithReplacementCountsEveryOne)
{
    SetSequence({0, 2, 1, 0});
    RunWith("10", "3", [] { RunsTestOpts->SamplingAlgorithmGroup->SetItemIndex(rsWithReplacement); });
    EXPECT_EQ(RunsTestShell->OnesCount, 3);
    EXPECT_TRUE(Summary().contains("Observed longest run = 3"));
    EXPECT_TRUE(Summary().contains("Observed mean = 2.33333"));
    EXPECT_TRUE(Summary().contains("SamplingAlgorithm = with replacement."));
}

TEST_F(RunsTest, AngularMeanOfThreeHundredFiftyAndTenIsNorth)
{
    SetData({{"a", "350", "1"}, {"b", "180", "0"}, {"c", "10", "1"}});
    RunWith("10", "3", [] { RunsTestOpts->DataTypeGroup->SetItemIndex(rdAngular); });
    EXPECT_TRUE(Summary().contains("Observed mean = 0.00000"));
    EXPECT_TRUE(Summary().contains("Data type = angular."));
}

TEST_F(RunsTest, EqualXKeepTheGridOrderAndTheSequenceKeepsItsValues)
{
    SetData({{"a", "2", "0"}, {"b", "1", "2"}, {"c", "2", "1"}, {"d", "1", "0"}});
    RunWith("5", "9", [] { RunsTestOpts->SaveMatrixCheckBox->SetChecked(true); });
    TStringGrid *g = RunsTestShell->SimulationGrid;
    ASSERT_EQ(g->RowCount(), 5);
    EXPECT_EQ(g->Cells(0, 0), "species");
    QStringList titles, ys;
    for (int r = 1; r < 5; ++r) {
        titles << g->Cells(0, r);
        ys << g->Cells(2, r);
    }
    EXPECT_EQ(titles, QStringList({"b", "d", "a", "c"}));
    EXPECT_EQ(g->Cells(1, 1), "1.00000");
    ys.sort();
    EXPECT_EQ(ys, QStringList({"0", "0", "1", "2"}));
    // The last simulated sequence also went to Sim5.txt, in X order.
    const QByteArray sim = Read("Sim5.txt");
    EXPECT_TRUE(sim.startsWith("species x y\r\nspecies1 1.00000 ")) << sim.constData();
    EXPECT_EQ(sim.count("\r\n"), 5);
}

TEST_F(RunsTest, ProportionalNeverPlacesAOneAtXZero)
{
    SetData({{"a", "0", "1"}, {"b", "1", "0"}, {"c", "2", "1"}, {"d", "3", "0"}});
    RunWith("1000", "4", [] {
        RunsTestOpts->SimulationGroup->SetItemIndex(rcProportional);
        RunsTestOpts->SaveMatrixCheckBox->SetChecked(false);
    });
    // The mean of X at the ones never reaches 0.5, which a one at X 0 would allow.
    const QStringList s = Summary();
    EXPECT_TRUE(s.contains("Simulation constraints = proportional."));
    const int m = static_cast<int>(s.indexOf("MEAN"));
    ASSERT_GT(m, 0);
    const int h = static_cast<int>(s.indexOf("Histogram          # Simulations", m));
    EXPECT_GE(s[h + 2].section(' ', 0, 0).toDouble(), 1.5);
}

TEST_F(RunsTest, RefusalsStopBeforeAnyResult)
{
    struct Case
    {
        std::function<void()> data;
        std::function<void()> step;
        const char *iterations;
        QStringList messages;
    };
    const Case cases[] = {
        {[] { SetSequence({0, 0, 0}); }, {}, "10", {"OnesCount error!"}},
        {[] { SetSequence({0, 1, 0}); }, [] { RunsTestOpts->YvariableList->SetItemIndex(0); }, "10",
         {"XVariable cannot equal YVariable.", "Initialization failed."}},
        {[] { SetSequence({0, 1, 0}); }, {}, "0", {"Iterations must be > 0.", "Initialization failed."}},
        {[] { SetData({{"a", "0", "1"}, {"b", "0", "1"}}); },
         [] { RunsTestOpts->SimulationGroup->SetItemIndex(rcProportional); }, "10",
         {"Unable to satisfy restraints. Aborting simulation."}},
        {[] { SetData({{"a", "-1", "1"}, {"b", "3", "1"}}); },
         [] { RunsTestOpts->SimulationGroup->SetItemIndex(rcProportional); }, "10",
         {"Unable to satisfy restraints. Aborting simulation."}},
    };
    for (const Case &c : cases) {
        c.data();
        RunsTestShell->Memo1->Lines()->Clear();
        TUiScript ui;
        bool shown = false;
        WhileShown(RunsTestShell, [&] {
            WhileShown(RunsTestOpts, [] { Tarvix->RunsTest1->Click(); }, [&] {
                RunsTestOpts->ResetDefaults();
                RunsTestOpts->IterationsEdit->SetText(QString::fromLatin1(c.iterations));
                if (c.step) c.step();
                RunsTestOpts->Run1->Click();
            });
        }, [&] { shown = true; });
        EXPECT_EQ(ui.Messages(), c.messages);
        EXPECT_FALSE(shown);
        EXPECT_TRUE(Tarvix->InterruptFlag);
        EXPECT_FALSE(Progress->Visible());
        EXPECT_TRUE(Summary().isEmpty());
    }
}

TEST_F(RunsTest, DialogListsFollowTheGridAndResetKeepsAlgorithmAndDataType)
{
    // One data column: the dialog closes at once and nothing runs.
    Tarvix->MainGrid->SetColCount(2);
    {
        TUiScript ui;
        Tarvix->RunSim = true;
        RunsTestOpts->ShowModal();
        EXPECT_EQ(ui.Messages(), QStringList("At least two columns required."));
        EXPECT_FALSE(Tarvix->RunSim);
    }
    // Remembered columns beyond a narrower file fall back to the first two.
    SetSequence({1, 0});
    RunsTestOpts->CurrentX_Column = 4;
    RunsTestOpts->CurrentY_Column = 3;
    WhileShown(RunsTestOpts, [] { RunsTestOpts->ShowModal(); }, [] {
        EXPECT_EQ(RunsTestOpts->XvariableList->Items()->Count(), 2);
        EXPECT_EQ(RunsTestOpts->XvariableList->ItemIndex(), 0);
        EXPECT_EQ(RunsTestOpts->YvariableList->ItemIndex(), 1);
        EXPECT_EQ(RunsTestOpts->FileEdit->Text(), Tarvix->FileName);
        RunsTestOpts->SamplingAlgorithmGroup->SetItemIndex(rsWithReplacement);
        RunsTestOpts->DataTypeGroup->SetItemIndex(rdAngular);
        RunsTestOpts->SimulationGroup->SetItemIndex(rcProportional);
        RunsTestOpts->RandomSeedEdit->SetText("5");
        RunsTestOpts->ResetDefaults1->Click();
        EXPECT_EQ(RunsTestOpts->SamplingAlgorithmGroup->ItemIndex(), rsWithReplacement);
        EXPECT_EQ(RunsTestOpts->DataTypeGroup->ItemIndex(), rdAngular);
        EXPECT_EQ(RunsTestOpts->SimulationGroup->ItemIndex(), rcEquiprobable);
        EXPECT_EQ(RunsTestOpts->RandomSeedEdit->Text(), "0");
        EXPECT_EQ(RunsTestOpts->IterationsEdit->Text(), "1000 ");
    });
}

TEST_F(RunsTest, ResultsMenuSavesTheSummary)
{
    SetSequence({1, 0, 1});
    RunWith("10", "2");
    TUiScript ui;
    ui.FileNameNext(Path("out.txt"));
    RunsTestShell->Summary1->Click();
    EXPECT_TRUE(Read("out.txt").startsWith("Input file = "));
    const auto dialogs = ui.RecordsOf(TUiKind::SaveFile);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].Text, "Select a file name.");
}

}  // namespace
