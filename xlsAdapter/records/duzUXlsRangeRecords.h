#pragma once
// Lists of cell rectangles (merged cells, conditional formats): loading and saving them split
// into records of a limited count, and keeping them in place when rows and columns move.
#include "xlsAdapter/records/duzUXlsBaseRecords.h"

#include <cstdint>
#include <vector>

class TRangeRecord;

constexpr uint16_t xlr_CELLMERGING = 0x00E5;

// The BIFF8 rectangle, 0-based and inclusive; also its 8-byte file form.
struct TExcelRange
{
    uint16_t R1 = 0;
    uint16_t R2 = 0;
    uint16_t C1 = 0;
    uint16_t C2 = 0;
    bool operator==(const TExcelRange &) const = default;
};

class TRangeValuesList : public TObject
{
public:
    TRangeValuesList(int32_t aMaxRangesPerRecord, uint16_t aOtherDataLen)
        : FOtherDataLen(aOtherDataLen), MaxRangesPerRecord(aMaxRangesPerRecord)
    {
    }

    int32_t Count() const { return int32_t(FList.size()); }
    const TExcelRange &Items(int32_t Index) const { return FList.at(size_t(Index)); }
    void Delete(int32_t Index) { FList.erase(FList.begin() + Index); }
    void Clear() { FList.clear(); }

    // A 2-byte count at aPos of the record (its CONTINUE records included), then that many ranges.
    void Load(TBaseRecord *aRecord, int32_t aPos);
    void CopyFrom(const TRangeValuesList *RVL);
    // Appends the range when it lies in the sheet, is not reversed and is more than one cell.
    void AddNewRange(int32_t FirstRow, int32_t FirstCol, int32_t LastRow, int32_t LastCol);
    // Takes every overlapping range out of the list and into the rectangle.
    void PreAddNewRange(int32_t &R1, int32_t &C1, int32_t &R2, int32_t &C2);

    void ArrangeInsertRowsAndCols(int32_t aRowPos, int32_t aRowCount, int32_t aColPos, int32_t aColCount);
    // Removes the ranges that lie inside the deleted rows (or columns); does not move the others.
    void DeleteRows(int32_t aRow, int32_t aCount, bool Allow1Cell, bool UseCols);
    // Ranges wholly inside the (already moved) source rows get copies in the inserted rows.
    void CopyRowsExclusive(int32_t FirstRow, int32_t LastRow, int32_t DestRow, int32_t aCount, bool UseCols);
    // Ranges touching the source rows are stretched over the inserted rows or get copies there.
    void CopyRowsInclusive(int32_t FirstRow, int32_t LastRow, int32_t DestRow, int32_t aCount, uint16_t &MinR1,
                           uint16_t &MaxR2, bool UseCols);

    // Records needed for aCount ranges (one for none).
    int32_t RepeatCountR(int32_t aCount) const;
    // Data bytes of record Line.
    int32_t RecordSizeR(int32_t Line, int32_t aCount) const;
    int64_t TotalSizeR(int32_t aCount) const;
    void SaveToStreamR(TOle2File *DataStream, int32_t Line);
    int32_t CountRangeRecords(const TXlsCellRange &Range) const;
    void SaveRangeToStreamR(TOle2File *DataStream, int32_t Line, int32_t aCount, const TXlsCellRange &Range);

private:
    uint16_t FOtherDataLen;
    int32_t MaxRangesPerRecord;
    std::vector<TExcelRange> FList;
};

class TRangeEntry : public TObject
{
public:
    TRangeEntry() = default;
    ~TRangeEntry() override;

    // A copy of the entry, of its class (nil for nil).
    static TRangeEntry *CopyTo(const TRangeEntry *Entry) { return Entry ? Entry->DoCopyTo() : nullptr; }

    virtual void LoadFromStream(TOle2File *DataStream, TRecordHeader &RecordHeader, TRangeRecord *First) = 0;
    virtual void SaveToStream(TOle2File *DataStream) = 0;
    virtual void SaveRangeToStream(TOle2File *DataStream, const TXlsCellRange &CellRange) = 0;
    virtual int64_t TotalSize() = 0;
    virtual int64_t TotalRangeSize(const TXlsCellRange &CellRange) = 0;
    virtual void ArrangeInsertRowsAndCols(int32_t aRowPos, int32_t aRowCount, int32_t aColPos, int32_t aColCount,
                                          const TSheetInfo &SheetInfo);
    virtual void InsertAndCopyRowsOrCols(int32_t FirstRow, int32_t LastRow, int32_t DestRow, int32_t aCount,
                                         const TSheetInfo &SheetInfo, bool UseCols);
    virtual void DeleteRowsOrCols(int32_t aRow, int32_t aCount, const TSheetInfo &SheetInfo, bool UseCols);

protected:
    // A new, empty entry of the same class.
    virtual TRangeEntry *NewOfClass() const = 0;
    TRangeEntry *DoCopyTo() const;

    TRangeValuesList *RangeValuesList = nullptr;
};

class TMergedCells : public TRangeEntry
{
public:
    TMergedCells();

    // Takes First (a MERGEDCELLS record with its CONTINUE records) in every case.
    void LoadFromStream(TOle2File *DataStream, TRecordHeader &RecordHeader, TRangeRecord *First) override;
    void SaveToStream(TOle2File *DataStream) override;
    void SaveRangeToStream(TOle2File *DataStream, const TXlsCellRange &CellRange) override;
    int64_t TotalSize() override;
    int64_t TotalRangeSize(const TXlsCellRange &CellRange) override;
    void InsertAndCopyRowsOrCols(int32_t FirstRow, int32_t LastRow, int32_t DestRow, int32_t aCount,
                                 const TSheetInfo &SheetInfo, bool UseCols) override;
    void DeleteRowsOrCols(int32_t aRow, int32_t aCount, const TSheetInfo &SheetInfo, bool UseCols) override;

    void MergeCells(int32_t FirstRow, int32_t FirstCol, int32_t LastRow, int32_t LastCol);
    void PreMerge(int32_t &R1, int32_t &C1, int32_t &R2, int32_t &C2);
    // Only a range exactly equal to the rectangle goes.
    void UnMergeCells(int32_t FirstRow, int32_t FirstCol, int32_t LastRow, int32_t LastCol);
    // The first merged range holding the cell.
    bool CheckCell(int32_t aRow, int32_t aCol, TXlsCellRange &CellBounds) const;
    int32_t MergedCount() const { return RangeValuesList->Count(); }
    TXlsCellRange MergedCell(int32_t i) const;
    void Clear() { RangeValuesList->Clear(); }

protected:
    TRangeEntry *NewOfClass() const override { return new TMergedCells(); }
};
