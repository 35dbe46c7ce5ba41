#pragma once
// Whole "Workbook" streams built record by record, loaded into a workbook and written back.
#include "tests/progrid/xls/workbook/GlobalsFixture.h"
#include "tests/progrid/xls/workbook/SheetFixture.h"
#include "xlsAdapter/workbook/duzUXlsChartSheet.h"
#include "xlsAdapter/workbook/duzUXlsWorkbook.h"

#include <memory>
#include <vector>

namespace book {

using namespace rec;

inline QByteArray Bof(int Type) { return Record(0x0809, Le16(0x0600) + Le16(Type) + QByteArray(12, 0)); }
inline QByteArray Eof() { return Record(0x000A, {}); }
// WINDOW1 with the active sheet and the first visible tab.
inline QByteArray Window1(int Active = 0, int FirstTab = 0)
{
    return Record(0x003D, Le16(0) + Le16(0) + Le16(0x2000) + Le16(0x1000) + Le16(0x38) + Le16(Active)
                              + Le16(FirstTab) + Le16(1) + Le16(0x258));
}
// WINDOW2 of a worksheet, its tab selected or not.
inline QByteArray Window2(bool Selected) { return Record(0x023E, Le16(Selected ? 0x06B6 : 0x04B6) + QByteArray(16, 0)); }
inline QByteArray Globals(const QByteArray &BoundSheets, const QByteArray &Extra = {})
{
    return Bof(0x0005) + Extra + Window1() + BoundSheets + glob::EmptySst() + Eof();
}
inline QByteArray WorkSheet(bool Selected = false) { return Bof(0x0010) + Window2(Selected) + Eof(); }

// The "Workbook" stream holding Bytes, opened at its start.
struct BookStream
{
    explicit BookStream(const QByteArray &Bytes)
        : layout(ole::Build({ole::Root(), ole::Stream("Workbook", Bytes)})), mem(ole::MemStream(layout.Bytes)),
          file(std::make_unique<TOle2File>(mem.get()))
    {
        file->SelectStream("Workbook");
    }
    ole::Layout layout;
    std::unique_ptr<TMemoryStream> mem;
    std::unique_ptr<TOle2File> file;
};

inline void Load(TWorkbook &W, const QByteArray &Bytes)
{
    BookStream s(Bytes);
    W.LoadFromStream(s.file.get());
}

inline std::unique_ptr<TWorkbook> Loaded(const QByteArray &Bytes)
{
    auto W = std::make_unique<TWorkbook>();
    Load(*W, Bytes);
    return W;
}

inline QByteArray Saved(TWorkbook &W, bool NeedsRecalc = false)
{
    return Written([&](TOle2File &f) { W.SaveToStream(&f, NeedsRecalc); });
}

struct Rec
{
    int Pos; // of the header
    int Id;
    QByteArray Data;
};

// The records of a stream, read by their headers.
inline std::vector<Rec> Records(const QByteArray &b)
{
    std::vector<Rec> out;
    const auto *p = reinterpret_cast<const uint8_t *>(b.constData());
    for (int at = 0; at + 4 <= b.size(); at += 4 + GetWord(p, at + 2))
        out.push_back({at, GetWord(p, at), b.mid(at + 4, GetWord(p, at + 2))});
    return out;
}

// The stream positions that the BOUNDSHEET records of a written stream hold.
inline std::vector<int> BoundSheetOffsets(const QByteArray &b)
{
    std::vector<int> out;
    for (const Rec &r : Records(b))
        if (r.Id == 0x0085)
            out.push_back(int(GetLongWord(reinterpret_cast<const uint8_t *>(r.Data.constData()), 0)));
    return out;
}

} // namespace book
