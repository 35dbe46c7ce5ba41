// The workbook file object: opening and saving a 2200-row, 200-column workbook of numbers and
// repeated texts from and to disk, beside a plain loop that reads the same file's "Workbook"
// records and copies their bytes into a new compound file. The ratio is printed at the end.
#include "bench/BenchWorkbookStream.h"
#include "framework/rtl/Streams.h"
#include "xlsAdapter/compound/duzUOle2Impl.h"
#include "xlsAdapter/file/duzUXlsFile.h"
#include "xlsAdapter/workbook/duzUXlsRowColEntries.h"
#include "xlsAdapter/workbook/duzUXlsWorkbook.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <vector>

namespace {

constexpr int Rows = 2200, Columns = 200;

struct Files
{
    QTemporaryDir dir;
    QString src, dst;
    Files()
    {
        src = dir.filePath("src.xls");
        dst = dir.filePath("dst.xls");
        TXLSFile f(nullptr);
        f.Connect();
        f.NewFile(1);
        TCellList &cells = *f.GetTWorkbook()->WorkSheets(0)->Cells()->CellList();
        for (int r = 0; r < Rows; ++r)
            for (int c = 0; c < Columns; ++c) {
                TXlsCellValue v;
                // Texts in every fourth column, whole numbers and fractions in the others.
                if (c % 4 == 0)
                    v.Value = QStringLiteral("Species %1").arg((r * 7 + c) % 500);
                else
                    v.Value = c % 2 ? r * 0.37 + c : double(r + c);
                cells.SetValueX2(r, c, v, nullptr, false);
            }
        f.Save(true, src, {}, {});
        f.Disconnect();
    }
};

Files &TheFiles()
{
    static Files f;
    return f;
}

void BM_XlsFile_OpenSave(benchmark::State &state)
{
    Files &files = TheFiles();
    TXLSFile f(nullptr, true);
    f.Connect();
    for (auto _ : state) {
        f.OpenFile(files.src);
        f.Save(true, files.dst, {}, {});
    }
    f.Disconnect();
    state.SetItemsProcessed(state.iterations() * Rows * Columns);
}

// Record by record: the header, then the body, each copied into the new file's stream.
void BM_XlsFile_PlainCopy(benchmark::State &state)
{
    Files &files = TheFiles();
    std::vector<uint8_t> body(65536);
    for (auto _ : state) {
        TFileStream in(files.src, fmOpenRead);
        TOle2File src(&in);
        src.SelectStream("Workbook");
        std::vector<uint8_t> records;
        uint8_t h[4];
        while (!src.Eof()) {
            src.ReadMem(h, 4);
            const int len = h[2] | (h[3] << 8);
            src.ReadMem(body.data(), len);
            records.insert(records.end(), h, h + 4);
            records.insert(records.end(), body.begin(), body.begin() + len);
        }
        TFileStream out(files.dst, fmCreate);
        TFileStream again(files.src, fmOpenRead);
        TOle2File copy(&again);
        copy.PrepareForWrite(&out, "Workbook", {});
        copy.WriteMem(records.data(), int64_t(records.size()));
        copy.Close();
    }
    state.SetItemsProcessed(state.iterations() * Rows * Columns);
}

} // namespace

BENCHMARK(BM_XlsFile_OpenSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XlsFile_PlainCopy)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv) { return RunWithRatio(argc, argv, "BM_XlsFile_OpenSave", "open and save / plain record copy"); }
