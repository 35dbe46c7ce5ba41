#pragma once
// Cell records of blank cells, booleans and errors, numbers and RK numbers, and the MULBLANK and
// MULRK records that hold runs of them: split into single cells on load, joined again on save.
#include "xlsAdapter/records/duzUXlsBaseRecords.h"

constexpr uint16_t xlr_BLANK = 0x0201;
constexpr uint16_t xlr_BOOLERR = 0x0205;
constexpr uint16_t xlr_NUMBER = 0x0203;
constexpr uint16_t xlr_RK = 0x027E;
constexpr uint16_t xlr_MULBLANK = 0x00BE;
constexpr uint16_t xlr_MULRK = 0x00BD;

// The RK form of Value when one gives back exactly Value.
bool TryRKEncode(int32_t &RK, double Value);
bool IsRKValue(double Value);

class TBlankRecord : public TCellRecord
{
    TARVIX_XLS_RECORD(TBlankRecord)
    using TCellRecord::TCellRecord;
    static TBlankRecord *CreateFromData(uint16_t aRow, uint16_t aCol, uint16_t aXF);

    bool CanJoinNext(TCellRecord *NextRecord, int32_t MaxCol) const override;
    void SaveFirstMul(TOle2File *Workbook, uint16_t JoinedRecordSize) override;
    void SaveMidMul(TOle2File *Workbook) override;
    void SaveLastMul(TOle2File *Workbook) override;
    int32_t TotalSizeFirst() const override { return 10; }
    int32_t TotalSizeMid() const override { return 2; }
    int32_t TotalSizeLast() const override { return 4; }
};

class TBoolErrRecord : public TCellRecord
{
    TARVIX_XLS_RECORD(TBoolErrRecord)
    TBoolErrRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    static TBoolErrRecord *CreateFromData(uint16_t aRow, uint16_t aCol, uint16_t aXF);

    // A boolean, or the text of the error code.
    Variant Value() const override;
    void SetValue(const Variant &V) override;
};

class TNumberRecord : public TCellRecord
{
    TARVIX_XLS_RECORD(TNumberRecord)
    TNumberRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    static TNumberRecord *CreateFromData(uint16_t aRow, uint16_t aCol, uint16_t aXF);

    Variant Value() const override;
    void SetValue(const Variant &V) override;
};

class TRKRecord : public TCellRecord
{
    TARVIX_XLS_RECORD(TRKRecord)
    TRKRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    static TRKRecord *CreateFromData(uint16_t aRow, uint16_t aCol, uint16_t aXF);

    Variant Value() const override;
    // "Invalid cell value" for a number without an exact RK form.
    void SetValue(const Variant &V) override;

    bool CanJoinNext(TCellRecord *NextRecord, int32_t MaxCol) const override;
    void SaveFirstMul(TOle2File *Workbook, uint16_t JoinedRecordSize) override;
    void SaveMidMul(TOle2File *Workbook) override;
    void SaveLastMul(TOle2File *Workbook) override;
    int32_t TotalSizeFirst() const override { return 14; }
    int32_t TotalSizeMid() const override { return 6; }
    int32_t TotalSizeLast() const override { return 8; }
};

class TMultipleValueRecord : public TBaseRecord
{
public:
    TMultipleValueRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    // True when no cell is left; the count of cells follows from the data size.
    virtual bool Eof() const = 0;
    // The next cell as a new record of its own.
    virtual TCellRecord *ExtractOneRecord() = 0;

protected:
    // Refuses the record when its next cell lies past the last column.
    void CheckNextColumn() const;
    int32_t CurrentCol = 0;
};

class TMulBlankRecord : public TMultipleValueRecord
{
    TARVIX_XLS_RECORD(TMulBlankRecord)
    using TMultipleValueRecord::TMultipleValueRecord;
    bool Eof() const override { return CurrentCol * 2 + 6 >= DataSize; }
    TCellRecord *ExtractOneRecord() override;
};

class TMulRKRecord : public TMultipleValueRecord
{
    TARVIX_XLS_RECORD(TMulRKRecord)
    using TMultipleValueRecord::TMultipleValueRecord;
    bool Eof() const override { return CurrentCol * 6 + 10 >= DataSize; }
    TCellRecord *ExtractOneRecord() override;
};
