// A 201 x 2201 space-delimited 0/1 matrix file (a header row and a name column around 200 x 2200
// data cells) loaded into the grid, beside a plain parse of the same file into a vector of strings.
// The grid load should stay within 4 times the plain parse.
#include "framework/rtl/CodePage.h"
#include "bench/BenchMain.h"
#include "grid/core/ProGrid.h"
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

constexpr int kDataRows = 200;
constexpr int kDataCols = 2200;

QTemporaryDir *g_dir = nullptr;
QString g_file;

void WriteMatrix()
{
    QByteArray text = "Species";
    for (int c = 1; c <= kDataCols; ++c)
        text += " S" + QByteArray::number(c);
    text += "\r\n";
    uint32_t state = 12345;
    for (int r = 1; r <= kDataRows; ++r) {
        text += "Sp" + QByteArray::number(r);
        for (int c = 0; c < kDataCols; ++c) {
            state = state * 134775813u + 1u;
            text += (state >> 31) ? " 1" : " 0";
        }
        text += "\r\n";
    }
    g_file = g_dir->filePath("matrix.txt");
    QFile f(g_file);
    f.open(QIODevice::WriteOnly);
    f.write(text);
}

// The same work without the grid: read, decode, split lines and fields by index.
std::vector<QString> PlainParse(const QString &fileName)
{
    QFile f(fileName);
    f.open(QIODevice::ReadOnly);
    const QString text = AnsiToString(f.readAll());
    std::vector<QString> cells;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i <= n; ++i) {
        const QChar c = i < n ? text[i] : QChar('\n');
        if (c == QChar(' ') || c == QChar('\r') || c == QChar('\n')) {
            if (i > start)
                cells.push_back(text.mid(start, i - start));
            start = i + 1;
        }
    }
    return cells;
}

void BM_PlainParse(benchmark::State &state)
{
    size_t cells = 0;
    for (auto _ : state) {
        std::vector<QString> v = PlainParse(g_file);
        cells = v.size();
        benchmark::DoNotOptimize(v.data());
    }
    state.counters["cells"] = double(cells);
}
BENCHMARK(BM_PlainParse)->Unit(benchmark::kMillisecond);

void BM_GridLoadFromCSV(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto grid = std::make_unique<TProStringGrid>(nullptr);
        grid->SetDelimiter(' ');
        grid->Clear();
        state.ResumeTiming();
        grid->LoadFromCSV(g_file, -1);
        state.PauseTiming();
        if (grid->RowCount() != kDataRows + 1 || grid->ColCount() != kDataCols + 1)
            state.SkipWithError("wrong dimensions");
        grid.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_GridLoadFromCSV)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return RunWidgetBenchmarks(argc, argv, [] { g_dir = new QTemporaryDir; WriteMatrix(); }, [] { delete g_dir; });
}
