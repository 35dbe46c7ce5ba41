#pragma once
// Owning lists of records that know the byte size of what they hold, so that a section's size
// is known before anything is written.
#include "framework/rtl/Lists.h"
#include "xlsAdapter/records/duzUXlsBaseRecords.h"

#include <cstdint>

// Binary search over a list sorted ascending by KeyAt(i): true when aItem is there; Index is its
// first position, or where it would be inserted.
template <typename FKey>
bool FindSortedKey(int32_t Count, int64_t aItem, FKey &&KeyAt, int32_t &Index)
{
    int32_t lo = 0, hi = Count - 1;
    bool found = false;
    while (lo <= hi) {
        const int32_t mid = (lo + hi) / 2;
        const int64_t k = KeyAt(mid);
        if (k < aItem) {
            lo = mid + 1;
        } else {
            if (k == aItem)
                found = true;
            hi = mid - 1;
        }
    }
    Index = lo;
    return found;
}

class TOle2File;

// Removing an item or clearing the list frees the record; nil items are allowed.
class TBaseList : public TObjectList
{
public:
    TBaseList() : TObjectList(true) {}
};

class TBaseRecordList : public TBaseList
{
public:
    ~TBaseRecordList() override { Clear(); }

    int Add(TBaseRecord *aRecord) { return TObjectList::Add(aRecord); }
    void Insert(int Index, TBaseRecord *aRecord) { TObjectList::Insert(Index, aRecord); }
    TBaseRecord *Items(int Index) const { return static_cast<TBaseRecord *>(TObjectList::Items(Index)); }
    void SetItems(int Index, TBaseRecord *aRecord) { TObjectList::SetItems(Index, aRecord); }

    // For a record whose size changed while in the list.
    void AdaptSize(int64_t Delta) { FTotalSize += Delta; }
    virtual int64_t GetTotalSize() { return FTotalSize; }
    virtual void SaveToStream(TOle2File *DataStream);
    // Appends a copy of every item (nil stays nil).
    void CopyFrom(const TBaseRecordList *aBaseRecordList);

protected:
    void Notify(void *Ptr, TListNotification Action) override;

private:
    int64_t FTotalSize = 0;
};

class TBaseRowColRecordList : public TBaseRecordList
{
public:
    int Add(TBaseRowColRecord *aRecord)
    {
        Sorted = false;
        return TBaseRecordList::Add(aRecord);
    }
    // At the position Find gave: the order stays.
    void Insert(int Index, TBaseRowColRecord *aRecord) { TBaseRecordList::Insert(Index, aRecord); }
    TBaseRowColRecord *Items(int Index) const { return static_cast<TBaseRowColRecord *>(TBaseRecordList::Items(Index)); }
    void SetItems(int Index, TBaseRowColRecord *aRecord) { TBaseRecordList::SetItems(Index, aRecord); }

    // By column, ascending.
    void Sort();
    // The first record of column aItem (true), or where one would go (false).
    bool Find(int32_t aItem, int32_t &Index);

    void ArrangeCopyRowsAndCols(int32_t RowOffset, int32_t ColOffset);
    void ArrangeInsertRowsAndCols(int32_t aRowPos, int32_t aRowCount, int32_t aColPos, int32_t aColCount,
                                  const TSheetInfo &SheetInfo);
    virtual void SaveRangeToStream(TOle2File *DataStream, const TXlsCellRange &CellRange);
    virtual int64_t TotalRangeSize(const TXlsCellRange &CellRange, bool NeedsRecalc);

    bool Sorted = false;

protected:
    // The order or the places of the records changed: a size measured before no longer holds.
    void Moved() { FMoves++; }
    uint32_t FMoves = 0;
};

// The cells of one row, in column order. The bytes they take on save are kept up to date as cells
// come and go through InsertCell and DeleteCell; other changes make the next measure walk the row.
class TCellRecordList : public TBaseRowColRecordList
{
public:
    TCellRecord *Items(int Index) const { return static_cast<TCellRecord *>(TBaseRowColRecordList::Items(Index)); }

    // At the position Find gave; the row's size follows from the cells around Index.
    void InsertCell(int Index, TCellRecord *aRecord);
    void DeleteCell(int Index);

    int64_t GetTotalSize() override { return FixTotalSize(false); }
    int64_t FixTotalSize(bool NeedsRecalc);
    void SaveToStream(TOle2File *DataStream) override;
    void SaveRangeToStream(TOle2File *DataStream, const TXlsCellRange &CellRange) override;
    int64_t TotalRangeSize(const TXlsCellRange &CellRange, bool NeedsRecalc) override;

protected:
    void Notify(void *Ptr, TListNotification Action) override;

private:
    // Writes (with a stream) or only measures the cells of the range, joining runs.
    int64_t SaveOrMeasure(TOle2File *DataStream, const TXlsCellRange &CellRange, bool NeedsRecalc);
    // True when a save of CellRange writes every cell of the row.
    bool CoversRow(const TXlsCellRange &CellRange) const;
    // The known size when CellRange takes in the whole row; -1 otherwise.
    int64_t KnownSize(const TXlsCellRange &CellRange) const;
    // What cell Index adds to the saved row, alone or as part of a joined run.
    int64_t CellSize(int Index) const;
    int64_t CellsSize(int First, int Last) const;

    // Cells whose size may change while they sit in the list (formulas, labels, anything not a
    // plain number, boolean, blank or shared string): a row with any is measured by walking it.
    int32_t FVariableCells = 0;
    bool FSizeKnown = true;
    bool FEditing = false;
    int64_t FSize = 0;
    uint32_t FSizeMoves = 0;
};

// Item i is the ROW record of row i, or nil.
class TRowRecordList : public TBaseRowColRecordList
{
public:
    // Puts the record at its row; "Duplicated ROW record" when the row has one.
    int AddRecord(TRowRecord *aRecord);
    // "Missing ROW Record for row %d" when the row has none.
    TRowRecord *Items(int Index) const;
    TRowRecord *GetItems(int Index) const { return Items(Index); }
    bool HasRow(int32_t Index) const;
    void AddRow(uint16_t Index);
    uint16_t RowHeight(int32_t aRow) const;
    void SetRowHeight(int32_t aRow, uint16_t Height);
    void AutoRowHeight(int32_t aRow, bool Value);
    bool IsAutoRowHeight(int32_t aRow) const;
    int64_t TotalRangeSize(const TXlsCellRange &CellRange, bool NeedsRecalc) override;
    // The deepest outline level of the rows.
    void CalcGuts(TGutsRecord *Guts) const;
    void DeleteRows(uint16_t aRow, uint16_t aRowCount, const TSheetInfo &SheetInfo);
    // Inserts aCount copies of rows FirstRow .. LastRow at DestRow.
    void InsertAndCopyRows(int32_t FirstRow, int32_t LastRow, int32_t DestRow, int32_t aCount,
                           const TSheetInfo &SheetInfo);
};

