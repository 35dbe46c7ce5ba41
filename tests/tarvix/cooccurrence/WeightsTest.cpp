// The weights editor driven through its menu, and the weights file reader.
#include "tests/tarvix/cooccurrence/Fixture.h"

namespace {

QStringList Column(TStringGrid *g, int c)
{
    QStringList out;
    for (int r = 0; r < g->RowCount(); ++r) out << g->Cells(c, r);
    return out;
}

} // namespace

class Weights : public CoOccurrenceFixture
{
protected:
    void SetUp() override
    {
        CoOccurrenceFixture::SetUp();
        SetMatrix({{1, 0}, {0, 1}, {1, 1}});
    }
    // Shows the editor for species (0) or sites (1) and runs Step while it is up.
    void Edit(int Which, const std::function<void()> &Step)
    {
        CoOccurrenceOpts->DefineWeights = Which;
        WhileShown(CoOccurrenceUserDefined, [] { CoOccurrenceUserDefined->ShowModal(); }, Step);
    }
    TStringGrid *species() const { return CoOccurrenceUserDefined->SpeciesWeightsGrid; }
    TStringGrid *sites() const { return CoOccurrenceUserDefined->SitesWeightsGrid; }
};

TEST_F(Weights, SpeciesTableSavesExactlyAndReadsBack)
{
    TUiScript ui;
    ui.FileNameNext(dir.filePath("weights.txt")).FileNameNext(dir.filePath("weights.txt"));
    Edit(0, [&] {
        EXPECT_EQ(CoOccurrenceUserDefined->Caption(), "Edit species weights");
        EXPECT_TRUE(species()->Visible());
        EXPECT_FALSE(sites()->Visible());
        CoOccurrenceUserDefined->SaveWeights1->Click();
        species()->SetCells(1, 2, "7");
        CoOccurrenceUserDefined->OpenWeights1->Click();
    });
    EXPECT_EQ(FileBytes("weights.txt"), QByteArray("Species Weights\r\nsp1 1.0\r\nsp2 1.0\r\nsp3 1.0\r\n"));
    EXPECT_EQ(Column(species(), 0), QStringList({"Species", "sp1", "sp2", "sp3"}));
    EXPECT_EQ(Column(species(), 1), QStringList({"Weights", "1.0", "1.0", "1.0"}));
    EXPECT_EQ(species()->ColCount(), 2);
    EXPECT_EQ(species()->FixedRows(), 1);
    EXPECT_EQ(species()->FixedCols(), 0);
    EXPECT_TRUE(ui.Messages().isEmpty()) << ui.Messages().join("|").toStdString();
    const auto saves = ui.RecordsOf(TUiKind::SaveFile);
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(saves[0].Text, "Select a file name.");
}

TEST_F(Weights, FilesOfTheWrongLengthGiveTheDefaultTable)
{
    Write("short.txt", "Species Weights\r\nsp1 3\r\nsp2 4\r\n");
    Write("sites.txt", "Sites Weights\r\ns1 2 x\r\n");
    TUiScript ui;
    ui.FileNameNext(dir.filePath("short.txt")).FileNameNext(dir.filePath("sites.txt"))
        .FileNameNext(dir.filePath("missing.txt"));
    Edit(0, [] { CoOccurrenceUserDefined->OpenWeights1->Click(); });
    Edit(1, [] {
        CoOccurrenceUserDefined->OpenWeights1->Click();
        CoOccurrenceUserDefined->OpenWeights1->Click();
    });
    EXPECT_EQ(ui.Messages(), QStringList({"Weights row count must = MainGrid row count.",
                                          "Weights row count must = MainGrid col count.", "Error opening file."}));
    EXPECT_EQ(Column(species(), 1), QStringList({"Weights", "1.0", "1.0", "1.0"}));
    EXPECT_EQ(species()->ColCount(), 2);
    EXPECT_EQ(Column(sites(), 0), QStringList({"Sites", "s1", "s2"}));
    EXPECT_EQ(Column(sites(), 1), QStringList({"Weights", "1.0", "1.0"}));
    EXPECT_EQ(sites()->ColCount(), 2);
}

TEST_F(Weights, CheckNamesTheFirstBadRowAndKeepsTheDialogOpen)
{
    TUiScript ui;
    bool openAfterCheck = false;
    Edit(0, [&] {
        species()->SetCells(1, 1, "2.5");
        species()->SetCells(1, 2, "0");
        species()->SetCells(1, 3, "-1");
        CoOccurrenceUserDefined->UseNewWeights1->Click();
        openAfterCheck = CoOccurrenceUserDefined->Visible() && CoOccurrenceUserDefined->ModalResult() == mrNone;
        species()->SetCells(1, 2, "x");
        EXPECT_FALSE(CoOccurrenceUserDefined->TestUserDefined(species()));
        species()->SetCells(1, 2, "1");
        species()->SetCells(1, 3, "0.1");
        CoOccurrenceUserDefined->UseNewWeights1->Click();
        EXPECT_NE(CoOccurrenceUserDefined->ModalResult(), mrNone);
    });
    EXPECT_TRUE(openAfterCheck);
    EXPECT_EQ(ui.Messages(), QStringList({"Weights must be > 0 \r\nerror row: 2", "Weights must be > 0 \r\nerror row: 2"}));
    // The user's text stays.
    EXPECT_EQ(species()->Cells(1, 1), "2.5");
}

TEST_F(Weights, TablesSurviveReopeningUntilTheDataFileChanges)
{
    Edit(1, [&] {
        EXPECT_EQ(CoOccurrenceUserDefined->Caption(), "Edit sites weights");
        EXPECT_TRUE(sites()->Visible());
        sites()->SetCells(1, 1, "3");
    });
    Edit(1, [] {});
    EXPECT_EQ(sites()->Cells(1, 1), "3");
    Tarvix->FileName = dir.filePath("other.txt");
    Edit(1, [] {});
    EXPECT_EQ(sites()->Cells(1, 1), "1.0");
    sites()->SetCells(1, 1, "5");
    Edit(1, [] { CoOccurrenceUserDefined->ResetDefaults1->Click(); });
    EXPECT_EQ(sites()->Cells(1, 1), "1.0");
}

TEST(WeightsFile, LineEndsAndSpacesGiveRowsAndCells)
{
    struct Case
    {
        const char *name;
        QByteArray bytes;
        int rows, cols;
        QStringList lastRow;
    };
    const Case cases[] = {
        {"CR LF", "Species Weights\r\na 1.0\r\nb 2\r\n", 3, 2, {"b", "2"}},
        {"LF only", "Species Weights\na 1.0\nb 2\n", 3, 2, {"b", "2"}},
        {"no final line end", "Species Weights\r\na 1.0\r\nb 2", 3, 2, {"b", "2"}},
        {"trailing spaces", "Species Weights \r\na 1.0 \r\nb 2 \r\n", 3, 3, {"b", "2", ""}},
        {"two spaces", "Species Weights\r\na  2\r\n", 2, 2, {"a", "", "2"}},
        {"empty", "", 1, 1, {""}},
    };
    TStringGrid grid(nullptr);
    for (const Case &c : cases) {
        grid.SetRowCount(9);
        grid.SetFixedRows(1);
        ReadWeightsTable(c.bytes, &grid);
        EXPECT_EQ(grid.RowCount(), c.rows) << c.name;
        EXPECT_EQ(grid.ColCount(), c.cols) << c.name;
        EXPECT_EQ(grid.FixedRows(), 0) << c.name;
        QStringList last;
        for (int k = 0; k < c.lastRow.size(); ++k) last << grid.Cells(k, grid.RowCount() - 1);
        EXPECT_EQ(last, c.lastRow) << c.name;
    }
}
