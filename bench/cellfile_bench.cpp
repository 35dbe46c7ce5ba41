// A 200,000-cell grid file of the grid's own form (400 columns x 500 rows, every cell filled)
// loaded into the grid, beside a plain read and split of the same file into its lines.
// The grid load should stay within 3 times the plain split.
#include "bench/BenchMain.h"
#include "framework/rtl/Streams.h"
#include "grid/core/ProGrid.h"
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

constexpr int kCols = 400;
constexpr int kRows = 500;

QTemporaryDir *g_dir = nullptr;
QString g_file;

void WriteCellFile()
{
    QByteArray text = QByteArray::number(kCols) + "," + QByteArray::number(kRows) + "\r\n";
    for (int c = 0; c < kCols; ++c)
        text += "cw " + QByteArray::number(c) + ",64\r\n";
    uint32_t state = 12345;
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c) {
            state = state * 134775813u + 1u;
            text += QByteArray::number(c) + "," + QByteArray::number(r) + "," + QByteArray::number(state % 1000) + "\r\n";
        }
    g_file = g_dir->filePath("cells.txt");
    QFile f(g_file);
    f.open(QIODevice::WriteOnly);
    f.write(text);
}

// The same reading without the grid: read, decode, split into lines.
std::vector<QString> PlainSplit(const QString &fileName)
{
    QFile f(fileName);
    f.open(QIODevice::ReadOnly);
    const QString text = TEncoding::DecodeFileText(f.readAll());
    std::vector<QString> lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (text[i] == QChar('\n')) {
            lines.push_back(text.mid(start, i - start - (i > start && text[i - 1] == QChar('\r') ? 1 : 0)));
            start = i + 1;
        }
    }
    return lines;
}

void BM_PlainSplit(benchmark::State &state)
{
    size_t lines = 0;
    for (auto _ : state) {
        std::vector<QString> v = PlainSplit(g_file);
        lines = v.size();
        benchmark::DoNotOptimize(v.data());
    }
    state.counters["lines"] = double(lines);
}
BENCHMARK(BM_PlainSplit)->Unit(benchmark::kMillisecond);

void BM_GridLoadFromFile(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto grid = std::make_unique<TProStringGrid>(nullptr);
        state.ResumeTiming();
        grid->LoadFromFile(g_file);
        state.PauseTiming();
        if (grid->RowCount() != kRows || grid->ColCount() != kCols || grid->Cells(kCols - 1, kRows - 1).isEmpty())
            state.SkipWithError("wrong grid");
        grid.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_GridLoadFromFile)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return RunWidgetBenchmarks(argc, argv, [] { g_dir = new QTemporaryDir; WriteCellFile(); }, [] { delete g_dir; });
}
