#pragma once
// The workbook harnesses read their input the same way: every record of the selected stream, in
// order, until EOF, a refusal or 4096 records.
#include "xlsAdapter/duzUOle2Impl.h"
#include "xlsAdapter/duzUXlsBaseRecords.h"
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
