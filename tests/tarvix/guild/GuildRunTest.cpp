// Guild structure from the main grid to the results window: its limits, statistics, tables,
// summary, files and batch row.
#include "tests/tarvix/guild/Fixture.h"

#include "framework/rtl/System.h"
#include "workspace/TarvixHelpers.h"

class GuildRun : public GroupFixture
{
protected:
    static TGuildStructure *w() { return GuildStructure; }
    static TGuildStructureOpts *o() { return GuildStructureOpts; }
    static QStringList Summary() { return Lines(w()->Memo1); }
    // The value of Prefix in the block titled Title.
    static QString InBlock(const QStringList &S, const QString &Title, const QString &Prefix)
    {
        return Value(S, Prefix, static_cast<int>(S.indexOf(Title)));
    }
};

TEST_F(GuildRun, FixtureGivesTheGroupTableAndObservedStatistics)
{
    SetGuilds();
    o()->FavoredStatesCheckBox->SetChecked(true);
    SetOptions(o(), "50", "7");
    TUiScript ui;
    RunAnalysis(w());
    EXPECT_TRUE(ui.Messages().isEmpty()) << ui.Messages().join("|").toStdString();
    TStringGrid *t = w()->GuildsRegionsGrid;
    ASSERT_EQ(t->RowCount(), 3);
    ASSERT_EQ(t->ColCount(), 5);
    EXPECT_EQ(TableRow(t, 0), QStringList({"Guild", "Number of Observations", "Observed Index", "Mean/Simulated indices",
                                           "Var/Simulated indices"}));
    EXPECT_EQ(TableRow(t, 1).mid(0, 3), QStringList({"a", "2", "4.00000"}));
    EXPECT_EQ(TableRow(t, 2).mid(0, 3), QStringList({"b", "3", "2.66667"}));

    const QStringList s = Summary();
    EXPECT_EQ(InBlock(s, "INDEX", "Observed index = "), "3.33333");
    EXPECT_EQ(InBlock(s, "VARIANCE", "Observed index = "), "0.88889");
    EXPECT_EQ(InBlock(s, "FAVORED STATES", "Observed index = "), "4.00000");
    EXPECT_EQ(s.mid(4, 4), QStringList({"Grouping by guild (rows).", "Guild number = 2", "Index = C-score",
                                        "Favored States Analysis = True"}));
    EXPECT_EQ(s[8], QString(46, '_'));
    EXPECT_EQ(s[10], "INDEX");
    EXPECT_EQ(Lines(w()->MeanMemo)[0], "Observed index = 3.33333");
    EXPECT_EQ(Lines(w()->VarianceMemo)[0], "Observed index = 0.88889");
    EXPECT_EQ(Lines(w()->FavoredStatesMemo)[0], "Observed index = 4.00000");
    EXPECT_TRUE(w()->ObservedMeanMemo->Text().endsWith("3.33333.................>"));
    EXPECT_TRUE(w()->FavoredStatesSheet->TabVisible());
    EXPECT_FALSE(w()->PairwiseSheet->TabVisible());
    EXPECT_EQ(w()->PageControl1->ActivePage(), w()->InputSheet);

    // The group table follows in the summary, then the input matrix.
    const int table = static_cast<int>(s.indexOf("GUILDS / REGIONS:"));
    ASSERT_GT(table, 0);
    EXPECT_EQ(s[table + 2], "Guild Number of Observations Observed Index Mean/Simulated indices Var/Simulated indices ");
    EXPECT_TRUE(s[table + 3].startsWith("a 2 4.00000 "));
    EXPECT_EQ(s[table + 5], QString(46, '_'));
    EXPECT_EQ(s[table + 7], "INPUT MATRIX:");
    EXPECT_EQ(s[table + 9], "species guild s1 s2 s3 s4 ");
    EXPECT_EQ(s.last(), "sp5 b 0 0 1 1 ");
}

// Every simulated value is a mean over labels that move, so the group means are averages of
// a and b values; the tail counts add up to the iterations and the histogram holds them all.
TEST_F(GuildRun, SimulatedStatisticsAreConsistent)
{
    SetGuilds();
    o()->FavoredStatesCheckBox->SetChecked(true);
    SetOptions(o(), "300", "11");
    RunAnalysis(w());
    const QStringList s = Summary();
    for (const char *block : {"INDEX", "VARIANCE", "FAVORED STATES"}) {
        const int less = InBlock(s, block, "Number of times observed index < simulated indices = ").toInt();
        const int equal = InBlock(s, block, "Number of times observed index = simulated indices = ").toInt();
        const int greater = InBlock(s, block, "Number of times observed index > simulated indices = ").toInt();
        EXPECT_EQ(less + equal + greater, 300) << block;
        EXPECT_EQ(InBlock(s, block, "p(observed <= expected) = "), FloatToStr75((greater + equal) / 300.0)) << block;
        EXPECT_EQ(InBlock(s, block, "p(observed >= expected) = "), FloatToStr75((less + equal) / 300.0)) << block;
        const int freq = static_cast<int>(s.indexOf("Simulation frequencies:", static_cast<int>(s.indexOf(block))));
        int binned = 0;
        for (int k = freq + 3; k <= freq + 14; ++k) binned += s[k].section(' ', -1).toInt();
        EXPECT_EQ(binned, 300) << block;
    }
    // Each simulated mean statistic averages the two group values, so the mean over the run is
    // the average of the groups' own means.
    double sum = 0;
    for (double m : w()->m_guildregion) sum += m;
    EXPECT_NEAR(sum / 2, w()->mmeans, 1e-9);
    EXPECT_EQ(w()->Engine.Completed, 300);
}

TEST_F(GuildRun, LimitsAtTheirBoundaries)
{
    struct Case
    {
        int rows, cols, grouping;
        const char *iterations;
        const char *message;  // nullptr: accepted
        bool interrupts;
    };
    const Case cases[] = {
        {301, 801, 0, "10", nullptr, false},
        {2, 120551, 0, "10", "4 < Cell limit < 241101, e.g. 301x801.", false},
        {302, 801, 0, "10", "4 < Cell limit < 241101, e.g. 301x801.", false},
        {1, 3, 0, "10", "4 < Cell limit < 241101, e.g. 301x801.", false},
        {4, 6, 0, "10", "At least 4 rows of data required for guild grouping.", true},
        {5, 3, 0, "10", nullptr, false},
        {9, 4, 1, "10", "At least 4 columns required for region grouping.", true},
        {3, 5, 1, "10", nullptr, false},
        {6, 6, 0, "49999", nullptr, false},
        {6, 6, 0, "50000", "Iterations must be < 50000.", true},
        {6, 6, 0, "0", "Iterations must be > 0.", true},
        {6, 6, 0, "", "Iterations must be > 0.", true},
    };
    for (const Case &c : cases) {
        Tarvix->MainGrid->SetRowCount(c.rows);
        Tarvix->MainGrid->SetColCount(c.cols);
        o()->Grouping->SetItemIndex(c.grouping);
        o()->IterationsEdit->SetText(QString::fromLatin1(c.iterations));
        Tarvix->InterruptFlag = false;
        TUiScript ui;
        const bool ok = w()->Init();
        const std::string where = QStringLiteral("%1 x %2 by %3, %4").arg(c.rows).arg(c.cols).arg(c.grouping).arg(c.iterations).toStdString();
        EXPECT_EQ(ok, c.message == nullptr) << where;
        EXPECT_EQ(ui.Messages(), c.message ? QStringList(QString::fromLatin1(c.message)) : QStringList()) << where;
        EXPECT_EQ(Tarvix->InterruptFlag, c.interrupts) << where;
    }
}

TEST_F(GuildRun, SingleLabelStopsBeforeAnySimulation)
{
    SetGroups({"a", "a", "b", "c", "c"}, {"10", "01", "11", "10", "01"});
    SetOptions(o(), "20", "1");
    TUiScript ui;
    RunAnalysis(w());
    EXPECT_EQ(ui.Messages(), QStringList("Each guild must contain at least 2 species."));
    EXPECT_TRUE(Tarvix->InterruptFlag);
    EXPECT_FALSE(Progress->Visible());
    EXPECT_TRUE(Summary().isEmpty());
    EXPECT_EQ(Tarvix->BatchGrid->Cells(0, 1), "");

    // Regions: labels in row 1, one of them used once.
    TProStringGrid *g = Tarvix->MainGrid;
    g->SetColCount(6);
    for (int c = 1; c <= 5; ++c) g->SetCells(c, 1, QStringLiteral("rrsst").mid(c - 1, 1));
    o()->Grouping->SetItemIndex(1);
    Tarvix->InterruptFlag = false;
    RunAnalysis(w());
    EXPECT_EQ(ui.Messages().last(), "Each region must contain at least 2 sites.");
    EXPECT_TRUE(Tarvix->InterruptFlag);
}

TEST_F(GuildRun, EmptyGroupStopsTheRun)
{
    // Observed: guild b holds no presence.
    SetGroups({"a", "a", "b", "b"}, {"10", "01", "00", "00"});
    SetOptions(o(), "20", "1");
    TUiScript ui;
    RunAnalysis(w());
    EXPECT_EQ(ui.Messages(), QStringList("Row and Column Totals = 0."));
    EXPECT_TRUE(Tarvix->InterruptFlag);
    EXPECT_TRUE(Summary().isEmpty());

    // Simulated: the shuffle soon puts both empty rows into one guild; the run ends without
    // results but leaves the stop request alone, so a batch would go on.
    SetGroups({"a", "a", "b", "b"}, {"10", "00", "01", "00"});
    Tarvix->InterruptFlag = false;
    SetOptions(o(), "200", "3");
    RunAnalysis(w());
    EXPECT_EQ(ui.Messages().last(), "Row and Column Totals = 0.");
    EXPECT_EQ(ui.Messages().size(), 2);
    EXPECT_FALSE(Tarvix->InterruptFlag);
    EXPECT_FALSE(Progress->Visible());
    EXPECT_TRUE(Summary().isEmpty());
}

TEST_F(GuildRun, RegionGroupingWithFavoredStatesCheckedComputesNone)
{
    // Row 1 holds the regions r r s s; below it three species.
    TProStringGrid *g = Tarvix->MainGrid;
    const QStringList rows{"species s1 s2 s3 s4", "region r r s s", "sp1 1 0 1 1", "sp2 0 1 0 0", "sp3 1 1 1 0"};
    g->SetRowCount(5);
    g->SetColCount(5);
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 5; ++c) g->SetCells(c, r, rows[r].split(' ')[c]);
    o()->Grouping->SetItemIndex(1);
    o()->FavoredStatesCheckBox->SetChecked(true);
    SetOptions(o(), "40", "2");
    RunAnalysis(w());
    const QStringList s = Summary();
    EXPECT_EQ(s.mid(4, 4), QStringList({"Grouping by region (columns).", "Region number = 2", "Index = C-score",
                                        "Favored States Analysis = True"}));
    EXPECT_FALSE(w()->FavoredStatesSheet->TabVisible());
    EXPECT_EQ(w()->GuildsRegionsGrid->Cells(0, 0), "Region");
    // r: 10 / 01 / 11 -> 1/3; s: 11 / 00 / 10 -> 0.
    EXPECT_EQ(TableRow(w()->GuildsRegionsGrid, 1).mid(0, 3), QStringList({"r", "2", "0.33333"}));
    EXPECT_EQ(TableRow(w()->GuildsRegionsGrid, 2).mid(0, 3), QStringList({"s", "2", "0.00000"}));
    // The favored-states block of a run that counted none: all zero, every simulation equal,
    // its histogram lines empty.
    const int fs = static_cast<int>(s.indexOf("FAVORED STATES"));
    ASSERT_GT(fs, 0);
    EXPECT_EQ(s.mid(fs + 1, 5), QStringList({"Observed index = 0.00000", "Mean of simulated indices = 0.00000",
                                             "Variance of simulated indices = 0.00000",
                                             "p(observed <= expected) = 1.00000", "p(observed >= expected) = 1.00000"}));
    EXPECT_EQ(Value(s, "Number of times observed index = simulated indices = ", fs), "40");
    EXPECT_EQ(Value(s, "Standardized Effect Size = ", fs), "0.00000");
    for (int k = fs + 14; k < fs + 28; ++k) EXPECT_EQ(s[k], "  ") << k;
    EXPECT_TRUE(Lines(w()->FavoredStatesHistogramMemo2).isEmpty());
}

TEST_F(GuildRun, SeedRepeatsTheRunAndTheBatchRowCarriesTheMeanStatistic)
{
    SetGroups({"a", "b", "a", "b", "c", "c"}, {"1100", "0110", "1010", "0011", "1001", "0101"});
    o()->FavoredStatesCheckBox->SetChecked(true);
    SetOptions(o(), "200", "5");
    RunAnalysis(w());
    const QStringList first = Summary();
    RunAnalysis(w());
    const QStringList s = Summary();
    EXPECT_EQ(first, s);
    EXPECT_EQ(s[3], "Random seed = 5");
    TStringGrid *b = Tarvix->BatchGrid;
    EXPECT_EQ(b->Cells(0, 1), "Untitled.txt");
    EXPECT_EQ(b->Cells(1, 1), InBlock(s, "INDEX", "Standardized Effect Size = "));
    EXPECT_EQ(b->Cells(2, 1), InBlock(s, "INDEX", "p(observed <= expected) = "));
    EXPECT_EQ(b->Cells(3, 1), InBlock(s, "INDEX", "p(observed >= expected) = "));
    // The mean statistic differs from the variance one here, so the row is the mean's.
    EXPECT_NE(InBlock(s, "INDEX", "Standardized Effect Size = "), InBlock(s, "VARIANCE", "Standardized Effect Size = "));
}

// Two groups with identical sub-matrices: the observed variance statistic is 0.
TEST_F(GuildRun, IdenticalGroupsHaveNoVariance)
{
    SetGroups({"a", "a", "b", "b"}, {"110", "011", "110", "011"});
    SetOptions(o(), "30", "4");
    RunAnalysis(w());
    const QStringList s = Summary();
    EXPECT_EQ(InBlock(s, "VARIANCE", "Observed index = "), "0.00000");
    // Every label arrangement gives either two copies of the same pair or two identical
    // pairs, so the simulated variance statistics are 0 too, and so is the effect size.
    EXPECT_EQ(InBlock(s, "VARIANCE", "Standardized Effect Size = "), "0.00000");
}

TEST_F(GuildRun, SavedMatricesAreTheShuffledWorkGrid)
{
    SetGroups({"a", "a", "b", "b", "b"}, {"12", "0x", "10", "-1", "01"});
    Tarvix->MainGrid->SetCells(2, 5, " 1");
    o()->SaveMatrixCheckBox->SetChecked(true);
    SetOptions(o(), "3", "2");
    RunAnalysis(w());
    for (int i = 1; i <= 3; ++i) {
        const QList<QByteArray> lines = FileBytes(QStringLiteral("Sim%1.txt").arg(i)).split('\n');
        ASSERT_EQ(lines.size(), 7) << i;
        EXPECT_EQ(lines[0], "species guild s1 s2\r");
        QList<QByteArray> labels;
        for (int r = 1; r <= 5; ++r) {
            const QList<QByteArray> cells = lines[r].chopped(1).split(' ');
            EXPECT_EQ(cells[0], "sp" + QByteArray::number(r));
            labels << cells[1];
        }
        EXPECT_EQ(lines[1].mid(lines[1].indexOf(' ', 4)), " 1 2\r");
        EXPECT_EQ(lines[4], "sp4 " + labels[3] + " - 1\r");
        // A cell holding a blank is written quoted, so it reads back as one cell.
        EXPECT_EQ(lines[5], "sp5 " + labels[4] + " \" 1\" 1\r");
        std::sort(labels.begin(), labels.end());
        EXPECT_EQ(labels, QList<QByteArray>({"a", "a", "b", "b", "b"})) << i;
    }
    EXPECT_FALSE(QFile::exists("Sim4.txt"));
    // After the run the simulation page shows the last arrangement, texts as they were.
    EXPECT_EQ(w()->SimulationGrid->Cells(2, 5), " 1");
    EXPECT_EQ(w()->SimulationGrid->Cells(1, 0), "guild");
    EXPECT_EQ(FileBytes("Sim3.txt").split('\n')[2].split(' ')[1], w()->SimulationGrid->Cells(1, 2).toLatin1());
}

TEST_F(GuildRun, SummaryIsSavedAsEdited)
{
    SetGuilds();
    SetOptions(o(), "4", "2");
    RunAnalysis(w());
    w()->Memo1->Lines()->SetStrings(0, "annotated");
    TUiScript ui;
    ui.FileNameNext(dir.filePath("summary.txt"));
    w()->SuMmary1->Click();
    const QByteArray bytes = FileBytes("summary.txt");
    EXPECT_TRUE(bytes.startsWith("annotated\r\nRows = 5; Columns = 5\r\n"));
    EXPECT_TRUE(bytes.endsWith("sp5 b 0 0 1 1 \r\n"));
    const TUiRecord dialog = ui.RecordsOf(TUiKind::SaveFile).at(0);
    EXPECT_EQ(dialog.Text, "Select a file name.");
}

TEST_F(GuildRun, BatchModeSavesTheSummaryAndTheTable)
{
    SetGuilds();
    Tarvix->FileName = dir.filePath("g.txt");
    Tarvix->BatchSwitch = true;
    Tarvix->Flag = true;
    SetOptions(o(), "10", "2");
    w()->Run();
    EXPECT_FALSE(w()->Visible());
    EXPECT_FALSE(Progress->Visible());
    EXPECT_EQ(Tarvix->BatchGrid->Cells(0, 1), "g.txt");
    EXPECT_TRUE(FileBytes("Summaryg.txt").startsWith("Input file = "));
    EXPECT_TRUE(FileBytes("BatchSummary.txt").startsWith("FileName Standard-Effect LowerTailP UpperTailP\r\ng.txt "));
}

TEST_F(GuildRun, AbortStopsTheRunWithoutResults)
{
    SetGuilds();
    // In batch mode a run that was not stopped would not wait for its window.
    Tarvix->BatchSwitch = true;
    Tarvix->Flag = true;
    SetOptions(o(), "49999", "2");
    QTimer::singleShot(20, [] { Progress->InterruptButton->Click(); });
    w()->Run();
    EXPECT_TRUE(Tarvix->InterruptFlag);
    EXPECT_FALSE(Progress->Visible());
    EXPECT_TRUE(Summary().isEmpty());
    EXPECT_EQ(Tarvix->BatchGrid->Cells(0, 1), "");
    EXPECT_FALSE(QFile::exists("BatchSummary.txt"));
}

// Grids without a label row or without data columns end with a message, never read past the grid.
TEST_F(GuildRun, GridsWithoutLabelsOrDataEndWithAMessage)
{
    TProStringGrid *g = Tarvix->MainGrid;
    g->SetRowCount(1);
    g->SetColCount(6);
    o()->Grouping->SetItemIndex(1);
    SetOptions(o(), "5", "1");
    TUiScript ui;
    RunAnalysis(w());
    EXPECT_EQ(ui.Messages(), QStringList("Row and Column Totals = 0."));

    SetGuilds();
    g->SetColCount(2);
    o()->Grouping->SetItemIndex(0);
    RunAnalysis(w());
    EXPECT_EQ(ui.Messages().value(1), "Row and Column Totals = 0.");
    EXPECT_TRUE(Summary().isEmpty());
}
