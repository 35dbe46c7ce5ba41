// The clipboard against loading a file: 100,000 rows of 5 tab-separated cells
// - pasted into an editable grid (the clipboard's text through PasteAt) should stay within 5 times
//   LoadFromCSV of the same text as a file;
// - copied back from the filled grid (CopyToClipBoard) within 3 times.
// The ratios are printed at the end.
#include "framework/os/Clipbrd.h"
#include "grid/core/ProGrid.h"
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include "bench/BenchRatio.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 5;
QTemporaryDir *g_dir = nullptr;
QString g_text, g_file;

void MakeData()
{
    uint32_t state = 777;
    QString t;
    t.reserve(kRows * kCols * 8);
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kCols; ++c) {
            state = state * 134775813u + 1u;
            if (c)
                t += QChar(9);
            t += QString::number(state >> 12);
        }
        t += QStringLiteral("\r\n");
    }
    g_text = t;
    g_file = g_dir->filePath("data.txt");
    QFile f(g_file);
    f.open(QIODevice::WriteOnly);
    f.write(t.toLatin1());
}

std::unique_ptr<TProStringGrid> NewGrid()
{
    auto g = std::make_unique<TProStringGrid>(nullptr);
    g->SetOptions(g->Options() + goEditing);
    g->SetFixedRows(0);
    g->SetFixedCols(0);
    g->SetColCount(1);
    g->SetRowCount(1);
    return g;
}

void BM_LoadFromCSV(benchmark::State &state)
{
    for (auto _ : state) {
        auto g = NewGrid();
        g->SetDelimiter(QChar(9));
        g->LoadFromCSV(g_file, -1);
        benchmark::DoNotOptimize(g->RowCount());
        state.PauseTiming();
        g.reset();
        state.ResumeTiming();
    }
}

void BM_Paste(benchmark::State &state)
{
    Clipboard()->SetAsText(g_text);
    for (auto _ : state) {
        auto g = NewGrid();
        int cols = 0, rows = 0;
        g->PasteAt(0, 0, cols, rows);
        if (g->RowCount() != kRows || g->ColCount() != kCols)
            state.SkipWithError("paste lost rows");
        state.PauseTiming();
        g.reset();
        state.ResumeTiming();
    }
}

void BM_Copy(benchmark::State &state)
{
    auto g = NewGrid();
    g->SetDelimiter(QChar(9));
    g->LoadFromCSV(g_file, -1);
    for (auto _ : state) {
        g->CopyToClipBoard();
        benchmark::DoNotOptimize(g->ClipTopLeft());
    }
    if (Clipboard()->AsText() != g_text)
        state.SkipWithError("copy differs from the data");
}

BENCHMARK(BM_LoadFromCSV)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paste)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Copy)->Unit(benchmark::kMillisecond);

void PrintRatios(TTimesReporter::TValues &Times, TTimesReporter::TValues &)
{
    const double load = Times["BM_LoadFromCSV"];
    if (load <= 0)
        return;
    std::printf("paste of 100000 x 5 / LoadFromCSV = %.2f (goal 5)\n", Times["BM_Paste"] / load);
    std::printf("copy of 100000 x 5 / LoadFromCSV = %.2f (goal 3)\n", Times["BM_Copy"] / load);
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    g_dir = new QTemporaryDir;
    MakeData();
    TTimesReporter reporter(PrintRatios);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    delete g_dir;
    benchmark::Shutdown();
    return 0;
}
