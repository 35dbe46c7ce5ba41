// The progress window over a simulation loop: labels, the abort button, the beeps and the
// rate at which the window follows the iterations.
#include "framework/controls/UiSeam.h"
#include "workspace/ProgressSims.h"
#include "workspace/TarvixHelpers.h"
#include "tests/tarvix/workspace/MainWindowFixture.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <gtest/gtest.h>

namespace {

// The fixture creates the progress window with the main window, as the program block does.
class ProgressRun : public MainWindowFixture
{
protected:
    // The analyses' loop: events and the stop request first, then the work, then one step.
    // Returns the number of iterations begun.
    int RunLoop(int Iterations, int AbortDuring)
    {
        Tarvix->Iterations = Iterations;
        Tarvix->InterruptFlag = false;
        StartProgress(QStringLiteral("Co-occurrence"));
        int begun = 0;
        for (int k = 1; k <= Iterations; ++k) {
            if (SimulationInterrupted())
                break;
            ++begun;
            if (k == AbortDuring)  // the click waits in the queue like a user's
                QMetaObject::invokeMethod(qApp, [] { Progress->InterruptButton->Click(); }, Qt::QueuedConnection);
            Progress->StepIteration();
        }
        Progress->Close();
        return begun;
    }

    static size_t Beeps(const TUiScript &Script) { return Script.RecordsOf(TUiKind::Beep).size(); }
};

// A clock that only moves when told to.
class TStillProgress : public TProgress
{
public:
    using TProgress::TProgress;
    int64_t Now = 1000;

protected:
    int64_t NowMs() const override { return Now; }
};

}  // namespace

TEST_F(ProgressRun, StartShowsModelMatrixSizeAndIterations)
{
    Tarvix->MainGrid->SetColCount(21);
    Tarvix->MainGrid->SetRowCount(11);
    Tarvix->Iterations = 250;
    Progress->ProgressBar1->SetPosition(7);
    StartProgress(QStringLiteral("Guild Structure"));
    EXPECT_TRUE(Progress->Visible());
    EXPECT_EQ(Progress->Caption(), "Tarvix Professional: simulating...");
    EXPECT_EQ(Progress->MatrixLabel->Caption(), "10 rows; 20 columns; ");
    EXPECT_EQ(Progress->ModelLabel->Caption(), "Guild Structure");
    EXPECT_EQ(Progress->IterationsLabel->Caption(), "250");
    EXPECT_EQ(Progress->ProgressBar1->Position(), 0);
    EXPECT_EQ(Progress->ProgressBar1->Max(), 250);
    EXPECT_EQ(Progress->ProgressBar1->Step(), 1);
    EXPECT_EQ(Progress->InterruptButton->Caption(), "&Abort simulation");
    EXPECT_TRUE(Progress->SoundCheck->Checked());
}

TEST_F(ProgressRun, AbortStopsBeforeTheNextIterationWithThreeBeeps)
{
    TUiScript script;
    EXPECT_EQ(RunLoop(100, 7), 7);
    EXPECT_TRUE(Tarvix->InterruptFlag);
    EXPECT_FALSE(Progress->Visible());
    // The loop closes the window again after the button did; only one close sounds.
    EXPECT_EQ(Beeps(script), 3u);
}

TEST_F(ProgressRun, FinishedRunBeepsUnlessBeepIsUnchecked)
{
    {
        TUiScript script;
        EXPECT_EQ(RunLoop(20, 0), 20);
        EXPECT_FALSE(Tarvix->InterruptFlag);
        EXPECT_EQ(Beeps(script), 3u);
    }
    Progress->SoundCheck->SetChecked(false);
    for (int abortDuring : {0, 3}) {
        TUiScript script;
        RunLoop(10, abortDuring);
        EXPECT_EQ(Beeps(script), 0u) << abortDuring;
    }
}

TEST(ProgressRepaint, WidgetsFollowTheIterationsAtMostEveryInterval)
{
    TStillProgress p(nullptr);
    p.Restart(5000);
    for (int i = 0; i < 1000; ++i)
        p.StepIteration();
    // No time has passed: the window still shows the start.
    EXPECT_EQ(p.IterationsDone(), 1000);
    EXPECT_EQ(p.ProgressBar1->Position(), 0);
    EXPECT_EQ(p.IterationsLabel->Caption(), "5000");

    p.Now += TProgress::RepaintIntervalMs - 1;
    p.StepIteration();
    EXPECT_EQ(p.ProgressBar1->Position(), 0);
    p.Now += 1;
    p.StepIteration();
    // The label reads the bar's position before the last step.
    EXPECT_EQ(p.ProgressBar1->Position(), 1002);
    EXPECT_EQ(p.IterationsLabel->Caption(), "1001");

    p.StepIteration();
    EXPECT_EQ(p.ProgressBar1->Position(), 1002);
    p.Flush();
    EXPECT_EQ(p.ProgressBar1->Position(), 1003);
    EXPECT_EQ(p.IterationsLabel->Caption(), "1002");
}

TEST_F(ProgressRun, MainWindowShownClosesAnOpenProgressWindow)
{
    StartProgress(QStringLiteral("Macroecology"));
    ASSERT_TRUE(Progress->Visible());
    TUiScript script;
    Tarvix->Show();
    EXPECT_FALSE(Progress->Visible());
    EXPECT_EQ(Beeps(script), 3u);
}
