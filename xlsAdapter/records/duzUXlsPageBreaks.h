#pragma once
// A worksheet's manual page breaks: horizontal ones (before a row) and vertical ones (before a
// column), loaded from and written as one record per kind.
#include "xlsAdapter/records/duzUXlsBaseRecordLists.h"

#include <cstdint>

class TOle2File;

constexpr uint16_t xlr_VERTICALPAGEBREAKS = 0x001A;
constexpr uint16_t xlr_HORIZONTALPAGEBREAKS = 0x001B;

struct THBreakData
{
    uint16_t Row = 0;
    uint16_t Col1 = 0;
    uint16_t Col2 = 0;
};

struct TVBreakData
{
    uint16_t Col = 0;
    uint16_t Row1 = 0;
    uint16_t Row2 = 0;
};

// The record of one kind: a count and 6 bytes per break. A count its data cannot hold is refused.
class TPageBreakRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TPageBreakRecord)
    TPageBreakRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    uint16_t Count() const { return GetWord(Data, 0); }

protected:
    // The three words of break i.
    void Words(int32_t i, uint16_t &w0, uint16_t &w1, uint16_t &w2) const;
};

class THPageBreakRecord : public TPageBreakRecord
{
    TARVIX_XLS_RECORD(THPageBreakRecord)
    using TPageBreakRecord::TPageBreakRecord;
    THBreakData BreakData(int32_t i) const;
};

class TVPageBreakRecord : public TPageBreakRecord
{
    TARVIX_XLS_RECORD(TVPageBreakRecord)
    using TPageBreakRecord::TPageBreakRecord;
    TVBreakData BreakData(int32_t i) const;
};

class THPageBreak : public TObject
{
public:
    explicit THPageBreak(const THBreakData &aBreakData) : BreakData(aBreakData) {}
    THBreakData BreakData;
};

class TVPageBreak : public TObject
{
public:
    explicit TVPageBreak(const TVBreakData &aBreakData) : BreakData(aBreakData) {}
    TVBreakData BreakData;
};

// The breaks of one kind, sorted by the row (or column) they stand before, at most one each.
// TBreak is THPageBreak or TVPageBreak; the twins differ only in the axis.
template <class TBreak, class TRecord> class TPageBreakList : public TBaseList
{
public:
    using TData = decltype(TBreak::BreakData);

    TBreak *Items(int Index) const { return static_cast<TBreak *>(TBaseList::Items(Index)); }
    // Appends (the list is sorted again on demand); takes aBreak, also when the list is full.
    int Add(TBreak *aBreak);

    // Merges the breaks of a loaded record (a place already held is skipped) and frees it.
    void AddRecord(TRecord *aRecord);
    void DeleteBreak(int32_t aPlace);
    bool HasPageBreak(int32_t aPlace);
    // Appends copies of all breaks of aBreakList (nothing for nil).
    void CopyFrom(const TPageBreakList *aBreakList);
    void SaveToStream(TOle2File *DataStream);
    // Only the breaks inside the range, at their sheet places.
    void SaveRangeToStream(TOle2File *DataStream, const TXlsCellRange &CellRange);
    int64_t TotalSize();
    int64_t TotalRangeSize(const TXlsCellRange &CellRange);
    // The break at aPlace (true) or where it would go (false); sorts first when needed.
    bool Find(int32_t aPlace, int32_t &Index);
    void Sort();

    bool Sorted = true;

protected:
    // A new break at aPlace unless one is there; the list holds at most 1026.
    void AddAt(int32_t aPlace);
    void DeletePlaces(int32_t aPlace, int32_t aCount);
    void InsertPlaces(int32_t aPlace, int32_t aCount);

private:
    // A new break at Index, as long as the list has room ("Too many manual Page breaks ...").
    void InsertNew(int32_t Index, const TData &aBreakData);
    // Breaks First .. Last of the sorted list inside the range (none when Last < First).
    void RangeBounds(const TXlsCellRange &CellRange, int32_t &First, int32_t &Last);
    void Write(TOle2File *DataStream, int32_t First, int32_t Last);
};

class THPageBreakList : public TPageBreakList<THPageBreak, THPageBreakRecord>
{
public:
    void AddBreak(int32_t aRow) { AddAt(aRow); }
    void DeleteRows(int32_t DestRow, int32_t aCount) { DeletePlaces(DestRow, aCount); }
    void InsertRows(int32_t DestRow, int32_t aCount) { InsertPlaces(DestRow, aCount); }
};

class TVPageBreakList : public TPageBreakList<TVPageBreak, TVPageBreakRecord>
{
public:
    void AddBreak(int32_t aCol) { AddAt(aCol); }
    void DeleteCols(int32_t DestCol, int32_t aCount) { DeletePlaces(DestCol, aCount); }
    void InsertCols(int32_t DestCol, int32_t aCount) { InsertPlaces(DestCol, aCount); }
};

extern template class TPageBreakList<THPageBreak, THPageBreakRecord>;
extern template class TPageBreakList<TVPageBreak, TVPageBreakRecord>;
