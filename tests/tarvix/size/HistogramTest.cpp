// The histogram editor, its file and the pool-size dialog.
#include "tests/tarvix/size/Fixture.h"

class Histogram : public SizeFixture
{
protected:
    void SetUp() override
    {
        SizeFixture::SetUp();
        SetColumns({{"2", "abc", "9"}, {"4", "0", "6"}});
        Tarvix->SpeciesPool = "3";
        ShowOptions([] {});
    }
    static TStringGrid *table() { return SizeOverLapUD3->SpeciesHistogramGrid; }
    // Shows the editor and runs Step while it is up.
    static void Edit(const std::function<void()> &Step)
    {
        WhileShown(SizeOverLapUD3, [] { SizeOverLapUD3->ShowModal(); }, Step);
    }
    // "&Change " with the pool-size dialog answered by Step.
    static void ChangePool(const std::function<void()> &Step)
    {
        WhileShown(SizeOverLapUD4, [] { SizeOverLapUD3->Button1->Click(); }, Step);
    }
    static QStringList Row(int r)
    {
        return {table()->Cells(0, r), table()->Cells(1, r), table()->Cells(2, r)};
    }
};

TEST_F(Histogram, DefaultTableSavesAndReadsBack)
{
    TUiScript ui;
    ui.FileNameNext(Path("histogram.txt")).FileNameNext(Path("histogram.txt"));
    Edit([] {
        EXPECT_EQ(SizeOverLapUD3->SpeciesPoolLabel->Caption(), "3");
        EXPECT_EQ(table()->RowCount(), 4);
        SizeOverLapUD3->Save1->Click();
        table()->SetCells(1, 1, "77");
        SizeOverLapUD3->Open1->Click();
    });
    // The title holding a blank is written quoted, so it reads back as one cell.
    EXPECT_EQ(Read("histogram.txt"), QByteArray("Species Size \"Colonization Weight\"\r\nsp1 2 1.0\r\nsp2 abc 1.0\r\n"
                                                "sp3 9 1.0\r\n"));
    EXPECT_TRUE(ui.Messages().isEmpty());
    EXPECT_EQ(table()->RowCount(), 4);
    EXPECT_EQ(table()->ColCount(), 3);
    EXPECT_EQ(table()->FixedRows(), 1);
    EXPECT_EQ(Row(0), QStringList({"Species", "Size", "Colonization Weight"}));
    EXPECT_EQ(Row(1), QStringList({"sp1", "2", "1.0"}));
    EXPECT_EQ(Tarvix->SpeciesPool, "3");
    // The default table follows the analysed column.
    SizeOverlapOpts->ColumnList->SetItemIndex(1);
    SizeOverLapUD3->ResetDefaults1->Click();
    EXPECT_EQ(Column(table(), 1), QStringList({"Size", "4", "0", "6"}));
}

TEST_F(Histogram, AnyLineEndAndALastLineWithoutOneReadTheSame)
{
    const QByteArray files[] = {
        "Species Size Colonization Weight\r\na 1 2\r\nb 3 4\r\nc 5 6\r\nd 7 8",
        "Species Size Colonization Weight\na 1 2\nb 3 4\nc 5 6\nd 7 8\n",
        "Species Size Colonization Weight\ra 1 2\rb 3 4\rc 5 6\rd 7 8\r",
    };
    for (const QByteArray &bytes : files) {
        TUiScript ui;
        ui.FileNameNext(Write("h.txt", bytes));
        Edit([] { SizeOverLapUD3->Open1->Click(); });
        EXPECT_TRUE(ui.Messages().isEmpty());
        EXPECT_EQ(table()->RowCount(), 5);
        EXPECT_EQ(Row(4), QStringList({"d", "7", "8"}));
        EXPECT_EQ(Tarvix->SpeciesPool, "4");
        EXPECT_EQ(SizeOverLapUD3->SpeciesPoolLabel->Caption(), "4");
    }
}

TEST_F(Histogram, ARefusedFileLeavesTheDefaultTable)
{
    TUiScript ui;
    ui.FileNameNext(Write("short.txt", "Species Size Colonization Weight\r\nx 50 1\r\n"))
        .FileNameNext(Path("missing.txt"))
        .CancelNext();
    Edit([] {
        table()->SetCells(1, 1, "77");
        SizeOverLapUD3->Open1->Click();
        EXPECT_EQ(Row(1), QStringList({"sp1", "2", "1.0"}));
        table()->SetCells(1, 1, "77");
        SizeOverLapUD3->Open1->Click();
        SizeOverLapUD3->Open1->Click();
    });
    EXPECT_EQ(ui.Messages(), QStringList({"Histogram row count must be >= MainGrid row count.", "Resetting Defaults",
                                          "Error opening file."}));
    EXPECT_EQ(table()->RowCount(), 4);
    // A missing file and a cancelled dialog leave the table as it was.
    EXPECT_EQ(Row(1), QStringList({"sp1", "77", "1.0"}));
    EXPECT_EQ(Row(0), QStringList({"Species", "Size", "Colonization Weight"}));
}

TEST_F(Histogram, PoolSizeIsCheckedAgainstTheTable)
{
    struct Case
    {
        const char *Pool;
        const char *Message;  // nullptr: taken
    };
    // The table of the data has 2 rows with a size > 0.
    const Case cases[] = {
        {"241101", "Histogram row count must be < 241101."},
        {"1", "Histogram row count must be >= Non-zero rows."},
        {"abc", "Histogram row count must be >= Non-zero rows."},
        {"2", nullptr},
        {"241100", nullptr},
    };
    for (const Case &c : cases) {
        TUiScript ui;
        Tarvix->SpeciesPool = "3";
        bool open = false;
        Edit([&] {
            ChangePool([&] {
                EXPECT_EQ(SizeOverLapUD4->SpeciesEdit->Text(), "3");
                SizeOverLapUD4->SpeciesEdit->SetText(QString::fromLatin1(c.Pool));
                SizeOverLapUD4->OKButton->Click();
                // A modal dialog asked to close ends its loop once this step returns.
                open = SizeOverLapUD4->ModalResult() == mrNone;
            });
        });
        if (c.Message) {
            EXPECT_TRUE(open) << c.Pool;
            EXPECT_EQ(ui.Messages(), QStringList(QString::fromLatin1(c.Message))) << c.Pool;
            EXPECT_EQ(Tarvix->SpeciesPool, "3") << c.Pool;
        } else {
            EXPECT_FALSE(open) << c.Pool;
            EXPECT_TRUE(ui.Messages().isEmpty()) << c.Pool;
            EXPECT_EQ(Tarvix->SpeciesPool, QString::fromLatin1(c.Pool));
            EXPECT_EQ(table()->RowCount(), LeadingInt(c.Pool) + 1);
        }
    }
}

TEST_F(Histogram, PoolWithoutSizesIsRefusedAndStopsTheRun)
{
    TUiScript ui;
    Edit([] {
        table()->SetCells(1, 1, "0");
        table()->SetCells(1, 3, "-2");
        ChangePool([] { SizeOverLapUD4->OKButton->Click(); });
    });
    EXPECT_EQ(ui.Messages(), QStringList("Non-Zero Rows Must be > 0"));
    EXPECT_TRUE(Tarvix->InterruptFlag);
    EXPECT_EQ(Tarvix->NonZeroRows, 0);
}

TEST_F(Histogram, ALargerPoolAddsEmptyRowsAndASmallerOneCutsThem)
{
    TUiScript ui;
    Edit([] {});  // the first show builds the table from the data
    Tarvix->SpeciesPool = "10";
    Edit([] {
        EXPECT_EQ(table()->RowCount(), 11);
        ChangePool([] { SizeOverLapUD4->OKButton->Click(); });
        EXPECT_EQ(table()->RowCount(), 11);
        for (int r = 4; r <= 6; ++r) table()->SetCells(2, r, "5");  // text in rows that go and come back
        ChangePool([] {
            SizeOverLapUD4->SpeciesEdit->SetText("2");
            SizeOverLapUD4->OKButton->Click();
        });
        EXPECT_EQ(table()->RowCount(), 3);
        ChangePool([] {
            SizeOverLapUD4->SpeciesEdit->SetText("15");
            SizeOverLapUD4->OKButton->Click();
        });
    });
    EXPECT_TRUE(ui.Messages().isEmpty());
    EXPECT_EQ(table()->RowCount(), 16);
    EXPECT_EQ(SizeOverLapUD3->SpeciesPoolLabel->Caption(), "15");
    for (int r = 3; r <= 15; ++r) EXPECT_EQ(Row(r), QStringList({"", "", ""})) << r;
    EXPECT_EQ(Row(2), QStringList({"sp2", "abc", "1.0"}));
    // Shown again on the same data file, the table keeps its rows and follows the pool size.
    Tarvix->SpeciesPool = "4";
    Edit([] {});
    EXPECT_EQ(table()->RowCount(), 5);
    EXPECT_EQ(Row(1), QStringList({"sp1", "2", "1.0"}));
    // Another data file: the table is built from the data again.
    Tarvix->FileName = Path("other.txt");
    Edit([] {});
    EXPECT_EQ(table()->RowCount(), 4);
    EXPECT_EQ(SizeOverLapUD3->SpeciesPoolLabel->Caption(), "3");
}
