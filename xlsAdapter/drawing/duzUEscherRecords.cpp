#include "xlsAdapter/drawing/duzUEscherRecords.h"

#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/compound/duzUOle2Impl.h"
#include "xlsAdapter/drawing/duzUXlsClientData.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

const char *const SErrLoadingEscher = "Error loading Escher record";
const char *const SLogicalError = "Tarvix: Logical Error";
const char *const SEscherNotLoaded = "Escher record is not fully loaded";
const char *const SDuplicatedDg = "Error loading Escher record. Duplicated Dg";
const char *const SDuplicatedDgg = "Error loading Escher record. Duplicated Dgg";
const char *const SDuplicatedBStore = "Error loading Escher record. Duplicated BStore";
const char *const SDuplicatedSolver = "Error loading Escher record. Duplicated Solver container";
const char *const SNotImplemented = "This file has a not implemented kind of record: %s";

[[noreturn]] void Fail(const char *Msg) { throw Exception(QString::fromLatin1(Msg)); }

// Makes R the one record of its kind that an index points to.
template <class T> void RegisterUnique(T *&Slot, T *R, const char *Duplicated)
{
    if (Slot)
        Fail(Duplicated);
    Slot = R;
}

// Records of the group tree share an index without caches; one of a sheet's drawing (which has
// caches) is held as read but is not the workbook's, or a sheet could replace the group's store.
bool InGroupTree(const TEscherDwgCache *aDwgCache) { return !aDwgCache || !aDwgCache->Shape; }

template <class T> void Unregister(T *&Slot, const T *R)
{
    if (Slot == R)
        Slot = nullptr;
}

int Sign(int64_t v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

int CompareBytes(const uint8_t *a, const uint8_t *b, int32_t n)
{
    for (int32_t i = 0; i < n; ++i)
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    return 0;
}

} // namespace

QString ErrLoadingEscherText() { return QString::fromLatin1(SErrLoadingEscher); }
void ErrLoadingEscher() { Fail(SErrLoadingEscher); }
void LogicalError() { Fail(SLogicalError); }

// ---------------------------------------------------------------------------------------------
// TBreakList

void TBreakList::Add(int32_t aId, int32_t aSize)
{
    const int64_t acum = (FEntries.empty() ? 0 : FEntries.back().Acum) + aSize;
    FEntries.push_back({aId, aSize, acum});
}

const TBreakList::TBreakEntry &TBreakList::Entry(int32_t Index) const
{
    if (Index < 0 || Index >= Count())
        LogicalError();
    return FEntries[size_t(Index)];
}

int64_t TBreakList::AcumSize() const { return Entry(CurrentPos).Acum + ZeroPos + 4 * int64_t(CurrentPos); }

int32_t TBreakList::CurrentId() const { return Entry(CurrentPos).Id; }

int32_t TBreakList::CurrentSize() const { return Entry(CurrentPos + 1).Size; }

void TBreakList::CheckBreak(TOle2File *DataStream)
{
    const int64_t pos = DataStream->Position();
    const int64_t at = AcumSize();
    if (pos > at)
        LogicalError();
    if (pos == at) {
        DataStream->WriteHeader(uint16_t(CurrentId()), uint16_t(CurrentSize()));
        IncCurrent();
    }
}

void TBreakList::WriteSplit(TOle2File *DataStream, const uint8_t *p, int64_t n)
{
    while (n > 0) {
        CheckBreak(DataStream);
        const int64_t room = AcumSize() - DataStream->Position();
        const int64_t k = std::min(n, room);
        if (k <= 0)
            LogicalError();
        DataStream->WriteRawMem(p, k);
        p += k;
        n -= k;
    }
}

// ---------------------------------------------------------------------------------------------
// Caches

int TEscherRecordCache::Add(TEscherRecord *aRecord) { return TBaseList::Add(aRecord); }

TEscherRecord *TEscherRecordCache::Items(int Index) const
{
    return static_cast<TEscherRecord *>(TBaseList::Items(Index));
}

void TEscherRecordCache::ArrangeInsertRowsAndCols(int32_t aRowPos, int32_t aRowCount, TSheetSizes *dSheet, bool Forced,
                                                  const TSheetInfo &SheetInfo, int32_t aColCount, int32_t aColPos)
{
    for (int i = 0; i < Count(); ++i)
        Items(i)->ArrangeInsertRowsAndCols(aRowPos, aRowCount, dSheet, Forced, SheetInfo, aColCount, aColPos);
}

TEscherClientAnchorRecord *TEscherAnchorCache::Items(int Index) const
{
    return static_cast<TEscherClientAnchorRecord *>(TEscherRecordCache::Items(Index));
}

TEscherClientDataRecord *TEscherObjCache::Items(int Index) const
{
    return static_cast<TEscherClientDataRecord *>(TEscherRecordCache::Items(Index));
}

void TEscherObjCache::ArrangeCopySheet(const TSheetInfo &SheetInfo)
{
    for (int i = 0; i < Count(); ++i)
        if (TBaseClientData *c = Items(i)->ClientData())
            c->ArrangeCopySheet(SheetInfo);
}

int TEscherShapeCache::Add(TEscherSPRecord *aRecord)
{
    Sorted = false;
    return TEscherRecordCache::Add(aRecord);
}

TEscherSPRecord *TEscherShapeCache::Items(int Index) const
{
    return static_cast<TEscherSPRecord *>(TEscherRecordCache::Items(Index));
}

void TEscherShapeCache::Sort()
{
    TList::Sort([](void *a, void *b) {
        const uint32_t x = static_cast<TEscherSPRecord *>(static_cast<TObject *>(a))->ShapeId();
        const uint32_t y = static_cast<TEscherSPRecord *>(static_cast<TObject *>(b))->ShapeId();
        return x < y ? -1 : x > y ? 1 : 0;
    });
    Sorted = true;
}

bool TEscherShapeCache::Find(uint32_t aShapeId, int &Index)
{
    if (!Sorted)
        Sort();
    int lo = 0, hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const uint32_t v = Items(mid)->ShapeId();
        if (v < aShapeId) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (v == aShapeId)
                found = true;
        }
    }
    Index = lo;
    return found;
}

void TEscherShapeCache::RemoveShape(TEscherSPRecord *aRecord)
{
    int i = 0;
    if (Find(aRecord->ShapeId(), i))
        for (; i < Count() && Items(i)->ShapeId() == aRecord->ShapeId(); ++i)
            if (Items(i) == aRecord) {
                Delete(i);
                return;
            }
    // A broken file may give two shapes one id, or a shape may have changed its id.
    Remove(aRecord);
}

TEscherOPTRecord *TEscherOPTCache::Items(int Index) const
{
    return static_cast<TEscherOPTRecord *>(TEscherRecordCache::Items(Index));
}

// ---------------------------------------------------------------------------------------------
// TEscherRecordList

int TEscherRecordList::Add(TEscherRecord *aRecord)
{
    Sorted = false;
    return TBaseList::Add(aRecord);
}

void TEscherRecordList::Insert(int Index, TEscherRecord *aRecord) { TBaseList::Insert(Index, aRecord); }

TEscherRecord *TEscherRecordList::Items(int Index) const
{
    return static_cast<TEscherRecord *>(TBaseList::Items(Index));
}

void TEscherRecordList::Sort()
{
    TList::Sort([](void *a, void *b) {
        return static_cast<TEscherRecord *>(static_cast<TObject *>(a))
            ->CompareRec(static_cast<TEscherRecord *>(static_cast<TObject *>(b)));
    });
    Sorted = true;
}

bool TEscherRecordList::Find(const TEscherRecord *aRecord, int &Index)
{
    if (!Sorted)
        Sort();
    int lo = 0, hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const int c = Items(mid)->CompareRec(aRecord);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0)
                found = true;
        }
    }
    Index = lo;
    return found;
}

void TEscherRecordList::SaveToStream(TOle2File *DataStream, TBreakList *BreakList)
{
    for (int i = 0; i < Count(); ++i)
        if (TEscherRecord *r = Items(i))
            r->SaveToStream(DataStream, BreakList);
}

int64_t TEscherRecordList::TotalSizeNoSplit() const
{
    int64_t n = 0;
    for (int i = 0; i < Count(); ++i)
        if (const TEscherRecord *r = Items(i))
            n += r->TotalSizeNoSplit();
    return n;
}

void TEscherRecordList::CopyFrom(const TEscherRecordList *aList, TEscherDwgCache *NewDwgCache, int32_t RowOfs,
                                 TSheetSizes *dSheet, int32_t ColOfs)
{
    for (int i = 0; i < aList->Count(); ++i) {
        TEscherRecord *r = aList->Items(i);
        Add(r ? r->CopyTo(NewDwgCache, RowOfs, dSheet, ColOfs) : nullptr);
    }
}

// ---------------------------------------------------------------------------------------------
// TEscherRecord

TEscherRecord::TEscherRecord(const TEscherRecordHeader &aHeader, TEscherContainerRecord *aParent,
                             TEscherDwgCache *aDwgCache, TEscherDwgGroupCache *aDwgGroupCache)
    : FParent(aParent), DwgCache(aDwgCache), DwgGroupCache(aDwgGroupCache), Pre(aHeader.Pre), Id(aHeader.Id),
      TotalDataSize(int32_t(aHeader.Size))
{
    if (aHeader.Size > uint32_t(INT32_MAX))
        ErrLoadingEscher();
}

TEscherRecord *TEscherRecord::CopyTo(TEscherDwgCache *NewDwgCache, int32_t RowOfs, TSheetSizes *dSheet, int32_t ColOfs)
{
    return DoCopyTo(NewDwgCache, RowOfs, dSheet, ColOfs);
}

TEscherRecord *TEscherRecord::DoCopyTo(TEscherDwgCache *NewDwgCache, int32_t, TSheetSizes *, int32_t)
{
    TEscherRecord *copy = NewOfClass(TEscherRecordHeader{Pre, Id, uint32_t(TotalDataSize)}, nullptr, NewDwgCache,
                                     DwgGroupCache);
    CopiedTo = copy;
    copy->LoadedDataSize = LoadedDataSize;
    if (!FParent)
        copy->FParent = nullptr;
    else if (FParent->CopiedTo)
        copy->FParent = static_cast<TEscherContainerRecord *>(FParent->CopiedTo);
    else
        copy->FParent = FParent;
    return copy;
}

TEscherRecord *TEscherRecord::CopyDwg(int32_t RowOfs, int32_t ColOfs, TSheetSizes *dSheet)
{
    TEscherSpgrContainerRecord *patriarch = Patriarch();
    TEscherRecord *root = FindRoot();
    if (!patriarch || !root)
        ErrLoadingEscher();
    TEscherRecord *copy = root->CopyTo(DwgCache, RowOfs, dSheet, ColOfs);
    patriarch->AddChild(copy);
    return CopiedTo;
}

TEscherRecord *TEscherRecord::FindRoot()
{
    if (!DwgCache)
        return this;
    TEscherContainerRecord *patriarch = Patriarch();
    if (!patriarch)
        return nullptr;
    TEscherRecord *r = this;
    while (r && r->FParent != patriarch)
        r = r->FParent;
    return r;
}

void TEscherRecord::SaveToStream(TOle2File *DataStream, TBreakList *BreakList)
{
    SaveHeaderToStream(DataStream, BreakList);
}

void TEscherRecord::SaveHeaderToStream(TOle2File *DataStream, TBreakList *BreakList)
{
    if (!Loaded())
        Fail(SEscherNotLoaded);
    uint8_t h[8];
    SetWord(h, 0, Pre);
    SetWord(h, 2, Id);
    SetLongWord(h, 4, uint32_t(TotalSizeNoSplit() - 8));
    BreakList->WriteSplit(DataStream, h, 8);
}

bool TEscherRecord::Loaded() const
{
    if (LoadedDataSize > TotalDataSize)
        LogicalError();
    return LoadedDataSize == TotalDataSize;
}

bool TEscherRecord::WaitingClientData(TClientDataClass &ClientType)
{
    ClientType = nullptr;
    return false;
}

void TEscherRecord::AssignClientData(TBaseClientData *) { ErrLoadingEscher(); }

void TEscherRecord::AddSize(int32_t &NextPos, int64_t &RealSize, TBreakList *BreakList, int64_t n)
{
    if (NextPos > MaxDrawingRecordSize)
        LogicalError();
    int64_t pos = NextPos + n;
    RealSize += n;
    while (pos > MaxDrawingRecordSize) {
        pos -= MaxDrawingRecordSize;
        RealSize += 4;
        if (BreakList)
            BreakList->Add(xlr_CONTINUE, MaxDrawingRecordSize);
    }
    NextPos = int32_t(pos);
}

void TEscherRecord::SplitHeader(int32_t &NextPos, int64_t &RealSize, TBreakList *BreakList, int32_t &NextDwg)
{
    if (NextDwg > 0) {
        if (BreakList)
            BreakList->Add(NextDwg, NextPos);
        RealSize += 4;
        NextPos = 0;
        NextDwg = -1;
    }
    AddSize(NextPos, RealSize, BreakList, 8);
}

void TEscherRecord::SplitRecords(int32_t &NextPos, int64_t &RealSize, TBreakList *BreakList, int32_t &NextDwg)
{
    SplitHeader(NextPos, RealSize, BreakList, NextDwg);
}

void TEscherRecord::ArrangeInsertRowsAndCols(int32_t, int32_t, TSheetSizes *, bool, const TSheetInfo &, int32_t,
                                             int32_t)
{
}

TEscherRecord *TEscherRecord::FindRec(TEscherRecordClass) { return nullptr; }

int TEscherRecord::CompareRec(const TEscherRecord *aRecord) const
{
    if (int c = Sign(int64_t(Id) - aRecord->Id))
        return c;
    if (int c = Sign(int64_t(Pre) - aRecord->Pre))
        return c;
    return Sign(int64_t(TotalDataSize) - aRecord->TotalDataSize);
}

// ---------------------------------------------------------------------------------------------
// Making records

TEscherRecordHeader ReadEscherHeader(TBaseRecord *&aRecord, int32_t &aPos)
{
    uint8_t h[8];
    ReadRecordMem(aRecord, aPos, 8, h);
    return TEscherRecordHeader{GetWord(h, 0), GetWord(h, 2), GetLongWord(h, 4)};
}

TEscherRecord *CreateEscherRecord(const TEscherRecordHeader &aHeader, TEscherContainerRecord *aParent,
                                  TEscherDwgCache *aDwgCache, TEscherDwgGroupCache *aDwgGroupCache)
{
    // A size from the file must fit in what its container still holds.
    if (aParent && 8 + int64_t(aHeader.Size) > int64_t(aParent->TotalDataSize) - aParent->LoadedDataSize)
        ErrLoadingEscher();
    if ((aHeader.Pre & 0x000F) == 0x000F) {
        if (aParent && aParent->Depth() + 1 >= MaxEscherDepth)
            ErrLoadingEscher();
        switch (aHeader.Id) {
        case MsofbtBstoreContainer:
            return new TEscherBStoreRecord(aHeader, aParent, aDwgCache, aDwgGroupCache);
        case MsofbtSpgrContainer:
            return new TEscherSpgrContainerRecord(aHeader, aParent, aDwgCache, aDwgGroupCache);
        case MsofbtSpContainer:
            return new TEscherSpContainerRecord(aHeader, aParent, aDwgCache, aDwgGroupCache);
        case MsofbtSolverContainer:
            return new TEscherSolverContainerRecord(aHeader, aParent, aDwgCache, aDwgGroupCache);
        default:
            return new TEscherContainerRecord(aHeader, aParent, aDwgCache, aDwgGroupCache);
        }
    }
    switch (aHeader.Id) {
    case MsofbtDgg:
        return new TEscherDggRecord(aHeader, aParent, aDwgCache, aDwgGroupCache);
    case MsofbtBSE:
        return new TEscherBSERecord(aHeader, aParent, aDwgCache, aDwgGroupCache);
    case MsofbtDg:
        return new TEscherDgRecord(aHeader, aParent, aDwgCache, aDwgGroupCache);
    case MsofbtSp:
        return new TEscherSPRecord(aHeader, aParent, aDwgCache, aDwgGroupCache);
    case MsofbtOPT:
        return new TEscherOPTRecord(aHeader, aParent, aDwgCache, aDwgGroupCache);
    case MsofbtClientTextbox:
        return new TEscherClientTextBoxRecord(aHeader, aParent, aDwgCache, aDwgGroupCache);
    case MsofbtClientAnchor:
        return new TEscherClientAnchorRecord(aHeader, aParent, aDwgCache, aDwgGroupCache);
    case MsofbtClientData:
        return new TEscherClientDataRecord(aHeader, aParent, aDwgCache, aDwgGroupCache);
    case MsofbtAlignRule:
        return new TEscherAlignRuleRecord(aHeader, aParent, aDwgCache, aDwgGroupCache);
    case MsofbtSplitMenuColors:
        return new TEscherSplitMenuRecord(aHeader, aParent, aDwgCache, aDwgGroupCache);
    default:
        // Connector, arc and callout rules among them: kept as read.
        return new TEscherDataRecord(aHeader, aParent, aDwgCache, aDwgGroupCache);
    }
}

// ---------------------------------------------------------------------------------------------
// TEscherDataRecord

TEscherDataRecord::TEscherDataRecord(const TEscherRecordHeader &aHeader, TEscherContainerRecord *aParent,
                                     TEscherDwgCache *aDwgCache, TEscherDwgGroupCache *aDwgGroupCache)
    : TEscherRecord(aHeader, aParent, aDwgCache, aDwgGroupCache)
{
    if (TotalDataSize > 0)
        Data = new uint8_t[size_t(TotalDataSize)]();
}

TEscherDataRecord::~TEscherDataRecord() { delete[] Data; }

void TEscherDataRecord::CheckBodySize(int32_t MinSize) const
{
    if (TotalDataSize < MinSize)
        ErrLoadingEscher();
}

void TEscherDataRecord::SetBody(const uint8_t *aData, int32_t aSize)
{
    if (aSize != TotalDataSize)
        LogicalError();
    if (aSize > 0)
        std::memcpy(Data, aData, size_t(aSize));
    LoadedDataSize = aSize;
    AfterCreate();
}

void TEscherDataRecord::ClearData()
{
    if (TotalDataSize > 0)
        std::memset(Data, 0, size_t(TotalDataSize));
}

void TEscherDataRecord::GrowData(int32_t n)
{
    auto *d = new uint8_t[size_t(TotalDataSize) + size_t(n)]();
    if (TotalDataSize > 0)
        std::memcpy(d, Data, size_t(TotalDataSize));
    delete[] Data;
    Data = d;
    TotalDataSize += n;
    LoadedDataSize += n;
}

void TEscherDataRecord::Load(TBaseRecord *&aRecord, int32_t &aPos)
{
    if (TotalDataSize == 0)
        return;
    const int64_t available = RemainingRecordBytes(aRecord, aPos);
    if (available <= 0)
        ErrLoadingEscher();
    const int32_t n = int32_t(std::min<int64_t>(available, TotalDataSize - LoadedDataSize));
    ReadRecordMem(aRecord, aPos, n, Data + LoadedDataSize);
    LoadedDataSize += n;
}

void TEscherDataRecord::SaveToStream(TOle2File *DataStream, TBreakList *BreakList)
{
    SaveHeaderToStream(DataStream, BreakList);
    BreakList->WriteSplit(DataStream, Data, TotalDataSize);
}

void TEscherDataRecord::SplitRecords(int32_t &NextPos, int64_t &RealSize, TBreakList *BreakList, int32_t &NextDwg)
{
    SplitHeader(NextPos, RealSize, BreakList, NextDwg);
    AddSize(NextPos, RealSize, BreakList, TotalDataSize);
}

int TEscherDataRecord::CompareRec(const TEscherRecord *aRecord) const
{
    if (int c = TEscherRecord::CompareRec(aRecord))
        return c;
    const auto *d = dynamic_cast<const TEscherDataRecord *>(aRecord);
    if (!d)
        return 1;
    return CompareBytes(Data, d->Data, TotalDataSize);
}

TEscherRecord *TEscherDataRecord::DoCopyTo(TEscherDwgCache *NewDwgCache, int32_t RowOfs, TSheetSizes *dSheet,
                                           int32_t ColOfs)
{
    auto *copy = static_cast<TEscherDataRecord *>(TEscherRecord::DoCopyTo(NewDwgCache, RowOfs, dSheet, ColOfs));
    if (TotalDataSize > 0)
        std::memcpy(copy->Data, Data, size_t(TotalDataSize));
    return copy;
}

// ---------------------------------------------------------------------------------------------
// TEscherContainerRecord

TEscherContainerRecord::TEscherContainerRecord(const TEscherRecordHeader &aHeader, TEscherContainerRecord *aParent,
                                               TEscherDwgCache *aDwgCache, TEscherDwgGroupCache *aDwgGroupCache)
    : TEscherRecord(aHeader, aParent, aDwgCache, aDwgGroupCache), FContainedRecords(new TEscherRecordList)
{
}

TEscherContainerRecord::~TEscherContainerRecord()
{
    // The children are told first that their container is going, so none of them reaches into it.
    for (int i = 0; i < FContainedRecords->Count(); ++i)
        if (TEscherRecord *r = FContainedRecords->Items(i))
            r->FParent = nullptr;
    delete FContainedRecords;
}

int32_t TEscherContainerRecord::Depth() const
{
    int32_t d = 0;
    for (const TEscherContainerRecord *p = FParent; p; p = p->FParent)
        ++d;
    return d;
}

TEscherRecord *TEscherContainerRecord::LastRecord() const
{
    if (FContainedRecords->Count() == 0)
        ErrLoadingEscher();
    return FContainedRecords->Items(FContainedRecords->Count() - 1);
}

void TEscherContainerRecord::Load(TBaseRecord *&aRecord, int32_t &aPos)
{
    if (aPos < 0 || aRecord->TotalSizeNoHeaders() < aPos)
        ErrExcelInvalid();
    TClientDataClass waiting = nullptr;
    // A complete ClientData stops the Escher stream: its OBJ or TXO comes first.
    while (!Loaded() && !WaitingClientData(waiting) && RemainingRecordBytes(aRecord, aPos) > 0) {
        if (FContainedRecords->Count() == 0 || LastRecord()->Loaded()) {
            const TEscherRecordHeader h = ReadEscherHeader(aRecord, aPos);
            AddChild(CreateEscherRecord(h, this, DwgCache, DwgGroupCache));
        }
        TEscherRecord *last = LastRecord();
        last->Load(aRecord, aPos);
        if (last->Loaded()) {
            LoadedDataSize += int32_t(last->TotalSizeNoSplit());
            last->AfterCreate();
        }
    }
}

void TEscherContainerRecord::SaveToStream(TOle2File *DataStream, TBreakList *BreakList)
{
    SaveHeaderToStream(DataStream, BreakList);
    FContainedRecords->SaveToStream(DataStream, BreakList);
}

int64_t TEscherContainerRecord::TotalSizeNoSplit() const { return 8 + FContainedRecords->TotalSizeNoSplit(); }

bool TEscherContainerRecord::WaitingClientData(TClientDataClass &ClientType)
{
    ClientType = nullptr;
    if (FContainedRecords->Count() == 0)
        return false;
    TEscherRecord *last = FContainedRecords->Items(FContainedRecords->Count() - 1);
    return last && last->WaitingClientData(ClientType);
}

void TEscherContainerRecord::AssignClientData(TBaseClientData *aClientData)
{
    LastRecord()->AssignClientData(aClientData);
}

void TEscherContainerRecord::SplitRecords(int32_t &NextPos, int64_t &RealSize, TBreakList *BreakList,
                                          int32_t &NextDwg)
{
    SplitHeader(NextPos, RealSize, BreakList, NextDwg);
    for (int i = 0; i < FContainedRecords->Count(); ++i)
        if (TEscherRecord *r = FContainedRecords->Items(i))
            r->SplitRecords(NextPos, RealSize, BreakList, NextDwg);
}

void TEscherContainerRecord::ArrangeInsertRowsAndCols(int32_t aRowPos, int32_t aRowCount, TSheetSizes *dSheet,
                                                      bool Forced, const TSheetInfo &SheetInfo, int32_t aColCount,
                                                      int32_t aColPos)
{
    for (int i = 0; i < FContainedRecords->Count(); ++i)
        if (TEscherRecord *r = FContainedRecords->Items(i))
            r->ArrangeInsertRowsAndCols(aRowPos, aRowCount, dSheet, Forced, SheetInfo, aColCount, aColPos);
}

void TEscherContainerRecord::ClearCopiedTo()
{
    TEscherRecord::ClearCopiedTo();
    for (int i = 0; i < FContainedRecords->Count(); ++i)
        if (TEscherRecord *r = FContainedRecords->Items(i))
            r->ClearCopiedTo();
}

TEscherRecord *TEscherContainerRecord::FindRec(TEscherRecordClass RecClass)
{
    for (int i = 0; i < FContainedRecords->Count(); ++i) {
        TEscherRecord *r = FContainedRecords->Items(i);
        if (r && RecClass(r))
            return r;
    }
    return nullptr;
}

TEscherRecord *TEscherContainerRecord::DoCopyTo(TEscherDwgCache *NewDwgCache, int32_t RowOfs, TSheetSizes *dSheet,
                                                int32_t ColOfs)
{
    std::unique_ptr<TEscherContainerRecord> copy(
        static_cast<TEscherContainerRecord *>(TEscherRecord::DoCopyTo(NewDwgCache, RowOfs, dSheet, ColOfs)));
    try {
        copy->FContainedRecords->CopyFrom(FContainedRecords, NewDwgCache, RowOfs, dSheet, ColOfs);
    } catch (...) {
        CopiedTo = nullptr;
        throw;
    }
    return copy.release();
}

// ---------------------------------------------------------------------------------------------
// Container kinds

TEscherSpContainerRecord::~TEscherSpContainerRecord()
{
    SP = nullptr;
    Opt = nullptr;
    ClientAnchor = nullptr;
}

int32_t TEscherSpContainerRecord::Row() const { return ClientAnchor ? ClientAnchor->Row() : 0; }

int32_t TEscherSpContainerRecord::Col() const { return ClientAnchor ? ClientAnchor->Col() : 0; }

TEscherSpgrContainerRecord::TEscherSpgrContainerRecord(const TEscherRecordHeader &aHeader,
                                                       TEscherContainerRecord *aParent, TEscherDwgCache *aDwgCache,
                                                       TEscherDwgGroupCache *aDwgGroupCache)
    : TEscherContainerRecord(aHeader, aParent, aDwgCache, aDwgGroupCache)
{
    if (DwgCache && !DwgCache->Patriarch)
        DwgCache->Patriarch = this;
}

TEscherSpgrContainerRecord::~TEscherSpgrContainerRecord()
{
    if (DwgCache && DwgCache->Patriarch == this)
        DwgCache->Patriarch = nullptr;
}

TEscherBStoreRecord::TEscherBStoreRecord(const TEscherRecordHeader &aHeader, TEscherContainerRecord *aParent,
                                         TEscherDwgCache *aDwgCache, TEscherDwgGroupCache *aDwgGroupCache)
    : TEscherContainerRecord(aHeader, aParent, aDwgCache, aDwgGroupCache)
{
    if (DwgGroupCache && InGroupTree(DwgCache))
        RegisterUnique(DwgGroupCache->BStore, this, SDuplicatedBStore);
}

TEscherBStoreRecord::~TEscherBStoreRecord()
{
    if (DwgGroupCache)
        Unregister(DwgGroupCache->BStore, this);
}

TEscherSolverContainerRecord::TEscherSolverContainerRecord(const TEscherRecordHeader &aHeader,
                                                           TEscherContainerRecord *aParent,
                                                           TEscherDwgCache *aDwgCache,
                                                           TEscherDwgGroupCache *aDwgGroupCache)
    : TEscherContainerRecord(aHeader, aParent, aDwgCache, aDwgGroupCache)
{
    if (DwgCache)
        RegisterUnique(DwgCache->Solver, this, SDuplicatedSolver);
}

TEscherSolverContainerRecord::~TEscherSolverContainerRecord()
{
    if (DwgCache)
        Unregister(DwgCache->Solver, this);
}

// ---------------------------------------------------------------------------------------------
// Dgg

TEscherDggRecord::TEscherDggRecord(const TEscherRecordHeader &aHeader, TEscherContainerRecord *aParent,
                                   TEscherDwgCache *aDwgCache, TEscherDwgGroupCache *aDwgGroupCache)
    : TEscherDataRecord(aHeader, aParent, aDwgCache, aDwgGroupCache)
{
    CheckBodySize(DggHeadSize);
    if (DwgGroupCache && InGroupTree(DwgCache))
        RegisterUnique(DwgGroupCache->Dgg, this, SDuplicatedDgg);
}

TEscherDggRecord::~TEscherDggRecord()
{
    if (DwgGroupCache)
        Unregister(DwgGroupCache->Dgg, this);
}

TEscherDggRecord *TEscherDggRecord::CreateFromData(TEscherContainerRecord *aParent, TEscherDwgCache *aDwgCache,
                                                   TEscherDwgGroupCache *aDwgGroupCache)
{
    uint8_t d[DggHeadSize] = {};
    SetLongWord(d, 0, 2);
    SetLongWord(d, 4, 1);
    return CreateEscherFromData<TEscherDggRecord>(0x0000, MsofbtDgg, d, DggHeadSize, aParent, aDwgCache,
                                                  aDwgGroupCache);
}

void TEscherDggRecord::FindOrAddCluster(uint32_t &DgId, bool IsNew, uint32_t ShapeCount, uint32_t &FirstShapeId)
{
    int32_t free = -1;
    const int32_t n = ClusterCount();
    if (IsNew) {
        DgId = 1;
        for (int32_t i = 0; i < n; ++i) {
            const uint32_t id = ClusterDgId(i);
            if (id == 0 && free < 0)
                free = i;
            if (id >= DgId)
                DgId = id + 1;
        }
    } else {
        for (int32_t i = n - 1; i >= 0; --i) {
            const uint32_t id = ClusterDgId(i);
            if (id == DgId)
                break;
            if (id == 0 && free < 0)
                free = i;
        }
    }
    if (free < 0) {
        // Bytes of a cluster cut short by the file are overwritten, so every cluster stays aligned.
        free = n;
        GrowData(DggHeadSize + 8 * (n + 1) - TotalDataSize);
        FDgg().SetFIDclCount(FDgg().FIDclCount() + 1);
    }
    const int32_t ofs = DggHeadSize + 8 * free;
    Assert(ofs >= DggHeadSize && ofs + 8 <= TotalDataSize, QString::fromLatin1(SLogicalError));
    SetLongWord(Data, ofs, DgId);
    SetLongWord(Data, ofs + 4, ShapeCount);
    FirstShapeId = uint32_t(free + 1) * 1024;
}

void TEscherDggRecord::GetNewDgIdAndCluster(uint32_t &DgId, uint32_t &FirstShapeId)
{
    FindOrAddCluster(DgId, true, 0, FirstShapeId);
    FDgg().SetDwgSaved(FDgg().DwgSaved() + 1);
}

void TEscherDggRecord::AddNewCluster(uint32_t DgId, uint32_t &FirstShapeId, uint32_t ShapeCount)
{
    FindOrAddCluster(DgId, false, ShapeCount, FirstShapeId);
}

void TEscherDggRecord::DestroyClusters(uint32_t DgId)
{
    for (int32_t i = 0; i < ClusterCount(); ++i)
        if (ClusterDgId(i) == DgId)
            SetLongWord(Data, DggHeadSize + 8 * i, 0);
    if (FDgg().DwgSaved() > 0)
        FDgg().SetDwgSaved(FDgg().DwgSaved() - 1);
}

int64_t TEscherDggRecord::AddImage(uint32_t DgId, uint32_t LastImageId)
{
    const int64_t index = int64_t(LastImageId / 1024) - 1;
    const int64_t ofs = DggHeadSize + 8 * index;
    int64_t newId = 0;
    if (index >= 0 && ofs + 8 <= TotalDataSize && ClusterDgId(int32_t(index)) == DgId
        && ClusterUsed(int32_t(index)) < 1024) {
        const uint32_t used = ClusterUsed(int32_t(index));
        newId = (index + 1) * 1024 + used;
        SetLongWord(Data, int32_t(ofs) + 4, used + 1);
    } else {
        uint32_t first = 0;
        AddNewCluster(DgId, first, 1);
        newId = first;
    }
    FDgg().SetShapesSaved(FDgg().ShapesSaved() + 1);
    if (newId + 1 > int64_t(FDgg().MaxShapeId()))
        FDgg().SetMaxShapeId(uint32_t(newId + 1));
    return newId;
}

void TEscherDggRecord::RemoveImage()
{
    if (FDgg().ShapesSaved() > 0)
        FDgg().SetShapesSaved(FDgg().ShapesSaved() - 1);
}

// ---------------------------------------------------------------------------------------------
// Dg

TEscherDgRecord::TEscherDgRecord(const TEscherRecordHeader &aHeader, TEscherContainerRecord *aParent,
                                 TEscherDwgCache *aDwgCache, TEscherDwgGroupCache *aDwgGroupCache)
    : TEscherDataRecord(aHeader, aParent, aDwgCache, aDwgGroupCache)
{
    CheckBodySize(8);
    if (DwgCache)
        RegisterUnique(DwgCache->Dg, this, SDuplicatedDg);
}

TEscherDgRecord::~TEscherDgRecord()
{
    if (DwgGroupCache && DwgGroupCache->Dgg)
        DwgGroupCache->Dgg->DestroyClusters(DgId());
    if (DwgCache)
        Unregister(DwgCache->Dg, this);
}

TEscherDgRecord *TEscherDgRecord::CreateFromData(uint32_t ShapeCount, TEscherContainerRecord *aParent,
                                                 TEscherDwgCache *aDwgCache, TEscherDwgGroupCache *aDwgGroupCache,
                                                 uint32_t FirstShapeId, uint32_t DgId)
{
    uint8_t d[8];
    SetLongWord(d, 0, ShapeCount);
    SetLongWord(d, 4, FirstShapeId + 1);
    return CreateEscherFromData<TEscherDgRecord>(uint16_t(DgId << 4), MsofbtDg, d, 8, aParent, aDwgCache,
                                                 aDwgGroupCache);
}

int32_t TEscherDgRecord::IncMaxShapeId()
{
    if (!DwgGroupCache || !DwgGroupCache->Dgg)
        LogicalError();
    const int64_t id = DwgGroupCache->Dgg->AddImage(DgId(), Dg().MaxSpId());
    Dg().SetShapeCount(Dg().ShapeCount() + 1);
    Dg().SetMaxSpId(uint32_t(id));
    return int32_t(id);
}

void TEscherDgRecord::DecShapeCount()
{
    if (Dg().ShapeCount() > 0)
        Dg().SetShapeCount(Dg().ShapeCount() - 1);
    if (DwgGroupCache && DwgGroupCache->Dgg)
        DwgGroupCache->Dgg->RemoveImage();
}

TEscherRecord *TEscherDgRecord::DoCopyTo(TEscherDwgCache *NewDwgCache, int32_t RowOfs, TSheetSizes *dSheet,
                                         int32_t ColOfs)
{
    auto *copy = static_cast<TEscherDgRecord *>(TEscherDataRecord::DoCopyTo(NewDwgCache, RowOfs, dSheet, ColOfs));
    if (DwgGroupCache && DwgGroupCache->Dgg) {
        uint32_t dgId = 0, first = 0;
        DwgGroupCache->Dgg->GetNewDgIdAndCluster(dgId, first);
        copy->Pre = uint16_t(dgId << 4);
        copy->Dg().SetMaxSpId(first + 1);
        copy->Dg().SetShapeCount(0);
    }
    return copy;
}

// ---------------------------------------------------------------------------------------------
// Sp

TEscherSPRecord::TEscherSPRecord(const TEscherRecordHeader &aHeader, TEscherContainerRecord *aParent,
                                 TEscherDwgCache *aDwgCache, TEscherDwgGroupCache *aDwgGroupCache)
    : TEscherDataRecord(aHeader, aParent, aDwgCache, aDwgGroupCache)
{
    CheckBodySize(4);
    if (DwgCache && DwgCache->Shape)
        DwgCache->Shape->Add(this);
    if (auto *sp = dynamic_cast<TEscherSpContainerRecord *>(FParent))
        sp->SP = this;
}

TEscherSPRecord::~TEscherSPRecord()
{
    if (DwgCache && !DwgCache->Destroying) {
        if (DwgCache->Dg)
            DwgCache->Dg->DecShapeCount();
        if (DwgCache->Shape)
            DwgCache->Shape->RemoveShape(this);
    }
    if (auto *sp = dynamic_cast<TEscherSpContainerRecord *>(FParent); sp && sp->SP == this)
        sp->SP = nullptr;
}

TEscherSPRecord *TEscherSPRecord::CreateFromData(uint16_t aPre, TEscherContainerRecord *aParent,
                                                 TEscherDwgCache *aDwgCache, TEscherDwgGroupCache *aDwgGroupCache,
                                                 uint32_t Flags, uint32_t aShapeId)
{
    uint8_t d[8];
    SetLongWord(d, 0, aShapeId);
    SetLongWord(d, 4, Flags);
    return CreateEscherFromData<TEscherSPRecord>(aPre, MsofbtSp, d, 8, aParent, aDwgCache, aDwgGroupCache);
}

TEscherRecord *TEscherSPRecord::DoCopyTo(TEscherDwgCache *NewDwgCache, int32_t RowOfs, TSheetSizes *dSheet,
                                         int32_t ColOfs)
{
    auto *copy = static_cast<TEscherSPRecord *>(TEscherDataRecord::DoCopyTo(NewDwgCache, RowOfs, dSheet, ColOfs));
    if (auto *sp = dynamic_cast<TEscherSpContainerRecord *>(copy->FParent))
        sp->SP = copy;
    if (NewDwgCache && NewDwgCache->Dg && copy->DwgGroupCache && copy->DwgGroupCache->Dgg)
        copy->SetShapeId(uint32_t(NewDwgCache->Dg->IncMaxShapeId()));
    return copy;
}

// ---------------------------------------------------------------------------------------------
// OPT

TEscherOPTRecord::TEscherOPTRecord(const TEscherRecordHeader &aHeader, TEscherContainerRecord *aParent,
                                   TEscherDwgCache *aDwgCache, TEscherDwgGroupCache *aDwgGroupCache)
    : TEscherDataRecord(aHeader, aParent, aDwgCache, aDwgGroupCache)
{
    if (auto *sp = dynamic_cast<TEscherSpContainerRecord *>(FParent))
        sp->Opt = this;
}

TEscherOPTRecord::~TEscherOPTRecord()
{
    if (DwgCache && !DwgCache->Destroying && !BlipPtr.empty()) {
        if (DwgGroupCache && DwgGroupCache->BStore)
            for (TEscherBSERecord *bse : BlipPtr) {
                --bse->Users;
                bse->Release();
            }
        if (DwgCache->Blip)
            DwgCache->Blip->Remove(this);
    }
    if (auto *sp = dynamic_cast<TEscherSpContainerRecord *>(FParent); sp && sp->Opt == this)
        sp->Opt = nullptr;
}

TEscherClientAnchorRecord *TEscherOPTRecord::RootAnchor() const
{
    if (!Patriarch())
        return nullptr;
    auto *root = dynamic_cast<TEscherSpContainerRecord *>(const_cast<TEscherOPTRecord *>(this)->FindRoot());
    return root ? root->ClientAnchor : nullptr;
}

int32_t TEscherOPTRecord::Row() const
{
    const TEscherClientAnchorRecord *a = RootAnchor();
    return a ? a->Row() : 0;
}

int32_t TEscherOPTRecord::Col() const
{
    const TEscherClientAnchorRecord *a = RootAnchor();
    return a ? a->Col() : 0;
}

TClientAnchor TEscherOPTRecord::GetAnchor() const
{
    const TEscherClientAnchorRecord *a = RootAnchor();
    return a ? a->Anchor() : TClientAnchor();
}

TEscherRecord *TEscherOPTRecord::DoCopyTo(TEscherDwgCache *NewDwgCache, int32_t RowOfs, TSheetSizes *dSheet,
                                          int32_t ColOfs)
{
    auto *copy = static_cast<TEscherOPTRecord *>(TEscherDataRecord::DoCopyTo(NewDwgCache, RowOfs, dSheet, ColOfs));
    copy->FShapeName = FShapeName;
    if (auto *sp = dynamic_cast<TEscherSpContainerRecord *>(copy->FParent))
        sp->Opt = copy;
    copy->BlipPtr = BlipPtr;
    copy->BlipPos = BlipPos;
    for (TEscherBSERecord *bse : BlipPtr) {
        bse->AddRef();
        ++bse->Users;
    }
    if (DwgCache && DwgCache->Blip && !BlipPtr.empty() && NewDwgCache && NewDwgCache->Blip)
        NewDwgCache->Blip->Add(copy);
    return copy;
}

// ---------------------------------------------------------------------------------------------
// ClientAnchor

TEscherClientAnchorRecord::TEscherClientAnchorRecord(const TEscherRecordHeader &aHeader,
                                                     TEscherContainerRecord *aParent, TEscherDwgCache *aDwgCache,
                                                     TEscherDwgGroupCache *aDwgGroupCache)
    : TEscherDataRecord(aHeader, aParent, aDwgCache, aDwgGroupCache)
{
    CheckBodySize(18);
    if (DwgCache && DwgCache->Anchor)
        DwgCache->Anchor->Add(this);
    if (auto *sp = dynamic_cast<TEscherSpContainerRecord *>(FParent))
        sp->ClientAnchor = this;
}

TEscherClientAnchorRecord::~TEscherClientAnchorRecord()
{
    if (DwgCache && !DwgCache->Destroying && DwgCache->Anchor)
        DwgCache->Anchor->Remove(this);
    if (auto *sp = dynamic_cast<TEscherSpContainerRecord *>(FParent); sp && sp->ClientAnchor == this)
        sp->ClientAnchor = nullptr;
}

TClientAnchor TEscherClientAnchorRecord::Anchor() const
{
    TClientAnchor a;
    a.Flag = GetWord(Data, 0);
    a.Col1 = GetWord(Data, 2);
    a.Dx1 = GetWord(Data, 4);
    a.Row1 = GetWord(Data, 6);
    a.Dy1 = GetWord(Data, 8);
    a.Col2 = GetWord(Data, 10);
    a.Dx2 = GetWord(Data, 12);
    a.Row2 = GetWord(Data, 14);
    a.Dy2 = GetWord(Data, 16);
    return a;
}

void TEscherClientAnchorRecord::SetAnchor(const TClientAnchor &aAnchor)
{
    const uint16_t v[9] = {aAnchor.Flag, aAnchor.Col1, aAnchor.Dx1,  aAnchor.Row1, aAnchor.Dy1,
                           aAnchor.Col2, aAnchor.Dx2,  aAnchor.Row2, aAnchor.Dy2};
    for (int i = 0; i < 9; ++i)
        SetWord(Data, 2 * i, v[i]);
}

TEscherRecord *TEscherClientAnchorRecord::DoCopyTo(TEscherDwgCache *NewDwgCache, int32_t RowOfs, TSheetSizes *dSheet,
                                                   int32_t ColOfs)
{
    auto *copy =
        static_cast<TEscherClientAnchorRecord *>(TEscherDataRecord::DoCopyTo(NewDwgCache, RowOfs, dSheet, ColOfs));
    if (auto *sp = dynamic_cast<TEscherSpContainerRecord *>(copy->FParent))
        sp->ClientAnchor = copy;
    copy->SaveRect = SaveRect;
    // Clamped: a shift past the sheet's edge must not wrap around to its start.
    const auto shift = [&](int32_t ofs, int32_t by, int32_t max) {
        SetWord(copy->Data, ofs, uint16_t(std::clamp(GetWord(copy->Data, ofs) + by, 0, max)));
    };
    shift(6, RowOfs, MaxAnchorRow);
    shift(14, RowOfs, MaxAnchorRow);
    shift(2, ColOfs, MaxAnchorCol);
    shift(10, ColOfs, MaxAnchorCol);
    // The copy lives in the destination sheet, so it is the one fitted to that sheet's sizes.
    copy->RestoreObjectCoords(dSheet);
    return copy;
}

// ---------------------------------------------------------------------------------------------
// ClientData and ClientTextbox

TEscherClientDataRecord::TEscherClientDataRecord(const TEscherRecordHeader &aHeader, TEscherContainerRecord *aParent,
                                                 TEscherDwgCache *aDwgCache, TEscherDwgGroupCache *aDwgGroupCache)
    : TEscherDataRecord(aHeader, aParent, aDwgCache, aDwgGroupCache)
{
    if (DwgCache && DwgCache->Obj)
        DwgCache->Obj->Add(this);
}

TEscherClientDataRecord::~TEscherClientDataRecord()
{
    if (DwgCache && !DwgCache->Destroying && DwgCache->Obj)
        DwgCache->Obj->Remove(this);
    delete FClientData;
}

TClientDataClass TEscherClientDataRecord::ClientClass() const
{
    return [] { return static_cast<TBaseClientData *>(new DUzObj); };
}

bool TEscherClientDataRecord::WaitingClientData(TClientDataClass &ClientType)
{
    ClientType = ClientClass();
    return Loaded() && !FClientData;
}

void TEscherClientDataRecord::AssignClientData(TBaseClientData *aClientData)
{
    delete FClientData;
    FClientData = aClientData;
    if (aClientData && DwgCache && aClientData->Id() > DwgCache->MaxObjId)
        DwgCache->MaxObjId = aClientData->Id();
}

void TEscherClientDataRecord::SaveToStream(TOle2File *DataStream, TBreakList *BreakList)
{
    TEscherDataRecord::SaveToStream(DataStream, BreakList);
    if (!FClientData)
        return;
    const int64_t before = DataStream->Position();
    FClientData->SaveToStream(DataStream);
    BreakList->AddToZeroPos(DataStream->Position() - before);
}

void TEscherClientDataRecord::SplitRecords(int32_t &NextPos, int64_t &RealSize, TBreakList *BreakList,
                                           int32_t &NextDwg)
{
    TEscherDataRecord::SplitRecords(NextPos, RealSize, BreakList, NextDwg);
    // Without client data (as in a drawing group) the Escher stream simply goes on.
    if (!FClientData)
        return;
    RealSize += FClientData->TotalSize();
    NextDwg = xlr_MSODRAWING;
}

void TEscherClientDataRecord::ArrangeInsertRowsAndCols(int32_t aRowPos, int32_t aRowCount, TSheetSizes *, bool,
                                                       const TSheetInfo &SheetInfo, int32_t aColCount,
                                                       int32_t aColPos)
{
    if (FClientData)
        FClientData->ArrangeInsertRowsAndCols(aRowPos, aRowCount, aColPos, aColCount, SheetInfo);
}

TEscherRecord *TEscherClientDataRecord::DoCopyTo(TEscherDwgCache *NewDwgCache, int32_t RowOfs, TSheetSizes *dSheet,
                                                 int32_t ColOfs)
{
    std::unique_ptr<TEscherClientDataRecord> copy(static_cast<TEscherClientDataRecord *>(
        TEscherDataRecord::DoCopyTo(NewDwgCache, RowOfs, dSheet, ColOfs)));
    if (FClientData) {
        try {
            TBaseClientData *c = FClientData->CopyTo();
            copy->FClientData = c;
            if (NewDwgCache && NewDwgCache == DwgCache) {
                c->ArrangeId(NewDwgCache->MaxObjId);
            } else if (NewDwgCache && c->Id() > NewDwgCache->MaxObjId) {
                // A copy keeps its id in another drawing; new objects there must not take it again.
                NewDwgCache->MaxObjId = c->Id();
            }
            c->ArrangeCopyRowsAndCols(RowOfs, ColOfs);
        } catch (...) {
            CopiedTo = nullptr;
            throw;
        }
    }
    return copy.release();
}

TClientDataClass TEscherClientTextBoxRecord::ClientClass() const
{
    return [] { return static_cast<TBaseClientData *>(new TTXO); };
}

QString TEscherClientTextBoxRecord::Value() const
{
    const auto *txo = dynamic_cast<const TTXO *>(FClientData);
    return txo ? txo->Value() : QString();
}

void TEscherClientTextBoxRecord::SetValue(const QString &aValue)
{
    if (auto *txo = dynamic_cast<TTXO *>(FClientData))
        txo->SetValue(aValue);
}

// ---------------------------------------------------------------------------------------------
// BSE and rules

int TEscherBSERecord::CompareRec(const TEscherRecord *aRecord) const
{
    if (int c = Sign(int64_t(TotalDataSize) - aRecord->TotalDataSize))
        return c;
    const auto *b = dynamic_cast<const TEscherBSERecord *>(aRecord);
    if (!b)
        return TEscherDataRecord::CompareRec(aRecord);
    const int32_t n = std::min(TotalDataSize, 18) - 2;
    return n > 0 ? CompareBytes(Data + 2, b->Data + 2, n) : 0;
}

TEscherAlignRuleRecord::TEscherAlignRuleRecord(const TEscherRecordHeader &aHeader, TEscherContainerRecord *aParent,
                                               TEscherDwgCache *aDwgCache, TEscherDwgGroupCache *aDwgGroupCache)
    : TEscherDataRecord(aHeader, aParent, aDwgCache, aDwgGroupCache)
{
    throw Exception(Format(QString::fromLatin1(SNotImplemented), {QStringLiteral("Align Rule")}));
}
