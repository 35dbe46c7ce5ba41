// The run from the main grid to the results window, its limits, its tables and its files.
#include "tests/tarvix/cooccurrence/Fixture.h"

#include "framework/rtl/System.h"
#include "workspace/TarvixHelpers.h"

#include <QRegularExpression>
#include <cmath>

class Run : public CoOccurrenceFixture
{
protected:
    static TCoOccurrence *w() { return CoOccurrence; }
    static QStringList Summary() { return Lines(w()->Memo1); }
    static int LineOf(const QStringList &S, const QString &Text) { return static_cast<int>(S.indexOf(Text)); }
    static QString Value(const QStringList &S, const QString &Prefix)
    {
        for (const QString &l : S)
            if (l.startsWith(Prefix)) return l.mid(Prefix.size());
        return QStringLiteral("<missing>");
    }
};

TEST_F(Run, LimitsAreReportedAtTheirBoundariesOnly)
{
    struct Case
    {
        int rows, cols;  // grid counts, titles included
        const char *iterations;
        const char *message;  // nullptr: accepted
    };
    const Case cases[] = {
        {3, 3, "10", nullptr},
        {2, 5, "10", "At least 2 rows of data required for co-occurrence."},
        {3, 2, "10", "4 < Cell limit < 440,001, e.g. 200x2200."},
        {4, 2, "10", "4 < Cell limit < 440,001, e.g. 200x2200."},
        {5, 2, "10", nullptr},
        {401, 1101, "10", nullptr},
        {10, 48890, "10", "4 < Cell limit < 440,001, e.g. 200x2200."},
        {402, 1101, "10", "4 < Cell limit < 440,001, e.g. 200x2200."},
        {1401, 2, "10", nullptr},
        {1402, 2, "10", "Row limit = 1400 for this analysis. "},
        {3, 3, "1", nullptr},
        {3, 3, "0", "Iterations must be > 0."},
        {3, 3, "100000", nullptr},
        {3, 3, "100001", "Iterations must be <= 100,000."},
    };
    for (const Case &c : cases) {
        Tarvix->MainGrid->SetRowCount(c.rows);
        Tarvix->MainGrid->SetColCount(c.cols);
        CoOccurrenceOpts->IterationsEdit->SetText(QString::fromLatin1(c.iterations));
        Tarvix->InterruptFlag = false;
        TUiScript ui;
        const bool ok = w()->Init();
        const QString where = QStringLiteral("%1 x %2, %3").arg(c.rows).arg(c.cols).arg(c.iterations);
        if (c.message) {
            EXPECT_FALSE(ok) << where.toStdString();
            EXPECT_EQ(ui.Messages(), QStringList(QString::fromLatin1(c.message))) << where.toStdString();
            EXPECT_TRUE(Tarvix->InterruptFlag) << where.toStdString();
        } else {
            EXPECT_TRUE(ok) << where.toStdString();
            EXPECT_TRUE(ui.Messages().isEmpty()) << where.toStdString();
        }
    }
}

TEST_F(Run, EmptyMatrixStopsBeforeTheSimulation)
{
    SetMatrix({{0, 0}, {0, 0}});
    SetOptions("10", "1");
    TUiScript ui;
    RunAnalysis();
    EXPECT_EQ(ui.Messages(), QStringList("Row and Column Totals = 0."));
    EXPECT_TRUE(Tarvix->InterruptFlag);
    EXPECT_FALSE(Progress->Visible());
    EXPECT_TRUE(Lines(w()->Memo1).isEmpty());
}

// Nested rows have no checkerboard: every fixed-margin matrix is the observed one, the
// simulated indices never vary, and the effect size is 0 rather than a division by zero.
// A data cell whose text is no number stops the run before any simulation with one message
// that names its species, its site and its text; the last run's results, the generator and the
// grid stay as they were. An empty or blank cell is an absence.
TEST_F(Run, DataCellThatIsNoNumberStopsTheRunAndChangesNothing)
{
    SetMatrix({{1, 1, 0, 1}, {0, 1, 1, 0}, {1, 0, 1, 1}});
    SetOptions("50", "3");
    RunAnalysis();
    const QStringList results = Summary();
    const Matrix observed = w()->O_Mat;
    for (const char *text : {"x", "1a", "0.5.1", "--1", "1,5"}) {
        Tarvix->MainGrid->SetCells(2, 3, QString::fromLatin1(text));
        Tarvix->InterruptFlag = false;
        RandSeed = 77;
        TUiScript ui;
        int shown = 0;
        WhileShown(CoOccurrence, [] { CoOccurrence->Run(); }, [&shown] { ++shown; });
        EXPECT_EQ(ui.Messages(), QStringList(QStringLiteral("Data cell is not a number: row \"sp3\", column \"s2\", "
                                                            "text \"%1\". Aborting simulation.")
                                                 .arg(QLatin1String(text))))
            << text;
        EXPECT_TRUE(Tarvix->InterruptFlag) << text;
        EXPECT_EQ(shown, 0) << text;
        EXPECT_FALSE(Progress->Visible()) << text;
        EXPECT_EQ(RandSeed, 77u) << text;
        EXPECT_EQ(Summary(), results) << text;
        EXPECT_TRUE(w()->O_Mat == observed) << text;
        EXPECT_EQ(Tarvix->MainGrid->Cells(2, 3), QLatin1String(text));
    }
    // "0", "" and " " give the same run; only the input matrix lines of the summary differ.
    QList<QStringList> runs;
    for (const char *text : {"0", "", " "}) {
        Tarvix->MainGrid->SetCells(2, 3, QString::fromLatin1(text));
        TUiScript ui;
        RunAnalysis();
        EXPECT_TRUE(ui.Messages().isEmpty()) << '"' << text << '"';
        const QStringList s = Summary();
        runs << s.mid(0, LineOf(s, "INPUT MATRIX:"));
    }
    EXPECT_EQ(runs[1], runs[0]);
    EXPECT_EQ(runs[2], runs[0]);
    EXPECT_EQ(w()->O_Mat[2][3], 0);
}

// A seed taken from the clock is reported as a positive number, and typed back into the seed
// box it gives the same run again, whatever the clock reads then.
TEST_F(Run, ReportedClockSeedReproducesItsRun)
{
    struct ClockGuard
    {
        ~ClockGuard() { SetRandomizeClock({}); }
    } guard;
    SetMatrix({{1, 1, 0, 0, 1}, {0, 1, 1, 0, 0}, {1, 0, 1, 1, 0}, {0, 0, 0, 1, 1}});
    SetOptions("100", "0");
    SetRandomizeClock([] { return uint64_t{0x12'9E3779B9}; });
    RunAnalysis();
    const QStringList clocked = Summary();
    const QString seed = Value(clocked, "Random seed = ");
    bool number = false;
    EXPECT_GT(seed.toInt(&number), 0);
    EXPECT_TRUE(number) << seed.toStdString();
    SetRandomizeClock([] { return uint64_t{12345}; });
    SetOptions("100", seed);
    RunAnalysis();
    EXPECT_EQ(Summary(), clocked);
}

TEST_F(Run, ZeroVarianceGivesAZeroEffectSize)
{
    SetMatrix({{1, 1, 1}, {1, 1, 0}, {1, 0, 0}});
    SetOptions("20", "3");
    TUiScript ui;
    RunAnalysis();
    const QStringList s = Summary();
    EXPECT_EQ(Value(s, QStringLiteral("Variance of simulated indices = ")), QStringLiteral("0.00000"));
    EXPECT_EQ(Value(s, QStringLiteral("Standardized Effect Size = ")), QStringLiteral("0.00000"));
}

TEST_F(Run, SameSeedGivesTheSameSummaryLaidOutLineByLine)
{
    SetMatrix({{1, 1, 0, 0, 1}, {0, 1, 1, 0, 0}, {1, 0, 1, 1, 0}, {0, 0, 0, 1, 1}});
    SetOptions("200", "5");
    RunAnalysis();
    const QStringList first = Summary();
    RunAnalysis();
    const QStringList s = Summary();
    ASSERT_EQ(first, s);

    EXPECT_EQ(s.mid(0, 10), QStringList({"Input file = " + Tarvix->FileName, "Rows = 4; Columns = 5", "Iterations = 200",
                                         "Random seed = 5", "Row sums fixed. (Sequential Swap algorithm)",
                                         "Column sums fixed.", "Index = C-score", "Degenerate matrix check = Retain",
                                         "Pattern = Exclude", QString(46, '_')}));
    EXPECT_EQ(s[10], "");
    EXPECT_EQ(s[11], "INDEX");
    // Units 2, 4, 2, 2, 4, 2 over six pairs.
    EXPECT_EQ(s[12], "Observed index = 2.66667");
    const int less = Value(s, "Number of times observed index < simulated indices = ").toInt();
    const int equal = Value(s, "Number of times observed index = simulated indices = ").toInt();
    const int greater = Value(s, "Number of times observed index > simulated indices = ").toInt();
    EXPECT_EQ(less + equal + greater, 200);
    // The lower tail counts the simulated indices at or below the observed one.
    EXPECT_EQ(Value(s, "p(observed <= expected) = "), FloatToStr75((greater + equal) / 200.0));
    EXPECT_EQ(Value(s, "p(observed >= expected) = "), FloatToStr75((less + equal) / 200.0));
    EXPECT_NE(less, greater);
    const int freq = LineOf(s, "Simulation frequencies:");
    ASSERT_GT(freq, 0);
    EXPECT_EQ(s[freq + 1], "Histogram          # Simulations");
    EXPECT_EQ(s[freq + 2], "  ");
    EXPECT_EQ(s[freq + 15], "  ");
    const QRegularExpression bin("^-?\\d+\\.\\d{5} -?\\d+\\.\\d{5}  \\d+$");
    int binned = 0;
    for (int k = freq + 3; k <= freq + 14; ++k) {
        EXPECT_TRUE(bin.match(s[k]).hasMatch()) << s[k].toStdString();
        binned += s[k].section(' ', -1).toInt();
    }
    EXPECT_EQ(binned, 200);
    EXPECT_EQ(s[freq + 16], QString(46, '_'));
    EXPECT_EQ(s[freq + 18], "DEGENERATE INDEX");
    const int input = LineOf(s, "INPUT MATRIX:");
    ASSERT_GT(input, freq);
    EXPECT_EQ(s[input + 2], "species s1 s2 s3 s4 s5 ");
    EXPECT_EQ(s[input + 3], "sp1 1 1 0 0 1 ");
    EXPECT_EQ(s.size(), input + 2 + 5);
    EXPECT_EQ(Lines(w()->MeanMemo)[0], "Observed index = 2.66667");
    EXPECT_TRUE(w()->ObservedMeanMemo->Text().endsWith("2.66667.................>"));
    EXPECT_TRUE(Lines(w()->TimeMemo)[0].startsWith("Stop time = "));
    EXPECT_TRUE(Lines(w()->TimeMemo)[1].startsWith("Start time = "));
    EXPECT_EQ(w()->Caption(), "Tarvix Professional: Co-occurrence Results");
    EXPECT_FALSE(w()->DegenerateSheet->TabVisible());
}

TEST_F(Run, PairTablesKeepEachValueUnderItsSpecies)
{
    // sp3 has no presence: its pairs are 0 and the other values stay in place.
    SetMatrix({{1, 1, 0, 0}, {0, 0, 1, 1}, {0, 0, 0, 0}, {1, 0, 1, 0}});
    SetOptions("5", "3");
    RunAnalysis();
    TStringGrid *g = w()->ResponseGrid;
    ASSERT_EQ(g->ColCount(), 5);
    ASSERT_EQ(g->RowCount(), 4);
    EXPECT_EQ(g->Cells(0, 0), "species");
    EXPECT_EQ(g->Cells(4, 0), "sp4");
    EXPECT_EQ(g->Cells(0, 3), "sp3");
    const struct { int col, row; const char *value; } pairs[] = {
        {2, 1, "4.00000"}, {3, 1, "0.00000"}, {4, 1, "1.00000"}, {3, 2, "0.00000"}, {4, 2, "1.00000"}, {4, 3, "0.00000"}};
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(g->Cells(pairs[k].col, pairs[k].row), pairs[k].value) << k;
        EXPECT_EQ(w()->ProStringGrid1->Cells(0, k), g->Cells(0, pairs[k].row)) << k;
        EXPECT_EQ(w()->ProStringGrid1->Cells(1, k), g->Cells(pairs[k].col, 0)) << k;
        EXPECT_EQ(w()->ProStringGrid1->Cells(2, k), pairs[k].value) << k;
    }
    EXPECT_EQ(g->Cells(1, 2), "");
    EXPECT_EQ(w()->ProStringGrid1->RowCount(), 6);
    EXPECT_EQ(Lines(w()->MeanMemo)[0], "Observed index = 1.00000");
    EXPECT_TRUE(w()->PairwiseSheet->TabVisible());
}

TEST_F(Run, RangeOverlapTablesShowTheObservedValues)
{
    // Shared sites 0, 1, 1; unions 3, 3, 2.
    SetMatrix({{1, 1, 0}, {0, 0, 1}, {1, 0, 1}});
    Tarvix->RangeCoOccurrence = 1;
    CoOccurrenceOpts->RowGroup->SetItemIndex(0);
    SetOptions("20", "4");
    RunAnalysis();
    EXPECT_EQ(w()->ResponseGrid->Cells(2, 1), "0.00000");
    EXPECT_EQ(w()->ResponseGrid->Cells(3, 1), "0.33333");
    EXPECT_EQ(w()->ResponseGrid->Cells(3, 2), "0.50000");
    EXPECT_EQ(Lines(w()->MeanMemo)[0], "Observed index = 0.27778");
    EXPECT_EQ(w()->Caption(), "Tarvix Professional: Range Overlap Results");

    CoOccurrenceOpts->RangeList->SetItemIndex(1);
    RunAnalysis();
    EXPECT_EQ(Lines(w()->MeanMemo)[0], "Observed index = 2.66667");
    EXPECT_EQ(Value(Summary(), "Index = "), "Union");

    Tarvix->RangeCoOccurrence = 0;
    CoOccurrenceOpts->IndexList->SetItemIndex(2);
    RunAnalysis();
    EXPECT_FALSE(w()->PairwiseSheet->TabVisible());
    EXPECT_FALSE(w()->PairwiseColumnSheet->TabVisible());
}

TEST_F(Run, SplitCountsAddUpAndShowTheDegeneratePage)
{
    SetMatrix({{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {1, 0, 0, 1}});
    CoOccurrenceOpts->RowGroup->SetItemIndex(0);
    CoOccurrenceOpts->ColumnGroup->SetItemIndex(0);
    CoOccurrenceOpts->DegenerateGroup->SetItemIndex(2);
    SetOptions("300", "11");
    RunAnalysis();
    EXPECT_EQ(w()->SimCount + w()->SplitCount, 300);
    EXPECT_GT(w()->SplitCount, 0);
    EXPECT_GT(w()->SimCount, 0);
    EXPECT_TRUE(w()->DegenerateSheet->TabVisible());
    const QStringList s = Summary();
    const int degenerate = LineOf(s, "DEGENERATE INDEX");
    ASSERT_GT(degenerate, 0);
    const QStringList block = s.mid(degenerate);
    const int total = Value(block, "Number of times observed index < simulated indices = ").toInt() +
                      Value(block, "Number of times observed index = simulated indices = ").toInt() +
                      Value(block, "Number of times observed index > simulated indices = ").toInt();
    EXPECT_EQ(total, w()->SplitCount);
    EXPECT_NEAR(w()->split_meanP1 * w()->SplitCount,
                w()->split_gmean + w()->split_emean, 1e-9);
    EXPECT_EQ(Lines(w()->Split_MeanMemo)[5], "p(observed <= expected) = " + FloatToStr75(w()->split_meanP1));
}

TEST_F(Run, SavedMatricesOnePerIteration)
{
    SetMatrix({{1, 0, 1}, {0, 1, 1}, {1, 1, 0}});
    CoOccurrenceOpts->SaveMatrixCheckBox->SetChecked(true);
    SetOptions("3", "2");
    RunAnalysis();
    for (int i = 1; i <= 3; ++i) {
        const QByteArray bytes = FileBytes(QStringLiteral("Sim%1.txt").arg(i));
        EXPECT_TRUE(bytes.startsWith("species s1 s2 s3\r\nsp1 ")) << i;
    }
    EXPECT_FALSE(QFile::exists("Sim4.txt"));
}

TEST_F(Run, SummaryIsSavedAsEdited)
{
    SetMatrix({{1, 0, 1}, {0, 1, 1}, {1, 1, 0}});
    SetOptions("4", "2");
    RunAnalysis();
    w()->Memo1->Lines()->SetStrings(0, "annotated");
    TUiScript ui;
    ui.FileNameNext(dir.filePath("summary.txt"));
    w()->Summary1->Click();
    const QByteArray bytes = FileBytes("summary.txt");
    EXPECT_TRUE(bytes.startsWith("annotated\r\nRows = 3; Columns = 3\r\n"));
    EXPECT_TRUE(bytes.endsWith("sp3 1 1 0 \r\n"));
    EXPECT_EQ(ui.RecordsOf(TUiKind::SaveFile).at(0).Text, "Select a file name.");
}

TEST_F(Run, BatchModeAddsTheRowAndTheSummaryFile)
{
    SetMatrix({{1, 0, 1}, {0, 1, 1}, {1, 1, 0}});
    Tarvix->FileName = dir.filePath("a.txt");
    Tarvix->BatchSwitch = true;
    Tarvix->Flag = true;
    SetOptions("10", "2");
    CoOccurrence->Run();
    EXPECT_FALSE(CoOccurrence->Visible());
    EXPECT_FALSE(Progress->Visible());
    TStringGrid *b = Tarvix->BatchGrid;
    EXPECT_EQ(b->Cells(0, 0), "FileName");
    EXPECT_EQ(b->Cells(0, 1), "a.txt");
    EXPECT_EQ(b->Cells(1, 1), Value(Summary(), "Standardized Effect Size = "));
    EXPECT_EQ(b->Cells(2, 1), Value(Summary(), "p(observed <= expected) = "));
    EXPECT_EQ(b->Cells(3, 1), Value(Summary(), "p(observed >= expected) = "));
    EXPECT_TRUE(FileBytes("Summarya.txt").startsWith("Input file = "));
    EXPECT_TRUE(FileBytes("BatchSummary.txt").startsWith("FileName Standard-Effect LowerTailP UpperTailP\r\na.txt "));
}

TEST_F(Run, AbortStopsTheRunWithoutResults)
{
    SetMatrix({{1, 0, 1, 0}, {0, 1, 1, 0}, {1, 1, 0, 1}});
    Tarvix->BatchSwitch = true;
    Tarvix->Flag = true;
    SetOptions("100000", "2");
    QTimer::singleShot(20, [] { Progress->InterruptButton->Click(); });
    CoOccurrence->Run();
    EXPECT_TRUE(Tarvix->InterruptFlag);
    EXPECT_FALSE(Progress->Visible());
    EXPECT_EQ(Tarvix->BatchGrid->Cells(0, 1), "");
    EXPECT_TRUE(Lines(w()->Memo1).isEmpty());
    EXPECT_FALSE(QFile::exists("BatchSummary.txt"));
}

TEST_F(Run, UserWeightsMustMatchTheGrid)
{
    SetMatrix({{1, 0, 1}, {0, 1, 1}, {1, 1, 0}});
    WhileShown(CoOccurrenceUserDefined, [] {
        CoOccurrenceOpts->RowGroup->SetItemIndex(3);
        CoOccurrenceOpts->ColumnGroup->SetItemIndex(3);
    });
    SetOptions("5", "1");
    TUiScript ui;
    RunAnalysis();
    EXPECT_TRUE(ui.Messages().isEmpty()) << ui.Messages().join("|").toStdString();
    EXPECT_EQ(w()->SimCount, 5);
    EXPECT_EQ(Value(Summary(), "Row sums "), "user-defined.");

    SetMatrix({{1, 0, 1, 1}, {0, 1, 1, 0}, {1, 1, 0, 0}, {0, 0, 1, 1}});
    RunAnalysis();
    EXPECT_EQ(ui.Messages(), QStringList({"Column Count <> SitesWeightsGrid Row Count. Aborting simulation.",
                                          "Row Count <> SpeciesWeightsGrid Row Count. Aborting simulation."}));
    EXPECT_TRUE(Tarvix->InterruptFlag);
}

TEST_F(Run, PairTableOfManySpeciesIsTitledInFull)
{
    // More species than a fresh table has columns; sp3 has no presence.
    SetMatrix({{1, 1, 0, 0}, {0, 0, 1, 1}, {0, 0, 0, 0}, {1, 0, 1, 0}, {0, 1, 0, 1}, {1, 1, 1, 1}});
    SetOptions("5", "3");
    RunAnalysis();
    TStringGrid *g = w()->ResponseGrid;
    ASSERT_EQ(g->ColCount(), 7);
    ASSERT_EQ(g->RowCount(), 6);
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(g->Cells(k, 0), QStringLiteral("sp%1").arg(k)) << k;
    for (int k = 1; k <= 5; ++k) EXPECT_EQ(g->Cells(0, k), QStringLiteral("sp%1").arg(k)) << k;
    const struct { int col, row; const char *value; } cells[] = {
        {2, 1, "4.00000"}, {3, 1, "0.00000"}, {4, 1, "1.00000"}, {6, 1, "0.00000"}, {5, 2, "1.00000"},
        {4, 3, "0.00000"}, {5, 4, "4.00000"}, {6, 5, "0.00000"}};
    for (const auto &c : cells) EXPECT_EQ(g->Cells(c.col, c.row), c.value) << c.col << "," << c.row;
    TProStringGrid *p = w()->ProStringGrid1;
    ASSERT_EQ(p->RowCount(), 15);
    EXPECT_EQ(QStringList({p->Cells(0, 12), p->Cells(1, 12), p->Cells(2, 12)}), QStringList({"sp4", "sp5", "4.00000"}));
    EXPECT_EQ(QStringList({p->Cells(0, 14), p->Cells(1, 14), p->Cells(2, 14)}), QStringList({"sp5", "sp6", "0.00000"}));
    EXPECT_EQ(Lines(w()->MeanMemo)[0], "Observed index = 0.80000");
}

TEST_F(Run, SeedStartsTheGeneratorsWithNoOtherDrawsBetween)
{
    // Equiprobable rows and columns: every matrix is a fresh shuffle of the observed cells,
    // numbered site by site; from the last down to the second, cell k trades places with cell
    // Random(k).
    const std::vector<std::vector<int>> rows{{1, 1, 0, 0}, {0, 1, 1, 0}, {0, 0, 1, 1}};
    SetMatrix(rows);
    CoOccurrenceOpts->RowGroup->SetItemIndex(0);
    CoOccurrenceOpts->ColumnGroup->SetItemIndex(0);
    SetOptions("3", "5");
    RunAnalysis();
    RandSeed = 5;
    std::vector<std::vector<int>> q;
    for (int i = 0; i < 3; ++i) {
        q = rows;
        for (int k = 11; k >= 1; --k) {
            const int j = ::Random(k + 1);
            std::swap(q[k % 3][k / 3], q[j % 3][j / 3]);
        }
    }
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 4; ++c)
            EXPECT_EQ(w()->SimulationGrid->Cells(c, r), QString::number(q[r - 1][c - 1])) << c << "," << r;
}

namespace {

QStringList GridText(TStringGrid *G)
{
    QStringList t;
    for (int r = 0; r < G->RowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < G->ColCount(); ++c) row << G->Cells(c, r);
        t << row.join(QLatin1Char('|'));
    }
    return t;
}

} // namespace

// Under the sequential swap the run follows the index along the chain; every output must be
// what a full count of each matrix gives, byte for byte.
TEST_F(Run, FollowingTheSwapChainChangesNoOutput)
{
    // sp2 and site s5 are empty; the full matrix has no empty line.
    const std::vector<std::vector<int>> withEmpty{
        {1, 1, 0, 0, 0, 1, 0}, {0, 0, 0, 0, 0, 0, 0}, {0, 1, 1, 0, 0, 1, 1},
        {1, 0, 1, 1, 0, 0, 1}, {0, 0, 0, 1, 0, 1, 1}, {1, 1, 0, 1, 0, 0, 0}};
    const std::vector<std::vector<int>> noEmpty{
        {1, 1, 0, 0, 1}, {0, 1, 1, 0, 0}, {1, 0, 1, 1, 0}, {0, 0, 0, 1, 1}, {1, 1, 1, 0, 0}};
    struct
    {
        int range, index, degenerate, pattern;
        bool empties;
    } cases[] = {
        {0, 0, 0, 1, true}, {0, 1, 0, 1, true}, {0, 2, 0, 1, true}, {0, 2, 0, 0, true}, {0, 3, 0, 1, true},
        {1, 0, 0, 1, true}, {1, 1, 0, 0, true}, {1, 2, 0, 1, true}, {0, 0, 2, 1, true}, {1, 0, 2, 0, true},
        {0, 0, 1, 1, false}, {0, 0, 3, 1, false}, {0, 2, 3, 0, false},
    };
    CoOccurrenceOpts->SaveMatrixCheckBox->SetChecked(true);
    SetOptions("40", "17");
    for (const auto &k : cases) {
        SCOPED_TRACE(testing::Message() << "range " << k.range << " index " << k.index << " degenerate "
                                        << k.degenerate << " pattern " << k.pattern << (k.empties ? " empties" : ""));
        SetMatrix(k.empties ? withEmpty : noEmpty);
        Tarvix->RangeCoOccurrence = k.range;
        (k.range ? CoOccurrenceOpts->RangeList : CoOccurrenceOpts->IndexList)->SetItemIndex(k.index);
        CoOccurrenceOpts->DegenerateGroup->SetItemIndex(k.degenerate);
        CoOccurrenceOpts->PatternGroup->SetItemIndex(k.pattern);
        QStringList outputs[2];
        for (int follow = 0; follow < 2; ++follow) {
            w()->FollowSwapChain = follow == 1;
            TUiScript ui;
            RunAnalysis();
            ASSERT_TRUE(ui.Messages().isEmpty()) << ui.Messages().join("|").toStdString();
            QStringList &o = outputs[follow];
            o << Summary() << Lines(w()->MeanMemo) << Lines(w()->Split_MeanMemo) << w()->ObservedMeanMemo->Text()
              << Lines(w()->MeanHistogramMemo2) << GridText(w()->ResponseGrid) << GridText(w()->ProStringGrid1)
              << GridText(w()->SimulationGrid) << QString::number(w()->SimCount) << QString::number(w()->SplitCount);
            for (int32_t v : Tarvix->info_Mat) o << QString::number(v);
            for (int i = 1; i <= 40; ++i) o << QString::fromLatin1(FileBytes(QStringLiteral("Sim%1.txt").arg(i)));
        }
        EXPECT_EQ(outputs[1], outputs[0]);
    }
    w()->FollowSwapChain = true;
}
