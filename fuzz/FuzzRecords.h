#pragma once
// The workbook harnesses read their input the same way: every record of the selected stream, in
// order, until EOF, a refusal or 4096 records.
#include "tests/progrid/xls/compound/OleFixture.h"
#include "xlsAdapter/compound/duzUOle2Impl.h"
#include "xlsAdapter/records/duzUXlsBaseRecords.h"
#include "xlsAdapter/drawing/duzUXlsEscher.h"
#include <functional>
#include <memory>
#include <vector>

// Reads the first record's header; false when the stream is shorter than one.
inline bool FuzzReadFirstHeader(TOle2File &f, TRecordHeader &h)
{
    if (f.Length() < 4)
        return false;
    uint8_t b[4];
    f.ReadMem(b, 4);
    h.Id = GetWord(b, 0);
    h.Size = GetWord(b, 2);
    return true;
}

inline std::vector<std::unique_ptr<TBaseRecord>> FuzzLoadRecords(TOle2File &f)
{
    std::vector<std::unique_ptr<TBaseRecord>> records;
    try {
        TRecordHeader h;
        if (!FuzzReadFirstHeader(f, h))
            return records;
        do {
            records.emplace_back(LoadRecord(&f, h));
        } while (records.back()->Id != xlr_EOF && records.size() < 4096);
    } catch (const Exception &) {
    }
    return records;
}

// The bytes Write puts into the "Workbook" stream of a new compound file.
inline QByteArray FuzzWriteStream(const std::function<void(TOle2File &)> &Write)
{
    const ole::Layout L = ole::Build({ole::Root(), ole::Stream(QStringLiteral("Workbook"), QByteArray(8, 0))});
    auto src = ole::MemStream(L.Bytes);
    TMemoryStream out;
    int64_t n = 0;
    {
        TOle2File f(src.get());
        f.PrepareForWrite(&out, QStringLiteral("Workbook"), {});
        Write(f);
        n = f.Position();
        f.Close();
    }
    auto back = ole::MemStream(out.Bytes());
    TOle2File g(back.get());
    g.SelectStream(QStringLiteral("Workbook"));
    QByteArray b(n, 0);
    g.ReadMem(b.data(), n);
    return b;
}

// Bytes as the "Workbook" stream of a compound file, with the header of its first record read.
struct FuzzStreamReader
{
    explicit FuzzStreamReader(const QByteArray &bytes)
        : L(ole::Build({ole::Root(), ole::Stream(QStringLiteral("Workbook"), bytes)})), src(ole::MemStream(L.Bytes)),
          f(src.get())
    {
        f.SelectStream(QStringLiteral("Workbook"));
        FuzzReadFirstHeader(f, h);
    }
    ole::Layout L;
    std::unique_ptr<TMemoryStream> src;
    TOle2File f;
    TRecordHeader h;
};

// Loads the drawing group and every sheet drawing of the stream (at most 256 records); refused
// drawings are dropped. A second group is refused and the first stays, since drawings refer to it.
inline void FuzzLoadDrawings(FuzzStreamReader &in, TDrawingGroup &group, std::vector<std::unique_ptr<TDrawing>> &drawings)
{
    try {
        for (int i = 0; i < 256 && in.h.Id != xlr_EOF; ++i) {
            std::unique_ptr<TBaseRecord> r(LoadRecord(&in.f, in.h));
            if (auto *g = dynamic_cast<TDrawingGroupRecord *>(r.get())) {
                r.release();
                const bool had = group.DggContainer() != nullptr;
                try {
                    group.LoadFromStream(&in.f, in.h, g);
                } catch (const Exception &) {
                    if (!had)
                        group.Clear();
                }
            } else if (auto *dr = dynamic_cast<TDrawingRecord *>(r.get())) {
                r.release();
                auto d = std::make_unique<TDrawing>(&group);
                try {
                    d->LoadFromStream(&in.f, in.h, nullptr, dr);
                    drawings.push_back(std::move(d));
                } catch (const Exception &) {
                }
            }
        }
    } catch (const Exception &) {
    }
}
