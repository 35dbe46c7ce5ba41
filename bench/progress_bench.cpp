// One simulation iteration's share of window work: pending events let through every time, the
// progress window either following at its own pace or repainted on every step.
#include "framework/rtl/SysUtils.h"
#include "bench/BenchMain.h"
#include "workspace/ProgressSims.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

TProgress *ShownProgress()
{
    static TProgress *p = [] {
        auto *f = new TProgress(nullptr);
        f->Show();
        return f;
    }();
    p->Restart(1 << 30);
    return p;
}

void BM_IterationThrottled(benchmark::State &state)
{
    TProgress *p = ShownProgress();
    for (auto _ : state) {
        Application->ProcessMessages();
        p->StepIteration();
    }
}
BENCHMARK(BM_IterationThrottled);

void BM_IterationRepaintEveryStep(benchmark::State &state)
{
    TProgress *p = ShownProgress();
    for (auto _ : state) {
        Application->ProcessMessages();
        p->IterationsLabel->SetCaption(IntToStr(p->ProgressBar1->Position()));
        p->ProgressBar1->StepIt();
    }
}
BENCHMARK(BM_IterationRepaintEveryStep);

}  // namespace

int main(int argc, char **argv) { return RunWidgetBenchmarks(argc, argv); }
