#pragma once
// Column widths, formats, hidden and outline state: one object per column in memory, one COLINFO
// record per run of equal neighbouring columns in the file.
#include "xlsAdapter/records/duzUXlsBaseRecordLists.h"

constexpr uint16_t xlr_COLINFO = 0x007D;

struct TColInfoDat
{
    uint16_t FirstColumn = 0;
    uint16_t LastColumn = 0;
    uint16_t Width = 0;
    uint16_t XF = 0;
    uint16_t Options = 0;
    uint16_t Reserved = 0;
};

class TColInfoRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TColInfoRecord)
    // "Record with ID 0x%x is invalid" below the 10 bytes of the fields used.
    TColInfoRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    TColInfoDat D() const;
};

class TColInfo : public TObject
{
public:
    TColInfo(uint16_t aColumn, uint16_t aWidth, uint16_t aXF, uint16_t aOptions)
        : Column(aColumn), Width(aWidth), XF(aXF), Options(aOptions)
    {
    }

    int32_t GetColOutlineLevel() const { return (Options >> 8) & 7; }
    void SetColOutlineLevel(int32_t Level) { Options = uint16_t((Options & ~0x0700) | ((Level & 7) << 8)); }
    // The column itself is not compared.
    bool IsEqual(const TColInfo *aColInfo) const
    {
        return Width == aColInfo->Width && XF == aColInfo->XF && Options == aColInfo->Options;
    }

    uint16_t Column;
    uint16_t Width; // 1/256 of a character of the default font
    uint16_t XF;
    uint16_t Options; // bit 0 hidden, bits 8-10 outline level, bit 12 collapsed
};

class TColInfoList : public TBaseList
{
public:
    int Add(TColInfo *aRecord)
    {
        Sorted = false;
        return TBaseList::Add(aRecord);
    }
    // At the position Find gave: the order stays.
    void Insert(int Index, TColInfo *aRecord) { TBaseList::Insert(Index, aRecord); }
    TColInfo *Items(int Index) const { return static_cast<TColInfo *>(TBaseList::Items(Index)); }
    TColInfo *GetItems(int Index) const { return Items(Index); }
    void SetItems(int Index, TColInfo *aRecord) { TBaseList::SetItems(Index, aRecord); }

    void Sort();
    // The item of column aItem (true), or where one would go (false).
    bool Find(int32_t aItem, int32_t &Index);
    // One item per column of the record, which is freed.
    void AddRecord(TColInfoRecord *R);
    void CopyFrom(const TColInfoList *aColInfoList);

    void SaveToStream(TOle2File *DataStream);
    void SaveRangeToStream(TOle2File *DataStream, const TXlsCellRange &CellRange);
    int64_t TotalSize();
    int64_t TotalRangeSize(const TXlsCellRange &CellRange);

    // The deepest column outline level.
    void CalcGuts(TGutsRecord *Guts) const;
    void ArrangeInsertCols(int32_t DestCol, int32_t aColCount, const TSheetInfo &SheetInfo);
    // aColCount copies of the columns FirstCol .. LastCol, side by side from DestCol.
    void CopyCols(int32_t FirstCol, int32_t LastCol, int32_t DestCol, int32_t aColCount, const TSheetInfo &SheetInfo);

private:
    // The items First .. First + aCount - 1 (sorted) as COLINFO runs: writes them with a stream,
    // and gives their size either way.
    int64_t SaveOrMeasure(TOle2File *DataStream, int32_t First, int32_t aCount);
    // The first item inside the columns of CellRange and the count of those items.
    void RangeItems(const TXlsCellRange &CellRange, int32_t &First, int32_t &aCount);

    bool Sorted = false;
};
