// The run from Analyze > "&3 Macroecology" to the results window, its memos,
// charts and summary, the batch rows and the saved clouds.
#include "tests/tarvix/macroecology/Fixture.h"

#include "framework/rtl/System.h"
#include "workspace/AnalysisSupport.h"

#include <QDir>
#include <cmath>

namespace {

const std::vector<std::pair<double, double>> FivePoints{{1, 1}, {2, 4}, {3, 2}, {4, 5}, {5, 3}};

class Run : public MacroFixture
{
protected:
    static QString Value(const QStringList &S, const QString &Prefix, int From = 0)
    {
        for (int i = From; i < S.size(); ++i)
            if (S[i].startsWith(Prefix)) return S[i].mid(Prefix.size());
        return QStringLiteral("<missing>");
    }
    static void ExpectPoints(TChartSeries *S, const std::vector<std::pair<double, double>> &P, const char *What)
    {
        ASSERT_EQ(S->Count(), static_cast<int>(P.size())) << What;
        for (int i = 0; i < S->Count(); ++i) {
            EXPECT_NEAR(S->XValue(i), P[size_t(i)].first, 1e-12) << What << " " << i;
            EXPECT_NEAR(S->YValue(i), P[size_t(i)].second, 1e-12) << What << " " << i;
        }
    }
};

TEST_F(Run, RefusalsShowTwoMessagesAndRunNothing)
{
    SetPoints(FivePoints);
    struct Case
    {
        const char *what;
        std::function<void()> step;
        QStringList messages;
    };
    const Case cases[] = {
        {"same columns",
         [] { MacroecologyOpts->YvariableList->SetItemIndex(0); },
         {"XVariable cannot equal YVariable.", "Initialization failed."}},
        {"SD x 0",
         [] {
             Quietly(MacroecologyOpts->ConstraintsGroup, mcNormal);
             MacroEcologyUD2->SDXEdit->SetText("0");
         },
         {"SD x = 0 is not allowed.", "Initialization failed."}},
        {"SD y 0",
         [] {
             Quietly(MacroecologyOpts->ConstraintsGroup, mcNormal);
             MacroEcologyUD2->SDYEdit->SetText("0.0");
         },
         {"SD y = 0 is not allowed.", "Initialization failed."}},
        // A blank count reads as 0.
        {"no iterations",
         [] { MacroecologyOpts->IterationsEdit->SetText("     "); },
         {"Iterations must be > 0.", "Initialization failed."}},
    };
    for (const Case &c : cases) {
        TUiScript ui;
        Tarvix->ClearBatchGrid();
        Tarvix->BuildBatchSummaryFirstRow();
        const bool shown = Start([&] {
            MacroecologyOpts->ResetDefaults();
            SetOptions("10", "1");
            c.step();
        });
        EXPECT_FALSE(shown) << c.what;
        EXPECT_EQ(ui.Messages(), c.messages) << c.what;
        EXPECT_TRUE(Tarvix->InterruptFlag) << c.what;
        EXPECT_FALSE(Progress->Visible()) << c.what;
        EXPECT_EQ(Tarvix->BatchGrid->RowCount(), 1) << c.what;
        MacroEcologyUD2->SDXEdit->SetText("1");
        MacroEcologyUD2->SDYEdit->SetText("1");
    }
    // A negative deviation is drawn with: the law is the same.
    TUiScript ui;
    EXPECT_TRUE(Start([] {
        Quietly(MacroecologyOpts->ConstraintsGroup, mcNormal);
        MacroEcologyUD2->SDXEdit->SetText("-1");
        SetOptions("10", "1");
    }));
    EXPECT_TRUE(ui.Messages().isEmpty());
}

TEST_F(Run, ObservedStatisticsMemosAndCharts)
{
    SetPoints(FivePoints);
    ASSERT_TRUE(Start([] { SetOptions("20", "3"); }));
    const QStringList s = Lines(MacroEcology->Memo1);
    EXPECT_EQ(Value(s, "Observed Points within space = "), "2.00000");
    EXPECT_EQ(Value(s, "Observed Sum of Squares = "), "17.00000");
    EXPECT_EQ(Value(s, "Observed slope = "), "0.50000");
    EXPECT_EQ(Value(s, "Observed dispersion = "), "0.08333");
    // The boundary blocks: (4,5) above 8 - x.
    const int boundary = static_cast<int>(s.indexOf("BOUNDARY # OF POINTS"));
    EXPECT_EQ(Value(s, "Observed Points within space = ", boundary), "1.00000");
    EXPECT_EQ(Value(s, "Observed Sum of Squares = ", boundary), "1.00000");
    EXPECT_EQ(Lines(MacroEcology->MeanMemo),
              QStringList({"Observed number of points = 2.00000", "",
                           "Mean of simulated number of points = " + MacroEcology->mm,
                           "Variance of simulated number of points = " + MacroEcology->vm, "",
                           "p(observed <= expected) = " + MacroEcology->mp1,
                           "p(observed >= expected) = " + MacroEcology->mp2}));
    EXPECT_TRUE(Lines(MacroEcology->DispersionMemo)[3].startsWith("Variance of simulated disersions = "));
    ExpectPoints(MacroEcology->Series1, FivePoints, "Series1");
    ExpectPoints(MacroEcology->Series2, {{3, 5}, {5, 3}}, "Series2");
    ExpectPoints(MacroEcology->Series5, FivePoints, "Series5");
    ExpectPoints(MacroEcology->Series6, {{0, 1.5}, {3, 3}, {5, 4}}, "Series6");
    // Blue points, red lines.
    EXPECT_EQ(MacroEcology->Series3->SeriesColor(), clBlue);
    EXPECT_EQ(MacroEcology->Series4->SeriesColor(), clRed);
    // The simulated charts: the last cloud (x kept, y shuffled) and the mean
    // simulated slope through the means of x and y.
    EXPECT_EQ(MacroEcology->Series3->Count(), 5);
    ExpectPoints(MacroEcology->Series4, {{3, 5}, {5, 3}}, "Series4");
    TChartSeries *sim = MacroEcology->Series8;
    ASSERT_EQ(sim->Count(), 3);
    EXPECT_NEAR(sim->YValue(1), 3.0, 1e-12);
    EXPECT_NEAR((sim->YValue(2) - sim->YValue(1)) / (sim->XValue(2) - sim->XValue(1)), MacroEcology->COmeans, 1e-12);

    // Each observed memo puts the value on the line of its bin, with its own
    // arrow.
    struct Memo
    {
        TMemo *memo;
        const QString &position, &value;
        const char *arrow;
    };
    const Memo memos[] = {
        {MacroEcology->ObservedMeanMemo, MacroEcology->obsMean, MacroEcology->m, ".........>"},
        {MacroEcology->BoundaryObservedMeanMemo, MacroEcology->B_obsMean, MacroEcology->B_m, ".........>"},
        {MacroEcology->ObservedCOmeanMemo, MacroEcology->obsCOMean, MacroEcology->COm, ".........>"},
        {MacroEcology->SquaresObservedMemo, MacroEcology->SquaresObsMean, MacroEcology->Squaresm, "......>"},
        {MacroEcology->BoundarySquaresObservedMemo, MacroEcology->BoundarySquaresObsMean,
         MacroEcology->BoundarySquaresm, "......>"},
        {MacroEcology->ObservedDispersionVarianceMemo, MacroEcology->obsDispMean, MacroEcology->Dispm, "...........>"},
    };
    for (const Memo &m : memos) {
        const int line = static_cast<int>(m.position.count(QStringLiteral("\r\n")));
        EXPECT_EQ(MemoLine(m.memo, line), m.value + QLatin1String(m.arrow)) << m.memo->Name().toStdString();
    }
    EXPECT_EQ(Lines(MacroEcology->MeanHistogramMemoLow).size(), 13);
    EXPECT_EQ(MemoLine(MacroEcology->MeanHistogramMemo, 1),
              MemoLine(MacroEcology->MeanHistogramMemoLow, 1) + " " + MemoLine(MacroEcology->MeanHistogramMemoHigh, 1));

    // The input grid: titles, observed values.
    TStringGrid *in = MacroEcology->InputGrid;
    EXPECT_EQ(in->RowCount(), 6);
    EXPECT_EQ(in->Cells(1, 0), "x");
    EXPECT_EQ(in->Cells(2, 0), "y");
    EXPECT_EQ(in->Cells(0, 2), "sp2");
    EXPECT_EQ(in->Cells(2, 2), "4.00000");
    EXPECT_EQ(MacroEcology->SimulationGrid->Cells(1, 5), "5.00000");
    EXPECT_EQ(MacroEcology->PageControl1->ActivePage(), MacroEcology->InputSheet);
}

TEST_F(Run, SummaryBlocksAndTimePage)
{
    SetPoints(FivePoints);
    ASSERT_TRUE(Start([] {
        SetOptions("30", "5");
        MacroecologyOpts->PatternGroup->SetItemIndex(mpInvertedPyramid);
        MacroecologyOpts->BoundaryGroup->SetItemIndex(mbLowerLeft);
    }));
    const QStringList s = Lines(MacroEcology->Memo1);
    const QStringList head{"Input file = " + Tarvix->FileName,
                           "XVariable = x",
                           "YVariable = y",
                           "Iterations = 30",
                           "Random seed = 5",
                           "Data distribution = Symmetric",
                           "Constraint = Data-defined",
                           "Shape = Inverted Pyramid",
                           "Boundary test = Lower Left",
                           QString(46, QLatin1Char('_')),
                           ""};
    EXPECT_EQ(s.mid(0, head.size()), head);
    int at = static_cast<int>(head.size());
    for (const char *header : {"DISPERSION", "REGRESSION SLOPE", "SHAPE # OF POINTS", "SHAPE SUM OF SQUARES",
                               "BOUNDARY # OF POINTS", "BOUNDARY SUM OF SQUARES"}) {
        ASSERT_EQ(s[at], header);
        EXPECT_EQ(s[at + 4], "");
        EXPECT_TRUE(s[at + 5].startsWith("Number of times observed ")) << header;
        EXPECT_TRUE(s[at + 8].startsWith("Standardized Effect Size = ")) << header;
        EXPECT_EQ(s[at + 12], "Simulation frequencies:");
        EXPECT_EQ(s[at + 13], "Histogram          # Simulations");
        EXPECT_EQ(s[at + 14], "  ");
        EXPECT_EQ(s[at + 15].count(' '), 3) << header;  // "low high  count"
        EXPECT_EQ(s[at + 27], QString(46, QLatin1Char('_'))) << header;
        EXPECT_EQ(s[at + 28], "");
        at += 29;
    }
    EXPECT_EQ(s[at], "INPUT MATRIX:");
    EXPECT_EQ(s[at + 2], "species x y ");
    EXPECT_EQ(s[at + 3], "sp1 1 1 ");
    EXPECT_EQ(s.size(), at + 8);
    // Observed inverted pyramid and lower left corner of the same five points.
    EXPECT_EQ(Value(s, "Observed Sum of Squares = "), "62.00000");
    EXPECT_EQ(Value(s, "Observed Points within space = ", s.indexOf("BOUNDARY # OF POINTS")), "1.00000");
    EXPECT_EQ(Value(s, "Observed Sum of Squares = ", s.indexOf("BOUNDARY # OF POINTS")), "4.00000");
    // The boundary line's slope has no line of its own: only the regression block
    // speaks of a slope.
    EXPECT_EQ(s.filter("slope", Qt::CaseInsensitive).size(), 7);
    const QStringList t = Lines(MacroEcology->TimeMemo);
    ASSERT_EQ(t.size(), 2);
    EXPECT_TRUE(t[0].startsWith("Stop time = "));
    EXPECT_TRUE(t[1].startsWith("Start time = "));
}

TEST_F(Run, SeedsReproduceAndTheClockSeedIsReported)
{
    SetPoints(FivePoints);
    ASSERT_TRUE(Start([] { SetOptions("25", "5"); }));
    const QStringList first = Lines(MacroEcology->Memo1);
    ASSERT_TRUE(Start([] { SetOptions("25", "5"); }));
    EXPECT_EQ(Lines(MacroEcology->Memo1), first);

    SetRandomizeClock([] { return uint64_t(0x1234567890ULL); });
    ASSERT_TRUE(Start([] { SetOptions("25", "0"); }));
    SetRandomizeClock({});
    // The low 31 bits of the clock's count.
    EXPECT_EQ(Value(Lines(MacroEcology->Memo1), "Random seed = "), QString::number(0x34567890));
}

TEST_F(Run, EqualYValuesGiveEqualSimulations)
{
    SetPoints({{1, 2}, {3, 2}, {4, 2}, {7, 2}});
    ASSERT_TRUE(Start([] { SetOptions("40", "2"); }));
    const QStringList s = Lines(MacroEcology->Memo1);
    for (const char *header : {"DISPERSION", "REGRESSION SLOPE", "SHAPE # OF POINTS", "SHAPE SUM OF SQUARES",
                               "BOUNDARY # OF POINTS", "BOUNDARY SUM OF SQUARES"}) {
        const int at = static_cast<int>(s.indexOf(header));
        ASSERT_GE(at, 0) << header;
        EXPECT_EQ(s[at + 3].section(" = ", 1), "0.00000") << header;  // variance
        EXPECT_TRUE(s[at + 6].endsWith(" = 40")) << header;           // equal count
        EXPECT_EQ(s[at + 8], "Standardized Effect Size = 0.00000") << header;
        EXPECT_EQ(s[at + 9], "p(observed <= expected) = 1.00000") << header;
        EXPECT_EQ(s[at + 10], "p(observed >= expected) = 1.00000") << header;
    }
}

TEST_F(Run, UniformCloudsUseTheEndPointsOnlyForTheSimulations)
{
    // Far outside the unit square: the observed box is the data's.
    SetPoints({{101, 101}, {102, 104}, {103, 102}, {104, 105}, {105, 103}});
    ASSERT_TRUE(Start([] {
        Quietly(MacroecologyOpts->ConstraintsGroup, mcUniform);
        MacroEcologyUD1->MinimumXEdit->SetText("0");
        MacroEcologyUD1->MaximumXEdit->SetText("1");
        MacroEcologyUD1->MinimumYEdit->SetText("0");
        MacroEcologyUD1->MaximumYEdit->SetText("1");
        SetOptions("50", "4");
    }));
    const QStringList s = Lines(MacroEcology->Memo1);
    EXPECT_EQ(Value(s, "Observed Points within space = "), "2.00000");
    EXPECT_EQ(Value(s, "Observed Sum of Squares = "), "17.00000");
    EXPECT_EQ(Value(s, "Constraint = "), "User-defined (uniform)");
    // The simulated clouds lie in the unit square and are measured in it: the
    // last segment is that of the square's upper right corner.
    for (int r = 1; r <= 5; ++r)
        for (int c = 1; c <= 2; ++c) {
            const double v = MacroEcology->SimulationGrid->Cells(c, r).toDouble();
            EXPECT_TRUE(v >= 0 && v <= 1) << r << " " << c;
        }
    ExpectPoints(MacroEcology->Series4, {{0.5, 1}, {1, 0.5}}, "Series4");
    for (double v : MacroEcology->SimSpaces) EXPECT_LE(v, 5);
}

TEST_F(Run, NormalCloudsThatCannotBePositiveStopTheRun)
{
    SetPoints(FivePoints);
    // The first iteration of several, and the only one: no results either way.
    for (const char *iterations : {"5", "1"}) {
        TUiScript ui;
        Tarvix->ClearBatchGrid();
        Tarvix->BuildBatchSummaryFirstRow();
        EXPECT_FALSE(Start([&] {
            Quietly(MacroecologyOpts->ConstraintsGroup, mcNormal);
            MacroEcologyUD2->MeanYEdit->SetText("-1000000");
            MacroEcologyUD2->SDYEdit->SetText("1");
            SetOptions(iterations, "1");
        })) << iterations;
        EXPECT_EQ(ui.Messages(), QStringList("Unable to satisfy restraints. Aborting simulation.")) << iterations;
        EXPECT_TRUE(Tarvix->InterruptFlag) << iterations;
        EXPECT_FALSE(Progress->Visible()) << iterations;
        EXPECT_EQ(Tarvix->BatchGrid->RowCount(), 1) << iterations;
    }
}

TEST_F(Run, BatchRowsCarryTheShapePoints)
{
    Write("a.txt", "species x y\r\nsp1 1 1\r\nsp2 2 4\r\nsp3 3 2\r\nsp4 4 5\r\nsp5 5 3\r\n");
    Write("b.txt", "species x y\r\nsp1 0 3\r\nsp2 2 10\r\nsp3 7 0\r\nsp4 8 "
                   "9\r\nsp5 10 7\r\n");
    Tarvix->Batch1->Click();
    ASSERT_TRUE(Tarvix->BatchSwitch);
    TUiScript ui;
    Start([] { SetOptions("20", "6"); });
    EXPECT_TRUE(ui.Messages().isEmpty());
    EXPECT_FALSE(Tarvix->InterruptFlag);
    TStringGrid *b = Tarvix->BatchGrid;
    ASSERT_EQ(b->RowCount(), 3);
    // The files come in directory order; the last row is the last run's shape-points block.
    QStringList names{b->Cells(0, 1), b->Cells(0, 2)};
    names.sort();
    EXPECT_EQ(names, QStringList({"a.txt", "b.txt"}));
    EXPECT_EQ(b->Cells(1, 2), MacroEcology->ses_string);
    EXPECT_EQ(b->Cells(2, 2), MacroEcology->mp1);
    EXPECT_EQ(b->Cells(3, 2), MacroEcology->mp2);
    // Either file: two points below the symmetric left triangle's diagonal.
    EXPECT_EQ(MacroEcology->m, "2.00000");
    for (const char *name : {"Summarya.txt", "Summaryb.txt"})
        EXPECT_TRUE(Read(name).startsWith("Input file = ")) << name;
    const QByteArray batch = Read("BatchSummary.txt");
    EXPECT_TRUE(batch.startsWith("FileName Standard-Effect LowerTailP UpperTailP\r\n"));
    EXPECT_TRUE(batch.contains("\r\na.txt ") && batch.contains("\r\nb.txt ")) << batch.constData();
    EXPECT_FALSE(Progress->Visible());
}

TEST_F(Run, SimulatedCloudsAreSavedAndAFailedSaveStopsTheRun)
{
    SetPoints({{1, 2}, {3, 4}});
    ASSERT_TRUE(Start([] {
        SetOptions("3", "8");
        MacroecologyOpts->SaveMatrixCheckBox->SetChecked(true);
    }));
    for (const char *name : {"Sim1.txt", "Sim2.txt", "Sim3.txt"})
        EXPECT_TRUE(Read(name).startsWith("species x y\r\nspecies1 1.00000 ")) << name;
    EXPECT_EQ(Read("Sim3.txt").count("\r\n"), 3);

    // "Sim2.txt" cannot be written: one message, and the run ends without
    // results.
    ASSERT_TRUE(QFile::remove(Path("Sim2.txt")));
    ASSERT_TRUE(QDir(dir.path()).mkdir("Sim2.txt"));
    TUiScript ui;
    EXPECT_FALSE(Start([] {
        SetOptions("5", "8");
        MacroecologyOpts->SaveMatrixCheckBox->SetChecked(true);
    }));
    EXPECT_EQ(ui.Messages(), QStringList("Error writing file."));
    EXPECT_TRUE(Tarvix->InterruptFlag);
    EXPECT_FALSE(Progress->Visible());
}

TEST_F(Run, MenuRunSavesTheSummary)
{
    SetPoints(FivePoints);
    TUiScript ui;
    ui.FileNameNext(Path("summary.txt"));
    ASSERT_TRUE(Start([] { SetOptions("10", "3"); }, [] { MacroEcology->Summary1->Click(); }));
    const std::vector<TUiRecord> saves = ui.RecordsOf(TUiKind::SaveFile);
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(saves[0].Text, "Select a file name.");
    EXPECT_TRUE(Read("summary.txt").startsWith("Input file = " + Tarvix->FileName.toUtf8() + "\r\nXVariable = x\r\n"));
    EXPECT_EQ(Tarvix->Iterations, 10);
    QStringList tabs;
    for (int i = 0; i < MacroEcology->PageControl1->PageCount(); ++i)
        tabs << MacroEcology->PageControl1->Pages(i)->Caption();
    EXPECT_EQ(tabs, QStringList({"Input Matrix", "Simulation", "Dispersion", "Regression Slope", "Regression Charts",
                                 "Shape # of Points", "Shape Sum of Squares", "Boundary # of Points",
                                 "Boundary Sum of Squares", "Boundary Charts", "Summary", "Time"}));
    EXPECT_EQ(MacroEcology->Caption(), "Tarvix -- Macroecology Results");
}

}  // namespace
