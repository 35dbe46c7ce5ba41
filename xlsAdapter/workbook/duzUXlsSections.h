#pragma once
// A BIFF8 section: its BOF record, its records, its EOF record. The workbook globals and every
// sheet derive from it.
#include "xlsAdapter/records/duzUXlsOtherRecords.h"

#include <cstdint>

class TOle2File;
class TSST;

class TBaseSection : public TObject
{
public:
    TBaseSection() = default;
    TBaseSection(const TBaseSection &) = delete;
    TBaseSection &operator=(const TBaseSection &) = delete;
    // A descendant's destructor clears its own parts.
    ~TBaseSection() override;

    virtual void Clear();
    virtual int64_t TotalSize();
    virtual int64_t TotalRangeSize(int32_t SheetIndex, const TXlsCellRange &CellRange);
    // First is the BOF that began the section (taken over); RecordHeader holds the next header.
    virtual void LoadFromStream(TOle2File *DataStream, TRecordHeader &RecordHeader, TBOFRecord *First,
                                TSST *SST) = 0;
    virtual void SaveToStream(TOle2File *DataStream) = 0;
    virtual void SaveRangeToStream(TOle2File *DataStream, int32_t SheetIndex, const TXlsCellRange &CellRange) = 0;

    TBOFRecord *FBOF = nullptr;
    TEOFRecord *FEOF = nullptr;

protected:
    // "A section of the workbook is not loaded" without BOF or EOF.
    void CheckLoaded() const;
};
