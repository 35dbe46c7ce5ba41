#pragma once
// Small compound files assembled byte by byte: 512-byte sectors, 64-byte mini sectors, a 4096
// cutoff. Big streams come first, then the mini stream, the mini FAT, the directory and the FAT.
#include "framework/rtl/Streams.h"
#include "xlsAdapter/compound/duzUOle2Impl.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace ole {

struct Entry
{
    QString Name;
    uint8_t Type = STGTY_STREAM;
    QByteArray Data;
    int32_t Left = -1, Right = -1, Child = -1;
    uint8_t Color = DECOLOR_BLACK;
};

struct Layout
{
    QByteArray Bytes;
    std::vector<uint32_t> Start; // start sector (big) or mini sector (small) of each entry
    uint32_t DirStart = 0, MiniFatStart = ENDOFCHAIN, FatStart = 0, Sectors = 0;
    int64_t FatPos(uint32_t sect) const { return 512 + int64_t(FatStart) * 512 + 4 * sect; }
    int64_t SectPos(uint32_t sect) const { return 512 + int64_t(sect) * 512; }
};

inline void Put32(QByteArray &b, int64_t pos, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.data()[pos + i] = char(uint8_t(v >> (8 * i)));
}
inline void Put16(QByteArray &b, int64_t pos, uint16_t v)
{
    b.data()[pos] = char(uint8_t(v));
    b.data()[pos + 1] = char(uint8_t(v >> 8));
}
inline uint32_t Get32(const QByteArray &b, int64_t pos)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | uint8_t(b.constData()[pos + i]);
    return v;
}

// Bytes that differ from position to position, so misplaced sectors show.
inline QByteArray Pattern(int64_t n, uint32_t seed = 1)
{
    QByteArray b(n, 0);
    uint32_t s = seed;
    for (int64_t i = 0; i < n; ++i) {
        s = s * 134775813u + 1;
        b.data()[i] = char(s >> 24);
    }
    return b;
}

// entries[0] is the root. Without explicit links the root's child is entry 1 and every
// further entry is the right sibling of the one before it.
inline Layout Build(std::vector<Entry> entries, bool autoTree = true)
{
    Layout L;
    const int64_t S = 512, M = 64;
    const int n = static_cast<int>(entries.size());
    if (autoTree) {
        entries[0].Child = n > 1 ? 1 : -1;
        for (int i = 1; i < n; ++i)
            entries[i].Right = i + 1 < n ? i + 1 : -1;
    }
    std::vector<uint32_t> fat, minifat;
    QByteArray body, mini;
    L.Start.assign(n, ENDOFCHAIN);
    const auto chain = [&](std::vector<uint32_t> &table, int64_t first, int64_t count) {
        for (int64_t k = 0; k < count; ++k)
            table.push_back(k + 1 < count ? uint32_t(first + k + 1) : ENDOFCHAIN);
    };
    for (int i = 1; i < n; ++i) {
        const Entry &e = entries[i];
        if (e.Type != STGTY_STREAM || e.Data.isEmpty())
            continue;
        if (e.Data.size() >= 4096) {
            const int64_t k = (e.Data.size() + S - 1) / S;
            L.Start[i] = uint32_t(fat.size());
            chain(fat, fat.size(), k);
            QByteArray d = e.Data;
            d.resize(k * S, 0);
            body += d;
        } else {
            const int64_t k = (e.Data.size() + M - 1) / M;
            L.Start[i] = uint32_t(minifat.size());
            chain(minifat, minifat.size(), k);
            QByteArray d = e.Data;
            d.resize(k * M, 0);
            mini += d;
        }
    }
    if (!mini.isEmpty()) {
        const int64_t k = (mini.size() + S - 1) / S;
        L.Start[0] = uint32_t(fat.size());
        entries[0].Data = mini;
        chain(fat, fat.size(), k);
        QByteArray d = mini;
        d.resize(k * S, 0);
        body += d;
    }
    uint32_t csectMiniFat = 0;
    if (!minifat.empty()) {
        minifat.resize((minifat.size() + 127) / 128 * 128, FREESECT);
        csectMiniFat = uint32_t(minifat.size() / 128);
        L.MiniFatStart = uint32_t(fat.size());
        chain(fat, fat.size(), csectMiniFat);
        QByteArray d(csectMiniFat * S, 0);
        for (size_t k = 0; k < minifat.size(); ++k)
            Put32(d, 4 * k, minifat[k]);
        body += d;
    }
    const int64_t dirSectors = (n + 3) / 4;
    L.DirStart = uint32_t(fat.size());
    chain(fat, fat.size(), dirSectors);
    QByteArray dir(dirSectors * S, 0);
    for (int64_t k = n; k < dirSectors * 4; ++k)
        for (int f = 68; f < 80; f += 4)
            Put32(dir, k * 128 + f, FREESECT);
    for (int i = 0; i < n; ++i) {
        const Entry &e = entries[i];
        const int64_t o = int64_t(i) * 128;
        for (int c = 0; c < e.Name.size(); ++c)
            Put16(dir, o + 2 * c, e.Name[c].unicode());
        dir.data()[o + 64] = char(e.Name.isEmpty() && i > 0 && e.Type == 0 ? 0 : 2 * e.Name.size() + 2);
        dir.data()[o + 66] = char(e.Type);
        dir.data()[o + 67] = char(e.Color);
        Put32(dir, o + 68, uint32_t(e.Left));
        Put32(dir, o + 72, uint32_t(e.Right));
        Put32(dir, o + 76, uint32_t(e.Child));
        Put32(dir, o + 116, L.Start[i]);
        Put32(dir, o + 120, uint32_t(e.Data.size()));
    }
    body += dir;
    const int64_t used = int64_t(fat.size());
    int64_t F = 1;
    while (F * 128 < used + F)
        ++F;
    if (F > 109)
        qFatal("fixture too large for a header-only DIFAT");
    L.FatStart = uint32_t(used);
    for (int64_t k = 0; k < F; ++k)
        fat.push_back(FATSECT);
    fat.resize(F * 128, FREESECT);
    QByteArray fatBytes(F * S, 0);
    for (size_t k = 0; k < fat.size(); ++k)
        Put32(fatBytes, 4 * k, fat[k]);
    body += fatBytes;
    L.Sectors = uint32_t(used + F);

    QByteArray h(512, char(0xFF));
    const uint8_t sig[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    for (int k = 0; k < 8; ++k)
        h[k] = char(sig[k]);
    for (int k = 8; k < 76; ++k)
        h[k] = 0;
    Put16(h, 24, 0x3E);
    Put16(h, 26, 3);
    Put16(h, 28, 0xFFFE);
    Put16(h, 30, 9);
    Put16(h, 32, 6);
    Put32(h, 44, uint32_t(F));
    Put32(h, 48, L.DirStart);
    Put32(h, 56, 4096);
    Put32(h, 60, L.MiniFatStart);
    Put32(h, 64, csectMiniFat);
    Put32(h, 68, ENDOFCHAIN);
    Put32(h, 72, 0);
    for (int64_t k = 0; k < F; ++k)
        Put32(h, 76 + 4 * k, uint32_t(L.FatStart + k));
    L.Bytes = h + body;
    return L;
}

inline Entry Root()
{
    Entry e;
    e.Name = QStringLiteral("Root Entry");
    e.Type = STGTY_ROOT;
    return e;
}
inline Entry Stream(const QString &name, const QByteArray &data)
{
    Entry e;
    e.Name = name;
    e.Data = data;
    return e;
}

inline Entry Storage(const QString &name)
{
    Entry e;
    e.Name = name;
    e.Type = STGTY_STORAGE;
    return e;
}

inline std::unique_ptr<TMemoryStream> MemStream(const QByteArray &b, int64_t pos = 0)
{
    auto m = std::make_unique<TMemoryStream>();
    m->Write(b.constData(), b.size());
    m->SetPosition(pos);
    return m;
}

inline QByteArray Bytes(TMemoryStream &m) { return m.Bytes(); }

inline QByteArray ReadAll(TOle2File &f)
{
    QByteArray out(f.Length(), 0);
    f.ReadMem(out.data(), out.size());
    return out;
}

// The message of the exception Fn raises, or "" when it raises none.
template <class Fn> QString MessageOf(Fn &&fn)
{
    try {
        fn();
    } catch (const Exception &e) {
        return e.Message();
    }
    return QString();
}

} // namespace ole
