#include "xlsAdapter/records/duzUXlsBaseRecords.h"

#include "framework/rtl/Lists.h"
#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/compound/duzUOle2Impl.h"
#include "xlsAdapter/records/duzUXlsBaseRecordLists.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

namespace {

const char *const SInvalidRecord = "Record with ID 0x%x is invalid";
// The last column of a sheet (IV).
constexpr int32_t MaxCellColumn = 255;
const char *const STwoContinues = "Trying to add more than one CONTINUE record to the same record";

} // namespace

// ---------------------------------------------------------------------------------------------
// TBaseRecord

TBaseRecord::TBaseRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize)
    : Id(aId), Data(aDataSize > 0 ? aData : nullptr), DataSize(uint16_t(aDataSize))
{
    if (aDataSize <= 0)
        delete[] aData;
    // A record announces at most 65535 data bytes; more would be written with a cut size.
    if (aDataSize > 0xFFFF) {
        delete[] Data;
        Data = nullptr;
        Invalid();
    }
}

TBaseRecord::~TBaseRecord()
{
    if (FOwnsData)
        delete[] Data;
    // Long chains are freed one by one rather than recursively.
    TContinueRecord *c = Continue;
    Continue = nullptr;
    while (c) {
        TContinueRecord *next = c->Continue;
        c->Continue = nullptr;
        delete c;
        c = next;
    }
}

void TBaseRecord::CheckSize(int32_t MinSize) const
{
    if (DataSize < MinSize)
        Invalid();
}

void TBaseRecord::Invalid() const { throw Exception(Format(QString::fromLatin1(SInvalidRecord), {int(Id)})); }

void TBaseRecord::ReplaceData(PArrayOfByte NewData, int32_t NewSize)
{
    if (FOwnsData)
        delete[] Data;
    FOwnsData = true;
    Data = NewSize > 0 ? NewData : nullptr;
    if (NewSize <= 0)
        delete[] NewData;
    DataSize = uint16_t(NewSize);
}

TBaseRecord *TBaseRecord::DoCopyTo() const
{
    PArrayOfByte d = nullptr;
    if (DataSize > 0) {
        d = new uint8_t[DataSize];
        std::memcpy(d, Data, DataSize);
    }
    std::unique_ptr<TBaseRecord> r(NewOfClass(Id, d, DataSize));
    // The chain is copied link by link, without recursion.
    const TContinueRecord *src = Continue;
    TBaseRecord *last = r.get();
    while (src) {
        PArrayOfByte cd = nullptr;
        if (src->DataSize > 0) {
            cd = new uint8_t[src->DataSize];
            std::memcpy(cd, src->Data, src->DataSize);
        }
        auto *c = new TContinueRecord(src->Id, cd, src->DataSize);
        last->Continue = c;
        last = c;
        src = src->Continue;
    }
    return r.release();
}

void TBaseRecord::AddContinue(TContinueRecord *aContinue)
{
    if (Continue)
        throw Exception(QString::fromLatin1(STwoContinues));
    Continue = aContinue;
}

void TBaseRecord::SaveDataToStream(TOle2File *Workbook, const uint8_t *aData) const
{
    Workbook->WriteHeader(Id, DataSize);
    if (DataSize > 0)
        Workbook->WriteRawMem(aData, DataSize);
}

void TBaseRecord::SaveToStream(TOle2File *Workbook)
{
    SaveDataToStream(Workbook, Data);
    for (TBaseRecord *c = Continue; c; c = c->Continue)
        c->SaveDataToStream(Workbook, c->Data);
}

int32_t TBaseRecord::TotalSize() const
{
    int32_t n = 0;
    for (const TBaseRecord *r = this; r; r = r->Continue)
        n += r->DataSize + 4;
    return n;
}

int32_t TBaseRecord::TotalSizeNoHeaders() const
{
    int32_t n = 0;
    for (const TBaseRecord *r = this; r; r = r->Continue)
        n += r->DataSize;
    return n;
}

// ---------------------------------------------------------------------------------------------
// Small record classes

void TIgnoreRecord::SaveToStream(TOle2File *) {}

TSubListRecord *TSubListRecord::CreateAndAssign(TObjectList *aSubList)
{
    auto *r = new TSubListRecord(0, nullptr, 0);
    r->FSubList = aSubList;
    return r;
}

void TSubListRecord::SaveToStream(TOle2File *Workbook)
{
    if (FSubList)
        static_cast<TBaseRecordList *>(FSubList)->SaveToStream(Workbook);
}

TBaseRecord *TSubListRecord::DoCopyTo() const
{
    // A copy stands for the same list, which neither record owns.
    auto *r = static_cast<TSubListRecord *>(TBaseRecord::DoCopyTo());
    r->FSubList = FSubList;
    return r;
}

// ---------------------------------------------------------------------------------------------
// Row and column records

TBaseRowColRecord::TBaseRowColRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize)
    : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(4);
}

void TBaseRowColRecord::ArrangeInsertRowsAndCols(int32_t aRowPos, int32_t aRowCount, int32_t aColPos,
                                                 int32_t aColCount, const TSheetInfo &SheetInfo)
{
    CheckSize(4);
    if (SheetInfo.InsSheet < 0 || SheetInfo.FormulaSheet != SheetInfo.InsSheet)
        return;
    // Both moves are checked before either is stored, so a refused one leaves the record as it was.
    uint16_t row = Row(), col = Column();
    if (row >= aRowPos)
        IncWordChecked(row, aRowCount, 65535);
    if (col >= aColPos)
        IncWordChecked(col, aColCount, 255);
    SetRow(row);
    SetColumn(col);
}

void TBaseRowColRecord::ArrangeCopyRowsAndCols(int32_t RowOffset, int32_t ColOffset)
{
    CheckSize(4);
    SetRow(Row() + RowOffset);
    SetColumn(Column() + ColOffset);
}

int64_t TBaseRowColRecord::FixTotalSize(bool) { return TotalSize(); }

namespace {

// Free lists of blocks of 16, 32, ... PoolLimit bytes, carved from chunks that live as long as the
// program: a block freed on another thread joins that thread's list, and no chunk ever goes away.
constexpr size_t PoolStep = 16, PoolLimit = 256, PoolChunk = 64 * 1024;

struct TFreeBlock
{
    TFreeBlock *Next;
};

struct TBlockPools
{
    TFreeBlock *Free[PoolLimit / PoolStep] = {};
};

thread_local TBlockPools Pools;

// Every chunk, so that all of them stay reachable.
std::mutex ChunksLock;
std::vector<void *> Chunks;

void *PoolAlloc(size_t Class)
{
    TFreeBlock *&head = Pools.Free[Class];
    if (!head) {
        const size_t size = (Class + 1) * PoolStep;
        // Never freed: blocks may sit in any thread's lists.
        auto *chunk = static_cast<uint8_t *>(::operator new(PoolChunk));
        {
            const std::lock_guard<std::mutex> lock(ChunksLock);
            Chunks.push_back(chunk);
        }
        for (size_t at = 0; at + size <= PoolChunk; at += size) {
            auto *b = reinterpret_cast<TFreeBlock *>(chunk + at);
            b->Next = head;
            head = b;
        }
    }
    TFreeBlock *b = head;
    head = b->Next;
    return b;
}

uint8_t InlineMarker[1];

} // namespace

void *TCellRecord::operator new(size_t Size)
{
    if (Size > PoolLimit)
        return ::operator new(Size);
    return PoolAlloc((Size - 1) / PoolStep);
}

void TCellRecord::operator delete(void *P, size_t Size)
{
    if (!P)
        return;
    if (Size > PoolLimit) {
        ::operator delete(P);
        return;
    }
    auto *b = static_cast<TFreeBlock *>(P);
    TFreeBlock *&head = Pools.Free[(Size - 1) / PoolStep];
    b->Next = head;
    head = b;
}

PArrayOfByte TCellRecord::InlineData() { return InlineMarker; }

TCellRecord::TCellRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize)
    : TBaseRowColRecord(aId, aData, aDataSize)
{
    if (aData == InlineMarker) {
        std::memset(FInline, 0, sizeof FInline);
        Data = DataSize > 0 ? FInline : nullptr;
        FOwnsData = false;
    }
    CheckSize(6);
    // A cell beyond the last column of a sheet could be neither read nor written back.
    if (Column() > MaxCellColumn)
        Invalid();
}

bool TCellRecord::CanJoinNext(TCellRecord *, int32_t) const { return false; }

void TCellRecord::SaveFirstMul(TOle2File *Workbook, uint16_t) { SaveToStream(Workbook); }

void TCellRecord::SaveMidMul(TOle2File *) {}

void TCellRecord::SaveLastMul(TOle2File *) {}

TRowRecord::TRowRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize)
    : TBaseRowColRecord(aId, aData, aDataSize)
{
    CheckSize(16);
    SetWord(Data, 8, 0);
    // Columns past the sheet's last one are kept to the sheet, so the row reads and saves as
    // the cells it can hold.
    if (MaxCol() > MaxCellColumn + 1)
        SetMaxCol(MaxCellColumn + 1);
    if (MinCol() > MaxCol())
        SetMinCol(MaxCol());
}

TRowRecord *TRowRecord::CreateStandard(uint16_t aRow)
{
    auto *d = new uint8_t[16]();
    SetWord(d, 0, aRow);
    SetWord(d, 6, 255);
    SetWord(d, 12, 0x0100);
    SetWord(d, 14, 15);
    return new TRowRecord(0x0208, d, 16);
}

uint16_t TRowRecord::XF() const { return Options() & 0x80 ? GetWord(Data, 14) & 0x0FFF : 15; }

void TRowRecord::SetXF(int32_t v)
{
    SetOptions(Options() | 0x80 | 0x100);
    SetWord(Data, 14, v);
}

void TRowRecord::SaveRangeToStream(TOle2File *DataStream, int32_t aMinCol, int32_t aMaxCol)
{
    const uint16_t minCol = MinCol(), maxCol = MaxCol();
    try {
        if (minCol < aMinCol)
            SetMinCol(aMinCol);
        if (maxCol > aMaxCol + 1)
            SetMaxCol(aMaxCol + 1);
        SaveToStream(DataStream);
    } catch (...) {
        SetMinCol(minCol);
        SetMaxCol(maxCol);
        throw;
    }
    SetMinCol(minCol);
    SetMaxCol(maxCol);
}

// ---------------------------------------------------------------------------------------------
// Reading across CONTINUE records

void ReadRecordMem(TBaseRecord *&aRecord, int32_t &aPos, int32_t aSize, void *pResult)
{
    auto *out = static_cast<uint8_t *>(pResult);
    while (true) {
        if (aPos < 0 || aPos > aRecord->DataSize)
            ErrorReadingRecord();
        if (aSize <= 0)
            return;
        if (aPos == aRecord->DataSize) {
            if (!aRecord->Continue)
                ErrorReadingRecord();
            aRecord = aRecord->Continue;
            aPos = 0;
            continue;
        }
        const int32_t n = std::min<int32_t>(aRecord->DataSize - aPos, aSize);
        if (out) {
            std::memcpy(out, aRecord->Data + aPos, size_t(n));
            out += n;
        }
        aPos += n;
        aSize -= n;
    }
}

void ReadRecordStr(TBaseRecord *&aRecord, int32_t &aPos, QByteArray &ShortData, QString &WideData,
                   uint8_t &OptionFlags, uint8_t &ActualOptionFlags, int32_t &DestPos, int32_t StrLen)
{
    if (ShortData.size() < StrLen)
        ShortData.resize(StrLen);
    if (WideData.size() < StrLen)
        WideData.resize(StrLen);
    while (DestPos < StrLen) {
        if (aPos < 0 || aPos > aRecord->DataSize)
            ErrorReadingRecord();
        if (aPos == aRecord->DataSize) {
            if (!aRecord->Continue || aRecord->Continue->DataSize < 1)
                ErrorReadingRecord();
            aRecord = aRecord->Continue;
            aPos = 1;
            OptionFlags = aRecord->Data[0];
            // Any 16-bit piece makes the whole string 16-bit.
            if ((OptionFlags & 1) && !(ActualOptionFlags & 1)) {
                for (int32_t i = 0; i < DestPos; ++i)
                    WideData[i] = QChar(char16_t(uint8_t(ShortData[i])));
                ActualOptionFlags |= 1;
            }
            continue;
        }
        const int32_t width = OptionFlags & 1 ? 2 : 1;
        const int64_t remaining = int64_t(StrLen - DestPos) * width;
        const int32_t n = int32_t(std::min<int64_t>(aRecord->DataSize - aPos, remaining));
        const uint8_t *src = aRecord->Data + aPos;
        if (width == 2) {
            for (int32_t i = 0; i + 1 < n; i += 2)
                WideData[DestPos + i / 2] = QChar(char16_t(GetWord(src, i)));
            if (n & 1) // half a character before the record's end: its low byte
                WideData[DestPos + n / 2] = QChar(char16_t(src[n - 1]));
        } else if (ActualOptionFlags & 1) {
            for (int32_t i = 0; i < n; ++i)
                WideData[DestPos + i] = QChar(char16_t(src[i]));
        } else {
            std::memcpy(ShortData.data() + DestPos, src, size_t(n));
        }
        aPos += n;
        DestPos += n / width;
    }
}

int64_t RemainingRecordBytes(const TBaseRecord *aRecord, int32_t aPos)
{
    int64_t n = std::max<int64_t>(0, int64_t(aRecord->DataSize) - aPos);
    for (const TBaseRecord *c = aRecord->Continue; c; c = c->Continue)
        n += c->DataSize;
    return n;
}
