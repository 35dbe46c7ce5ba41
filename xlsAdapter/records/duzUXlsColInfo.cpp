#include "xlsAdapter/records/duzUXlsColInfo.h"

#include "xlsAdapter/compound/duzUOle2Impl.h"

#include <algorithm>
#include <memory>

namespace {

// Columns 0 .. 255 exist; 256 is still written as the end of a run reaching the sheet's edge.
constexpr int32_t MaxColInfoColumn = 256;

} // namespace

// ---------------------------------------------------------------------------------------------
// TColInfoRecord

TColInfoRecord::TColInfoRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize)
    : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(10);
}

TColInfoDat TColInfoRecord::D() const
{
    TColInfoDat d;
    d.FirstColumn = GetWord(Data, 0);
    d.LastColumn = GetWord(Data, 2);
    d.Width = GetWord(Data, 4);
    d.XF = GetWord(Data, 6);
    d.Options = GetWord(Data, 8);
    d.Reserved = DataSize >= 12 ? GetWord(Data, 10) : 0;
    return d;
}

// ---------------------------------------------------------------------------------------------
// TColInfoList

void TColInfoList::Sort()
{
    TList::Sort([](void *a, void *b) {
        return int(static_cast<TColInfo *>(static_cast<TObject *>(a))->Column)
               - int(static_cast<TColInfo *>(static_cast<TObject *>(b))->Column);
    });
    Sorted = true;
}

bool TColInfoList::Find(int32_t aItem, int32_t &Index)
{
    if (!Sorted)
        Sort();
    return FindSortedKey(Count(), aItem, [this](int32_t i) -> int64_t { return Items(i)->Column; }, Index);
}

void TColInfoList::AddRecord(TColInfoRecord *R)
{
    std::unique_ptr<TColInfoRecord> owned(R);
    const TColInfoDat d = R->D();
    // A file may name columns up to 65535; beyond the last one that is ever written there is
    // nothing to keep, and one object per named column would let a record cost megabytes.
    const int32_t last = std::min<int32_t>(d.LastColumn, MaxColInfoColumn);
    for (int32_t c = d.FirstColumn; c <= last; ++c)
        Add(new TColInfo(uint16_t(c), d.Width, d.XF, d.Options));
}

void TColInfoList::CopyFrom(const TColInfoList *aColInfoList)
{
    Clear();
    if (!aColInfoList)
        return;
    for (int i = 0; i < aColInfoList->Count(); ++i) {
        const TColInfo *c = aColInfoList->Items(i);
        Add(new TColInfo(c->Column, c->Width, c->XF, c->Options));
    }
}

int64_t TColInfoList::SaveOrMeasure(TOle2File *DataStream, int32_t First, int32_t aCount)
{
    int64_t total = 0;
    const int32_t end = First + aCount;
    int32_t i = First;
    while (i < end) {
        const TColInfo *first = Items(i);
        if (first->Column >= MaxColInfoColumn)
            break;
        int32_t last = i;
        while (last + 1 < end && Items(last + 1)->IsEqual(first)
               && Items(last + 1)->Column == Items(last)->Column + 1)
            ++last;
        if (DataStream) {
            DataStream->WriteHeader(xlr_COLINFO, 12);
            DataStream->Write16(first->Column);
            DataStream->Write16(uint16_t(std::min<int32_t>(Items(last)->Column, MaxColInfoColumn)));
            DataStream->Write16(first->Width);
            DataStream->Write16(first->XF);
            DataStream->Write16(first->Options);
            DataStream->Write16(0);
        }
        total += 16;
        i = last + 1;
    }
    return total;
}

void TColInfoList::RangeItems(const TXlsCellRange &CellRange, int32_t &First, int32_t &aCount)
{
    Sort();
    First = 0;
    aCount = 0;
    for (int i = 0; i < Count(); ++i) {
        const int32_t c = Items(i)->Column;
        if (c < CellRange.Left)
            continue;
        if (c > CellRange.Right)
            break;
        if (aCount == 0)
            First = i;
        ++aCount;
    }
}

void TColInfoList::SaveToStream(TOle2File *DataStream)
{
    Sort();
    SaveOrMeasure(DataStream, 0, Count());
}

void TColInfoList::SaveRangeToStream(TOle2File *DataStream, const TXlsCellRange &CellRange)
{
    int32_t first, n;
    RangeItems(CellRange, first, n);
    SaveOrMeasure(DataStream, first, n);
}

int64_t TColInfoList::TotalSize()
{
    Sort();
    return SaveOrMeasure(nullptr, 0, Count());
}

int64_t TColInfoList::TotalRangeSize(const TXlsCellRange &CellRange)
{
    int32_t first, n;
    RangeItems(CellRange, first, n);
    return SaveOrMeasure(nullptr, first, n);
}

void TColInfoList::CalcGuts(TGutsRecord *Guts) const
{
    int32_t level = 0;
    for (int i = 0; i < Count(); ++i)
        level = std::max(level, Items(i)->GetColOutlineLevel());
    Guts->SetColLevel(level);
}

void TColInfoList::ArrangeInsertCols(int32_t DestCol, int32_t aColCount, const TSheetInfo &SheetInfo)
{
    if (SheetInfo.FormulaSheet != SheetInfo.InsSheet)
        return;
    Sort();
    // Columns pushed past the edge stay in the list; they are not written.
    for (int i = Count() - 1; i >= 0 && Items(i)->Column >= DestCol; --i)
        Items(i)->Column = uint16_t(std::min<int32_t>(Items(i)->Column + aColCount, 0xFFFF));
}

void TColInfoList::CopyCols(int32_t FirstCol, int32_t LastCol, int32_t DestCol, int32_t aColCount,
                            const TSheetInfo &SheetInfo)
{
    Sort();
    const int32_t width = LastCol - FirstCol + 1;
    for (int32_t k = 0; k < aColCount; ++k) {
        for (int32_t i = 0; i < Count(); ++i) {
            const TColInfo *src = Items(i);
            if (src->Column < FirstCol)
                continue;
            if (src->Column > LastCol)
                break;
            const int32_t target = DestCol + src->Column - FirstCol + width * k;
            if (target < 0 || target > MaxColInfoColumn || target == src->Column)
                continue;
            auto *copy = new TColInfo(uint16_t(target), src->Width, src->XF, src->Options);
            int32_t index;
            if (Find(target, index)) {
                SetItems(index, copy);
            } else {
                Insert(index, copy);
                if (index <= i)
                    ++i;
            }
        }
    }
}
