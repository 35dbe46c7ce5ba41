// Cell values through the file object: a new 2200-row, 200-column workbook of 0 and 1 filled
// with SetCellValue and saved, and that file opened and every cell read with GetCellValue and
// summed; each beside a plain loop that writes or reads the same ROW and MULRK records' bytes
// in a compound file. The two ratios are printed at the end.
#include "bench/BenchWorkbookStream.h"
#include "framework/rtl/Streams.h"
#include "xlsAdapter/compound/duzUOle2Impl.h"
#include "xlsAdapter/file/duzUXlsFile.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstring>
#include <vector>

namespace {

constexpr int Rows = 2200, Columns = 200;
constexpr uint16_t RowRecord = 0x0208, MulRkRecord = 0x00BD, RkRecord = 0x027E, NumberRecord = 0x0203;

double CellValue(int r, int c) { return double((r + c) % 2); }

struct Files
{
    QTemporaryDir dir;
    QString engine = dir.filePath("engine.xls");
    QString plain = dir.filePath("plain.xls");
};

Files &TheFiles()
{
    static Files f;
    return f;
}

void Put16(std::vector<uint8_t> &b, unsigned v)
{
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t> &b, uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

void WriteWithEngine(const QString &Name)
{
    TXLSFile f(nullptr, true);
    f.Connect();
    f.NewFile(1);
    for (int r = 1; r <= Rows; ++r)
        for (int c = 1; c <= Columns; ++c)
            f.SetCellValue(r, c, CellValue(r - 1, c - 1));
    f.Save(true, Name, {}, {});
    f.Disconnect();
}

void BM_XlsValues_Engine_Write(benchmark::State &state)
{
    for (auto _ : state)
        WriteWithEngine(TheFiles().engine);
    state.SetItemsProcessed(state.iterations() * Rows * Columns);
}

// A ROW record and one MULRK record of integer RK values per row, built and written.
void BM_XlsValues_Plain_Write(benchmark::State &state)
{
    const QByteArray source = BenchWorkbookSource();
    std::vector<uint8_t> rec;
    for (auto _ : state) {
        auto src = ole::MemStream(source);
        TFileStream out(TheFiles().plain, fmCreate);
        TOle2File f(src.get());
        f.PrepareForWrite(&out, "Workbook", {});
        for (int r = 0; r < Rows; ++r) {
            rec.clear();
            Put16(rec, RowRecord);
            Put16(rec, 16);
            Put16(rec, r);
            Put16(rec, 0);
            Put16(rec, Columns);
            Put16(rec, 255);
            Put32(rec, 0);
            Put32(rec, 0x100);
            Put16(rec, MulRkRecord);
            Put16(rec, 6 + 6 * Columns);
            Put16(rec, r);
            Put16(rec, 0);
            for (int c = 0; c < Columns; ++c) {
                Put16(rec, 15);
                Put32(rec, (uint32_t(CellValue(r, c)) << 2) | 2);
            }
            Put16(rec, Columns - 1);
            f.WriteMem(rec.data(), int64_t(rec.size()));
        }
        f.Close();
    }
    state.SetItemsProcessed(state.iterations() * Rows * Columns);
}

void BM_XlsValues_Engine_Read(benchmark::State &state)
{
    WriteWithEngine(TheFiles().engine);
    double sum = 0;
    for (auto _ : state) {
        TXLSFile f(nullptr);
        f.Connect();
        f.OpenFile(TheFiles().engine);
        sum = 0;
        for (int r = 1; r <= Rows; ++r)
            for (int c = 1; c <= Columns; ++c)
                sum += f.GetCellValue(r, c).AsDouble();
        f.Disconnect();
    }
    if (sum != Rows * Columns / 2)
        state.SkipWithError("wrong sum");
    state.SetItemsProcessed(state.iterations() * Rows * Columns);
}

double RkValue(uint32_t rk)
{
    double v;
    if (rk & 2) {
        v = double(int32_t(rk) >> 2);
    } else {
        const uint64_t bits = uint64_t(rk & 0xFFFFFFFC) << 32;
        std::memcpy(&v, &bits, 8);
    }
    return rk & 1 ? v / 100 : v;
}

// Every record of the engine's file read; the values of RK, MULRK and NUMBER records summed.
void BM_XlsValues_Plain_Read(benchmark::State &state)
{
    WriteWithEngine(TheFiles().engine);
    std::vector<uint8_t> body(65536);
    double sum = 0;
    for (auto _ : state) {
        TFileStream in(TheFiles().engine, fmOpenRead);
        TOle2File f(&in);
        f.SelectStream("Workbook");
        sum = 0;
        uint8_t h[4];
        while (!f.Eof()) {
            f.ReadMem(h, 4);
            const uint16_t id = uint16_t(h[0] | (h[1] << 8));
            const int len = h[2] | (h[3] << 8);
            f.ReadMem(body.data(), len);
            const uint8_t *d = body.data();
            const auto u32 = [&](int at) { return uint32_t(d[at] | (d[at + 1] << 8) | (d[at + 2] << 16) | (uint32_t(d[at + 3]) << 24)); };
            if (id == MulRkRecord) {
                for (int at = 4; at + 6 <= len - 2; at += 6)
                    sum += RkValue(u32(at + 2));
            } else if (id == RkRecord) {
                sum += RkValue(u32(6));
            } else if (id == NumberRecord) {
                double v;
                std::memcpy(&v, d + 6, 8);
                sum += v;
            }
        }
    }
    if (sum != Rows * Columns / 2)
        state.SkipWithError("wrong sum");
    state.SetItemsProcessed(state.iterations() * Rows * Columns);
}

} // namespace

BENCHMARK(BM_XlsValues_Engine_Write)->Name("BM_XlsValues_Engine/write")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XlsValues_Plain_Write)->Name("BM_XlsValues_Plain/write")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XlsValues_Engine_Read)->Name("BM_XlsValues_Engine/read")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XlsValues_Plain_Read)->Name("BM_XlsValues_Plain/read")->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return RunWithRatio(argc, argv, "BM_XlsValues_Engine", "file object / plain records");
}
