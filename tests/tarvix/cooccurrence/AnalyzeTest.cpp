// Co-occurrence and Range Overlap started from the Analyze menu, once and over a batch list.
#include "tests/tarvix/cooccurrence/Fixture.h"

class Analyze : public CoOccurrenceFixture
{
protected:
    // Clicks an Analyze item, presses Run in the options dialog after Step, closes the results.
    static void Start(TMenuItem *Item, const std::function<void()> &Step = {})
    {
        WhileShown(CoOccurrence, [&] {
            WhileShown(CoOccurrenceOpts, [&] { Item->Click(); }, [&] {
                if (Step) Step();
                CoOccurrenceOpts->Run1->Click();
            });
        });
    }
};

TEST_F(Analyze, MenuItemsRunEitherAnalysisThroughTheSharedDialog)
{
    SetMatrix({{1, 0, 1}, {0, 1, 1}, {1, 1, 0}});
    QString caption;
    Start(Tarvix->CoOccurrence1, [&] {
        caption = CoOccurrenceOpts->Caption();
        SetOptions("7", "3");
    });
    EXPECT_EQ(caption, "Tarvix Professional: Co-occurrence Options");
    EXPECT_EQ(Tarvix->Iterations, 7);
    EXPECT_EQ(CoOccurrence->Caption(), "Tarvix Professional: Co-occurrence Results");
    EXPECT_TRUE(Lines(CoOccurrence->Memo1).contains("Iterations = 7"));

    Start(Tarvix->N5RangeOverlap1, [&] { caption = CoOccurrenceOpts->Caption(); });
    EXPECT_EQ(caption, "Tarvix Professional: Range Overlap Options");
    EXPECT_EQ(CoOccurrence->Caption(), "Tarvix Professional: Range Overlap Results");
    EXPECT_TRUE(Lines(CoOccurrence->Memo1).contains("Index = Relative Overlap"));
}

TEST_F(Analyze, BatchWritesARowSummaryAndMatricesPerFile)
{
    Write("a.txt", "species s1 s2 s3\r\nsp1 1 0 1\r\nsp2 0 1 1\r\nsp3 1 1 0\r\n");
    Write("c.txt", "species s1 s2\r\nsp1 1 0\r\nsp2 0 1\r\nsp3 1 1\r\n");
    Tarvix->Batch1->Click();
    ASSERT_TRUE(Tarvix->BatchSwitch);
    Start(Tarvix->CoOccurrence1, [] {
        SetOptions("3", "1");
        CoOccurrenceOpts->SaveMatrixCheckBox->SetChecked(true);
    });
    EXPECT_FALSE(Tarvix->InterruptFlag);
    TStringGrid *b = Tarvix->BatchGrid;
    QStringList names{b->Cells(0, 1), b->Cells(0, 2)};
    names.sort();
    EXPECT_EQ(names, QStringList({"a.txt", "c.txt"}));
    for (const char *name : {"Summarya.txt", "Summaryc.txt"})
        EXPECT_TRUE(FileBytes(name).startsWith("Input file = ")) << name;
    const QList<QByteArray> rows = FileBytes("BatchSummary.txt").split('\n');
    ASSERT_EQ(rows.size(), 4);  // three lines and the end
    EXPECT_EQ(rows[0], "FileName Standard-Effect LowerTailP UpperTailP\r");
    for (int i = 1; i <= 3; ++i) EXPECT_TRUE(QFile::exists(QStringLiteral("Sim%1.txt").arg(i))) << i;
    EXPECT_FALSE(QFile::exists("Sim4.txt"));
    // The last file's matrix is in the last saved matrices.
    const QString last = b->Cells(0, 2);
    EXPECT_TRUE(FileBytes("Sim3.txt").startsWith(last == "c.txt" ? "species s1 s2\r\n" : "species s1 s2 s3\r\n"));
    EXPECT_FALSE(Progress->Visible());
}
