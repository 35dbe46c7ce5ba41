// Analyze commands: the options dialog protocol, the batch loop and its stops, the chi-square
// sequence, and what stays out of reach while an analysis runs.
#include "tests/tarvix/batch/BatchFixture.h"

#include <QImage>
#include <QMenuBar>
#include <gtest/gtest.h>

namespace {

class Analyze : public BatchFixture
{
protected:
    void RunTest() { Tarvix->N7GuildStructure1->Click(); }
    void BatchOn(const QStringList &List)
    {
        Tarvix->Batch1->Click();
        SetBatchList(List);
    }
};

}  // namespace

TEST_F(Analyze, OptionsAreTakenAndTheAnalysisRunsOnce)
{
    TestOpts->IterationsEdit->SetText("1000 ");
    TestOpts->RandomSeedEdit->SetText("  -7x");
    TestOpts->SaveMatrixCheckBox->SetChecked(true);
    Tarvix->BuildBatchSummaryFile("old.txt", "1", "2", "3");
    RunTest();
    EXPECT_EQ(TestOpts->Shown, 1);
    EXPECT_EQ(Tarvix->Iterations, 1000);
    EXPECT_EQ(Tarvix->RandomSeed, -7);
    EXPECT_TRUE(Tarvix->Checked);
    EXPECT_TRUE(Tarvix->Flag);
    EXPECT_EQ(TestResults->Files, QStringList{"Untitled.txt"});
    // The hidden summary table was emptied first, then got this run's row.
    EXPECT_EQ(SummaryRows(), (QStringList{"FileName Standard-Effect LowerTailP UpperTailP",
                                          "Untitled.txt 1.50000 0.25000 0.75000"}));
    EXPECT_EQ(Read("BatchSummary.txt"), "<missing>");

    TestOpts->IterationsEdit->SetText("abc");
    RunTest();
    EXPECT_EQ(Tarvix->Iterations, 0);
}

TEST_F(Analyze, CancelRunsNothing)
{
    TestOpts->Answer = false;
    Tarvix->Iterations = 55;
    RunTest();
    EXPECT_EQ(TestOpts->Shown, 1);
    EXPECT_FALSE(Tarvix->Flag);
    EXPECT_EQ(Tarvix->Iterations, 55);
    EXPECT_TRUE(TestResults->Files.isEmpty());

    // In batch mode nothing is read either.
    Tarvix->BuildBatchSummaryFile("old.txt", "1", "2", "3");
    WriteMatrix("a.txt");
    BatchOn({"a.txt"});
    RunTest();
    EXPECT_EQ(Tarvix->BatchFileCount, 0);
    EXPECT_TRUE(TestResults->Files.isEmpty());
}

TEST_F(Analyze, AnalysisNotYetThereDoesNothing)
{
    Tarvix->BuildBatchSummaryFile("kept.txt", "1", "2", "3");
    Tarvix->Flag = true;
    TUiScript script;
    for (TMenuItem *item : {Tarvix->CoOccurrence1, Tarvix->N5RangeOverlap1, Tarvix->Anova1, Tarvix->RunsTest1})
        item->Click();
    EXPECT_EQ(Tarvix->BatchGrid->RowCount(), 2);
    EXPECT_TRUE(Tarvix->Flag);
    EXPECT_TRUE(script.Records().empty());
}

TEST_F(Analyze, SpeciesDiversityKeepsTheSummaryAndChecksEveryFile)
{
    Tarvix->Analyses[akSpeciesDiversity] = LinkAnalysis(TestOpts, TestResults);
    Tarvix->Analyses[akGuildStructure] = {};
    TestOpts->SaveMatrixCheckBox->SetChecked(true);
    Tarvix->BuildBatchSummaryFile("kept.txt", "n/a", "n/a", "n/a");
    Tarvix->SpeciesDiversity1->Click();
    EXPECT_FALSE(Tarvix->Checked);
    EXPECT_EQ(Tarvix->BatchGrid->Cells(0, 1), "kept.txt");
    EXPECT_EQ(Tarvix->BatchGrid->RowCount(), 3);

    // 101 sites is past the limit: the file is refused before the analysis sees it.
    QByteArray wide = "species";
    for (int c = 1; c <= 101; ++c)
        wide += " s" + QByteArray::number(c);
    wide += "\r\nsp1";
    for (int c = 1; c <= 101; ++c)
        wide += " 1";
    WriteMatrix("a.txt");
    Write("wide.txt", wide + "\r\n");
    BatchOn({"a.txt", "wide.txt", "a.txt"});
    TUiScript script;
    Tarvix->SpeciesDiversity1->Click();
    EXPECT_EQ(TestResults->Files, (QStringList{"Untitled.txt", "a.txt"}));
    EXPECT_EQ(script.Messages().last(), "File error: " + Path("wide.txt"));
}

TEST_F(Analyze, SizeOverlapGetsTheSpeciesPool)
{
    Tarvix->Analyses[akSizeOverlap] = LinkAnalysis(TestOpts, TestResults);
    Tarvix->MainGrid->SetRowCount(9);
    Tarvix->SizeOverlap1->Click();
    EXPECT_EQ(Tarvix->SpeciesPool, "8");
    EXPECT_EQ(TestResults->Files.size(), 1);
}

TEST_F(Analyze, BatchStopsAtAMissingFileAndKeepsWhatWasDone)
{
    WriteMatrix("a.txt");
    WriteMatrix("b.txt");
    WriteMatrix("c.txt");
    Tarvix->Batch1->Click();
    QStringList listed = Tarvix->Memo1->Lines()->ToStringList();
    listed.sort();
    ASSERT_EQ(listed, (QStringList{"a.txt", "b.txt", "c.txt"}));
    SetBatchList({"a.txt", "b.txt", "c.txt"});
    ASSERT_TRUE(QFile::remove(Path("b.txt")));

    TUiScript script;
    RunTest();
    EXPECT_EQ(TestResults->Files, QStringList{"a.txt"});
    EXPECT_EQ(script.Messages(), QStringList{Path("b.txt") + ": Error opening file."});
    EXPECT_FALSE(Tarvix->Flag);
    EXPECT_EQ(Tarvix->BatchFileCount, 2);
    const QStringList rows{"FileName Standard-Effect LowerTailP UpperTailP", "a.txt 1.50000 0.25000 0.75000"};
    EXPECT_EQ(SummaryRows(), rows);
    EXPECT_EQ(Read("BatchSummary.txt"), (rows.join("\r\n") + "\r\n").toLatin1());
    EXPECT_EQ(Read("Summarya.txt"), "summary of a.txt\r\n");
}

TEST_F(Analyze, BatchRunsEveryListedFileUntilSomethingStopsIt)
{
    WriteMatrix("a.txt");
    WriteMatrix("c.txt");
    Write("oneline.txt", "species site1 site2\r\n");
    struct Case
    {
        const char *Name;
        QStringList List;
        QStringList Analysed;
        int Messages;
    };
    const Case cases[] = {
        {"all files", {"a.txt", "c.txt"}, {"a.txt", "c.txt"}, 0},
        {"blank line", {"a.txt", "", "c.txt"}, {"a.txt"}, 0},
        {"refused counts", {"oneline.txt", "c.txt"}, {}, 1},
        {"refused after one", {"a.txt", "oneline.txt", "c.txt"}, {"a.txt"}, 1},
    };
    BatchOn({});
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        SetBatchList(c.List);
        TestResults->Files.clear();
        TUiScript script;
        RunTest();
        EXPECT_EQ(TestResults->Files, c.Analysed);
        EXPECT_EQ(script.Messages().size(), c.Messages);
        EXPECT_EQ(Tarvix->BatchGrid->RowCount(), c.Analysed.size() + 1);
    }
}

TEST_F(Analyze, AnInterruptEndsTheBatchAfterTheCurrentFile)
{
    WriteMatrix("a.txt");
    WriteMatrix("c.txt");
    BatchOn({"a.txt", "c.txt"});
    TestResults->OnRun = [] { Tarvix->InterruptFlag = true; };
    RunTest();
    EXPECT_EQ(TestResults->Files, QStringList{"a.txt"});
    // The next command starts afresh.
    TestResults->OnRun = nullptr;
    RunTest();
    EXPECT_EQ(TestResults->Files, (QStringList{"a.txt", "a.txt", "c.txt"}));
}

TEST_F(Analyze, SummaryThatCannotBeSavedEndsTheBatch)
{
    WriteMatrix("a.txt");
    WriteMatrix("c.txt");
    ASSERT_TRUE(QDir(dir.path()).mkdir("BatchSummary.txt"));
    BatchOn({"a.txt", "c.txt"});
    TUiScript script;
    RunTest();
    EXPECT_EQ(TestResults->Files, QStringList{"a.txt"});
    EXPECT_EQ(script.Messages(), (QStringList{"Error writing file.", "Error saving batch summary...Aborting.",
                                              "Batch processing error."}));
    EXPECT_TRUE(Tarvix->InterruptFlag);
}

TEST_F(Analyze, MenusAreOutOfReachWhileAnAnalysisRuns)
{
    // Locked menus look locked: the File entry of the bar is drawn otherwise during the run.
    Tarvix->Show();
    QMenuBar *bar = Tarvix->MainMenu1->MenuBar();
    const auto fileLook = [bar] { return bar->grab(bar->actionGeometry(Tarvix->File1->Action())).toImage(); };
    const QImage fileBefore = fileLook();
    QImage fileDuring;
    // A menu disabled before the run stays disabled after it.
    Tarvix->Edit1->SetEnabled(false);
    std::vector<bool> during;
    TestResults->OnRun = [&] {
        fileDuring = fileLook();
        during = {Tarvix->File1->Enabled(), Tarvix->Edit1->Enabled(), Tarvix->Analyze1->Enabled(),
                  Tarvix->Help1->Enabled(), Tarvix->AnalysisRunning()};
        // A second command reaching the handler now must not start a nested run.
        Tarvix->N7GuildStructure1Click(nullptr);
    };
    RunTest();
    EXPECT_EQ(during, (std::vector<bool>{false, false, false, true, true}));
    EXPECT_EQ(TestOpts->Shown, 1);
    EXPECT_EQ(TestResults->Files.size(), 1);
    EXPECT_TRUE(Tarvix->File1->Enabled());
    EXPECT_FALSE(Tarvix->Edit1->Enabled());
    EXPECT_TRUE(Tarvix->Analyze1->Enabled());
    EXPECT_FALSE(Tarvix->AnalysisRunning());
    EXPECT_FALSE(fileBefore.isNull());
    EXPECT_NE(fileDuring, fileBefore);
    EXPECT_EQ(fileLook(), fileBefore);
}

TEST_F(Analyze, ClosingDuringARunStopsItAndClosesAfterwards)
{
    Tarvix->Show();
    WriteMatrix("a.txt");
    WriteMatrix("c.txt");
    BatchOn({"a.txt", "c.txt"});
    TUiScript script;
    script.AnswerNext(mrOk);
    bool visibleAfterClose = false;
    TestResults->OnRun = [&] {
        Tarvix->Close();
        visibleAfterClose = Tarvix->Visible();
    };
    RunTest();
    EXPECT_TRUE(visibleAfterClose);
    EXPECT_TRUE(Tarvix->InterruptFlag);
    EXPECT_EQ(TestResults->Files, QStringList{"a.txt"});
    Application->ProcessMessages();
    EXPECT_FALSE(Tarvix->Visible());
    EXPECT_EQ(script.Messages(), QStringList{"Close Tarvix Professional?"});

    // The deferred close is used up: a later close asks again.
    Tarvix->Show();
    TUiScript again;
    again.AnswerNext(mrCancel);
    Tarvix->Close();
    EXPECT_EQ(again.Messages(), QStringList{"Close Tarvix Professional?"});
    EXPECT_TRUE(Tarvix->Visible());
}

TEST_F(Analyze, CancelledCloseDuringARunChangesNothing)
{
    Tarvix->Show();
    TUiScript script;
    script.AnswerNext(mrCancel);
    TestResults->OnRun = [] { Tarvix->Close(); };
    RunTest();
    Application->ProcessMessages();
    EXPECT_FALSE(Tarvix->InterruptFlag);
    EXPECT_TRUE(Tarvix->Visible());
}

TEST_F(Analyze, ChiSquareChecksTheExpectedMatrixAroundItsDialog)
{
    TUiScript script;
    Tarvix->ChiSquare1->Click();
    EXPECT_EQ(TestChiOpts->Calculated.size(), 1);
    EXPECT_EQ(TestResults->Files.size(), 1);

    // A matrix without an expected matrix never reaches the dialog.
    TestChiOpts->Calculates = false;
    Tarvix->ChiSquare1->Click();
    EXPECT_EQ(TestChiOpts->Shown, 1);
    EXPECT_FALSE(Tarvix->Flag);
    EXPECT_EQ(script.Messages(), QStringList{"Expected Grid 0 error: "});

    TestChiOpts->Calculates = true;
    TestChiOpts->ExpectedGrid->SetCells(1, 1, "0");
    Tarvix->ChiSquare1->Click();
    EXPECT_EQ(TestChiOpts->Shown, 1);
    EXPECT_EQ(script.Messages().last(), "Expected Grid 0 error: ");
    // A text that is no number is refused the same way, not left to escape.
    const qsizetype shown = script.Messages().size();
    TestChiOpts->ExpectedGrid->SetCells(1, 1, "x");
    Tarvix->ChiSquare1->Click();
    EXPECT_EQ(script.Messages().mid(shown), QStringList{"Expected Grid 0 error: "});
    EXPECT_EQ(TestResults->Files.size(), 1);
}

TEST_F(Analyze, ChiSquareBatchReadsTheFirstFileTwiceAndChecksEveryFile)
{
    WriteMatrix("a.txt");
    WriteMatrix("c.txt");
    WriteMatrix("zero.txt", "0");
    BatchOn({"a.txt", "c.txt", "zero.txt", "a.txt"});
    TUiScript script;
    Tarvix->ChiSquare1->Click();
    EXPECT_EQ(TestChiOpts->Calculated, (QStringList{"a.txt", "a.txt", "c.txt"}));
    EXPECT_EQ(TestResults->Files, (QStringList{"a.txt", "c.txt"}));
    EXPECT_EQ(script.Messages().last(), "File 0 error: " + Path("zero.txt"));
    EXPECT_EQ(Tarvix->BatchGrid->RowCount(), 3);

    // An empty first line stops before the dialog.
    SetBatchList({"", "a.txt"});
    Tarvix->ChiSquare1->Click();
    EXPECT_EQ(TestChiOpts->Shown, 1);
    EXPECT_FALSE(Tarvix->Flag);
}
