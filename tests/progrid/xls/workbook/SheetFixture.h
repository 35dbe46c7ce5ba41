#pragma once
// Worksheet sections built record by record, loaded from a "Workbook" stream and written back.
#include "tests/progrid/xls/workbook/GlobalsFixture.h"
#include "xlsAdapter/workbook/duzUXlsSheet.h"

#include <memory>
#include <vector>

namespace sheet {

using namespace rec;

inline QByteArray SheetBof() { return Record(0x0809, Le16(0x0600) + Le16(0x0010) + QByteArray(12, 0)); }
using glob::Eof;
inline QByteArray Window2() { return Record(0x023E, Le16(0x06B6) + QByteArray(16, 0)); }
inline QByteArray DefColWidth(int w) { return Record(0x0055, Le16(w)); }
inline QByteArray StandardWidth(int w) { return Record(0x0099, Le16(w)); }
inline QByteArray DefRowHeight(int h) { return Record(0x0225, Le16(0) + Le16(h)); }
inline QByteArray Row(int row, int minCol, int maxCol, int height = 255, int options = 0x100)
{
    return Record(0x0208, Le16(row) + Le16(minCol) + Le16(maxCol) + Le16(height) + Le32(0) + Le16(options) + Le16(15));
}
inline QByteArray Dimensions(int firstRow, int lastRow1, int firstCol, int lastCol1)
{
    return Record(0x0200, Le32(firstRow) + Le32(lastRow1) + Le16(firstCol) + Le16(lastCol1) + Le16(0));
}
inline QByteArray Number(int row, int col, double v)
{
    QByteArray d(8, 0);
    std::memcpy(d.data(), &v, 8);
    return Record(0x0203, Le16(row) + Le16(col) + Le16(15) + d);
}
// A formula ="ab" whose stored result is a text (the STRING record that follows holds it).
inline QByteArray TextFormula(int row, int col)
{
    return Record(0x0006, Le16(row) + Le16(col) + Le16(15) + B({0, 0, 0, 0, 0, 0, 0xFF, 0xFF}) + Le16(0) + Le32(0)
                              + Le16(5) + B({0x17, 2, 0}) + "ab");
}
inline QByteArray StringResult(const QByteArray &s) { return Record(0x0207, Le16(int(s.size())) + B({0}) + s); }
inline QByteArray ColInfo(int first, int last, int width, int options = 0)
{
    return Record(0x007D, Le16(first) + Le16(last) + Le16(width) + Le16(15) + Le16(options) + Le16(0));
}
inline QByteArray Merged(int r1, int r2, int c1, int c2) { return Record(0x00E5, Le16(1) + Le16(r1) + Le16(r2) + Le16(c1) + Le16(c2)); }
inline QByteArray HBreak(int row) { return Record(0x001B, Le16(1) + Le16(row) + Le16(0) + Le16(255)); }
inline QByteArray VBreak(int col) { return Record(0x001A, Le16(1) + Le16(col) + Le16(0) + Le16(65535)); }

// A workbook's globals with its string table and drawing group, and its sheets.
struct Book
{
    TWorkbookGlobals Globals;

    std::unique_ptr<TWorkSheet> New() { return std::make_unique<TWorkSheet>(&Globals); }

    // Loads a section whose first record is its BOF.
    void Load(TWorkSheet &S, const QByteArray &Bytes) { glob::Load(S, Bytes, &Globals.SST()); }
    std::unique_ptr<TWorkSheet> Loaded(const QByteArray &Bytes)
    {
        auto S = New();
        Load(*S, Bytes);
        return S;
    }
};

using glob::Saved;

// The ids of the records in a written stream.
inline std::vector<int> Ids(const QByteArray &b)
{
    std::vector<int> out;
    const auto *p = reinterpret_cast<const uint8_t *>(b.constData());
    for (int at = 0; at + 4 <= b.size(); at += 4 + GetWord(p, at + 2))
        out.push_back(GetWord(p, at));
    return out;
}

} // namespace sheet
