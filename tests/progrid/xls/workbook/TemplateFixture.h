#pragma once
// The built-in empty workbook, read independently of the engine: header and sector fields by
// offset, streams by the FAT, records by their headers.
#include "tests/progrid/xls/records/RecordFixture.h"
#include "xlsAdapter/workbook/duzUXlsEmptyWorkbook.h"

#include <QByteArray>
#include <vector>

namespace tpl {

using namespace rec;
using ole::Get32;

inline QByteArray File()
{
    const ByteArray &b = EmptyWorkbookTemplate();
    return QByteArray(reinterpret_cast<const char *>(b.data()), qsizetype(b.size()));
}

inline uint16_t Get16(const QByteArray &b, int64_t pos)
{
    const char *d = b.constData() + pos;
    return uint16_t(uint8_t(d[0]) | (uint8_t(d[1]) << 8));
}

inline int64_t SectorPos(uint32_t s) { return 512 + int64_t(s) * 512; }

// The template has one FAT sector, listed first in the header's DIFAT.
inline uint32_t Fat(const QByteArray &f, uint32_t s) { return Get32(f, SectorPos(Get32(f, 76)) + 4 * s); }

inline std::vector<uint32_t> Chain(const QByteArray &f, uint32_t s)
{
    std::vector<uint32_t> c;
    for (; s != ENDOFCHAIN && c.size() < 64; s = Fat(f, s)) {
        c.push_back(s);
        if (s >= 128) // beyond the one FAT sector: a broken chain
            break;
    }
    return c;
}

// A stream's bytes through the engine's reader.
inline QByteArray StreamBytes(const QString &Name)
{
    auto m = ole::MemStream(File());
    TOle2File f(m.get());
    f.SelectStream(Name);
    return ole::ReadAll(f);
}

inline const QString SummaryName = QChar(5) + QStringLiteral("SummaryInformation");
inline const QString DocSummaryName = QChar(5) + QStringLiteral("DocumentSummaryInformation");

struct Rec
{
    int64_t Pos; // of the header in the stream
    uint16_t Id;
    QByteArray Data;
};

// The records of a BIFF8 stream up to and including the second EOF.
inline std::vector<Rec> Records(const QByteArray &s)
{
    std::vector<Rec> r;
    int eofs = 0;
    for (int64_t p = 0; p + 4 <= s.size() && eofs < 2;) {
        const uint16_t id = Get16(s, p), n = Get16(s, p + 2);
        r.push_back({p, id, s.mid(p + 4, n)});
        p += 4 + n;
        eofs += id == 0x000A;
    }
    return r;
}

} // namespace tpl
