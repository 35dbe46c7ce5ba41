#pragma once
// The workbook's colour palette (56 entries) and the default one.
#include "xlsAdapter/records/duzUXlsBaseRecords.h"

constexpr uint16_t xlr_PALETTE = 0x0092;

// Entry 0 .. 55 of the default palette as 0x00BBGGRR; an index outside raises.
uint32_t StandardPaletteColor(int32_t Index);

class TPaletteRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TPaletteRecord)
    TPaletteRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    static TPaletteRecord *CreateStandard();

    int32_t Count() const { return GetWord(Data, 0); }
    // 0x00BBGGRR.
    uint32_t GetColor(int32_t Index) const;
    void SetColor(int32_t Index, uint32_t Value);
};
