// The run from the main grid to the curve grids, its refusals, its files and its batch row.
#include "tests/tarvix/diversity/Fixture.h"

#include "framework/rtl/SysUtils.h"
#include "workspace/TarvixHelpers.h"

#include <QDir>
#include <cmath>

class Run : public DiversityFixture
{
protected:
    static TSpeciesDiversity *w() { return SpeciesDiversity; }
    static TSpeciesDiversityOpts *o() { return SpeciesDiversityOpts; }

    // Options as the dialog leaves them; the column list follows the grid.
    static void Options(int Iterations, const QString &Seed, int Index = diRichness, int Algorithm = daRarefaction,
                        int Unit = suIndividuals)
    {
        Tarvix->Iterations = Iterations;
        o()->RandomSeedEdit->SetText(Seed);
        o()->IndexList->SetItemIndex(Index);
        o()->RandomizationGroup->SetItemIndex(Algorithm);
        o()->SpeciesGroup->SetItemIndex(Unit);
        o()->ColumnTitlesToList();
    }

    // User-defined levels, chosen through the levels dialog.
    static void UserLevels(const QStringList &Lines)
    {
        SetLevels(Lines);
        TRadioGroup *g = o()->SpeciesGroup->ItemIndex() == suSamples ? o()->SampleLevelsGroup : o()->AbundanceLevelsGroup;
        WhileShown(AbundanceLevelsOpts, [g] { g->SetItemIndex(lcUserDefined); },
                   [] { AbundanceLevelsOpts->OKButton->Click(); });
    }

    // The run, closing the results window when it shows; false when it never showed.
    static bool RunAnalysis()
    {
        bool shown = false;
        WhileShown(w(), [] { w()->Run(); }, [&] { shown = true; });
        return shown;
    }

    static QStringList Row(TStringGrid *g, int r)
    {
        QStringList cells;
        for (int c = 0; c < g->ColCount(); ++c) cells << g->Cells(c, r);
        return cells;
    }
    static QStringList Labels(TStringGrid *g)
    {
        QStringList l;
        for (int r = 2; r < g->RowCount(); ++r) l << g->Cells(0, r);
        return l;
    }
    static double Cell(TStringGrid *g, int c, int r) { return g->Cells(c, r).toDouble(); }

    // A refused run: its messages, the stop flag set, no window, no batch row.
    void ExpectRefused(const QStringList &Messages)
    {
        const int rows = Tarvix->BatchGrid->RowCount();
        TUiScript ui;
        EXPECT_FALSE(RunAnalysis());
        EXPECT_EQ(ui.Messages(), Messages);
        EXPECT_TRUE(Tarvix->InterruptFlag);
        EXPECT_FALSE(Progress->Visible());
        EXPECT_EQ(Tarvix->BatchGrid->RowCount(), rows);
        Tarvix->InterruptFlag = false;
    }
};

TEST_F(Run, InitChecksIterationsRowsAndCells)
{
    const struct
    {
        int rows, cols, iterations;
        const char *message;  // nullptr: accepted
    } cases[] = {
        {3, 2, 9999, nullptr},
        {3, 2, 10000, "Iterations must be fewer than 10,000."},
        {3, 2, 0, "Iterations must be greater than 0."},
        {2, 5, 10, "Must have at least 2 rows of data for species diversity."},
        {3, 80367, 10, nullptr},
        {3, 80368, 10, "4 < Cell limit < 241101, e.g. 301x801."},
        {301, 801, 10, nullptr},
        {302, 801, 10, "4 < Cell limit < 241101, e.g. 301x801."},
        {4, 1, 10, nullptr},
        {3, 1, 10, "4 < Cell limit < 241101, e.g. 301x801."},
    };
    for (const auto &c : cases) {
        Tarvix->MainGrid->SetRowCount(c.rows);
        Tarvix->MainGrid->SetColCount(c.cols);
        Tarvix->Iterations = c.iterations;
        Tarvix->InterruptFlag = false;
        TUiScript ui;
        const bool ok = w()->Init();
        const std::string where = QStringLiteral("%1 x %2, %3").arg(c.rows).arg(c.cols).arg(c.iterations).toStdString();
        EXPECT_EQ(ok, c.message == nullptr) << where;
        EXPECT_EQ(ui.Messages(), c.message ? QStringList(QString::fromLatin1(c.message)) : QStringList()) << where;
        EXPECT_FALSE(Tarvix->InterruptFlag) << where;
    }
    // Through the run, a refusal also says the initialization failed and stops.
    SetColumn({3, 2});
    Options(10000, "1");
    ExpectRefused({"Iterations must be fewer than 10,000.", "Initialization failed."});
    Tarvix->MainGrid->SetRowCount(2);
    Options(10, "1");
    ExpectRefused({"Must have at least 2 rows of data for species diversity.", "Initialization failed."});
}

TEST_F(Run, LevelAndDataRefusals)
{
    SetColumn({3, 0, 2});
    Options(5, "1");
    UserLevels({"1", "6"});
    ExpectRefused({"Abundance list invalid."});
    QStringList many;
    for (int i = 1; i <= 51; ++i) many << "1";
    SetLevels(many);
    ExpectRefused({"Abundance list is too large. Limit is 50 abundance levels. "});
    SetLevels({});
    ExpectRefused({"Abundance list count < 0. Cannot run simulation."});

    // Non-numeric cells count no individuals; a column without any stops the run.
    SetColumn({0, 0});
    Tarvix->MainGrid->SetCells(1, 1, "abc");
    Options(5, "1");
    ExpectRefused({"Non zero rows <= 0."});
    Tarvix->MainGrid->SetCells(1, 2, "-4");
    ExpectRefused({"Negative abundance @ Row 2 Col 1"});

    // By samples: one sample gives no default level; more user levels than samples.
    SetMatrix({{3}, {2}});
    Options(5, "1", diRichness, daRarefaction, suSamples);
    ExpectRefused({"Sample level < 1. Cannot run simulation."});
    SetMatrix({{3, 1}, {2, 0}});
    Options(5, "1", diRichness, daRarefaction, suSamples);
    UserLevels({"1", "2", "1"});
    ExpectRefused({"Sample Level > Number of Columns."});
    SetLevels({"1", "3"});
    ExpectRefused({"Sample levels are invalid."});
}

TEST_F(Run, IndividualCurveGridAndItsFiles)
{
    // 30 individuals in one column; levels 1, 11, 21.
    SetColumn({10, 8, 6, 4, 2});
    Options(50, "3", diRichness);
    UserLevels({"1", "11", "21"});
    ASSERT_TRUE(RunAnalysis());
    TStringGrid *g = w()->DiversityCurveStringGrid;
    ASSERT_EQ(g->RowCount(), 5);
    EXPECT_EQ(Row(g, 0), QStringList({"Abundance", "AverageDiversity", "MedianDiversity", "VarianceDiversity",
                                       "95%Conf.Low", "95%Conf.High"}));
    EXPECT_EQ(Row(g, 1), QStringList({"30(Obs.)", "5.00000", "5.00000", "0.00000", "5.00000", "5.00000"}));
    EXPECT_EQ(Labels(g), QStringList({"1", "11", "21"}));
    // One individual is one species in every draw.
    EXPECT_EQ(Row(g, 2), QStringList({"1", "1.00000", "1.00000", "0.00000", "1.00000", "1.00000"}));
    for (int r = 3; r < 5; ++r) {
        EXPECT_LE(Cell(g, 4, r), Cell(g, 2, r));
        EXPECT_LE(Cell(g, 2, r), Cell(g, 5, r));
        EXPECT_LE(Cell(g, 5, r), 5.0);
    }
    EXPECT_FALSE(w()->AbundanceCurveSheet->TabVisible());
    EXPECT_FALSE(w()->Abundancecurve1->Enabled());
    EXPECT_EQ(w()->InputColumnStringGrid->Cells(1, 0), "s1");
    EXPECT_EQ(w()->InputColumnStringGrid->Cells(1, 3), "6");
    EXPECT_EQ(w()->SimulationStringGrid->Cells(0, 5), "sp5");

    TUiScript ui;
    ui.FileNameNext(Path("comma.txt")).FileNameNext(Path("space.txt")).CancelNext();
    w()->Commadelimitedtxt1->Click();
    w()->Spacedelimitedtxt1->Click();
    w()->Spacedelimitedtxt1->Click();
    const auto dialogs = ui.RecordsOf(TUiKind::SaveFile);
    ASSERT_EQ(dialogs.size(), 3u);
    EXPECT_EQ(dialogs[0].Text, "Select a file name.");
    const QList<QByteArray> comma = Read("comma.txt").split('\n');
    ASSERT_EQ(comma.size(), 6);  // five lines and the end
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(comma[i].endsWith(",\r")) << i;
    EXPECT_EQ(comma[1], "30(Obs.),5.00000,5.00000,0.00000,5.00000,5.00000,\r");
    const QList<QByteArray> space = Read("space.txt").split('\n');
    ASSERT_EQ(space.size(), 6);
    EXPECT_EQ(space[0], "Abundance AverageDiversity MedianDiversity VarianceDiversity 95%Conf.Low 95%Conf.High\r");
    EXPECT_EQ(space[2], "1 1.00000 1.00000 0.00000 1.00000 1.00000\r");
    EXPECT_EQ(space[5], "");
}

TEST_F(Run, DefaultLevelsOfARun)
{
    std::vector<int> sixty(60, 100);
    SetColumn(sixty);
    Options(2, "1");
    ASSERT_TRUE(RunAnalysis());
    EXPECT_EQ(w()->DiversityCurveStringGrid->RowCount(), 52);
    EXPECT_EQ(w()->DiversityCurveStringGrid->Cells(0, 51), "5881");

    SetColumn({10, 10, 10});
    ASSERT_TRUE(RunAnalysis());
    EXPECT_EQ(Labels(w()->DiversityCurveStringGrid), QStringList({"1", "8", "15", "22"}));
    // One species of two individuals: the single level 1 runs.
    SetColumn({2, 0});
    ASSERT_TRUE(RunAnalysis());
    EXPECT_EQ(Labels(w()->DiversityCurveStringGrid), QStringList({"1"}));
    const QStringList s = Lines(w()->Memo1);
    EXPECT_EQ(s.mid(s.indexOf("ABUNDANCE LEVELS:")), QStringList({"ABUNDANCE LEVELS:", "1"}));
}

// The mean simulated richness at each level is the rarefaction expectation
// sum 1 - C(N - n_i, k) / C(N, k) of (5, 3, 2, 1, 1): 59/33, 1444/495, 485/132 at k = 2, 4, 6
// (variances 0.16713, 0.46385, 0.52700); the limits are order statistics of the same draws.
TEST_F(Run, RarefactionCurveFollowsTheExactExpectation)
{
    SetColumn({5, 3, 2, 1, 1});
    for (int algorithm : {daRarefaction, daAccumulation}) {
        Options(9999, "7", diRichness, algorithm);
        UserLevels({"2", "4", "6"});
        ASSERT_TRUE(RunAnalysis());
        TStringGrid *g = w()->DiversityCurveStringGrid;
        const double expected[] = {59.0 / 33, 1444.0 / 495, 485.0 / 132};
        const double variance[] = {0.16712580348943984, 0.4638465462707887, 0.5269988849534304};
        for (int v = 0; v < 3; ++v) {
            EXPECT_NEAR(Cell(g, 1, v + 2), expected[v], 4 * std::sqrt(variance[v] / 9999)) << algorithm << " " << v;
            EXPECT_NEAR(Cell(g, 3, v + 2), variance[v], 0.03) << algorithm << " " << v;
        }
        // Two individuals of one species: 14/66. So the median at k = 2 is 2 and the low limit 1;
        // all five species come in 105 of the 924 draws of six, so the high limit there is 5.
        EXPECT_EQ(g->Cells(2, 2), "2.00000");
        EXPECT_EQ(g->Cells(4, 2), "1.00000");
        EXPECT_EQ(g->Cells(5, 4), "5.00000");
    }
}

TEST_F(Run, OneIterationAndFullLevelsGiveTheObservedValue)
{
    SetColumn({4, 3, 2, 1});
    Options(1, "2", diShannon);
    UserLevels({"3", "10"});
    ASSERT_TRUE(RunAnalysis());
    TStringGrid *g = w()->DiversityCurveStringGrid;
    for (int r = 2; r < 4; ++r) {
        EXPECT_EQ(g->Cells(3, r), "0.00000");
        for (int c : {2, 4, 5}) EXPECT_EQ(g->Cells(c, r), g->Cells(1, r)) << r << "," << c;
    }
    // Level N draws every individual: Shannon of (.4, .3, .2, .1).
    EXPECT_EQ(g->Cells(1, 3), "1.27985");
    EXPECT_EQ(g->Cells(1, 3), g->Cells(1, 1));

    // All samples pooled without replacement are the data.
    SetMatrix({{3, 0, 1}, {0, 2, 2}, {1, 1, 0}});
    Options(20, "2", diHurlbertsPIE, daRarefaction, suSamples);
    UserLevels({"3"});
    ASSERT_TRUE(RunAnalysis());
    EXPECT_EQ(Row(g, 2).mid(1), QStringList({g->Cells(1, 1), g->Cells(1, 1), "0.00000", g->Cells(1, 1), g->Cells(1, 1)}));
    EXPECT_EQ(Row(w()->DiversityCurveStringGrid2, 2), QStringList({"3", "10.00000", "10.00000", "0.00000", "10.00000", "10.00000"}));
}

TEST_F(Run, SampleRunShowsBothCurvesThenAnIndividualRunHidesOne)
{
    SetMatrix({{3, 0, 1, 0, 2}, {0, 2, 2, 1, 0}, {1, 1, 0, 0, 1}});
    Options(30, "4", diDominance, daAccumulation, suSamples);
    ASSERT_TRUE(RunAnalysis());
    EXPECT_TRUE(w()->AbundanceCurveSheet->TabVisible());
    EXPECT_TRUE(w()->Abundancecurve1->Enabled());
    TStringGrid *g = w()->DiversityCurveStringGrid, *a = w()->DiversityCurveStringGrid2;
    // Five samples: Round(2.0) = 2 levels, 1 and Round(1 + 6/2) = 4.
    EXPECT_EQ(Labels(g), QStringList({"1", "4"}));
    EXPECT_EQ(Row(g, 0)[0], "Sample");
    EXPECT_EQ(Row(a, 0), QStringList({"Sample", "AverageAbundance", "MedianAbundance", "VarianceAbundance",
                                       "95%Conf.Low", "95%Conf.High"}));
    EXPECT_EQ(Row(g, 1)[0], "5(Obs.)");
    EXPECT_EQ(Row(a, 1), QStringList({"5(Obs.)", "14.00000", "14.00000", "0.00000", "14.00000", "14.00000"}));
    // One sample drawn from five with replacement: the mean of 4, 3, 3, 1, 3 individuals.
    EXPECT_NEAR(Cell(a, 1, 2), 2.8, 4 * std::sqrt(0.96 / 30));
    EXPECT_EQ(w()->InputColumnStringGrid->ColCount(), 6);
    EXPECT_EQ(w()->InputColumnStringGrid->Cells(5, 1), "2");
    const QStringList s = Lines(w()->Memo1);
    EXPECT_EQ(s.mid(4), QStringList({"Sample Level = 2", "Randomization algorithm = Accumulation curve",
                                     "Sample level = Default", "Index = Dominance", "SAMPLE LEVELS:", "1", "4"}));

    Options(5, "4");
    SetColumn({3, 2});
    o()->ColumnTitlesToList();
    ASSERT_TRUE(RunAnalysis());
    EXPECT_FALSE(w()->AbundanceCurveSheet->TabVisible());
    EXPECT_FALSE(w()->Abundancecurve1->Enabled());
}

TEST_F(Run, SummaryAndTheSameSeedGivesTheSameCurves)
{
    SetColumn({6, 1, 3, 0, 2});
    Options(40, "5", diHurlbertsPIE);
    ASSERT_TRUE(RunAnalysis());
    const auto curve = [] {
        QStringList cells;
        for (int r = 0; r < w()->DiversityCurveStringGrid->RowCount(); ++r) cells << Row(w()->DiversityCurveStringGrid, r);
        return cells;
    };
    const QStringList first = curve();
    ASSERT_TRUE(RunAnalysis());
    EXPECT_EQ(curve(), first);
    EXPECT_EQ(Lines(w()->Memo1),
              QStringList({"Input file = " + Tarvix->FileName, "Rows = 5; Columns = 1", "Iterations = 40",
                           "Random seed = 5", "Analyzed column = s1", "Randomization algorithm = Rarefaction curve",
                           "Abundance level = Default", "Index = Hurlberts PIE", "ABUNDANCE LEVELS:", "1", "3", "5",
                           "7", "9"}));
    EXPECT_TRUE(Lines(w()->TimeMemo)[0].startsWith("Stop time = "));
    EXPECT_TRUE(Lines(w()->TimeMemo)[1].startsWith("Start time = "));
    // Outside batch mode the row still goes into the hidden table.
    TStringGrid *b = Tarvix->BatchGrid;
    EXPECT_EQ(Row(b, b->RowCount() - 1).mid(1), QStringList({"n/a", "n/a", "n/a"}));

    TUiScript ui;
    ui.FileNameNext(Path("sum.txt"));
    w()->SuMmary1->Click();
    EXPECT_EQ(ui.RecordsOf(TUiKind::SaveFile)[0].Caption, Path("sum.txt"));
    EXPECT_TRUE(Read("sum.txt").startsWith("Input file = "));
    EXPECT_TRUE(Read("sum.txt").endsWith("\r\n9\r\n"));
}

TEST_F(Run, AccumulationTakesUserLevelsInAscendingOrder)
{
    SetColumn({9, 1, 1, 1});
    Options(200, "8", diDominance, daAccumulation);
    UserLevels({"12", "3", "1"});
    ASSERT_TRUE(RunAnalysis());
    TStringGrid *g = w()->DiversityCurveStringGrid;
    EXPECT_EQ(Labels(g), QStringList({"1", "3", "12"}));
    EXPECT_EQ(g->Cells(1, 2), "1.00000");
    EXPECT_EQ(g->Cells(1, 4), "0.75000") << "every individual: 9 of 12";
    for (int r = 2; r < 5; ++r) EXPECT_LE(Cell(g, 5, r), 1.0);
}

TEST_F(Run, SavedSamplesKeepEveryLevel)
{
    SetColumn({2, 1, 1});
    Options(3, "1");
    UserLevels({"1", "4"});
    o()->SaveMatrixCheckBox->SetChecked(true);
    ASSERT_TRUE(RunAnalysis());
    for (int it = 1; it <= 3; ++it)
        for (int level = 1; level <= 2; ++level)
            EXPECT_TRUE(QFile::exists(QStringLiteral("Sim%1_%2.txt").arg(it).arg(level))) << it << "_" << level;
    EXPECT_EQ(Read("Sim2_2.txt"), "species s1\r\nsp1 2\r\nsp2 1\r\nsp3 1\r\n");
    EXPECT_FALSE(QFile::exists("Sim1.txt"));

    o()->RandomizationGroup->SetItemIndex(daAccumulation);
    ASSERT_TRUE(RunAnalysis());
    EXPECT_EQ(Read("Sim3.txt"), "species s1\r\nsp1 2\r\nsp2 1\r\nsp3 1\r\n");
    EXPECT_FALSE(QFile::exists("Sim4.txt"));

    // By samples, every level of every iteration too.
    SetMatrix({{1, 0}, {0, 1}});
    Options(2, "1", diRichness, daRarefaction, suSamples);
    UserLevels({"1", "2"});
    ASSERT_TRUE(RunAnalysis());
    EXPECT_EQ(Read("Sim2_2.txt").split('\n').mid(1, 2), QList<QByteArray>({"sp1 1\r", "sp2 1\r"}));
    EXPECT_TRUE(QFile::exists("Sim1_1.txt"));
}

TEST_F(Run, AbortStopsWithoutResults)
{
    SetColumn(std::vector<int>(3000, 3));
    Options(9999, "1", diShannon);
    QTimer::singleShot(100, [] { Progress->InterruptButton->Click(); });
    TUiScript ui;
    EXPECT_FALSE(RunAnalysis());
    EXPECT_TRUE(Tarvix->InterruptFlag);
    EXPECT_FALSE(Progress->Visible());
    EXPECT_TRUE(ui.Messages().isEmpty());
}

TEST_F(Run, AnalyzeMenuInBatchWritesTheCurveFileAndAnNaRow)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("data"));
    Write("data/plot7.txt", "species s1 s2\r\nsp1 4 1\r\nsp2 0 3\r\nsp3 2 2\r\n");
    Tarvix->Batch1->Click();
    Tarvix->Memo1->Lines()->Clear();
    Tarvix->Memo1->Lines()->Add(Path("data/plot7.txt"));
    WhileShown(o(), [] { Tarvix->SpeciesDiversity1->Click(); }, [] {
        o()->IterationsEdit->SetText("20");
        o()->RandomSeedEdit->SetText("3");
        o()->Run1->Click();
    });
    EXPECT_FALSE(Tarvix->InterruptFlag);
    EXPECT_EQ(Row(Tarvix->BatchGrid, 1), QStringList({"plot7.txt", "n/a", "n/a", "n/a"}));
    const QList<QByteArray> curve = Read("DiversityCurve plot7.txt").split('\n');
    ASSERT_EQ(curve.size(), 2 + 2 + 2);
    EXPECT_EQ(curve[1], "6(Obs.) 2.00000 2.00000 0.00000 2.00000 2.00000\r");
    EXPECT_TRUE(Read("Summaryplot7.txt").startsWith("Input file = " + Path("data/plot7.txt").toUtf8()));
    EXPECT_EQ(Read("BatchSummary.txt"), "FileName Standard-Effect LowerTailP UpperTailP\r\nplot7.txt n/a n/a n/a\r\n");
    EXPECT_FALSE(Progress->Visible());
    EXPECT_FALSE(w()->Visible());
}
