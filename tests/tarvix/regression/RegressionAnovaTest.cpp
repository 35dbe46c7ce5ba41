// Regression and one-way ANOVA by randomization: their statistics without a window, and the
// runs from the main grid to the results windows.
#include "app/AnalysisLinks.h"
#include "framework/controls/UiSeam.h"
#include "framework/rtl/System.h"
#include "models/standard/AnovaMain.h"
#include "models/standard/AnovaOpts.h"
#include "models/standard/AnovaSims.h"
#include "models/standard/RegressionMain.h"
#include "models/standard/RegressionOpts.h"
#include "tests/tarvix/workspace/MainWindowFixture.h"
#include "workspace/TarvixHelpers.h"

#include <QTimer>
#include <cmath>
#include <functional>
#include <vector>

namespace {

// ---- ANOVA F ratio, window-free -------------------------------------------------------------------

// Sums group by group over the rows, as a straightforward reading of the formula does.
double ReferenceF(const std::vector<double> &y, const std::vector<int32_t> &g, int k)
{
    const size_t n = y.size();
    std::vector<double> means(static_cast<size_t>(k), 0.0);
    std::vector<int> counts(static_cast<size_t>(k), 0);
    for (int j = 0; j < k; ++j) {
        double sum = 0;
        for (size_t a = 0; a < n; ++a)
            if (g[a] == j) {
                sum += y[a];
                ++counts[static_cast<size_t>(j)];
            }
        if (counts[static_cast<size_t>(j)] > 0) means[static_cast<size_t>(j)] = sum / counts[static_cast<size_t>(j)];
    }
    double ga = 0;
    for (double v : y) ga += v;
    ga /= static_cast<double>(n);
    double ssb = 0, ssw = 0;
    for (int j = 0; j < k; ++j)
        ssb += (means[static_cast<size_t>(j)] - ga) * (means[static_cast<size_t>(j)] - ga) * counts[static_cast<size_t>(j)];
    for (int j = 0; j < k; ++j)
        for (size_t a = 0; a < n; ++a)
            if (g[a] == j) ssw += (y[a] - means[static_cast<size_t>(j)]) * (y[a] - means[static_cast<size_t>(j)]);
    if (ssw == 0 || k < 2 || static_cast<int>(n) == k) return 0;
    return (ssb / (k - 1)) / (ssw / (static_cast<double>(n) - k));
}

TEST(AnovaF, GroupsByLabelIgnoringCaseAndMatchesTheFormulaToTheLastBit)
{
    QStringList distinct;
    std::vector<int32_t> groups;
    GroupLabels({"A", "b", "a", "", "B", ""}, distinct, groups);
    EXPECT_EQ(distinct, QStringList({"A", "b", ""}));
    EXPECT_EQ(groups, (std::vector<int32_t>{0, 1, 0, 2, 1, 2}));

    struct Case
    {
        const char *what;
        std::vector<double> y;
        std::vector<int32_t> g;
        int k;
        double f;  // by hand
    };
    const Case cases[] = {
        // Means 2 and 6 around 4.4: SSB 19.2 on 1 df, SSW 10 on 3 df.
        {"two groups", {1, 3, 4, 6, 8}, {0, 0, 1, 1, 1}, 2, 5.76},
        {"constant groups", {2, 2, 5, 5, 5}, {0, 0, 1, 1, 1}, 2, 0},
        {"one label per row", {1, 2, 3}, {0, 1, 2}, 3, 0},
        {"one label", {1, 2, 3}, {0, 0, 0}, 1, 0},
    };
    for (const Case &c : cases) {
        TAnovaCalculator calc;
        calc.Assign(c.y, c.k);
        std::vector<int32_t> counts;
        std::vector<double> means, variances;
        EXPECT_NEAR(calc.FRatio(c.g, counts, means, variances), c.f, 1e-12) << c.what;
    }

    // Shuffled groupings of awkward values: bit for bit the group-by-group sums.
    RandSeed = 9;
    std::vector<double> y;
    std::vector<int32_t> g, rows;
    for (int a = 0; a < 200; ++a) {
        y.push_back(0.1 * a + 1e-3 * ((a * 7919) % 113) - 3.3);
        g.push_back(a % 7);
        rows.push_back(a);
    }
    TAnovaCalculator calc;
    calc.Assign(y, 7);
    std::vector<int32_t> counts;
    std::vector<double> means, variances;
    for (int it = 0; it < 50; ++it) {
        ShuffleLabels(rows, g);
        ASSERT_EQ(calc.FRatio(g, counts, means, variances), ReferenceF(y, g, 7)) << it;
        int total = 0;
        for (int c : counts) total += c;
        ASSERT_EQ(total, 200);
    }
}

// ---- The runs through the forms --------------------------------------------------------------------

class StandardTests : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        RegressionOpts = create<TRegressionOpts>();
        RegressionShell = create<TRegressionShell>();
        AnovaShell = create<TAnovaShell>();
        AnovaOpts = create<TAnovaOpts>();
        LinkAnalyses();
    }

    void TearDown() override
    {
        destroy(AnovaOpts);
        destroy(AnovaShell);
        destroy(RegressionShell);
        destroy(RegressionOpts);
        MainWindowFixture::TearDown();
    }

    // Columns "a" and "b" of the given rows, titled r1...
    static void SetColumns(const std::vector<std::pair<QString, QString>> &Rows)
    {
        TProStringGrid *g = Tarvix->MainGrid;
        g->SetColCount(3);
        g->SetRowCount(static_cast<int>(Rows.size()) + 1);
        g->SetCells(0, 0, "species");
        g->SetCells(1, 0, "a");
        g->SetCells(2, 0, "b");
        for (int r = 1; r <= static_cast<int>(Rows.size()); ++r) {
            g->SetCells(0, r, QStringLiteral("r%1").arg(r));
            g->SetCells(1, r, Rows[r - 1].first);
            g->SetCells(2, r, Rows[r - 1].second);
        }
    }

    static bool Start(TMenuItem *Item, TTwoColumnOpts *Opts, TForm *Results, const char *Iterations, const char *Seed,
                      const std::function<void()> &Step = {})
    {
        bool shown = false;
        WhileShown(
            Results,
            [&] {
                WhileShown(Opts, [&] { Item->Click(); }, [&] {
                    Opts->ResetDefaults();
                    Opts->IterationsEdit->SetText(QString::fromLatin1(Iterations));
                    Opts->RandomSeedEdit->SetText(QString::fromLatin1(Seed));
                    if (Step) Step();
                    Opts->Run1->Click();
                });
            },
            [&] { shown = true; });
        return shown;
    }

    static QStringList Lines(TMemo *M) { return M->Lines()->ToStringList(); }
};

TEST_F(StandardTests, RegressionObservedFitChartsAndSummary)
{
    SetColumns({{"1", "2"}, {"2", "4"}, {"3", "5"}, {"4", "4"}, {"5", "5"}});
    ASSERT_TRUE(Start(Tarvix->regression1, RegressionOpts, RegressionShell, "200", "7"));
    const QStringList s = Lines(RegressionShell->Memo1);
    EXPECT_TRUE(s.contains("Observed slope = 0.60000"));
    EXPECT_TRUE(s.contains("Observed y-intercept = 2.20000"));
    EXPECT_TRUE(s.contains("Observed r = 0.77460"));
    EXPECT_EQ(s[1], "XVariable = a");
    EXPECT_EQ(s[2], "YVariable = b");
    EXPECT_EQ(s[7], "Y-INTERCEPT");
    const int h = static_cast<int>(s.indexOf("Histogram          # Simulations"));
    EXPECT_EQ(s[h + 1], "  ");
    EXPECT_EQ(s[h + 14], QString(46, QLatin1Char('_')));
    EXPECT_EQ(Lines(RegressionShell->SlopeMemo)[0], "Observed slope = 0.60000");

    TChartSeries *line = RegressionShell->Series6;
    ASSERT_EQ(line->Count(), 3);
    const double expected[3][2] = {{0, 2.2}, {3, 4}, {5, 5.2}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(line->XValue(i), expected[i][0], 1e-12) << i;
        EXPECT_NEAR(line->YValue(i), expected[i][1], 1e-12) << i;
    }
    EXPECT_EQ(RegressionShell->Series5->Count(), 5);
    // The simulated line runs through the mean of x and y at the mean simulated slope.
    TChartSeries *sim = RegressionShell->Series8;
    ASSERT_EQ(sim->Count(), 3);
    EXPECT_NEAR(sim->XValue(1), 3.0, 1e-12);
    EXPECT_NEAR(sim->YValue(1), 4.0, 1e-12);
    EXPECT_NEAR((sim->YValue(2) - sim->YValue(1)) / (sim->XValue(2) - sim->XValue(1)), RegressionShell->Mmeans, 1e-9);

    // The batch row carries the slope; the same seed gives the same summary.
    QString ses;
    const int slope = static_cast<int>(s.indexOf("SLOPE"));
    for (int i = slope; i < s.size() && ses.isEmpty(); ++i)
        if (s[i].startsWith("Standardized Effect Size = ")) ses = s[i].mid(27);
    EXPECT_EQ(Tarvix->BatchGrid->Cells(1, 1), ses);
    ASSERT_TRUE(Start(Tarvix->regression1, RegressionOpts, RegressionShell, "200", "7"));
    EXPECT_EQ(Lines(RegressionShell->Memo1), s);
}

TEST_F(StandardTests, RegressionEdgeCases)
{
    struct Case
    {
        const char *what;
        std::vector<std::pair<QString, QString>> rows;
        const char *slope, *r;
        int maxDistinctSlopes;  // 0: no bound
    };
    const Case cases[] = {
        {"identical y", {{"1", "3"}, {"2", "3"}, {"3", "3"}}, "0.00000", "0.00000", 1},
        {"all x equal", {{"2", "1"}, {"2", "5"}, {"2", "3"}}, "0.00000", "0.00000", 1},
        {"two rows", {{"1", "1"}, {"2", "3"}}, "2.00000", "1.00000", 2},
        {"text reads 0", {{"x", "1"}, {"1", "2"}, {"2", "3"}}, "1.00000", "1.00000", 0},
    };
    for (const Case &c : cases) {
        SetColumns(c.rows);
        ASSERT_TRUE(Start(Tarvix->regression1, RegressionOpts, RegressionShell, "50", "3")) << c.what;
        const QStringList s = Lines(RegressionShell->Memo1);
        EXPECT_TRUE(s.contains(QStringLiteral("Observed slope = ") + c.slope)) << c.what;
        EXPECT_TRUE(s.contains(QStringLiteral("Observed r = ") + c.r)) << c.what;
        if (c.maxDistinctSlopes) {
            std::vector<double> slopes = RegressionShell->SimCOEfficients;
            std::sort(slopes.begin(), slopes.end());
            slopes.erase(std::unique(slopes.begin(), slopes.end()), slopes.end());
            EXPECT_LE(static_cast<int>(slopes.size()), c.maxDistinctSlopes) << c.what;
        }
    }
}

TEST_F(StandardTests, AnovaGroupTablesAndFRatio)
{
    SetColumns({{"A", "1"}, {"A", "3"}, {"B", "4"}, {"B", "6"}, {"B", "8"}});
    ASSERT_TRUE(Start(Tarvix->Anova1, AnovaOpts, AnovaShell, "1000", "5"));
    const QStringList s = Lines(AnovaShell->Memo1);
    EXPECT_TRUE(s.contains("Observed index = 5.76000"));
    EXPECT_EQ(s[4], "Analyzed labels column = a");
    EXPECT_EQ(s[5], "Analyzed variables column = b");
    const int h = static_cast<int>(s.indexOf("Histogram          # Simulations"));
    EXPECT_EQ(s[h + 1], "  ");
    EXPECT_EQ(s[h + 14], "  ");
    EXPECT_EQ(s[h + 15], QString(46, QLatin1Char('_')));
    TStringGrid *m = AnovaShell->MeansStringGrid;
    EXPECT_EQ(m->Cells(0, 0), "Label");
    EXPECT_EQ(m->Cells(3, 0), "Variance");
    const QStringList a{m->Cells(0, 1), m->Cells(1, 1), m->Cells(2, 1), m->Cells(3, 1)};
    const QStringList b{m->Cells(0, 2), m->Cells(1, 2), m->Cells(2, 2), m->Cells(3, 2)};
    EXPECT_EQ(a, QStringList({"A", "2.00000", "2.00000", "2.00000"}));
    EXPECT_EQ(b, QStringList({"B", "3.00000", "6.00000", "4.00000"}));
    // The simulated table counts every row once.
    TStringGrid *sim = AnovaShell->SimulatedMeansStringGrid;
    EXPECT_EQ(sim->Cells(1, 1).toDouble() + sim->Cells(1, 2).toDouble(), 5.0);
    QString ses;
    for (const QString &l : s)
        if (l.startsWith("Standardized Effect Size = ")) ses = l.mid(27);
    EXPECT_EQ(Tarvix->BatchGrid->Cells(1, 1), ses);

    // Every simulated ratio is the ratio of its shuffled labels computed afresh: the last
    // grouping shown gives the last ratio.
    std::vector<double> y{1, 3, 4, 6, 8};
    std::vector<int32_t> g;
    for (int r = 1; r <= 5; ++r) g.push_back(AnovaShell->SimulationGrid->Cells(1, r) == "A" ? 0 : 1);
    EXPECT_EQ(AnovaShell->F, ReferenceF(y, g, 2));
}

TEST_F(StandardTests, AnovaLabelsInOtherCaseJoinTheirGroup)
{
    SetColumns({{"A", "1"}, {"a", "3"}, {"B", "4"}, {"b", "6"}, {"B", "8"}});
    ASSERT_TRUE(Start(Tarvix->Anova1, AnovaOpts, AnovaShell, "10", "5"));
    EXPECT_TRUE(Lines(AnovaShell->Memo1).contains("Observed index = 5.76000"));
    EXPECT_EQ(AnovaShell->MeansStringGrid->RowCount(), 3);

    // As many labels as rows: every ratio is 0.
    SetColumns({{"A", "1"}, {"B", "3"}, {"C", "4"}});
    ASSERT_TRUE(Start(Tarvix->Anova1, AnovaOpts, AnovaShell, "20", "5"));
    EXPECT_TRUE(Lines(AnovaShell->Memo1).contains("Observed index = 0.00000"));
    EXPECT_TRUE(Lines(AnovaShell->Memo1).contains("Number of times observed index = simulated indices = 20"));
}

TEST_F(StandardTests, RefusalsOfBothTests)
{
    struct Case
    {
        TMenuItem *item;
        TTwoColumnOpts *opts;
        TForm *results;
        std::function<void()> step;
        const char *iterations;
        QStringList messages;
    };
    SetColumns({{"1", "2"}, {"2", "4"}, {"3", "5"}});
    const Case cases[] = {
        {Tarvix->regression1, RegressionOpts, RegressionShell, [] { RegressionOpts->YvariableCList->SetItemIndex(0); },
         "10", {"XVariable cannot equal YVariable.", "Initialization failed."}},
        {Tarvix->Anova1, AnovaOpts, AnovaShell, [] { AnovaOpts->YvariableList->SetItemIndex(0); }, "10",
         {"Labels cannot equal YVariable.", "Initialization failed."}},
        {Tarvix->regression1, RegressionOpts, RegressionShell, {}, "0", {"Iterations must be > 0.", "Initialization failed."}},
        {Tarvix->Anova1, AnovaOpts, AnovaShell, {}, "0", {"Iterations must be > 0.", "Initialization failed."}},
    };
    for (const Case &c : cases) {
        TUiScript ui;
        EXPECT_FALSE(Start(c.item, c.opts, c.results, c.iterations, "1", c.step));
        EXPECT_EQ(ui.Messages(), c.messages);
        EXPECT_TRUE(Tarvix->InterruptFlag);
        EXPECT_FALSE(Progress->Visible());
    }

    // One data column: the dialogs close at once.
    Tarvix->MainGrid->SetColCount(2);
    for (TTwoColumnOpts *opts : {static_cast<TTwoColumnOpts *>(RegressionOpts), static_cast<TTwoColumnOpts *>(AnovaOpts)}) {
        TUiScript ui;
        opts->ShowModal();
        EXPECT_EQ(ui.Messages(), QStringList("At least two columns required."));
    }
}

TEST_F(StandardTests, SimulatedDataFiles)
{
    SetColumns({{"A", "1"}, {"A", "3"}, {"B", "4"}});
    ASSERT_TRUE(Start(Tarvix->Anova1, AnovaOpts, AnovaShell, "3", "5",
                      [] { AnovaOpts->SaveMatrixCheckBox->SetChecked(true); }));
    const QByteArray anova = Read("Sim3.txt");
    EXPECT_TRUE(anova.startsWith("species a b\r\n")) << anova.constData();
    EXPECT_EQ(anova.count("\r\n"), 4);

    SetColumns({{"1", "2"}, {"2", "4"}});
    ASSERT_TRUE(Start(Tarvix->regression1, RegressionOpts, RegressionShell, "2", "5",
                      [] { RegressionOpts->SaveMatrixCheckBox->SetChecked(true); }));
    EXPECT_TRUE(Read("Sim2.txt").startsWith("species a b\r\nspecies1 1.00000 ")) << Read("Sim2.txt").constData();
}

}  // namespace
