// The whole co-occurrence analysis on a 100 x 100 matrix, as the Analyze menu runs it offscreen:
// options dialog, Run with 5,000 fixed-fixed sequential-swap iterations, results window. A second
// measure is how long the run takes to stop after the progress window's Abort button.
#include "bench/BenchForms.h"
#include "bench/BenchMain.h"
#include "framework/rtl/System.h"
#include "models/presence_absence/CoOccurrenceMain.h"
#include "models/presence_absence/CoOccurrenceOpts.h"
#include "models/presence_absence/CoOccurrenceUserDefined.h"
#include "workspace/ProgressSims.h"
#include "workspace/TarvixMain.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <chrono>

namespace {


void SetUp()
{
    StartMainWindow();
    CoOccurrenceUserDefined = CreateForm<TCoOccurrenceUserDefined>();
    CoOccurrenceOpts = CreateForm<TCoOccurrenceOpts>();
    CoOccurrence = CreateForm<TCoOccurrence>();
    TProStringGrid *g = Tarvix->MainGrid;
    g->SetRowCount(101);
    g->SetColCount(101);
    RandSeed = 12345;
    for (int r = 1; r <= 100; ++r) {
        g->SetCells(0, r, QStringLiteral("sp%1").arg(r));
        for (int c = 1; c <= 100; ++c) g->SetCells(c, r, Random(2) ? QStringLiteral("1") : QStringLiteral("0"));
    }
    for (int c = 1; c <= 100; ++c) g->SetCells(c, 0, QStringLiteral("s%1").arg(c));
}

// Calls Step each time Form is up, until Action returns.
void WhileShown(TForm *Form, const std::function<void()> &Action, const std::function<void()> &Step)
{
    QTimer timer;
    timer.setInterval(1);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (Form->Visible()) Step();
    });
    timer.start();
    Action();
}

// The options dialog closed with Run: 5,000 sequential-swap iterations on fixed sums.
void ChooseOptions(const QString &Iterations)
{
    Tarvix->RangeCoOccurrence = 0;
    WhileShown(CoOccurrenceOpts, [] { CoOccurrenceOpts->ShowModal(); }, [&] {
        CoOccurrenceOpts->RowGroup->SetItemIndex(1);
        CoOccurrenceOpts->ColumnGroup->SetItemIndex(1);
        CoOccurrenceOpts->FixedFixedGroup->SetItemIndex(0);
        CoOccurrenceOpts->IndexList->SetItemIndex(0);
        CoOccurrenceOpts->IterationsEdit->SetText(Iterations);
        CoOccurrenceOpts->RandomSeedEdit->SetText(QStringLiteral("7"));
        CoOccurrenceOpts->Run1->Click();
    });
}

void BM_CoOccurrenceRun100x100(benchmark::State &state)
{
    for (auto _ : state) {
        ChooseOptions(QStringLiteral("5000"));
        WhileShown(CoOccurrence, [] { CoOccurrence->Run(); }, [] { CoOccurrence->Close(); });
        if (CoOccurrence->SimCount != 5000) state.SkipWithError("the run did not finish");
    }
}
BENCHMARK(BM_CoOccurrenceRun100x100)->Unit(benchmark::kMillisecond);

// Time from the Abort click to the end of Run, with the click 200 ms into a long run.
void BM_CoOccurrenceAbortLatency(benchmark::State &state)
{
    for (auto _ : state) {
        ChooseOptions(QStringLiteral("100000"));
        std::chrono::steady_clock::time_point clicked;
        QTimer::singleShot(200, [&] {
            clicked = std::chrono::steady_clock::now();
            Progress->InterruptButton->Click();
        });
        CoOccurrence->Run();
        const auto stopped = std::chrono::steady_clock::now();
        if (!Tarvix->InterruptFlag) state.SkipWithError("the run was not stopped");
        state.SetIterationTime(std::chrono::duration<double>(stopped - clicked).count());
    }
}
BENCHMARK(BM_CoOccurrenceAbortLatency)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    return RunWidgetBenchmarks(argc, argv, SetUp, [] { QDir::setCurrent(QDir::tempPath()); });
}
