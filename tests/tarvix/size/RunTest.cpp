// The run from the main grid to the results window, its limits, its pages and its files.
#include "tests/tarvix/size/Fixture.h"

#include "workspace/TarvixHelpers.h"

#include <QDir>
#include <set>

class Run : public SizeFixture
{
protected:
    static TSizeOverlap *w() { return SizeOverlap; }
    static QStringList Summary() { return Lines(w()->Memo1); }
    // Options as the dialog leaves them after Step, closed with "&Run".
    static void Choose(const std::function<void()> &Step)
    {
        ShowOptions([&] {
            Step();
            SizeOverlapOpts->Run1->Click();
        });
    }
    // Minimum segment on the raw scale from a data-defined uniform source.
    static void MinimumDataUniform(const QString &Iterations, const QString &Seed)
    {
        Choose([&] {
            SizeOverlapOpts->MetricGroup->SetItemIndex(smMinimumSegment);
            SizeOverlapOpts->TransformationGroup->SetItemIndex(stSizeDifferences);
            SetOptions(Iterations, Seed);
        });
    }
};

TEST_F(Run, LimitsAreReportedAtTheirBoundaries)
{
    struct Case
    {
        int rows, cols;  // grid counts, titles included
        const char *iterations;
        const char *message;  // nullptr: accepted
    };
    const Case cases[] = {
        {4, 2, "29999", nullptr},
        {4, 2, "30000", "Iterations must be < 30000."},
        {4, 2, "0", "Iterations must be > 0."},
        {4, 2, "abc", "Iterations must be > 0."},
        {3, 2, "10", nullptr},
        {2, 5, "10", "At least 3 rows of data required for size overlap."},
        {491, 491, "10", nullptr},
        {491, 492, "10", "4 < Cell limit < 241101, e.g. 301x801."},
    };
    for (const Case &c : cases) {
        Tarvix->MainGrid->SetRowCount(c.rows);
        Tarvix->MainGrid->SetColCount(c.cols);
        SizeOverlapOpts->IterationsEdit->SetText(QString::fromLatin1(c.iterations));
        Tarvix->InterruptFlag = false;
        TUiScript ui;
        const bool ok = w()->Init();
        const QString where = QStringLiteral("%1 x %2, %3").arg(c.rows).arg(c.cols).arg(c.iterations);
        EXPECT_EQ(ok, !c.message) << where.toStdString();
        EXPECT_EQ(ui.Messages(), c.message ? QStringList(QString::fromLatin1(c.message)) : QStringList())
            << where.toStdString();
        EXPECT_EQ(Tarvix->InterruptFlag, c.message != nullptr) << where.toStdString();
    }
    // The run adds its own message and shows nothing.
    SetColumn({"2", "5", "9"});
    SetOptions("30000", "1");
    TUiScript ui;
    RunAnalysis();
    EXPECT_EQ(ui.Messages(),
              QStringList({"Iterations must be < 30000.", "Initialization failed. Check iterations and random seed."}));
    EXPECT_TRUE(Tarvix->InterruptFlag);
    EXPECT_TRUE(Summary().isEmpty());
}

TEST_F(Run, TheLargestIterationCountRuns)
{
    SetColumn({"2", "5", "9", "4"});
    MinimumDataUniform("29999", "3");
    TUiScript ui;
    RunAnalysis();
    EXPECT_TRUE(ui.Messages().isEmpty());
    EXPECT_FALSE(Tarvix->InterruptFlag);
    EXPECT_EQ(Value(Summary(), "Iterations = "), "29999");
    EXPECT_FALSE(Progress->Visible());
}

TEST_F(Run, OnlySizesAboveZeroMakeTheNumberLine)
{
    TUiScript ui;
    SetColumn({"abc", "0", "7", "-2", ""});
    MinimumDataUniform("10", "1");
    RunAnalysis();
    EXPECT_EQ(ui.Messages(), QStringList("Segments must be > 0"));
    EXPECT_TRUE(Tarvix->InterruptFlag);
    EXPECT_FALSE(Progress->Visible());

    SetColumn({"abc", "0", "-2", ""});
    TUiScript ui2;
    RunAnalysis();
    EXPECT_EQ(ui2.Messages(), QStringList("Non-Zero Rows Must be > 0"));

    SetColumn({"9", "abc", "0", "2", "-3", "5"});
    TUiScript ui3;
    RunAnalysis();
    EXPECT_TRUE(ui3.Messages().isEmpty());
    EXPECT_EQ(w()->DataNumberLine, (std::vector<double>{2, 5, 9}));
    EXPECT_EQ(w()->NonZeroRows, 3);
    EXPECT_EQ(Column(w()->InputColumnGrid, 0), QStringList({"species", "sp1", "sp2", "sp3", "sp4", "sp5", "sp6"}));
    EXPECT_EQ(Column(w()->InputColumnGrid, 1), QStringList({"c1", "9", "abc", "0", "2", "-3", "5"}));
    EXPECT_EQ(Value(Summary(), "Observed index = "), "3.00000");
}

// The run's draws against the generator stepped by hand (Python): after seed 5, iteration i draws
// the inner size x = 7 U + 2 between the kept sizes 2 and 9, and its metric is min(x - 2, 9 - x).
TEST_F(Run, SeededSummaryMatchesAnIndependentRun)
{
    SetColumn({"2", "9", "5"});
    MinimumDataUniform("20", "5");
    RunAnalysis();
    const QStringList s = Summary();
    RunAnalysis();
    ASSERT_EQ(Summary(), s);

    const QStringList head{"Input file = " + Tarvix->FileName,
                           "Iterations = 20",
                           "Random seed = 5",
                           "Column analyzed:  c1",
                           "Metric = Minimum segment length.",
                           "None (size differences)",
                           "Parametric distributions",
                           "Uniform",
                           "Minimum = 2.00000  Maximum = 9.00000",
                           "Data-defined",
                           "",
                           QString(46, '_'),
                           "",
                           "Observed index = 3.00000",
                           "Mean of simulated index = 1.88909",
                           "Variance of simulated index = 1.07347",
                           "p(observed >= expected) = 0.25000",
                           "p(observed <= expected) = 0.75000",
                           "",
                           "Number of times Observed index < simulated indices = 5",
                           "Number of times Observed index = simulated indices = 0",
                           "Number of times Observed index > simulated indices = 15",
                           "Standardized Effect Size = 1.07222",
                           "",
                           "Simulation frequencies:",
                           "Histogram          # Simulations"};
    ASSERT_GE(s.size(), head.size() + 14 + 4 + 4);
    EXPECT_EQ(s.mid(0, head.size()), head);
    const int h = static_cast<int>(head.size());
    EXPECT_EQ(s[h], "  ");
    EXPECT_EQ(s[h + 13], "  ");
    int total = 0;
    for (int k = 1; k <= 12; ++k) {
        const QStringList parts = s[h + k].split(' ', Qt::SkipEmptyParts);
        ASSERT_EQ(parts.size(), 3) << s[h + k].toStdString();
        total += parts[2].toInt();
    }
    EXPECT_EQ(total, 20);
    EXPECT_EQ(s.mid(h + 14), QStringList({QString(46, '_'), "", "INPUT MATRIX", "", "species c1 ", "sp1 2 ", "sp2 9 ",
                                          "sp3 5 "}));

    EXPECT_EQ(Lines(w()->MeanMemo), QStringList({"Observed index = 3.00000", "", "Mean of simulated index = 1.88909",
                                                 "Variance of simulated index = 1.07347", "",
                                                 "p(observed <= expected) = 0.75000",
                                                 "p(observed >= expected) = 0.25000", ""}));
    // The size histogram holds the inner size of every set.
    EXPECT_EQ(Lines(w()->SizeHistogramNotesMemo),
              QStringList({"Mean of simulated sizes = 5.15539", "Variance of simulated sizes = 3.68006"}));
    // Every simulated set keeps 2 and 9: no minimum segment exceeds half the range.
    EXPECT_LE(*std::max_element(w()->MetricList.begin(), w()->MetricList.end()), 3.5);
    EXPECT_EQ(Column(w()->SimulationGrid, 1).first(2), QStringList({"c1", "2.00000"}));
    EXPECT_EQ(w()->SimulationGrid->Cells(1, 3), "9.00000");
    EXPECT_EQ(w()->SimulationGrid->RowCount(), 4);
    EXPECT_EQ(w()->SegmentsGrid->RowCount(), 3);
    EXPECT_TRUE(Lines(w()->ObservedMeanMemo).last().startsWith("3.00000...............>"));
    EXPECT_EQ(w()->Caption(), "Tarvix -- Size Overlap Results");
    EXPECT_EQ(w()->PageControl1->ActivePage(), w()->InputSheet);
    EXPECT_TRUE(Lines(w()->TimeMemo)[0].startsWith("Stop time = "));
    EXPECT_TRUE(Lines(w()->TimeMemo)[1].startsWith("Start time = "));
    // The batch row of the run.
    EXPECT_EQ(Tarvix->BatchGrid->Cells(1, 1), "1.07222");
    EXPECT_EQ(Tarvix->BatchGrid->Cells(2, 1), "0.75000");
    EXPECT_EQ(Tarvix->BatchGrid->Cells(3, 1), "0.25000");
}

TEST_F(Run, APoolOfTheObservedSizesGivesTheObservedIndexEveryTime)
{
    SetColumn({"2", "5", "9", "4"});
    Choose([] {
        WhileShown(SizeOverLapUD3, [] { SizeOverlapOpts->BodySizeDistributionGroup->SetItemIndex(ssHistogram); });
        SetOptions("50", "7");
    });
    TUiScript ui;
    RunAnalysis();
    EXPECT_TRUE(ui.Messages().isEmpty());
    const QStringList s = Summary();
    EXPECT_EQ(s.mid(6, 5), QStringList({"User-defined histogram", "", "", "", ""}));
    EXPECT_EQ(Value(s, "Number of times Observed index = simulated indices = "), "50");
    EXPECT_EQ(Value(s, "Variance of simulated index = "), "0.00000");
    EXPECT_EQ(Value(s, "Standardized Effect Size = "), "0.00000");
    EXPECT_EQ(Value(s, "p(observed >= expected) = "), "1.00000");
    // One size picked at random from every set: always one of the pool's.
    const std::set<double> picked(w()->SizeHistogramList.begin(), w()->SizeHistogramList.end());
    EXPECT_GT(picked.size(), 1u);
    for (double v : picked) EXPECT_TRUE(v == 2 || v == 4 || v == 5 || v == 9) << v;
}

TEST_F(Run, AHistogramTooSmallStopsTheRunWithoutResults)
{
    SetColumn({"2", "5", "9", "4"});
    Choose([] {
        WhileShown(SizeOverLapUD3, [] { SizeOverlapOpts->BodySizeDistributionGroup->SetItemIndex(ssHistogram); },
                   [] { SizeOverLapUD3->SpeciesHistogramGrid->SetCells(2, 2, "0"); });
        SetOptions("5", "7");
    });
    TUiScript ui;
    RunAnalysis();
    EXPECT_EQ(ui.Messages(), QStringList("Unable to satisfy restraints. Aborting simulation."));
    EXPECT_TRUE(Tarvix->InterruptFlag);
    EXPECT_TRUE(Summary().isEmpty());
    EXPECT_FALSE(Progress->Visible());
}

TEST_F(Run, SavedSetsAreTheSimulatedOnesOnTheSizeScale)
{
    SetColumn({"2", "9", "5"});
    MinimumDataUniform("3", "5");
    SizeOverlapOpts->SaveMatrixCheckBox->SetChecked(true);
    RunAnalysis();
    // First inner size by Python: 3.09830.
    EXPECT_EQ(Read("Sim1.txt"), QByteArray("species size\r\nspecies1 2.00000\r\nspecies2 3.09830\r\nspecies3 9.00000\r\n"));
    EXPECT_TRUE(Read("Sim2.txt").contains("species2 3.25806\r\n"));
    EXPECT_TRUE(QFile::exists("Sim3.txt"));

    // A file that cannot be written stops the run after one message.
    QFile::remove("Sim2.txt");
    ASSERT_TRUE(QDir().mkdir("Sim2.txt"));
    TUiScript ui;
    w()->Memo1->Lines()->Clear();
    RunAnalysis();
    EXPECT_EQ(ui.Messages(), QStringList("Error writing file."));
    EXPECT_TRUE(Tarvix->InterruptFlag);
    EXPECT_TRUE(Summary().isEmpty());
    EXPECT_FALSE(Progress->Visible());
}
