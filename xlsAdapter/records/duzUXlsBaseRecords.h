#pragma once
// Record objects of a BIFF8 stream. Each record owns its raw data exactly as read and its
// accessors read and write fixed offsets of it, so what nothing touches is written back as it was.
#include "framework/rtl/Classes.h"
#include "framework/rtl/Variants.h"
#include "xlsAdapter/duzXlsMessages.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>

class TOle2File;
class TObjectList;
class TNameRecordList;
class TContinueRecord;
class TGutsRecord;

constexpr uint16_t xlr_CONTINUE = 0x003C;
constexpr uint16_t xlr_EOF = 0x000A;

struct TRecordHeader
{
    uint16_t Id = 0;
    uint16_t Size = 0;
    // The stream ended here: Id reads as an EOF that the file does not hold.
    bool PastEnd = false;
};

// Translates between external-sheet indexes and sheet numbers.
using TGetSheet = std::function<int32_t(int32_t)>;

struct TSheetInfo
{
    int32_t InsSheet = -1;     // sheet where rows or columns move, or the sheet a copy creates
    int32_t FormulaSheet = -1; // sheet holding the records being adjusted
    TGetSheet GetSheet;
    TGetSheet SetSheet;
    TNameRecordList *Names = nullptr;
};

// Declares the class's own construction, through which a record is copied as its own class.
#define TARVIX_XLS_RECORD(T)                                                                             \
protected:                                                                                               \
    TBaseRecord *NewOfClass(uint16_t aId, PArrayOfByte aData, int32_t aDataSize) const override          \
    {                                                                                                    \
        return new T(aId, aData, aDataSize);                                                             \
    }                                                                                                    \
                                                                                                         \
public:

class TBaseRecord : public TObject
{
public:
    // Takes ownership of aData (exactly aDataSize bytes, nil for 0), also when it fails.
    TBaseRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    ~TBaseRecord() override;

    // A copy built by this record's own class, with the whole CONTINUE chain.
    TBaseRecord *CopyTo() const { return DoCopyTo(); }
    void AddContinue(TContinueRecord *aContinue);
    // Writes Id, DataSize and DataSize bytes of aData.
    void SaveDataToStream(TOle2File *Workbook, const uint8_t *aData) const;

    virtual void SaveToStream(TOle2File *Workbook);
    // Bytes SaveToStream writes.
    virtual int32_t TotalSize() const;
    // Data bytes of the logical record (this record and its CONTINUE records).
    virtual int32_t TotalSizeNoHeaders() const;

    uint16_t Id;
    PArrayOfByte Data;
    uint16_t DataSize;
    TContinueRecord *Continue = nullptr;

protected:
    // False while Data lies inside the record itself.
    bool FOwnsData = true;

    virtual TBaseRecord *DoCopyTo() const;
    virtual TBaseRecord *NewOfClass(uint16_t aId, PArrayOfByte aData, int32_t aDataSize) const
    {
        return new TBaseRecord(aId, aData, aDataSize);
    }
    // Fails with "Record with ID 0x%x is invalid" when DataSize < MinSize.
    void CheckSize(int32_t MinSize) const;
    [[noreturn]] void Invalid() const;
    // Replaces the data with a buffer of NewSize bytes (nil for 0).
    void ReplaceData(PArrayOfByte NewData, int32_t NewSize);
};

// A copy of R (nil for nil).
template <class T> T *CopyOf(const T *R) { return R ? static_cast<T *>(R->CopyTo()) : nullptr; }

class TContinueRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TContinueRecord)
    using TBaseRecord::TBaseRecord;
};

// Read and dropped: written as nothing.
class TIgnoreRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TIgnoreRecord)
    using TBaseRecord::TBaseRecord;
    void SaveToStream(TOle2File *Workbook) override;
    int32_t TotalSize() const override { return 0; }
};

// Stands where a separately kept list stood in the file, so that saving writes the list there.
// Its size is counted by the list's owner.
class TSubListRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TSubListRecord)
    using TBaseRecord::TBaseRecord;
    // aSubList must be a TBaseRecordList; it is not owned.
    static TSubListRecord *CreateAndAssign(TObjectList *aSubList);
    void SaveToStream(TOle2File *Workbook) override;
    int32_t TotalSize() const override { return 0; }

    TObjectList *FSubList = nullptr;

protected:
    TBaseRecord *DoCopyTo() const override;
};

class TBaseRowColRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TBaseRowColRecord)
    TBaseRowColRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);

    uint16_t Row() const { return GetWord(Data, 0); }
    void SetRow(int32_t v) { SetWord(Data, 0, v); }
    uint16_t Column() const { return GetWord(Data, 2); }
    void SetColumn(int32_t v) { SetWord(Data, 2, v); }

    // Moves the record down or right by the counts when it lies at or after the position
    // (negative counts move it up or left), only on the sheet where rows or columns move.
    virtual void ArrangeInsertRowsAndCols(int32_t aRowPos, int32_t aRowCount, int32_t aColPos, int32_t aColCount,
                                          const TSheetInfo &SheetInfo);
    virtual void ArrangeCopyRowsAndCols(int32_t RowOffset, int32_t ColOffset);
    virtual int64_t FixTotalSize(bool NeedsRecalc);
};

class TCellRecord : public TBaseRowColRecord
{
    TARVIX_XLS_RECORD(TCellRecord)
    // With aData InlineData() (and aDataSize at most InlineSize) the data lives in the record.
    TCellRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);

    // A sheet holds cells by the hundred thousand: they come from pools of equal-sized blocks.
    static void *operator new(size_t Size);
    static void operator delete(void *P, size_t Size);

    static constexpr int32_t InlineSize = 16;
    static PArrayOfByte InlineData();

    uint16_t XF() const { return GetWord(Data, 4); }
    void SetXF(int32_t v) { SetWord(Data, 4, v); }

    virtual Variant Value() const { return Variant(); }
    virtual void SetValue(const Variant &) {}
    // Joining runs of cells into one MULBLANK or MULRK on save; by default a cell stands alone.
    virtual bool CanJoinNext(TCellRecord *NextRecord, int32_t MaxCol) const;
    virtual void SaveFirstMul(TOle2File *Workbook, uint16_t JoinedRecordSize);
    virtual void SaveMidMul(TOle2File *Workbook);
    virtual void SaveLastMul(TOle2File *Workbook);
    virtual int32_t TotalSizeFirst() const { return TotalSize(); }
    virtual int32_t TotalSizeMid() const { return TotalSize(); }
    virtual int32_t TotalSizeLast() const { return TotalSize(); }

protected:
    // A new record of class T with aDataSize zero bytes and the given row, column and format.
    template <class T> static T *CreateFromData(uint16_t aId, int32_t aDataSize, uint16_t aRow, uint16_t aCol,
                                                uint16_t aXF)
    {
        T *r = new T(aId,
                     aDataSize <= 0           ? nullptr
                     : aDataSize <= InlineSize ? InlineData()
                                               : new uint8_t[size_t(aDataSize)](),
                     aDataSize);
        r->SetRow(aRow);
        r->SetColumn(aCol);
        r->SetXF(aXF);
        return r;
    }

private:
    alignas(8) uint8_t FInline[InlineSize];
};

class TRowRecord : public TBaseRowColRecord
{
    TARVIX_XLS_RECORD(TRowRecord)
    TRowRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    // Row, columns 0 and 0, height 255, option word 0x0100, format 15.
    static TRowRecord *CreateStandard(uint16_t aRow);

    uint16_t GetRow() const { return GetWord(Data, 0); }
    uint16_t MinCol() const { return GetWord(Data, 2); }
    void SetMinCol(int32_t v) { SetWord(Data, 2, v); }
    uint16_t MaxCol() const { return GetWord(Data, 4); }
    void SetMaxCol(int32_t v) { SetWord(Data, 4, v); }
    uint16_t Height() const { return GetWord(Data, 6); }
    void SetHeight(int32_t v) { SetWord(Data, 6, v); }
    uint16_t Options() const { return GetWord(Data, 12); }
    void SetOptions(int32_t v) { SetWord(Data, 12, v); }
    uint16_t XF() const;
    void SetXF(int32_t v);

    void ManualHeight() { SetOptions(Options() | 0x40); }
    void AutoHeight() { SetOptions(Options() & ~0x40); }
    bool IsAutoHeight() const { return !(Options() & 0x40); }
    void Hide(bool Value) { SetOptions(Value ? Options() | 0x20 : Options() & ~0x20); }
    bool IsHidden() const { return Options() & 0x20; }
    bool IsFormatted() const { return Options() & 0x80; }
    bool IsModified() const { return Options() != 0x0100; }
    void SetRowOutlineLevel(int32_t Level) { SetOptions((Options() & ~7) | (Level & 7)); }

    // Writes the record with its columns narrowed to aMinCol .. aMaxCol; the stored ones stay.
    void SaveRangeToStream(TOle2File *DataStream, int32_t aMinCol, int32_t aMaxCol);
};

// Reads aSize bytes of the logical record from aPos of aRecord into pResult (skips them for nil),
// following the CONTINUE chain; aRecord and aPos end after the bytes read.
void ReadRecordMem(TBaseRecord *&aRecord, int32_t &aPos, int32_t aSize, void *pResult);
// Reads the characters DestPos .. StrLen - 1 of a string whose header has been read. Each
// CONTINUE record starts with its own option byte; once a piece is 16-bit the whole string is.
void ReadRecordStr(TBaseRecord *&aRecord, int32_t &aPos, QByteArray &ShortData, QString &WideData,
                   uint8_t &OptionFlags, uint8_t &ActualOptionFlags, int32_t &DestPos, int32_t StrLen);
// The bytes left in the logical record from aPos of aRecord.
int64_t RemainingRecordBytes(const TBaseRecord *aRecord, int32_t aPos);

// ---------------------------------------------------------------------------------------------
// Workbook-level records

struct TDimensionsRec
{
    uint32_t FirstRow = 0;
    uint32_t LastRow = 0; // last used row + 1
    uint16_t FirstCol = 0;
    uint16_t LastCol = 0; // last used column + 1
    uint16_t Extra = 0;
};

class TDimensionsRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TDimensionsRecord)
    TDimensionsRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    TDimensionsRec Dim() const;
};

// A formula's text result. The sheet hands it to its formula, which writes its own STRING record.
class TStringRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TStringRecord)
    TStringRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    QString Value() const;
    void SaveToStream(TOle2File *Workbook) override;
    int32_t TotalSize() const override { return 0; }
};

class TWindow1Record : public TBaseRecord
{
    TARVIX_XLS_RECORD(TWindow1Record)
    TWindow1Record(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    int32_t ActiveSheet() const { return GetWord(Data, 10); }
    // Also shows the first tab and selects only the active one.
    void SetActiveSheet(int32_t Value);
    int32_t FirstSheetVisible() const { return GetWord(Data, 12); }
    void SetFirstSheetVisible(int32_t Value) { SetWord(Data, 12, Value); }
    // A window of width or height 0 is written as 1.
    void SaveToStream(TOle2File *Workbook) override;
};

class T1904Record : public TBaseRecord
{
    TARVIX_XLS_RECORD(T1904Record)
    T1904Record(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    bool Is1904() const { return GetWord(Data, 0) == 1; }
    void SetIs1904(bool v) { SetWord(Data, 0, v ? 1 : 0); }
};

class TPrecisionRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TPrecisionRecord)
    TPrecisionRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    bool PrecisionAsDisplayed() const { return GetWord(Data, 0) == 0; }
    void SetPrecisionAsDisplayed(bool v) { SetWord(Data, 0, v ? 0 : 1); }
};

class TBookBoolRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TBookBoolRecord)
    TBookBoolRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    bool SaveExternalLinkValues() const { return GetWord(Data, 0) != 1; }
    void SetSaveExternalLinkValues(bool v) { SetWord(Data, 0, v ? 0 : 1); }
};

// ---------------------------------------------------------------------------------------------
// Sheet view records

class TWindow2Record : public TBaseRecord
{
    TARVIX_XLS_RECORD(TWindow2Record)
    TWindow2Record(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    bool Selected() const { return Bit(9); }
    // The tab is selected and shown together.
    void SetSelected(bool v);
    bool ShowGridLines() const { return Bit(1); }
    void SetShowGridLines(bool v) { SetBit(1, v); }
    bool ShowGridHeaders() const { return Bit(2); }
    void SetShowGridHeaders(bool v) { SetBit(2, v); }
    bool IsFrozen() const { return Bit(3); }
    void SetIsFrozen(bool v) { SetBit(3, v); }
    bool IsFrozenButNoSplit() const { return Bit(8); }
    void SetIsFrozenButNoSplit(bool v) { SetBit(8, v); }
    // 100 for a record too short to hold the zoom, which is then not written.
    int32_t SheetZoom() const;
    void SetSheetZoom(int32_t Value);

protected:
    // A copied window is not selected.
    TBaseRecord *DoCopyTo() const override;

private:
    bool Bit(int n) const { return GetWord(Data, 0) & (1 << n); }
    void SetBit(int n, bool v);
};

class TSCLRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TSCLRecord)
    TSCLRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    static TSCLRecord *CreateFromData(int32_t aZoom);
    int32_t Zoom() const;
    void SetZoom(int32_t Value);
};

class TPaneRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TPaneRecord)
    TPaneRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    int32_t ColSplit() const { return GetWord(Data, 0); }
    void SetColSplit(int32_t v) { SetWord(Data, 0, v); }
    int32_t RowSplit() const { return GetWord(Data, 2); }
    void SetRowSplit(int32_t v) { SetWord(Data, 2, v); }
    int32_t FirstVisibleRow() const { return GetWord(Data, 4); }
    void SetFirstVisibleRow(int32_t v) { SetWord(Data, 4, v); }
    int32_t FirstVisibleCol() const { return GetWord(Data, 6); }
    void SetFirstVisibleCol(int32_t v) { SetWord(Data, 6, v); }
    int32_t ActivePane() const { return GetWord(Data, 8); }
    void SetActivePane(int32_t v) { SetWord(Data, 8, v); }
    // Moves the active pane to one that exists.
    void EnsureSelectedVisible();
};

class TGutsRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TGutsRecord)
    TGutsRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    // Stored levels: the number of levels + 1, 0 for none.
    int32_t RowLevel() const { return GetWord(Data, 4); }
    void SetRowLevel(int32_t Value) { SetLevel(0, 4, Value); }
    int32_t ColLevel() const { return GetWord(Data, 6); }
    void SetColLevel(int32_t Value) { SetLevel(2, 6, Value); }

    bool RecalcNeeded = false;

protected:
    TBaseRecord *DoCopyTo() const override;

private:
    void SetLevel(int32_t SizePos, int32_t LevelPos, int32_t Value);
};

class TDefColWidthRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TDefColWidthRecord)
    TDefColWidthRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    uint16_t Width() const { return GetWord(Data, 0); }
    void SetWidth(int32_t v) { SetWord(Data, 0, v); }
    // A width of 256 or more is written as 255.
    void SaveToStream(TOle2File *Workbook) override;
};

class TStandardWidthRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TStandardWidthRecord)
    TStandardWidthRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    uint16_t Width() const { return GetWord(Data, 0); }
    void SetWidth(int32_t v) { SetWord(Data, 0, v); }
};

class TDefRowHeightRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TDefRowHeightRecord)
    TDefRowHeightRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    uint16_t Height() const { return GetWord(Data, 2); }
    void SetHeight(int32_t v) { SetWord(Data, 2, v); }
};

// ---------------------------------------------------------------------------------------------
// Reading records

// Reads the record whose header is in RecordHeader (the stream stands at its data) as an object
// of its id's class, with its CONTINUE records attached; RecordHeader then holds the next header,
// an EOF of no data where fewer than 4 bytes remain. A password-protected stream is refused.
TBaseRecord *LoadRecord(TOle2File *DataStream, TRecordHeader &RecordHeader);
// The next record of a section (globals, sheet, chart): a section whose stream ends before its
// EOF record is cut, and refused with "Error reading Excel records. File invalid".
TBaseRecord *LoadSectionRecord(TOle2File *DataStream, TRecordHeader &RecordHeader);
// Chains the CONTINUE record in RecordHeader and those right after it to aRecord; returns the id
// of the header that follows them.
uint16_t ReadContinues(TOle2File *DataStream, TBaseRecord *aRecord, TRecordHeader &RecordHeader);
