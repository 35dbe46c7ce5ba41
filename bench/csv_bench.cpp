// Delimited text loaded into the grid (LoadFromCSV after Clear, as the main window opens a matrix),
// each beside a plain parse of the same file into a vector of strings (read, decode, split):
// - a 201 x 2201 space-delimited 0/1 matrix (a header row and a name column around 200 x 2200
//   data cells): the grid load should stay within 4 times the plain parse;
// - a 1000 x 1000 space-delimited file of numbers: within 2 times;
// - a matrix file of one line of 1, 2 and 4 million cells: the time per cell should stay flat;
// - the heap a 2000 x 2000 grid of short numbers holds, per cell, beside the heap the same texts
//   hold in a vector of strings: within 2 times.
// The ratios are printed at the end.
#include "framework/rtl/CodePage.h"
#include "grid/core/ProGrid.h"
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include "bench/BenchRatio.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

QTemporaryDir *g_dir = nullptr;
QString g_matrix01, g_numbers, g_memory;
std::map<int, QString> g_oneLine;

constexpr int kDataRows = 200;
constexpr int kDataCols = 2200;
constexpr int kNumberSide = 1000;
constexpr int kMemorySide = 2000;

QString WriteFile(const QString &Name, const QByteArray &Text)
{
    const QString path = g_dir->filePath(Name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(Text);
    return path;
}

uint32_t Next(uint32_t &State)
{
    State = State * 134775813u + 1u;
    return State >> 8;
}

QByteArray Matrix01()
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
    return text;
}

// Side x Side numbers; Decimals adds a fraction of two digits to most of them.
QByteArray Numbers(int Side, bool Decimals)
{
    QByteArray text;
    uint32_t state = 777;
    for (int r = 0; r < Side; ++r) {
        for (int c = 0; c < Side; ++c) {
            if (c > 0)
                text += ' ';
            const uint32_t v = Next(state);
            text += QByteArray::number(v % (Decimals ? 10000 : 1000));
            if (Decimals && v % 7 != 0)
                text += '.' + QByteArray::number(10 + (v >> 12) % 90);
        }
        text += "\r\n";
    }
    return text;
}

QByteArray OneLine(int Cells)
{
    QByteArray text;
    text.reserve(qsizetype(Cells) * 2 + 2);
    uint32_t state = 99;
    for (int c = 0; c < Cells; ++c) {
        if (c > 0)
            text += ' ';
        text += (Next(state) & 1) ? '1' : '0';
    }
    text += "\r\n";
    return text;
}

void WriteFiles()
{
    g_matrix01 = WriteFile("matrix01.txt", Matrix01());
    g_numbers = WriteFile("numbers.txt", Numbers(kNumberSide, true));
    g_memory = WriteFile("short.txt", Numbers(kMemorySide, false));
    for (int m : {1, 2, 4})
        g_oneLine[m] = WriteFile(QStringLiteral("line%1.txt").arg(m), OneLine(m * 1000000));
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

std::unique_ptr<TProStringGrid> MainWindowGrid()
{
    auto grid = std::make_unique<TProStringGrid>(nullptr);
    grid->SetDelimiter(' ');
    grid->Clear();
    return grid;
}

void RunPlain(benchmark::State &state, const QString &File)
{
    size_t cells = 0;
    for (auto _ : state) {
        std::vector<QString> v = PlainParse(File);
        cells = v.size();
        benchmark::DoNotOptimize(v.data());
    }
    state.counters["cells"] = double(cells);
}

void RunGrid(benchmark::State &state, const QString &File, int Cols, int Rows)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto grid = MainWindowGrid();
        state.ResumeTiming();
        grid->LoadFromCSV(File, -1);
        state.PauseTiming();
        if (grid->RowCount() != Rows || grid->ColCount() != Cols)
            state.SkipWithError("wrong dimensions");
        grid.reset();
        state.ResumeTiming();
    }
    state.counters["cells"] = double(Cols) * Rows;
}

void BM_Plain_Matrix01(benchmark::State &state) { RunPlain(state, g_matrix01); }
void BM_Grid_Matrix01(benchmark::State &state) { RunGrid(state, g_matrix01, kDataCols + 1, kDataRows + 1); }
void BM_Plain_Numbers(benchmark::State &state) { RunPlain(state, g_numbers); }
void BM_Grid_Numbers(benchmark::State &state) { RunGrid(state, g_numbers, kNumberSide, kNumberSide); }
void BM_Plain_OneLine(benchmark::State &state) { RunPlain(state, g_oneLine[int(state.range(0))]); }
void BM_Grid_OneLine(benchmark::State &state)
{
    RunGrid(state, g_oneLine[int(state.range(0))], int(state.range(0)) * 1000000, 1);
}

BENCHMARK(BM_Plain_Matrix01)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Grid_Matrix01)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Plain_Numbers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Grid_Numbers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Plain_OneLine)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Grid_OneLine)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond)->Iterations(1);

// Heap bytes in use (glibc), small blocks and mapped ones.
double HeapInUse()
{
#ifdef __GLIBC__
    const struct mallinfo2 m = mallinfo2();
    return double(m.uordblks) + double(m.hblkhd);
#else
    return 0;
#endif
}

// What the heap holds after the load, less what it held before; the file's text is gone by then.
void BM_Memory(benchmark::State &state)
{
    const double cells = double(kMemorySide) * kMemorySide;
    for (auto _ : state) {
        auto grid = MainWindowGrid();
        const double before = HeapInUse();
        grid->LoadFromCSV(g_memory, -1);
        const double gridBytes = HeapInUse() - before;
        grid.reset();
        const double before2 = HeapInUse();
        std::vector<QString> texts = PlainParse(g_memory);
        const double textBytes = HeapInUse() - before2;
        state.counters["grid_bytes_per_cell"] = gridBytes / cells;
        state.counters["text_bytes_per_cell"] = textBytes / cells;
    }
}
BENCHMARK(BM_Memory)->Unit(benchmark::kMillisecond)->Iterations(1);

void Ratio(TTimesReporter::TValues &Times, const char *Label, const std::string &Grid, const std::string &Plain)
{
    if (Times.count(Grid) && Times.count(Plain) && Times[Plain] > 0)
        std::printf("%s = %.1f\n", Label, Times[Grid] / Times[Plain]);
}

void PrintRatios(TTimesReporter::TValues &Times, TTimesReporter::TValues &Counters)
{
    Ratio(Times, "0/1 matrix 200 x 2200, grid / plain parse", "BM_Grid_Matrix01", "BM_Plain_Matrix01");
    Ratio(Times, "numbers 1000 x 1000, grid / plain parse", "BM_Grid_Numbers", "BM_Plain_Numbers");
    for (int m : {1, 2, 4}) {
        const std::string grid = "BM_Grid_OneLine/" + std::to_string(m) + "/iterations:1";
        if (Times.count(grid))
            std::printf("one line of %d million cells: %.0f ms, %.0f ms per million cells\n", m, Times[grid],
                        Times[grid] / m);
    }
    if (Counters.count("grid_bytes_per_cell")) {
        const double g = Counters["grid_bytes_per_cell"], t = Counters["text_bytes_per_cell"];
        std::printf("2000 x 2000 short numbers: grid %.1f bytes per cell, texts %.1f bytes per cell, "
                    "grid / texts = %.2f\n", g, t, t > 0 ? g / t : 0.0);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    g_dir = new QTemporaryDir;
    WriteFiles();
    TTimesReporter reporter(PrintRatios);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    delete g_dir;
    benchmark::Shutdown();
    return 0;
}
