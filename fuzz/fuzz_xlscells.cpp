// The cell store, column information and merged cells of a sheet: ROW, cell, MULBLANK, MULRK,
// COLINFO and MERGEDCELLS records from any bytes load into them as a sheet loads them, or are
// refused with an Exception. What the store then writes measures what it writes, loads back to
// equal cells, columns and ranges, and writes the same bytes again; rows inserted, copied and
// deleted with counts from the input keep sizes and writing in step.
#include "fuzz/FuzzCommon.h"
#include "fuzz/FuzzRecords.h"
#include "framework/rtl/Streams.h"
#include "tests/progrid/xls/compound/OleFixture.h"
#include "xlsAdapter/records/duzUXlsCellRecords.h"
#include "xlsAdapter/records/duzUXlsColInfo.h"
#include "xlsAdapter/records/duzUXlsOtherRecords.h"
#include "xlsAdapter/workbook/duzUXlsRowColEntries.h"
#include "xlsAdapter/records/duzUXlsSST.h"
#include "xlsAdapter/workbook/duzUXlsWorkbookGlobals.h"

#include <memory>

namespace {

struct Sheet
{
    TWorkbookGlobals globals;
    TSST &sst = globals.SST();
    TColInfoList cols;
    TCells cells{&globals, &cols};
    TRangeList ranges;

    // The input is read as the other harnesses read theirs; what the store wrote, to its end.
    void Load(const QByteArray &Bytes, bool Written)
    {
        const ole::Layout L = ole::Build({ole::Root(), ole::Stream(QStringLiteral("Workbook"), Bytes)});
        auto src = ole::MemStream(L.Bytes);
        TOle2File f(src.get());
        f.SelectStream(QStringLiteral("Workbook"));
        std::vector<std::unique_ptr<TBaseRecord>> records;
        if (!Written) {
            records = FuzzLoadRecords(f);
        } else if (Bytes.size() >= 4) {
            TRecordHeader h;
            uint8_t b[4];
            f.ReadMem(b, 4);
            h.Id = GetWord(b, 0);
            h.Size = GetWord(b, 2);
            for (int64_t left = Bytes.size(); left > 0; left -= 4 + records.back()->DataSize)
                records.emplace_back(LoadRecord(&f, h));
        }
        TRecordHeader none;
        for (auto &r : records) {
            try {
                if (auto *mul = dynamic_cast<TMultipleValueRecord *>(r.get())) {
                    cells.AddMultipleCells(mul);
                } else if (dynamic_cast<TLabelSSTRecord *>(r.get())) {
                    // Text cells need the workbook's string table, which this harness does not read.
                } else if (auto *c = dynamic_cast<TCellRecord *>(r.get())) {
                    cells.AddCell(static_cast<TCellRecord *>(r.release()), c->Row());
                } else if (auto *row = dynamic_cast<TRowRecord *>(r.get())) {
                    r.release();
                    cells.AddRow(row);
                } else if (auto *ci = dynamic_cast<TColInfoRecord *>(r.get())) {
                    r.release();
                    cols.AddRecord(ci);
                } else if (auto *m = dynamic_cast<TCellMergingRecord *>(r.get())) {
                    auto entry = std::make_unique<TMergedCells>();
                    r.release();
                    entry->LoadFromStream(&f, none, m);
                    ranges.Add(entry.release());
                }
            } catch (const Exception &) {
            }
        }
        cells.FixRows();
    }

    // Cells, columns and ranges as written, with their announced size checked.
    QByteArray Save()
    {
        const int64_t size = cells.TotalSize() + cols.TotalSize() + ranges.TotalSize();
        const ole::Layout L = ole::Build({ole::Root(), ole::Stream(QStringLiteral("Workbook"), QByteArray(64, 0))});
        auto src = ole::MemStream(L.Bytes);
        TMemoryStream out;
        int64_t n = 0;
        {
            TOle2File w(src.get());
            w.PrepareForWrite(&out, QStringLiteral("Workbook"), {});
            cols.SaveToStream(&w);
            cells.SaveToStream(&w);
            ranges.SaveToStream(&w);
            n = w.Position();
            w.Close();
        }
        FUZZ_CHECK(n == size, QStringLiteral("%1 written, %2 announced").arg(n).arg(size));
        auto back = ole::MemStream(out.Bytes());
        TOle2File r(back.get());
        r.SelectStream(QStringLiteral("Workbook"));
        QByteArray bytes(n, 0);
        if (n > 0)
            r.ReadMem(bytes.data(), n);
        return bytes;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    FuzzSetUp();
    if (Size < 6)
        return 0;
    // Six bytes choose a row operation, the rest is the sheet's records.
    const QByteArray input(reinterpret_cast<const char *>(Data) + 6, qsizetype(Size - 6));
    Sheet a;
    a.Load(input, false);
    const QByteArray first = a.Save();

    Sheet b;
    b.Load(first, true);
    FUZZ_CHECK(b.Save() == first, QStringLiteral("a second round trip writes other bytes"));
    for (int r = 0; r < a.cells.CellList()->Count(); ++r) {
        const TCellRecordList *row = a.cells.CellList()->Items(r);
        for (int i = 0; i < row->Count(); ++i) {
            const int col = row->Items(i)->Column();
            if (col > 255)
                continue;
            const TXlsCellValue va = a.cells.CellList()->GetValue(r, col), vb = b.cells.CellList()->GetValue(r, col);
            FUZZ_CHECK(va.XF == vb.XF && va.Value == vb.Value, QStringLiteral("cell %1, %2").arg(r).arg(col));
        }
    }

    TSheetInfo same;
    same.InsSheet = same.FormulaSheet = 0;
    const int first1 = Data[0] | (Data[1] & 0x0F) << 8, last1 = first1 + (Data[2] & 7), dest = Data[3] | (Data[4] & 0x0F) << 8;
    const int count = 1 + (Data[5] & 3);
    try {
        if (Data[5] & 0x80) {
            b.cells.DeleteRows(uint16_t(first1), uint16_t(count), same);
            b.ranges.DeleteRowsOrCols(first1, count, same, false);
        } else if (Data[5] & 0x40) {
            b.cells.InsertAndCopyCols(first1 & 0xFF, last1 & 0xFF, dest & 0xFF, count, same, false);
        } else {
            b.cells.InsertAndCopyRows(first1, last1, dest, count, same, false);
            b.ranges.InsertAndCopyRowsOrCols(first1, last1, dest, count, same, false);
        }
    } catch (const Exception &) {
    }
    (void)b.Save();
    return 0;
}
