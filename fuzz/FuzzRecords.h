#pragma once
// The workbook harnesses read their input the same way: every record of the selected stream, in
// order, until EOF, a refusal or 4096 records.
#include "tests/progrid/xls/OleFixture.h"
#include "xlsAdapter/duzUOle2Impl.h"
#include "xlsAdapter/duzUXlsBaseRecords.h"
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

// The bytes Write puts into a new "Workbook" stream.
inline QByteArray FuzzWritten(const std::function<void(TOle2File &)> &Write)
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
