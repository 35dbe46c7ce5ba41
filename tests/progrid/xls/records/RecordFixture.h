#pragma once
// Records built from byte lists, written into the "Workbook" stream of a compound file copy and
// read back from one.
#include "tests/progrid/xls/compound/OleFixture.h"
#include "tests/common/TestSupport.h"
#include "xlsAdapter/records/duzUXlsBaseRecords.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <functional>
#include <initializer_list>
#include <memory>

namespace rec {

using ole::MessageOf;

inline QByteArray B(std::initializer_list<int> bytes)
{
    QByteArray r;
    for (int b : bytes)
        r.append(char(uint8_t(b)));
    return r;
}

inline QByteArray Le16(int v) { return B({v & 0xFF, (v >> 8) & 0xFF}); }
inline QByteArray Le32(uint32_t v) { return Le16(int(v & 0xFFFF)) + Le16(int(v >> 16)); }
inline QByteArray Header(int id, int size) { return Le16(id) + Le16(size); }
// A whole record: header and data.
inline QByteArray Record(int id, const QByteArray &data) { return Header(id, int(data.size())) + data; }

// A new buffer holding the bytes, for a record to own.
inline PArrayOfByte Buffer(const QByteArray &b)
{
    if (b.isEmpty())
        return nullptr;
    auto *d = new uint8_t[size_t(b.size())];
    std::memcpy(d, b.constData(), size_t(b.size()));
    return d;
}

template <class T = TBaseRecord> std::unique_ptr<T> Make(int id, const QByteArray &data)
{
    return std::make_unique<T>(uint16_t(id), Buffer(data), int32_t(data.size()));
}

inline QByteArray DataOf(const TBaseRecord &r)
{
    return QByteArray(reinterpret_cast<const char *>(r.Data), r.DataSize);
}

// The bytes Write puts into a new "Workbook" stream.
inline QByteArray Written(const std::function<void(TOle2File &)> &Write)
{
    const ole::Layout L = ole::Build({ole::Root(), ole::Stream("Workbook", ole::Pattern(100))});
    auto src = ole::MemStream(L.Bytes);
    TMemoryStream out;
    int64_t n = 0;
    {
        TOle2File f(src.get());
        f.PrepareForWrite(&out, "Workbook", {});
        Write(f);
        n = f.Position();
        f.Close();
    }
    auto back = ole::MemStream(out.Bytes());
    TOle2File g(back.get());
    g.SelectStream("Workbook");
    QByteArray b(n, 0);
    g.ReadMem(b.data(), n);
    return b;
}

inline QByteArray Saved(TBaseRecord &r)
{
    return Written([&](TOle2File &f) { r.SaveToStream(&f); });
}

// A "Workbook" stream holding Bytes, opened with the first record's header read.
struct Stream
{
    explicit Stream(const QByteArray &Bytes)
    {
        QByteArray data = Bytes;
        // Streams below the cutoff live in the mini stream; both kinds read the same.
        layout = ole::Build({ole::Root(), ole::Stream("Workbook", data)});
        mem = ole::MemStream(layout.Bytes);
        file = std::make_unique<TOle2File>(mem.get());
        file->SelectStream("Workbook");
        if (Bytes.size() >= 4) {
            uint8_t h[4];
            file->ReadMem(h, 4);
            Header.Id = GetWord(h, 0);
            Header.Size = GetWord(h, 2);
        }
    }
    ole::Layout layout;
    std::unique_ptr<TMemoryStream> mem;
    std::unique_ptr<TOle2File> file;
    TRecordHeader Header;
};

} // namespace rec
