#pragma once
// The workbook harnesses read their input the same way: every record of the selected stream, in
// order, until EOF, a refusal or 4096 records.
#include "xlsAdapter/duzUOle2Impl.h"
#include "xlsAdapter/duzUXlsBaseRecords.h"
#include <memory>
#include <vector>

inline std::vector<std::unique_ptr<TBaseRecord>> FuzzLoadRecords(TOle2File &f)
{
    std::vector<std::unique_ptr<TBaseRecord>> records;
    try {
        if (f.Length() < 4)
            return records;
        TRecordHeader h;
        uint8_t b[4];
        f.ReadMem(b, 4);
        h.Id = GetWord(b, 0);
        h.Size = GetWord(b, 2);
        do {
            records.emplace_back(LoadRecord(&f, h));
        } while (records.back()->Id != xlr_EOF && records.size() < 4096);
    } catch (const Exception &) {
    }
    return records;
}
