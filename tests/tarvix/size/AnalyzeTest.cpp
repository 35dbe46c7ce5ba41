// Size Overlap started from the Analyze menu, once and over a batch list, and its summary saved.
#include "tests/tarvix/size/Fixture.h"

class Analyze : public SizeFixture
{
protected:
    // Clicks "&6 Size Overlap", presses "&Run" after Step, closes the results window after Then.
    static void Start(const std::function<void()> &Step = {}, const std::function<void()> &Then = {})
    {
        WhileShown(
            SizeOverlap,
            [&] {
                WhileShown(SizeOverlapOpts, [] { Tarvix->SizeOverlap1->Click(); }, [&] {
                    if (Step) Step();
                    SizeOverlapOpts->Run1->Click();
                });
            },
            Then);
    }
};

TEST_F(Analyze, MenuRunsTheAnalysisAndSavesItsSummary)
{
    SetColumn({"2", "5", "9", "14"});
    QString pool;
    TUiScript ui;
    ui.FileNameNext(Path("summary.txt"));
    Start(
        [&] {
            pool = Tarvix->SpeciesPool;
            SetOptions("40", "5");
        },
        [] { SizeOverlap->SuMmary1->Click(); });
    EXPECT_EQ(pool, "4");
    EXPECT_EQ(Tarvix->Iterations, 40);
    EXPECT_TRUE(ui.Messages().isEmpty());
    const std::vector<TUiRecord> saves = ui.RecordsOf(TUiKind::SaveFile);
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(saves[0].Text, "Select a file name.");
    const QByteArray summary = Read("summary.txt");
    EXPECT_TRUE(summary.startsWith("Input file = " + Tarvix->FileName.toUtf8() + "\r\nIterations = 40\r\n"));
    EXPECT_TRUE(summary.contains("\r\nMetric = Variance in segment length.\r\nLog (size ratios)\r\n"));
    EXPECT_FALSE(Progress->Visible());
}

TEST_F(Analyze, BatchAddsARowPerFileAndLeavesNoProgressWindow)
{
    Write("a.txt", "species s1\r\nsp1 2\r\nsp2 5\r\nsp3 9\r\n");
    Write("b.txt", "species s1\r\nsp1 3\r\nsp2 4\r\nsp3 8\r\nsp4 1\r\n");
    Tarvix->Batch1->Click();
    ASSERT_TRUE(Tarvix->BatchSwitch);
    Start([] { SetOptions("10", "2"); });
    EXPECT_FALSE(Tarvix->InterruptFlag);
    TStringGrid *b = Tarvix->BatchGrid;
    ASSERT_EQ(b->RowCount(), 3);
    QStringList names{b->Cells(0, 1), b->Cells(0, 2)};
    names.sort();
    EXPECT_EQ(names, QStringList({"a.txt", "b.txt"}));
    for (int r = 1; r <= 2; ++r) {
        EXPECT_FALSE(b->Cells(1, r).isEmpty());
        EXPECT_EQ(b->Cells(2, r).size(), 7) << b->Cells(2, r).toStdString();  // "0.70000"
    }
    for (const char *name : {"Summarya.txt", "Summaryb.txt"}) EXPECT_TRUE(Read(name).startsWith("Input file = ")) << name;
    EXPECT_TRUE(Read("BatchSummary.txt").startsWith("FileName Standard-Effect LowerTailP UpperTailP\r\n"));
    EXPECT_FALSE(Progress->Visible());
}
