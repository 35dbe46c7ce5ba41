// Species overlap: its dialog's differences, its run on the guild fixture, limits, the four
// randomizations as the run applies them, the summary and the group table's files.
#include "tests/tarvix/guild/Fixture.h"
#include "models/presence_absence/SpeciesOverlapMain.h"
#include "models/presence_absence/SpeciesOverlapOpts.h"

#include <QDir>
#include <QFileInfo>

class SpeciesOverlapRun : public GroupFixture
{
protected:
    void SetUp() override
    {
        GroupFixture::SetUp();
        SpeciesOverlapOpts = create<TSpeciesOverlapOpts>();
        SpeciesOverlap = create<TSpeciesOverlap>();
        LinkAnalyses();
    }
    void TearDown() override
    {
        destroy(SpeciesOverlap);
        destroy(SpeciesOverlapOpts);
        GroupFixture::TearDown();
    }
    static TSpeciesOverlap *w() { return SpeciesOverlap; }
    static TSpeciesOverlapOpts *o() { return SpeciesOverlapOpts; }
    static QStringList Summary() { return Lines(w()->Memo1); }
    static QString InBlock(const QStringList &S, const QString &Title, const QString &Prefix)
    {
        return Value(S, Prefix, static_cast<int>(S.indexOf(Title)));
    }
    // The data cells of the work grid as the simulation page shows them after a run.
    static std::vector<QStringList> SimulatedRows()
    {
        std::vector<QStringList> rows;
        for (int r = 1; r < w()->SimulationGrid->RowCount(); ++r) rows.push_back(TableRow(w()->SimulationGrid, r).mid(1));
        return rows;
    }
};

TEST_F(SpeciesOverlapRun, DialogDiffersInItsListsAndReset)
{
    EXPECT_EQ(o()->Caption(), "Tarvix Professional: Species Overlap Options");
    EXPECT_EQ(o()->IndexList->Items()->ToStringList(), QStringList({"Relative Overlap", "Union", "Overlap"}));
    EXPECT_FALSE(o()->Grouping->Visible());
    EXPECT_FALSE(o()->FavoredStatesCheckBox->Visible());
    ASSERT_NE(o()->RandomizationGroup, nullptr);
    EXPECT_EQ(o()->RandomizationGroup->Items()->ToStringList(),
              QStringList({"Equiprobable", "Fixed Species", "Fixed Sites", "Fixed Species and Sites"}));
    EXPECT_EQ(o()->RandomizationGroup->ItemIndex(), 1);
    // Five digits at most.
    o()->IterationsEdit->SetText("123456");
    EXPECT_EQ(o()->IterationsEdit->Text().trimmed(), "12345");
    o()->RandomizationGroup->SetItemIndex(0);
    o()->IndexList->SetItemIndex(2);
    o()->ResetDefaults1->Click();
    EXPECT_EQ(o()->RandomizationGroup->ItemIndex(), 1);
    EXPECT_EQ(o()->IndexList->ItemIndex(), 0);
}

TEST_F(SpeciesOverlapRun, GuildFixtureUnderEachIndex)
{
    // a: 1100 / 0011; b: 1100 / 1100 / 0011.
    struct Case
    {
        int index;
        const char *a, *b, *observed, *variance, *name;
    };
    const Case cases[] = {
        {0, "0.00000", "0.33333", "0.16667", "0.05556", "Relative Overlap"},
        {1, "4.00000", "3.33333", "3.66667", "0.22222", "Union"},
        {2, "0.00000", "0.66667", "0.33333", "0.22222", "Raw Overlap"},
    };
    SetGuilds();
    SetOptions(o(), "20", "3");
    for (const Case &c : cases) {
        o()->IndexList->SetItemIndex(c.index);
        RunAnalysis(w());
        TStringGrid *t = w()->GuildsRegionsGrid;
        EXPECT_EQ(TableRow(t, 0)[0], "Groups");
        EXPECT_EQ(TableRow(t, 1).mid(0, 3), QStringList({"a", "2", c.a})) << c.name;
        EXPECT_EQ(TableRow(t, 2).mid(0, 3), QStringList({"b", "3", c.b})) << c.name;
        const QStringList s = Summary();
        EXPECT_EQ(InBlock(s, "INDEX", "Observed index = "), c.observed) << c.name;
        EXPECT_EQ(InBlock(s, "VARIANCE", "Observed index = "), c.variance) << c.name;
        EXPECT_EQ(s[6], QStringLiteral("Index = ") + c.name);
    }
    const QStringList s = Summary();
    EXPECT_EQ(s.mid(4, 4), QStringList({"Grouping by species (rows).", "Number of groups = 2", "Index = Raw Overlap",
                                        "Randomization Algorithm = Fixed Species"}));
    EXPECT_FALSE(s.contains("FAVORED STATES"));
    EXPECT_FALSE(w()->FavoredStatesSheet->TabVisible());
    const int table = static_cast<int>(s.indexOf("SPECIES OVERLAP/UNION:"));
    ASSERT_GT(table, 0);
    EXPECT_TRUE(s[table + 2].startsWith("Groups Number of Observations "));
    EXPECT_EQ(s[table + 7], "INPUT MATRIX:");
    // The variance block is followed directly by the group table.
    EXPECT_EQ(s[table - 2], QString(46, '_'));
    EXPECT_EQ(s[table - 3], "  ");
}

TEST_F(SpeciesOverlapRun, Limits)
{
    struct Case
    {
        int rows, cols;
        const char *iterations;
        const char *message;
        bool interrupts;
    };
    const Case cases[] = {
        {2, 5, "10", "At least 2 rows of data required for grouping.", true},
        {3, 2, "10", nullptr, false},
        {302, 801, "10", "4 < Cell limit < 241101, e.g. 301x801.", false},
        {3, 3, "99999", nullptr, false},
        {3, 3, "100000", "Iterations must be < 100,000.", true},
        {3, 3, "0", "Iterations must be > 0.", true},
    };
    for (const Case &c : cases) {
        Tarvix->MainGrid->SetRowCount(c.rows);
        Tarvix->MainGrid->SetColCount(c.cols);
        // The dialog takes five digits; a longer count can only come from elsewhere, and the
        // run still refuses it.
        o()->IterationsEdit->SetEditMask(QString());
        o()->IterationsEdit->SetText(QString::fromLatin1(c.iterations));
        Tarvix->InterruptFlag = false;
        TUiScript ui;
        const bool ok = w()->Init();
        const std::string where = QStringLiteral("%1 x %2, %3").arg(c.rows).arg(c.cols).arg(c.iterations).toStdString();
        EXPECT_EQ(ok, c.message == nullptr) << where;
        EXPECT_EQ(ui.Messages(), c.message ? QStringList(QString::fromLatin1(c.message)) : QStringList()) << where;
        EXPECT_EQ(Tarvix->InterruptFlag, c.interrupts) << where;
    }
}

TEST_F(SpeciesOverlapRun, EachRandomizationKeepsItsMargins)
{
    const QStringList labels{"a", "a", "b", "b", "c", "c"};
    const QStringList rows{"10110", "01100", "11001", "00011", "10000", "11110"};
    const auto count = [](const QStringList &cells) { return static_cast<int>(cells.count("1")); };
    const std::vector<QStringList> data = [&] {
        std::vector<QStringList> d;
        for (const QString &r : rows) {
            QStringList cells;
            for (QChar ch : r) cells << QString(ch);
            d.push_back(cells);
        }
        return d;
    }();
    // Site c of every row; Offset 1 skips the label of a simulated row.
    const auto column = [](const std::vector<QStringList> &d, int c, int Offset) {
        QStringList cells;
        for (const QStringList &row : d) cells << row[c + Offset];
        return cells;
    };
    SetGroups(labels, rows);
    SetOptions(o(), "25", "6");
    for (int item = 0; item < 4; ++item) {
        o()->RandomizationGroup->SetItemIndex(item);
        RunAnalysis(w());
        const std::vector<QStringList> sim = SimulatedRows();
        ASSERT_EQ(sim.size(), 6u);
        int grand = 0;
        QStringList simLabels;
        for (int r = 0; r < 6; ++r) {
            grand += count(sim[r].mid(1));
            simLabels << sim[r][0];
            if (item == 2) {
                EXPECT_EQ(count(sim[r].mid(1)), count(data[r])) << "row " << r;
            }
            if (item == 3) {
                EXPECT_EQ(sim[r].mid(1), data[r]) << "row " << r;
            }
        }
        for (int c = 0; c < 5; ++c)
            if (item == 1) {
                EXPECT_EQ(count(column(sim, c, 1)), count(column(data, c, 0))) << "column " << c;
            }
        EXPECT_EQ(grand, 15) << item;
        if (item == 3) {
            simLabels.sort();
            EXPECT_EQ(simLabels, labels);
        } else {
            EXPECT_EQ(simLabels, labels) << item;
        }
        EXPECT_EQ(Value(Summary(), "Randomization Algorithm = "),
                  QStringList({"Equiprobable", "Fixed Species", "Fixed Sites", "Fixed Species and Sites"})[item]);
    }
}

// A single data column: "Fixed Sites" runs to its end with every row as it was, and
// "Equiprobable" is the column shuffle alone.
TEST_F(SpeciesOverlapRun, SingleDataColumnRunsEveryRandomization)
{
    SetGroups({"a", "a", "b", "b"}, {"1", "0", "1", "1"});
    SetOptions(o(), "30", "4");
    TUiScript ui;
    o()->RandomizationGroup->SetItemIndex(2);
    RunAnalysis(w());
    EXPECT_EQ(w()->Engine.Completed, 30);
    const std::vector<QStringList> same = SimulatedRows();
    EXPECT_EQ(same, (std::vector<QStringList>{{"a", "1"}, {"a", "0"}, {"b", "1"}, {"b", "1"}}));
    o()->RandomizationGroup->SetItemIndex(0);
    RunAnalysis(w());
    EXPECT_EQ(w()->Engine.Completed, 30);
    int total = 0;
    for (const QStringList &row : SimulatedRows()) total += row[1].toInt();
    EXPECT_EQ(total, 3);
    EXPECT_TRUE(ui.Messages().isEmpty());
}

TEST_F(SpeciesOverlapRun, SeedRepeatsTheSummaryAndTheBatchRowCarriesTheMean)
{
    SetGroups({"a", "b", "a", "b", "c", "c"}, {"1100", "0110", "1010", "0011", "1001", "0101"});
    SetOptions(o(), "150", "5");
    o()->RandomizationGroup->SetItemIndex(0);
    RunAnalysis(w());
    const QStringList first = Summary();
    RunAnalysis(w());
    const QStringList s = Summary();
    EXPECT_EQ(first, s);
    TStringGrid *b = Tarvix->BatchGrid;
    EXPECT_EQ(b->Cells(1, 1), InBlock(s, "INDEX", "Standardized Effect Size = "));
    EXPECT_EQ(b->Cells(2, 1), InBlock(s, "INDEX", "p(observed <= expected) = "));
    EXPECT_EQ(b->Cells(3, 1), InBlock(s, "INDEX", "p(observed >= expected) = "));
}

TEST_F(SpeciesOverlapRun, GroupTableFiles)
{
    SetGuilds();
    SetOptions(o(), "10", "2");
    RunAnalysis(w());
    // Titles holding blanks are written quoted, so each reads back as one cell.
    const QStringList header{
        "Groups \"Number of Observations\" \"Observed Index\" \"Mean/Simulated indices\" \"Var/Simulated indices\""};
    TUiScript ui;
    ui.FileNameNext(dir.filePath("groups.txt"));
    w()->Comma1->Click();
    const QList<QByteArray> lines = FileBytes("groups.txt").split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], header[0].toLatin1() + "\r");
    EXPECT_TRUE(lines[1].startsWith("a 2 0.00000 ")) << lines[1].constData();
    EXPECT_TRUE(lines[2].startsWith("b 3 0.33333 ")) << lines[2].constData();
    EXPECT_EQ(ui.RecordsOf(TUiKind::SaveFile).at(0).Text, "Select a file name.");

    ui.FileNameNext(dir.filePath("groups.csv"));
    w()->CommaDelimitedtxt1->Click();
    EXPECT_TRUE(FileBytes("groups.csv").startsWith("Groups,\"Number of Observations\",\"Observed Index\","))
        << FileBytes("groups.csv").constData();

    // A folder in the file's place cannot be written: one message, the table as it was.
    QDir(dir.path()).mkdir("locked.txt");
    const QStringList before = TableRow(w()->GuildsRegionsGrid, 1);
    ui.FileNameNext(dir.filePath("locked.txt"));
    w()->Comma1->Click();
    EXPECT_EQ(ui.Messages().count("Error writing file."), 1);
    EXPECT_EQ(TableRow(w()->GuildsRegionsGrid, 1), before);
    EXPECT_TRUE(QFileInfo(dir.filePath("locked.txt")).isDir());
    EXPECT_EQ(w()->Excelxls1->Caption(), "Excel (.xls)");
}

// Without data columns every group's value is 0, and every randomization has nothing to move.
TEST_F(SpeciesOverlapRun, LabelsWithoutDataRunToTheEnd)
{
    SetGroups({"a", "a", "b", "b"}, {"1", "0", "1", "1"});
    Tarvix->MainGrid->SetColCount(2);
    SetOptions(o(), "10", "1");
    for (int item = 0; item < 4; ++item) {
        o()->RandomizationGroup->SetItemIndex(item);
        RunAnalysis(w());
        EXPECT_EQ(w()->Engine.Completed, 10) << item;
        EXPECT_EQ(InBlock(Summary(), "INDEX", "Observed index = "), "0.00000") << item;
    }
}
