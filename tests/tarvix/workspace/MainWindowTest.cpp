// The main window driven offscreen: start-up, menus, close query, help and the about box.
#include "framework/controls/UiSeam.h"
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/System.h"
#include "tests/tarvix/workspace/MainWindowFixture.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QTimer>
#include <gtest/gtest.h>

TEST_F(MainWindowFixture, StartsWithTheDefaultMatrixAndRunState)
{
    TProStringGrid *g = Tarvix->MainGrid;
    ASSERT_EQ(g->RowCount(), 6);
    ASSERT_EQ(g->ColCount(), 6);
    EXPECT_EQ(g->Cells(0, 0), "species");
    EXPECT_EQ(g->Cells(0, 3), "species3");
    EXPECT_EQ(g->Cells(4, 0), "site4");
    for (int r = 1; r < 6; ++r)
        for (int c = 1; c < 6; ++c)
            EXPECT_TRUE(g->Cells(c, r) == "0" || g->Cells(c, r) == "1") << c << "," << r;
    EXPECT_EQ(g->FixedRows(), 1);
    EXPECT_EQ(g->FixedCols(), 1);
    EXPECT_TRUE(Tarvix->LockRowTitles->Checked());
    EXPECT_TRUE(Tarvix->LockColumnTitles->Checked());
    const QString untitled = QDir(dir.path()).absoluteFilePath("Untitled.txt");
    EXPECT_EQ(Tarvix->FileName, untitled);
    EXPECT_EQ(Tarvix->Caption(), "Tarvix Professional " + untitled);
    EXPECT_EQ(Tarvix->HomeDir, QDir(dir.path()).absolutePath());
    EXPECT_EQ(Tarvix->Iterations, 1000);
    EXPECT_EQ(Tarvix->RandomSeed, 0);
    EXPECT_FALSE(Tarvix->BatchSwitch);

    TStringGrid *b = Tarvix->BatchGrid;
    EXPECT_EQ(b->ColCount(), 4);
    EXPECT_EQ(b->RowCount(), 1);
    EXPECT_EQ(b->FixedRows(), 0);
    EXPECT_EQ(b->FixedCols(), 0);
    EXPECT_EQ(QStringList({b->Cells(0, 0), b->Cells(1, 0), b->Cells(2, 0), b->Cells(3, 0)}),
              QStringList({"FileName", "Standard-Effect", "LowerTailP", "UpperTailP"}));
    EXPECT_FALSE(Tarvix->Changedirectory1->Visible());
    EXPECT_FALSE(Tarvix->BatchGroupBox->Visible());
    EXPECT_FALSE(Tarvix->BatchSummaryBox->Visible());
}

TEST_F(MainWindowFixture, NewDrawsOneRandomValuePerDataCellRowByRow)
{
    RandSeed = 4242;
    Tarvix->Close1->Click();
    Tarvix->New1->Click();
    RandSeed = 4242;
    for (int r = 1; r < 6; ++r)
        for (int c = 1; c < 6; ++c)
            ASSERT_EQ(Tarvix->MainGrid->Cells(c, r), IntToStr(Random(2))) << c << "," << r;
    EXPECT_EQ(Tarvix->Caption(), "Tarvix Professional " + QDir(dir.path()).absoluteFilePath("Untitled.txt"));
}

TEST_F(MainWindowFixture, CloseGivesAZeroMatrixWithoutPath)
{
    TProStringGrid *g = Tarvix->MainGrid;
    g->SetFixedRows(0);
    Tarvix->LockColumnTitles->SetChecked(false);
    Tarvix->RestructureGrid(5, 5, 9, 8);
    Tarvix->Close1->Click();
    ASSERT_EQ(g->RowCount(), 6);
    ASSERT_EQ(g->ColCount(), 6);
    for (int r = 1; r < 6; ++r)
        for (int c = 1; c < 6; ++c)
            EXPECT_EQ(g->Cells(c, r), "0");
    EXPECT_EQ(g->Cells(0, 5), "species5");
    EXPECT_EQ(g->Cells(5, 0), "site5");
    EXPECT_EQ(Tarvix->FileName, "Untitled.txt");
    EXPECT_EQ(Tarvix->Caption(), "Tarvix Professional Untitled.txt");
    EXPECT_EQ(g->FixedRows(), 1);
    EXPECT_TRUE(Tarvix->LockColumnTitles->Checked());
}

TEST_F(MainWindowFixture, MenuItemsCarryTheirCaptionsAndShortcuts)
{
    struct Row
    {
        TMenuItem *Item;
        const char *Caption;
        const char *Keys;
    };
    TTarvix *t = Tarvix;
    const Row rows[] = {
        {t->New1, "&New", "Ctrl+N"},
        {t->Open1, "&Open", "Ctrl+O"},
        {t->Save1, "&Save", "Ctrl+S"},
        {t->Spacedelimitedtxt1, "Space delimited (txt)", ""},
        {t->S1, "Save &As", ""},
        {t->E1, "Excel open on sa&ve (.xls) ... on/off", "Ctrl+V"},
        {t->About2, "Abou&t file", ""},
        {t->Batch1, "&Batch ... on/off", "Ctrl+B"},
        {t->Changedirectory1, "Change &Directory", "Ctrl+D"},
        {t->Exit1, "E&xit TVX", "Ctrl+X"},
        {t->LockRowTitles, "lock &Row titles", "Ctrl+R"},
        {t->LockColumnTitles, "lock &Column titles", "Ctrl+C"},
        {t->RestructMatrix, "Resize &matrix", "Ctrl+M"},
        {t->Transformmatrix1, "&Transpose matrix", "Ctrl+T"},
        {t->Randomizematrix1, "Ran&domize matrix", "Ctrl+D"},
        {t->N01, "0 <= X < 1", ""},
        {t->CoOccurrence1, "&1 Co-occurrence", ""},
        {t->RunsTest1, "Runs &Test", ""},
        {t->Helptopics1, "&Help Topics", "F1"},
        {t->About1, "&About", ""},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(row.Item->Caption(), QString::fromLatin1(row.Caption));
        EXPECT_EQ(row.Item->ShortCut(), TextToShortCut(QString::fromLatin1(row.Keys))) << row.Caption;
    }
    EXPECT_EQ(t->LockRowTitles->Hint(), "Fixed titles do not scroll when the grid scrolls.");
    EXPECT_EQ(t->RunsTest1->Parent(), t->N6Standardtests1);
    EXPECT_EQ(t->MainMenu1->Items()->Count(), 4);
}

TEST_F(MainWindowFixture, CtrlCTogglesTheTitleRowLock)
{
    Tarvix->Show();
    auto ctrl = [&](int key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier);
        QCoreApplication::sendEvent(Tarvix->MainGrid->Widget(), &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::ControlModifier);
        QCoreApplication::sendEvent(Tarvix->MainGrid->Widget(), &release);
    };
    ctrl(Qt::Key_C);
    EXPECT_FALSE(Tarvix->LockColumnTitles->Checked());
    EXPECT_EQ(Tarvix->MainGrid->FixedRows(), 0);
    ctrl(Qt::Key_C);
    EXPECT_TRUE(Tarvix->LockColumnTitles->Checked());
    EXPECT_EQ(Tarvix->MainGrid->FixedRows(), 1);
    ctrl(Qt::Key_R);
    EXPECT_FALSE(Tarvix->LockRowTitles->Checked());
    EXPECT_EQ(Tarvix->MainGrid->FixedCols(), 0);
}

TEST_F(MainWindowFixture, LocksOnAOneRowGridAreRefused)
{
    TUiScript script;
    TProStringGrid *g = Tarvix->MainGrid;
    g->SetRowCount(1);
    Tarvix->LockColumnTitles->SetChecked(false);
    Tarvix->LockRowColumn();
    EXPECT_EQ(script.Messages(), QStringList{"Unable to lock row and column titles!"});
    // The column lock took, the row lock did not; the check marks must say so.
    EXPECT_TRUE(Tarvix->LockRowTitles->Checked());
    EXPECT_EQ(g->FixedCols(), 1);
    EXPECT_FALSE(Tarvix->LockColumnTitles->Checked());

    EXPECT_ANY_THROW(Tarvix->LockColumnTitles->Click());
    EXPECT_FALSE(Tarvix->LockColumnTitles->Checked());
    EXPECT_EQ(g->FixedRows(), 0);
}

TEST_F(MainWindowFixture, CloseQueryAsksAndCancelKeepsTheProgramRunning)
{
    Tarvix->Show();
    const QString before = Tarvix->MainGrid->Cells(2, 2);
    {
        TUiScript script;
        script.AnswerNext(mrCancel);
        Tarvix->Exit1->Click();
        EXPECT_EQ(script.Messages(), QStringList{"Close Tarvix Professional?"});
        EXPECT_TRUE(Tarvix->Visible());
        EXPECT_EQ(Tarvix->MainGrid->Cells(2, 2), before);
    }
    {
        TUiScript script;
        script.AnswerNext(mrCancel);
        Tarvix->Close();
        EXPECT_EQ(script.Messages(), QStringList{"Close Tarvix Professional?"});
        EXPECT_TRUE(Tarvix->Visible());
    }
    {
        // Ctrl+X is the Exit command, not a clipboard cut.
        TUiScript script;
        script.AnswerNext(mrCancel);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::ControlModifier);
        QCoreApplication::sendEvent(Tarvix->MainGrid->Widget(), &press);
        EXPECT_EQ(script.Messages(), QStringList{"Close Tarvix Professional?"});
        EXPECT_TRUE(Tarvix->Visible());
        EXPECT_EQ(Tarvix->MainGrid->Cells(2, 2), before);
    }
    TUiScript script;
    script.AnswerNext(mrOk);
    Tarvix->Exit1->Click();
    EXPECT_FALSE(Tarvix->Visible());
}

TEST_F(MainWindowFixture, ShowMovesToTheEmptyRowClosesProgressAndEnablesTheFileCommands)
{
    Tarvix->RowError = 4;
    Tarvix->Open1->SetEnabled(false);
    Tarvix->Batch1->SetEnabled(false);
    Progress->Show();
    Tarvix->Show();
    EXPECT_FALSE(Progress->Visible());
    EXPECT_EQ(Tarvix->MainGrid->Row(), 4);
    EXPECT_TRUE(Tarvix->Open1->Enabled());
    EXPECT_TRUE(Tarvix->Batch1->Enabled());
    EXPECT_TRUE(Tarvix->RestructMatrix->Enabled());
}

TEST_F(MainWindowFixture, HelpOpensTheFileInHomeDirAndReturnsToTheWorkingDirectory)
{
    QTemporaryDir other;
    ASSERT_TRUE(QDir::setCurrent(other.path()));
    const QString workDir = QDir::currentPath();
    {
        TUiScript script;
        Tarvix->Helptopics1->Click();
        EXPECT_EQ(script.Messages(), QStringList{"Could not execute tvxhelp.chm"});
        EXPECT_EQ(QDir::currentPath(), workDir);
        EXPECT_EQ(Tarvix->CurrentDir, workDir);
    }
    QFile help(QDir(dir.path()).filePath("tvxhelp.chm"));
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.close();
    {
        TUiScript script;
        Tarvix->RunHelp();
        EXPECT_TRUE(script.Messages().isEmpty());
        const auto calls = script.RecordsOf(TUiKind::Shell);
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].Text, QFileInfo(help).absoluteFilePath());
        EXPECT_EQ(QDir::currentPath(), workDir);
    }
    {
        TUiScript script;
        Tarvix->HomeDir = QDir(dir.path()).filePath("gone");
        Tarvix->RunHelp();
        EXPECT_EQ(script.Messages(), QStringList{"Unable to load Help. Directory error."});
        EXPECT_TRUE(script.RecordsOf(TUiKind::Shell).empty());
        EXPECT_EQ(QDir::currentPath(), workDir);
    }
}

TEST_F(MainWindowFixture, AboutBoxIsModalAndItsLinkGoesThroughTheShell)
{
    TUiScript script;
    bool shown = false;
    QTimer::singleShot(0, [&] {
        shown = TarvixAbout->Visible();
        TarvixAbout->WebButton->Click();
        TarvixAbout->OKButton->Click();
    });
    Tarvix->About1->Click();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(TarvixAbout->Visible());
    EXPECT_EQ(TarvixAbout->ModalResult(), mrOk);
    EXPECT_EQ(TarvixAbout->Caption(), "Version 1.0");
    EXPECT_EQ(TarvixAbout->ProductName->Caption(), "Tarvix Professional  ");
    const auto calls = script.RecordsOf(TUiKind::Shell);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].Text, TarvixWebAddress);
}

TEST(LeadingInt, ReadsTheIntegerAtTheStartOfTheText)
{
    const std::pair<const char *, int32_t> cases[] = {
        {"1000 ", 1000},       {"  12abc", 12},      {"-3", -3},           {"+7", 7},
        {"abc", 0},            {"", 0},              {" - 4", 0},          {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN}, {"0042", 42},
    };
    for (const auto &[text, value] : cases)
        EXPECT_EQ(LeadingInt(QString::fromLatin1(text)), value) << text;
    EXPECT_THROW(LeadingInt("2147483648"), EConvertError);
    EXPECT_THROW(LeadingInt("99999999999999999999"), EConvertError);
}

TEST(ProgramBlock, MainWindowComesFirstAndExitEndsTheRunCleanly)
{
    // Run and Terminate change the application for good: checked in a child process.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            QTemporaryDir dir;
            QDir::setCurrent(dir.path());
            Application->SetTitle("Tarvix");
            Application->CreateForm(Tarvix);
            Application->CreateForm(Progress);
            Application->CreateForm(TarvixAbout);
            Application->CreateForm(TarvixRedoMatrix);
            TUiScript script;
            script.AnswerNext(mrCancel).AnswerNext(mrOk);
            QTimer::singleShot(0, [] {
                Tarvix->Exit1->Click();  // refused
                Tarvix->Exit1->Click();
            });
            Application->Run();
            bool ok = Application->MainForm() == Tarvix && Application->Terminated() &&
                      script.Messages() == QStringList({"Close Tarvix Professional?", "Close Tarvix Professional?"}) &&
                      Tarvix->MainGrid->RowCount() == 6;
            // A use after free while the forms go shows up here under AddressSanitizer; leaks
            // of the forms are checked in the main process, since the exit skips the checker.
            Application->DestroyForms();
            std::_Exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
