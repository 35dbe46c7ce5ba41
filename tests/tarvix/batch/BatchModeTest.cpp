// Batch mode on and off, the file list, the directory dialog and the summary files.
#include "tests/tarvix/batch/BatchFixture.h"

#include <gtest/gtest.h>

namespace {

class BatchMode : public BatchFixture
{
};

}  // namespace

TEST_F(BatchMode, OnShowsTheListAndLocksTheMatrixCommands)
{
    WriteMatrix("a.txt");
    WriteMatrix("B.TXT");
    Write("notes.csv", "x");
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    TTarvix *t = Tarvix;
    t->BuildBatchSummaryFile("old.txt", "1", "2", "3");
    t->Batch1->Click();

    EXPECT_TRUE(t->BatchSwitch);
    EXPECT_TRUE(t->Batch1->Checked());
    EXPECT_EQ(t->Caption(), "Tarvix Professional Batch file processing..." + QDir::currentPath());
    QStringList listed = t->Memo1->Lines()->ToStringList();
    listed.sort();
    EXPECT_EQ(listed, (QStringList{"B.TXT", "a.txt"}));
    EXPECT_EQ(t->BatchGrid->RowCount(), 1);
    EXPECT_EQ(t->BatchGrid->Cells(0, 0), "FileName");
    for (TControl *shown : std::initializer_list<TControl *>{t->BatchGroupBox, t->BatchSummaryBox, t->BatchGrid})
        EXPECT_TRUE(shown->Visible()) << shown->Name().toStdString();
    EXPECT_FALSE(t->MainGrid->Visible());
    EXPECT_TRUE(t->Changedirectory1->Visible());
    for (TMenuItem *off : {t->New1, t->Open1, t->Close1, t->Save1, t->About2, t->Edit1})
        EXPECT_FALSE(off->Enabled()) << off->Name().toStdString();
    for (TMenuItem *on : {t->S1, t->E1, t->Analyze1, t->Help1, t->Batch1})
        EXPECT_TRUE(on->Enabled()) << on->Name().toStdString();
    // The Edit menu's shortcuts go with it; Ctrl+D now reaches the directory command only.
    EXPECT_FALSE(t->IsShortCut('R', TShiftState{ssCtrl}));
    EXPECT_TRUE(t->LockRowTitles->Checked());
}

TEST_F(BatchMode, OffBringsBackANewMatrix)
{
    TTarvix *t = Tarvix;
    WriteMatrix("a.txt");
    t->Batch1->Click();
    t->FileName = Path("a.txt");
    t->OpenBatchFile();
    t->BuildBatchSummaryFile(t->FileName, "1", "2", "3");
    t->BatchFileCount = 3;
    t->Edit1->SetEnabled(true);
    t->RestructMatrix->SetEnabled(false);

    t->Batch1->Click();
    EXPECT_FALSE(t->BatchSwitch);
    EXPECT_FALSE(t->Batch1->Checked());
    EXPECT_EQ(t->BatchFileCount, 0);
    EXPECT_EQ(t->FileName, Path("Untitled.txt"));
    EXPECT_EQ(t->Caption(), "Tarvix Professional " + Path("Untitled.txt"));
    EXPECT_EQ(t->MainGrid->RowCount(), 6);
    EXPECT_EQ(t->MainGrid->Cells(0, 1), "species1");
    EXPECT_EQ(t->BatchGrid->RowCount(), 1);
    EXPECT_TRUE(t->MainGrid->Visible());
    for (TControl *hidden : std::initializer_list<TControl *>{t->BatchGroupBox, t->BatchSummaryBox, t->BatchGrid})
        EXPECT_FALSE(hidden->Visible()) << hidden->Name().toStdString();
    EXPECT_FALSE(t->Changedirectory1->Visible());
    for (TMenuItem *on : {t->New1, t->Open1, t->Close1, t->Save1, t->About2, t->Edit1, t->RestructMatrix})
        EXPECT_TRUE(on->Enabled()) << on->Name().toStdString();
}

TEST_F(BatchMode, ClearedRowsDoNotComeBack)
{
    TTarvix *t = Tarvix;
    t->BuildBatchSummaryFile("/x/a.txt", "1", "2", "3");
    t->BuildBatchSummaryFile("b.txt", "4", "5", "6");
    EXPECT_EQ(t->BatchGrid->Rows(1)->ToStringList(), (QStringList{"a.txt", "1", "2", "3"}));
    t->ClearBatchGrid();
    t->BatchGrid->SetRowCount(3);
    EXPECT_EQ(t->BatchGrid->Cells(0, 2), "");
    EXPECT_EQ(t->BatchGrid->Cells(0, 0), "FileName");
}

TEST_F(BatchMode, DirectoryDialogChangesTheWorkingFolderAndTheList)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    Write("sub/x.txt", "x\r\n");
    Write("sub/y.dat", "y\r\n");
    Write("top.txt", "t\r\n");
    Tarvix->Batch1->Click();
    const QString sub = QDir(Path("sub")).canonicalPath();
    QStringList fromDialog;
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(ChangeDirectory->DirectoryListBox1->Directory(), QDir(dir.path()).canonicalPath());
        EXPECT_EQ(ChangeDirectory->FileListBox1->Items()->ToStringList(), QStringList{"top.txt"});
        ChangeDirectory->DirectoryListBox1->SetDirectory(sub);
        EXPECT_EQ(QDir::currentPath(), sub);
        ChangeDirectory->Button1->Click();
        fromDialog = Tarvix->Memo1->Lines()->ToStringList();
    });
    // Ctrl+D belongs to the directory command in batch mode (Randomize is out of reach).
    EXPECT_TRUE(Tarvix->IsShortCut(Word('D'), TShiftState{ssCtrl}));
    EXPECT_EQ(fromDialog, QStringList{"x.txt"});
    EXPECT_EQ(Tarvix->Memo1->Lines()->ToStringList(), QStringList{"x.txt"});
    EXPECT_EQ(Tarvix->Caption(), "Tarvix Professional Batch processing..." + sub);
}

TEST_F(BatchMode, SaveBatchSummaryWritesBothFilesOrSaysItCouldNot)
{
    TTarvix *t = Tarvix;
    TestResults->Summary->Lines()->SetText("line 1\r\nline 2");
    t->BuildBatchSummaryFile("a.txt", "1.00000", "0.10000", "0.90000");
    t->FileName = Path("a.txt");
    {
        TUiScript script;
        EXPECT_TRUE(t->SaveBatchSummary(TestResults->Summary));
        EXPECT_TRUE(script.Messages().isEmpty());
    }
    EXPECT_EQ(Read("Summarya.txt"), "line 1\r\nline 2\r\n");
    EXPECT_EQ(Read("BatchSummary.txt"),
              "FileName Standard-Effect LowerTailP UpperTailP\r\na.txt 1.00000 0.10000 0.90000\r\n");

    struct Case
    {
        const char *Blocked;
        QStringList Messages;
    };
    const Case cases[] = {
        {"Summaryb.txt", {"Error saving batch summary...Aborting."}},
        {"BatchSummary.txt", {"Error writing file.", "Error saving batch summary...Aborting."}},
    };
    t->FileName = Path("b.txt");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Blocked);
        QFile::remove(Path(c.Blocked));
        ASSERT_TRUE(QDir(dir.path()).mkdir(c.Blocked));
        TUiScript script;
        EXPECT_FALSE(t->SaveBatchSummary(TestResults->Summary));
        EXPECT_EQ(script.Messages(), c.Messages);
        ASSERT_TRUE(QDir(dir.path()).rmdir(c.Blocked));
    }
}
