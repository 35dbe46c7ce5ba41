#pragma once
// Globals sections built record by record, loaded from a "Workbook" stream and written back.
#include "tests/progrid/xls/records/RecordFixture.h"
#include "xlsAdapter/workbook/duzUXlsWorkbookGlobals.h"

#include <memory>

namespace glob {

using namespace rec;

// A BIFF8 string with a 2-byte count and 8-bit characters.
inline QByteArray Str16(const QByteArray &s) { return Le16(int(s.size())) + B({0}) + s; }

inline QByteArray Bof() { return Record(0x0809, Le16(0x0600) + Le16(0x0005) + QByteArray(12, 0)); }
inline QByteArray Eof() { return Record(0x000A, {}); }
inline QByteArray BoundSheet(const QByteArray &Name, int Flags = 0)
{
    return Record(0x0085, Le32(0) + Le16(Flags) + B({int(Name.size()), 0}) + Name);
}
inline QByteArray Font(const QByteArray &Name)
{
    return Record(0x0031, Le16(200) + Le16(0) + Le16(0x7FFF) + Le16(400) + Le16(0) + B({0, 0, 0, 0})
                              + B({int(Name.size()), 0}) + Name);
}
inline QByteArray Xf(int Font) { return Record(0x00E0, Le16(Font) + Le16(0) + Le16(1) + QByteArray(14, 0)); }
inline QByteArray Style(int Builtin) { return Record(0x0293, Le16(0x8000 | Builtin) + B({0, 0xFF})); }
inline QByteArray LocalSupBook(int Sheets) { return Record(0x01AE, Le16(Sheets) + B({1, 4})); }
inline QByteArray ExternSheet(std::initializer_list<std::array<int, 3>> Refs)
{
    QByteArray d = Le16(int(Refs.size()));
    for (const auto &r : Refs)
        d += Le16(r[0]) + Le16(r[1]) + Le16(r[2]);
    return Record(0x0017, d);
}
// The SST and EXTSST an empty string table writes.
inline QByteArray EmptySst() { return Record(0x00FC, QByteArray(8, 0)) + Record(0x00FF, Le16(8)); }

// Loads a section from Bytes; the first record must be its BOF.
inline void Load(TBaseSection &G, const QByteArray &Bytes, TSST *SST = nullptr)
{
    Stream s(Bytes);
    std::unique_ptr<TBaseRecord> first(LoadRecord(s.file.get(), s.Header));
    auto *bof = dynamic_cast<TBOFRecord *>(first.get());
    if (!bof)
        throw Exception(QStringLiteral("no BOF"));
    first.release();
    G.LoadFromStream(s.file.get(), s.Header, bof, SST);
}

inline QByteArray Saved(TBaseSection &G)
{
    return Written([&](TOle2File &f) { G.SaveToStream(&f); });
}

} // namespace glob
