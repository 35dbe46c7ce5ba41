#include "xlsAdapter/records/duzUXlsBaseRecordLists.h"

#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/records/duzUXlsCellRecords.h"
#include "xlsAdapter/records/duzUXlsSST.h"

#include <memory>

namespace {

const char *const SDuplicatedRow = "Duplicated ROW record";
const char *const SMissingRow = "Missing ROW Record for row %d";

const TXlsCellRange FullRange{0, 0, 255, 65535};

// Cells of these ids keep their size while they sit in a row.
bool FixedSizeCell(const TBaseRecord *r)
{
    switch (r->Id) {
    case xlr_BLANK:
    case xlr_RK:
    case xlr_NUMBER:
    case xlr_BOOLERR:
    case xlr_LABELSST: return true;
    default: return false;
    }
}

bool InRange(const TBaseRowColRecord *r, const TXlsCellRange &Range)
{
    return r->Row() >= Range.Top && r->Row() <= Range.Bottom && r->Column() >= Range.Left
           && r->Column() <= Range.Right;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TBaseRecordList

void TBaseRecordList::Notify(void *Ptr, TListNotification Action)
{
    const auto *r = static_cast<TBaseRecord *>(static_cast<TObject *>(Ptr));
    if (Action == lnAdded)
        FTotalSize += r->TotalSize();
    else
        FTotalSize -= r->TotalSize();
    TObjectList::Notify(Ptr, Action);
}

void TBaseRecordList::SaveToStream(TOle2File *DataStream)
{
    for (int i = 0; i < Count(); ++i)
        if (TBaseRecord *r = Items(i))
            r->SaveToStream(DataStream);
}

void TBaseRecordList::CopyFrom(const TBaseRecordList *aBaseRecordList)
{
    if (!aBaseRecordList)
        return;
    for (int i = 0; i < aBaseRecordList->Count(); ++i) {
        std::unique_ptr<TBaseRecord> r(CopyOf(aBaseRecordList->Items(i)));
        TObjectList::Add(r.get());
        r.release();
    }
}

// ---------------------------------------------------------------------------------------------
// TBaseRowColRecordList

void TBaseRowColRecordList::Sort()
{
    // A list already in order stays as it is (the sort is stable), and so does its measured size.
    bool ordered = true;
    for (int i = 1; i < Count() && ordered; ++i) {
        const TBaseRowColRecord *a = Items(i - 1), *b = Items(i);
        ordered = (a ? a->Column() : -1) <= (b ? b->Column() : -1);
    }
    if (ordered) {
        Sorted = true;
        return;
    }
    // Nil items (none in a cell list) go first, so the search below can skip them.
    TList::Sort([](void *a, void *b) {
        const int ca = a ? static_cast<TBaseRowColRecord *>(static_cast<TObject *>(a))->Column() : -1;
        const int cb = b ? static_cast<TBaseRowColRecord *>(static_cast<TObject *>(b))->Column() : -1;
        return ca - cb;
    });
    Sorted = true;
    Moved();
}

bool TBaseRowColRecordList::Find(int32_t aItem, int32_t &Index)
{
    if (!Sorted)
        Sort();
    return FindSortedKey(Count(), aItem, [this](int32_t i) -> int64_t {
        const TBaseRowColRecord *r = Items(i);
        return r ? r->Column() : -1;
    }, Index);
}

void TBaseRowColRecordList::ArrangeCopyRowsAndCols(int32_t RowOffset, int32_t ColOffset)
{
    Moved();
    for (int i = 0; i < Count(); ++i)
        if (TBaseRowColRecord *r = Items(i))
            r->ArrangeCopyRowsAndCols(RowOffset, ColOffset);
}

void TBaseRowColRecordList::ArrangeInsertRowsAndCols(int32_t aRowPos, int32_t aRowCount, int32_t aColPos,
                                                     int32_t aColCount, const TSheetInfo &SheetInfo)
{
    Moved();
    for (int i = 0; i < Count(); ++i)
        if (TBaseRowColRecord *r = Items(i))
            r->ArrangeInsertRowsAndCols(aRowPos, aRowCount, aColPos, aColCount, SheetInfo);
}

void TBaseRowColRecordList::SaveRangeToStream(TOle2File *DataStream, const TXlsCellRange &CellRange)
{
    for (int i = 0; i < Count(); ++i)
        if (TBaseRowColRecord *r = Items(i); r && InRange(r, CellRange))
            r->SaveToStream(DataStream);
}

int64_t TBaseRowColRecordList::TotalRangeSize(const TXlsCellRange &CellRange, bool NeedsRecalc)
{
    int64_t n = 0;
    for (int i = 0; i < Count(); ++i)
        if (TBaseRowColRecord *r = Items(i); r && InRange(r, CellRange))
            n += r->FixTotalSize(NeedsRecalc);
    return n;
}

// ---------------------------------------------------------------------------------------------
// TCellRecordList

void TCellRecordList::Notify(void *Ptr, TListNotification Action)
{
    if (Ptr) {
        const int32_t variable = FixedSizeCell(static_cast<TBaseRecord *>(static_cast<TObject *>(Ptr))) ? 0 : 1;
        FVariableCells += Action == lnAdded ? variable : -variable;
    }
    if (!FEditing)
        FSizeKnown = false;
    TBaseRowColRecordList::Notify(Ptr, Action);
}

int64_t TCellRecordList::CellSize(int Index) const
{
    const TCellRecord *c = Items(Index);
    if (!c || c->Column() > FullRange.Right)
        return 0;
    const bool joinsPrevious = Index > 0 && Items(Index - 1) && Items(Index - 1)->Column() <= FullRange.Right
                               && Items(Index - 1)->CanJoinNext(const_cast<TCellRecord *>(c), FullRange.Right);
    const bool joinsNext = Index + 1 < Count() && c->CanJoinNext(Items(Index + 1), FullRange.Right);
    if (joinsPrevious)
        return joinsNext ? c->TotalSizeMid() : c->TotalSizeLast();
    return joinsNext ? c->TotalSizeFirst() : c->TotalSize();
}

int64_t TCellRecordList::CellsSize(int First, int Last) const
{
    int64_t n = 0;
    for (int i = std::max(First, 0); i <= Last && i < Count(); ++i)
        n += CellSize(i);
    return n;
}

void TCellRecordList::InsertCell(int Index, TCellRecord *aRecord)
{
    const bool known = FSizeKnown && FSizeMoves == FMoves && FVariableCells == 0 && FixedSizeCell(aRecord);
    const int64_t before = known ? CellsSize(Index - 1, Index) : 0;
    FEditing = true;
    TBaseRowColRecordList::Insert(Index, aRecord);
    FEditing = false;
    if (known)
        FSize += CellsSize(Index - 1, Index + 1) - before;
    FSizeKnown = known;
}

void TCellRecordList::DeleteCell(int Index)
{
    const bool known = FSizeKnown && FSizeMoves == FMoves && FVariableCells == 0;
    const int64_t before = known ? CellsSize(Index - 1, Index + 1) : 0;
    FEditing = true;
    Delete(Index);
    FEditing = false;
    if (known)
        FSize += CellsSize(Index - 1, Index) - before;
    FSizeKnown = known;
}

bool TCellRecordList::CoversRow(const TXlsCellRange &CellRange) const
{
    if (Count() == 0)
        return true;
    // Sorted, the last cell has the highest column; cells past the sheet's last column are never
    // written, whatever the range.
    const TCellRecord *first = Items(0), *last = Items(Count() - 1);
    return Sorted && first && last && first->Row() >= CellRange.Top && first->Row() <= CellRange.Bottom
           && CellRange.Left <= 0 && CellRange.Right >= std::min<int32_t>(last->Column(), FullRange.Right);
}

int64_t TCellRecordList::KnownSize(const TXlsCellRange &CellRange) const
{
    if (!FSizeKnown || FSizeMoves != FMoves || FVariableCells != 0)
        return -1;
    if (Count() == 0)
        return 0;
    return CoversRow(CellRange) ? FSize : -1;
}

int64_t TCellRecordList::FixTotalSize(bool NeedsRecalc) { return TotalRangeSize(FullRange, NeedsRecalc); }

void TCellRecordList::SaveToStream(TOle2File *DataStream) { SaveRangeToStream(DataStream, FullRange); }

void TCellRecordList::SaveRangeToStream(TOle2File *DataStream, const TXlsCellRange &CellRange)
{
    SaveOrMeasure(DataStream, CellRange, false);
}

int64_t TCellRecordList::TotalRangeSize(const TXlsCellRange &CellRange, bool NeedsRecalc)
{
    const int64_t known = KnownSize(CellRange);
    if (known >= 0)
        return known;
    const int64_t n = SaveOrMeasure(nullptr, CellRange, NeedsRecalc);
    // A row measured whole keeps its size while only InsertCell and DeleteCell change it.
    if (FVariableCells == 0 && Count() > 0 && CoversRow(CellRange)) {
        FSize = n;
        FSizeKnown = true;
        FSizeMoves = FMoves;
    }
    return n;
}

int64_t TCellRecordList::SaveOrMeasure(TOle2File *DataStream, const TXlsCellRange &CellRange, bool NeedsRecalc)
{
    int first = 0;
    while (first < Count() && !Items(first))
        ++first;
    if (first >= Count() || Items(first)->Row() < CellRange.Top || Items(first)->Row() > CellRange.Bottom)
        return 0;
    const auto at = [this](int i) { return i < Count() ? Items(i) : nullptr; };
    int64_t total = 0;
    int i = first;
    while (i < Count()) {
        TCellRecord *cur = Items(i);
        if (!cur || cur->Column() < CellRange.Left || cur->Column() > CellRange.Right) {
            ++i;
            continue;
        }
        if (!cur->CanJoinNext(at(i + 1), CellRange.Right)) {
            if (DataStream)
                cur->SaveToStream(DataStream);
            total += cur->FixTotalSize(NeedsRecalc);
            ++i;
            continue;
        }
        int64_t joined = cur->TotalSizeFirst();
        int last = i + 1;
        while (Items(last)->CanJoinNext(at(last + 1), CellRange.Right)) {
            joined += Items(last)->TotalSizeMid();
            ++last;
        }
        joined += Items(last)->TotalSizeLast();
        total += joined;
        if (DataStream) {
            cur->SaveFirstMul(DataStream, uint16_t(joined));
            for (int k = i + 1; k < last; ++k)
                Items(k)->SaveMidMul(DataStream);
            Items(last)->SaveLastMul(DataStream);
        }
        i = last + 1;
    }
    return total;
}

// ---------------------------------------------------------------------------------------------
// TRowRecordList

int TRowRecordList::AddRecord(TRowRecord *aRecord)
{
    const int r = aRecord->Row();
    if (r < Count()) {
        if (TBaseRowColRecordList::Items(r)) {
            delete aRecord;
            throw Exception(QString::fromLatin1(SDuplicatedRow));
        }
        TBaseRowColRecordList::SetItems(r, aRecord);
    } else {
        while (Count() < r)
            TObjectList::Add(nullptr);
        TObjectList::Add(aRecord);
    }
    return r;
}

TRowRecord *TRowRecordList::Items(int Index) const
{
    TBaseRowColRecord *r = Index >= 0 && Index < Count() ? TBaseRowColRecordList::Items(Index) : nullptr;
    if (!r)
        throw Exception(Format(QString::fromLatin1(SMissingRow), {Index}));
    return static_cast<TRowRecord *>(r);
}

bool TRowRecordList::HasRow(int32_t Index) const
{
    return Index >= 0 && Index < Count() && TBaseRowColRecordList::Items(Index);
}

void TRowRecordList::AddRow(uint16_t Index)
{
    if (!HasRow(Index))
        AddRecord(TRowRecord::CreateStandard(Index));
}

uint16_t TRowRecordList::RowHeight(int32_t aRow) const { return HasRow(aRow) ? Items(aRow)->Height() : 0; }

void TRowRecordList::SetRowHeight(int32_t aRow, uint16_t Height)
{
    AddRow(uint16_t(aRow));
    Items(aRow)->SetHeight(Height);
    Items(aRow)->ManualHeight();
}

void TRowRecordList::AutoRowHeight(int32_t aRow, bool Value)
{
    if (!HasRow(aRow))
        return;
    if (Value)
        Items(aRow)->AutoHeight();
    else
        Items(aRow)->ManualHeight();
}

bool TRowRecordList::IsAutoRowHeight(int32_t aRow) const { return HasRow(aRow) ? Items(aRow)->IsAutoHeight() : true; }

int64_t TRowRecordList::TotalRangeSize(const TXlsCellRange &CellRange, bool NeedsRecalc)
{
    int64_t n = 0;
    for (int32_t r = CellRange.Top; r <= CellRange.Bottom; ++r)
        n += Items(r)->FixTotalSize(NeedsRecalc);
    return n;
}

void TRowRecordList::CalcGuts(TGutsRecord *Guts) const
{
    int32_t level = 0;
    for (int i = 0; i < Count(); ++i)
        if (HasRow(i))
            level = std::max<int32_t>(level, Items(i)->Options() & 7);
    Guts->SetRowLevel(level);
}

void TRowRecordList::DeleteRows(uint16_t aRow, uint16_t aRowCount, const TSheetInfo &SheetInfo)
{
    const int end = std::min<int>(aRow + aRowCount, Count());
    for (int i = end - 1; i >= aRow; --i)
        Delete(i);
    for (int i = aRow; i < Count(); ++i)
        if (TBaseRowColRecord *r = TBaseRowColRecordList::Items(i))
            r->ArrangeInsertRowsAndCols(aRow, -aRowCount, 0, 0, SheetInfo);
}

void TRowRecordList::InsertAndCopyRows(int32_t FirstRow, int32_t LastRow, int32_t DestRow, int32_t aCount,
                                       const TSheetInfo &SheetInfo)
{
    const int32_t n = LastRow - FirstRow + 1;
    for (int i = std::max(DestRow, 0); i < Count(); ++i)
        if (TBaseRowColRecord *r = TBaseRowColRecordList::Items(i))
            r->ArrangeInsertRowsAndCols(DestRow, n * aCount, 0, 0, SheetInfo);
    int32_t index = DestRow, shift = 0;
    for (int32_t k = 0; k < aCount; ++k) {
        for (int32_t r = FirstRow; r <= LastRow; ++r) {
            const int32_t source = r + shift;
            std::unique_ptr<TBaseRowColRecord> copy;
            if (source >= 0 && source < Count() && TBaseRowColRecordList::Items(source)) {
                copy.reset(CopyOf(TBaseRowColRecordList::Items(source)));
                copy->ArrangeCopyRowsAndCols(index - copy->Row(), 0);
            }
            while (Count() < index)
                TObjectList::Add(nullptr);
            TBaseRowColRecordList::Insert(index, copy.get());
            copy.release();
            ++index;
            if (FirstRow >= DestRow)
                ++shift;
        }
    }
}
