#include "xlsAdapter/records/duzUXlsPageBreaks.h"

#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/compound/duzUOle2Impl.h"

#include <memory>
#include <vector>

namespace {

const char *const STooManyPageBreaks = "Too many manual Page breaks for this sheet";
// The most breaks one record of a sheet may hold.
constexpr int32_t MaxPageBreaks = 1026;

// What tells the twins apart.
template <class TBreak> struct TBreakKind;

template <> struct TBreakKind<THPageBreak>
{
    static constexpr uint16_t Id = xlr_HORIZONTALPAGEBREAKS;
    static constexpr int32_t Max = 65535;
    static uint16_t &Place(THBreakData &b) { return b.Row; }
    static THBreakData New(uint16_t aRow) { return {aRow, 0, 255}; }
    static int32_t Low(const TXlsCellRange &R) { return R.Top; }
    static int32_t High(const TXlsCellRange &R) { return R.Bottom; }
    static void Put(uint8_t *d, int32_t Pos, const THBreakData &b)
    {
        SetWord(d, Pos, b.Row);
        SetWord(d, Pos + 2, b.Col1);
        SetWord(d, Pos + 4, b.Col2);
    }
};

template <> struct TBreakKind<TVPageBreak>
{
    static constexpr uint16_t Id = xlr_VERTICALPAGEBREAKS;
    static constexpr int32_t Max = 255;
    static uint16_t &Place(TVBreakData &b) { return b.Col; }
    static TVBreakData New(uint16_t aCol) { return {aCol, 0, 65535}; }
    static int32_t Low(const TXlsCellRange &R) { return R.Left; }
    static int32_t High(const TXlsCellRange &R) { return R.Right; }
    static void Put(uint8_t *d, int32_t Pos, const TVBreakData &b)
    {
        SetWord(d, Pos, b.Col);
        SetWord(d, Pos + 2, b.Row1);
        SetWord(d, Pos + 4, b.Row2);
    }
};

[[noreturn]] void TooManyPageBreaks() { throw Exception(QString::fromLatin1(STooManyPageBreaks)); }

template <class TBreak> uint16_t PlaceOf(TBreak *b) { return TBreakKind<TBreak>::Place(b->BreakData); }

} // namespace

// ---------------------------------------------------------------------------------------------
// Records

TPageBreakRecord::TPageBreakRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize)
    : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(2);
    CheckSize(2 + 6 * int32_t(Count()));
}

void TPageBreakRecord::Words(int32_t i, uint16_t &w0, uint16_t &w1, uint16_t &w2) const
{
    if (i < 0 || i >= Count())
        TList::Error(QStringLiteral("List index out of bounds (%d)"), i);
    w0 = GetWord(Data, 2 + 6 * i);
    w1 = GetWord(Data, 4 + 6 * i);
    w2 = GetWord(Data, 6 + 6 * i);
}

THBreakData THPageBreakRecord::BreakData(int32_t i) const
{
    THBreakData b;
    Words(i, b.Row, b.Col1, b.Col2);
    return b;
}

TVBreakData TVPageBreakRecord::BreakData(int32_t i) const
{
    TVBreakData b;
    Words(i, b.Col, b.Row1, b.Row2);
    return b;
}

// ---------------------------------------------------------------------------------------------
// Lists

template <class TBreak, class TRecord> void TPageBreakList<TBreak, TRecord>::Sort()
{
    TList::Sort([](void *a, void *b) {
        return int(PlaceOf(static_cast<TBreak *>(static_cast<TObject *>(a))))
               - int(PlaceOf(static_cast<TBreak *>(static_cast<TObject *>(b))));
    });
    Sorted = true;
}

template <class TBreak, class TRecord> bool TPageBreakList<TBreak, TRecord>::Find(int32_t aPlace, int32_t &Index)
{
    if (!Sorted)
        Sort();
    int32_t lo = 0, hi = Count() - 1;
    while (lo <= hi) {
        const int32_t mid = (lo + hi) / 2;
        const int32_t p = PlaceOf(Items(mid));
        if (p == aPlace) {
            Index = mid;
            return true;
        }
        if (p < aPlace)
            lo = mid + 1;
        else
            hi = mid - 1;
    }
    Index = lo;
    return false;
}

template <class TBreak, class TRecord> int TPageBreakList<TBreak, TRecord>::Add(TBreak *aBreak)
{
    std::unique_ptr<TBreak> owned(aBreak);
    // More than a record may hold would be written as a record no reader takes.
    if (Count() >= MaxPageBreaks)
        TooManyPageBreaks();
    Sorted = false;
    const int i = TBaseList::Add(aBreak);
    owned.release();
    return i;
}

template <class TBreak, class TRecord>
void TPageBreakList<TBreak, TRecord>::InsertNew(int32_t Index, const TData &aBreakData)
{
    if (Count() >= MaxPageBreaks)
        TooManyPageBreaks();
    std::unique_ptr<TBreak> b(new TBreak(aBreakData));
    Insert(Index, b.get());
    b.release();
}

template <class TBreak, class TRecord> void TPageBreakList<TBreak, TRecord>::AddRecord(TRecord *aRecord)
{
    std::unique_ptr<TRecord> owned(aRecord);
    for (int32_t i = 0; i < aRecord->Count(); ++i) {
        auto data = aRecord->BreakData(i);
        int32_t index = 0;
        if (!Find(TBreakKind<TBreak>::Place(data), index))
            InsertNew(index, data);
    }
}

template <class TBreak, class TRecord> void TPageBreakList<TBreak, TRecord>::AddAt(int32_t aPlace)
{
    // The limit is checked first, also for a place that already has a break.
    if (Count() > MaxPageBreaks - 1)
        TooManyPageBreaks();
    uint16_t place = 0;
    IncWordChecked(place, aPlace, TBreakKind<TBreak>::Max);
    int32_t index = 0;
    if (!Find(place, index))
        InsertNew(index, TBreakKind<TBreak>::New(place));
}

template <class TBreak, class TRecord> void TPageBreakList<TBreak, TRecord>::DeleteBreak(int32_t aPlace)
{
    int32_t index = 0;
    if (Find(aPlace, index))
        Delete(index);
}

template <class TBreak, class TRecord> bool TPageBreakList<TBreak, TRecord>::HasPageBreak(int32_t aPlace)
{
    int32_t index = 0;
    return Find(aPlace, index);
}

template <class TBreak, class TRecord>
void TPageBreakList<TBreak, TRecord>::CopyFrom(const TPageBreakList *aBreakList)
{
    if (!aBreakList)
        return;
    // Through the sorted insertion, so the copy keeps one break per place and the record's limit.
    for (int i = 0; i < aBreakList->Count(); ++i) {
        auto data = aBreakList->Items(i)->BreakData;
        int32_t index = 0;
        if (!Find(TBreakKind<TBreak>::Place(data), index))
            InsertNew(index, data);
    }
}

template <class TBreak, class TRecord>
void TPageBreakList<TBreak, TRecord>::DeletePlaces(int32_t aPlace, int32_t aCount)
{
    if (aCount <= 0)
        return;
    int32_t first = 0;
    Find(aPlace, first);
    for (int32_t i = Count() - 1; i >= first; --i) {
        uint16_t &p = TBreakKind<TBreak>::Place(Items(i)->BreakData);
        if (int64_t(p) < int64_t(aPlace) + aCount)
            Delete(i);
        else
            p = uint16_t(p - aCount);
    }
}

template <class TBreak, class TRecord>
void TPageBreakList<TBreak, TRecord>::InsertPlaces(int32_t aPlace, int32_t aCount)
{
    int32_t first = 0;
    Find(aPlace, first);
    // Every move is checked before any is made, so a refused one leaves the list as it was.
    std::vector<uint16_t> moved;
    for (int32_t i = first; i < Count(); ++i) {
        uint16_t p = PlaceOf(Items(i));
        IncWordChecked(p, aCount, TBreakKind<TBreak>::Max);
        moved.push_back(p);
    }
    for (int32_t i = first; i < Count(); ++i)
        TBreakKind<TBreak>::Place(Items(i)->BreakData) = moved[size_t(i - first)];
}

template <class TBreak, class TRecord>
void TPageBreakList<TBreak, TRecord>::RangeBounds(const TXlsCellRange &CellRange, int32_t &First, int32_t &Last)
{
    Find(TBreakKind<TBreak>::Low(CellRange), First);
    if (!Find(TBreakKind<TBreak>::High(CellRange), Last))
        --Last;
}

template <class TBreak, class TRecord>
void TPageBreakList<TBreak, TRecord>::Write(TOle2File *DataStream, int32_t First, int32_t Last)
{
    const int32_t n = Last - First + 1;
    if (n <= 0)
        return;
    const int32_t size = 2 + 6 * n;
    std::unique_ptr<uint8_t[]> d(new uint8_t[size_t(size)]);
    SetWord(d.get(), 0, n);
    for (int32_t i = 0; i < n; ++i)
        TBreakKind<TBreak>::Put(d.get(), 2 + 6 * i, Items(First + i)->BreakData);
    DataStream->WriteHeader(TBreakKind<TBreak>::Id, uint16_t(size));
    DataStream->WriteRawMem(d.get(), size);
}

template <class TBreak, class TRecord> void TPageBreakList<TBreak, TRecord>::SaveToStream(TOle2File *DataStream)
{
    if (!Sorted)
        Sort();
    Write(DataStream, 0, Count() - 1);
}

template <class TBreak, class TRecord>
void TPageBreakList<TBreak, TRecord>::SaveRangeToStream(TOle2File *DataStream, const TXlsCellRange &CellRange)
{
    int32_t first = 0, last = 0;
    RangeBounds(CellRange, first, last);
    Write(DataStream, first, last);
}

template <class TBreak, class TRecord> int64_t TPageBreakList<TBreak, TRecord>::TotalSize()
{
    return Count() > 0 ? 6 + 6 * int64_t(Count()) : 0;
}

template <class TBreak, class TRecord>
int64_t TPageBreakList<TBreak, TRecord>::TotalRangeSize(const TXlsCellRange &CellRange)
{
    int32_t first = 0, last = 0;
    RangeBounds(CellRange, first, last);
    return last >= first ? 6 + 6 * int64_t(last - first + 1) : 0;
}

template class TPageBreakList<THPageBreak, THPageBreakRecord>;
template class TPageBreakList<TVPageBreak, TVPageBreakRecord>;
