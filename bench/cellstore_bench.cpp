// The cell store: writing N cells row by row in column order (numbers and repeated texts) and
// saving them with their string table into memory, beside a plain loop that formats the same RK,
// NUMBER and LABELSST records into a byte buffer. The ratio of the two is printed at the end;
// run with N = 440,000 and twice that to see the growth.
#include "bench/BenchWorkbookStream.h"
#include "framework/rtl/Streams.h"
#include "tests/progrid/xls/compound/OleFixture.h"
#include "xlsAdapter/compound/duzUOle2Impl.h"
#include "xlsAdapter/records/duzUXlsCellRecords.h"
#include "xlsAdapter/records/duzUXlsColInfo.h"
#include "xlsAdapter/workbook/duzUXlsRowColEntries.h"
#include "xlsAdapter/records/duzUXlsSST.h"
#include "xlsAdapter/workbook/duzUXlsWorkbookGlobals.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <map>
#include <unordered_map>
#include <vector>

namespace {

constexpr int Columns = 20;

std::vector<QString> Texts()
{
    std::vector<QString> t;
    for (int i = 0; i < 500; ++i)
        t.push_back(QStringLiteral("Species %1").arg(i));
    return t;
}

// Column c of row r: texts in every fourth column, whole numbers (RK) and fractions (NUMBER).
int Kind(int c) { return c % 4 == 0 ? 0 : c % 2; }
double Number(int r, int c) { return Kind(c) == 1 ? r * 0.37 + c : r + c; }
const QString &Text(const std::vector<QString> &t, int r, int c) { return t[size_t((r * 7 + c) % t.size())]; }

void BM_CellStore(benchmark::State &state)
{
    const std::vector<QString> texts = Texts();
    const int rows = int(state.range(0) / Columns);
    for (auto _ : state) {
        TWorkbookGlobals globals;
        TSST &sst = globals.SST();
        TColInfoList cols;
        TCells cells(&globals, &cols);
        TCellList &list = *cells.CellList();
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < Columns; ++c) {
                TXlsCellValue v;
                if (Kind(c) == 0)
                    v.Value = Text(texts, r, c);
                else
                    v.Value = Number(r, c);
                list.SetValueX2(r, c, v, nullptr, false);
            }
        WithStream([&](TOle2File &f) {
            sst.SaveToStream(&f);
            cells.SaveToStream(&f);
        });
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The plain version: one record per cell straight into a buffer, texts counted in a hash map.
void BM_CellStore_Plain(benchmark::State &state)
{
    const std::vector<QString> texts = Texts();
    const int rows = int(state.range(0) / Columns);
    for (auto _ : state) {
        std::unordered_map<QString, uint32_t> index;
        std::vector<uint8_t> buf;
        buf.reserve(size_t(state.range(0)) * 18);
        const auto put = [&](const void *p, size_t n) {
            const auto *b = static_cast<const uint8_t *>(p);
            buf.insert(buf.end(), b, b + n);
        };
        const auto word = [&](int v) {
            const uint8_t b[2] = {uint8_t(v), uint8_t(v >> 8)};
            put(b, 2);
        };
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < Columns; ++c) {
                if (Kind(c) == 0) {
                    const uint32_t i = index.try_emplace(Text(texts, r, c), uint32_t(index.size())).first->second;
                    word(0x00FD), word(10), word(r), word(c), word(15), word(int(i & 0xFFFF)), word(int(i >> 16));
                    continue;
                }
                const double d = Number(r, c);
                int32_t rk;
                if (TryRKEncode(rk, d)) {
                    word(0x027E), word(10), word(r), word(c), word(15), word(rk & 0xFFFF), word(int(uint32_t(rk) >> 16));
                } else {
                    word(0x0203), word(14), word(r), word(c), word(15);
                    put(&d, 8);
                }
            }
        WithStream([&](TOle2File &f) { f.WriteMem(buf.data(), int64_t(buf.size())); });
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_CellStore)->Arg(440000)->Arg(880000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CellStore_Plain)->Arg(440000)->Arg(880000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv) { return RunWithRatio(argc, argv, "BM_CellStore", "engine / plain, cells"); }
