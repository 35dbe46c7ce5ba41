// The options dialog, the weights dialog with its file, and the Analyze command.
#include "tests/tarvix/niche/Fixture.h"
#include "workspace/WeightsTable.h"

namespace {

QStringList Column(TStringGrid *g, int c)
{
    QStringList out;
    for (int r = 0; r < g->RowCount(); ++r) out << g->Cells(c, r);
    return out;
}

} // namespace

class Options : public NicheFixture
{
protected:
    void SetUp() override
    {
        NicheFixture::SetUp();
        SetMatrix({{"1", "0"}, {"0", "1"}, {"1", "1"}});
    }
    static TNicheOverlapOpts *o() { return NicheOverlapOpts; }
    static TNicheOverlapUserDefined *u() { return NicheOverlapUserDefined; }
    static TStringGrid *sites() { return NicheOverlapUserDefined->SitesWeightsGrid; }
    // Shows the weights dialog and runs Step while it is up.
    static void Edit(const std::function<void()> &Step)
    {
        WhileShown(u(), [] { u()->ShowModal(); }, Step);
    }
};

TEST_F(Options, ResetDefaultsKeepsTheDataFile)
{
    EXPECT_EQ(o()->Caption(), "Tarvix Professional: Niche Overlap Options");
    EXPECT_EQ(o()->PageControl1->ActivePage(), o()->GeneralSheet);
    EXPECT_EQ(o()->IterationsEdit->Text().trimmed(), "1000");
    Tarvix->FileName = Path("data.txt");
    WhileShown(o(), [] { o()->ShowModal(); });
    EXPECT_EQ(o()->FileEdit->Text(), Path("data.txt"));

    o()->RandomSeedEdit->SetText("9");
    o()->IterationsEdit->SetText("20");
    o()->SaveMatrixCheckBox->SetChecked(true);
    for (TRadioGroup *g : {o()->NicheBreadthGroup, o()->ZeroStatesGroup, o()->IndexGroup}) g->SetItemIndex(1);
    WhileShown(u(), [] { o()->ResourceStatesGroup->SetItemIndex(rsUserDefined); });
    o()->ResetDefaults1->Click();
    EXPECT_EQ(o()->RandomSeedEdit->Text(), "0");
    EXPECT_EQ(LeadingInt(o()->IterationsEdit->Text()), 1000);
    EXPECT_FALSE(o()->SaveMatrixCheckBox->Checked());
    for (TRadioGroup *g : {o()->NicheBreadthGroup, o()->ZeroStatesGroup, o()->IndexGroup, o()->ResourceStatesGroup})
        EXPECT_EQ(g->ItemIndex(), 0) << g->Name().toStdString();
    EXPECT_FALSE(o()->DefineButtonCols->Visible());
    EXPECT_EQ(o()->FileEdit->Text(), Path("data.txt"));
}

TEST_F(Options, UserDefinedOpensTheWeightsAndShowsEdit)
{
    QString caption;
    int opened = 0;
    const auto count = [&] {
        ++opened;
        caption = u()->Caption();
    };
    WhileShown(u(), [] { o()->ResourceStatesGroup->SetItemIndex(rsUserDefined); }, count);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(caption, "Edit sites weights");
    EXPECT_EQ(o()->DefineWeights, 1);
    EXPECT_TRUE(o()->DefineButtonCols->Visible());
    WhileShown(u(), [] { o()->DefineButtonCols->Click(); }, count);
    EXPECT_EQ(opened, 2);
    o()->ResourceStatesGroup->SetItemIndex(rsEquiprobable);
    EXPECT_FALSE(o()->DefineButtonCols->Visible());
    EXPECT_EQ(opened, 2);
}

TEST_F(Options, WeightsTableHasOneRowPerState)
{
    SetMatrix({{"1", "0", "2", "3", "4"}, {"0", "1", "1", "1", "1"}});
    Edit([] {});
    EXPECT_EQ(sites()->RowCount(), 6);
    EXPECT_EQ(Column(sites(), 0), QStringList({"Sites", "s1", "s2", "s3", "s4", "s5"}));
    EXPECT_EQ(Column(sites(), 1), QStringList({"Weights", "1.0", "1.0", "1.0", "1.0", "1.0"}));
    // The table stays for the same data file and is rebuilt for another.
    sites()->SetCells(1, 2, "4");
    Edit([] {});
    EXPECT_EQ(sites()->Cells(1, 2), "4");
    Tarvix->FileName = Path("other.txt");
    Edit([] {});
    EXPECT_EQ(sites()->Cells(1, 2), "1.0");
}

TEST_F(Options, WeightsFileSavesWithTrailingSpacesAndReadsBackUnchanged)
{
    TUiScript ui;
    ui.FileNameNext(Path("weights.txt")).FileNameNext(Path("weights.txt")).FileNameNext(Path("again.txt"));
    Edit([] {
        sites()->SetCells(1, 2, "2.5");
        u()->SaveWeights1->Click();
        sites()->SetCells(1, 1, "7");
        u()->OpenWeights1->Click();
        u()->SaveWeights1->Click();
    });
    const QByteArray expected("Sites Weights \r\ns1 1.0 \r\ns2 2.5 \r\n");
    EXPECT_EQ(Read("weights.txt"), expected);
    EXPECT_EQ(Read("again.txt"), expected);
    EXPECT_EQ(Column(sites(), 1), QStringList({"Weights", "1.0", "2.5"}));
    EXPECT_EQ(sites()->ColCount(), 2);
    EXPECT_EQ(sites()->FixedRows(), 1);
    EXPECT_EQ(sites()->FixedCols(), 1);
    EXPECT_TRUE(ui.Messages().isEmpty()) << ui.Messages().join("|").toStdString();
    EXPECT_EQ(ui.RecordsOf(TUiKind::SaveFile).at(0).Text, "Select a file name.");
    EXPECT_EQ(ui.RecordsOf(TUiKind::OpenFile).at(0).Text, "Select an ASCII file to open.");

    // The co-occurrence editor's reader sees the trailing cells as a third column.
    TStringGrid g(nullptr);
    ReadWeightsTable(expected, &g);
    EXPECT_EQ(g.ColCount(), 3);
    EXPECT_EQ(Column(&g, 1), QStringList({"Weights", "1.0", "2.5"}));
}

TEST_F(Options, WeightsFileOfAnotherLengthGivesTheDefaultTable)
{
    Write("long.txt", "Sites Weights\r\ns1 3\r\ns2 4\r\ns3 5\r\n");
    TUiScript ui;
    ui.FileNameNext(Path("long.txt")).FileNameNext(Path("missing.txt"));
    Edit([] {
        u()->OpenWeights1->Click();
        sites()->SetCells(1, 1, "6");
        u()->OpenWeights1->Click();
    });
    EXPECT_EQ(ui.Messages(), QStringList({"Weights row count must = MainGrid col count.", "Error opening file."}));
    EXPECT_EQ(Column(sites(), 0), QStringList({"Sites", "s1", "s2"}));
    EXPECT_EQ(Column(sites(), 1), QStringList({"Weights", "6", "1.0"}));
    EXPECT_EQ(sites()->ColCount(), 2);
}

TEST_F(Options, UseNewWeightsChecksEveryWeight)
{
    TUiScript ui;
    bool openAfterCheck = false;
    Edit([&] {
        sites()->SetCells(1, 1, "2.5");
        sites()->SetCells(1, 2, "abc");
        u()->UseNewWeights1->Click();
        openAfterCheck = u()->Visible() && u()->ModalResult() == mrNone;
        EXPECT_FALSE(Tarvix->UserDefined);
        sites()->SetCells(1, 2, "0.1");
        u()->UseNewWeights1->Click();
        EXPECT_NE(u()->ModalResult(), mrNone);
    });
    EXPECT_TRUE(openAfterCheck);
    EXPECT_TRUE(Tarvix->UserDefined);
    EXPECT_EQ(ui.Messages(), QStringList({"Weights must be > 0 \r\nerror row: 2"}));
    Edit([] { u()->ResetDefaults1->Click(); });
    EXPECT_EQ(sites()->Cells(1, 1), "1.0");
    EXPECT_FALSE(Tarvix->UserDefined);
}

class Analyze : public NicheFixture
{
protected:
    // Clicks the Analyze item, presses Run in the options dialog after Step, closes the results.
    static void Start(const std::function<void()> &Step = {})
    {
        WhileShown(NicheOverlap, [&] {
            WhileShown(NicheOverlapOpts, [] { Tarvix->NicheOverlap1->Click(); }, [&] {
                if (Step) Step();
                NicheOverlapOpts->Run1->Click();
            });
        });
    }
};

TEST_F(Analyze, MenuItemRunsTheAnalysisWithTheDialogsIterations)
{
    SetMatrix({{"1", "0", "2"}, {"0", "1", "1"}, {"1", "1", "0"}});
    EXPECT_EQ(Tarvix->NicheOverlap1->Caption(), "&4 Niche Overlap");
    Start([] {
        NicheOverlapOpts->IterationsEdit->SetText("7");
        NicheOverlapOpts->RandomSeedEdit->SetText("3");
    });
    EXPECT_EQ(Tarvix->Iterations, 7);
    EXPECT_EQ(Value(Summary(), "Iterations = "), "7");
    EXPECT_EQ(Value(Summary(), "Random seed = "), "3");
    EXPECT_FALSE(Tarvix->InterruptFlag);

    // Cancel runs nothing.
    NicheOverlap->Memo1->Clear();
    WhileShown(NicheOverlapOpts, [] { Tarvix->NicheOverlap1->Click(); }, [] { NicheOverlapOpts->Cancel1->Click(); });
    EXPECT_TRUE(Lines(NicheOverlap->Memo1).isEmpty());
}

TEST_F(Analyze, BatchWritesARowAndMatricesPerFile)
{
    Write("a.txt", "species s1 s2 s3\r\nsp1 1 0 1\r\nsp2 0 1 1\r\nsp3 1 1 0\r\n");
    Write("c.txt", "species s1 s2\r\nsp1 1 0\r\nsp2 2 1\r\n");
    Tarvix->Batch1->Click();
    ASSERT_TRUE(Tarvix->BatchSwitch);
    Start([] {
        NicheOverlapOpts->IterationsEdit->SetText("3");
        NicheOverlapOpts->RandomSeedEdit->SetText("1");
        NicheOverlapOpts->SaveMatrixCheckBox->SetChecked(true);
    });
    EXPECT_FALSE(Tarvix->InterruptFlag);
    TStringGrid *b = Tarvix->BatchGrid;
    QStringList names{b->Cells(0, 1), b->Cells(0, 2)};
    names.sort();
    EXPECT_EQ(names, QStringList({"a.txt", "c.txt"}));
    for (const char *name : {"Summarya.txt", "Summaryc.txt"})
        EXPECT_TRUE(Read(name).startsWith("Input file = ")) << name;
    EXPECT_EQ(Read("BatchSummary.txt").count('\n'), 3);
    EXPECT_TRUE(QFile::exists("Sim3.txt"));
    EXPECT_FALSE(Progress->Visible());
}
