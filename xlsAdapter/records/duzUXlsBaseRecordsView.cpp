// Workbook-level and sheet view records.
#include "xlsAdapter/records/duzUXlsBaseRecords.h"

#include "framework/rtl/SysUtils.h"
#include "framework/rtl/System.h"
#include "xlsAdapter/compound/duzUOle2Impl.h"
#include "xlsAdapter/records/duzUXlsStrings.h"

#include <algorithm>

TDimensionsRecord::TDimensionsRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize)
    : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(14);
}

TDimensionsRec TDimensionsRecord::Dim() const
{
    TDimensionsRec d;
    d.FirstRow = GetLongWord(Data, 0);
    d.LastRow = GetLongWord(Data, 4);
    d.FirstCol = GetWord(Data, 8);
    d.LastCol = GetWord(Data, 10);
    d.Extra = GetWord(Data, 12);
    return d;
}

TStringRecord::TStringRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize) : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(3);
}

QString TStringRecord::Value() const
{
    // The text may go on in CONTINUE records.
    TBaseRecord *r = const_cast<TStringRecord *>(this);
    int32_t pos = 0;
    return TExcelString(2, r, pos).Value();
}

void TStringRecord::SaveToStream(TOle2File *) {}

TWindow1Record::TWindow1Record(uint16_t aId, PArrayOfByte aData, int32_t aDataSize) : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(18);
}

void TWindow1Record::SetActiveSheet(int32_t Value)
{
    SetWord(Data, 10, Value);
    SetWord(Data, 12, 0);
    SetWord(Data, 14, 1);
}

void TWindow1Record::SaveToStream(TOle2File *Workbook)
{
    if (GetWord(Data, 4) == 0)
        SetWord(Data, 4, 1);
    if (GetWord(Data, 6) == 0)
        SetWord(Data, 6, 1);
    TBaseRecord::SaveToStream(Workbook);
}

T1904Record::T1904Record(uint16_t aId, PArrayOfByte aData, int32_t aDataSize) : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(2);
}

TPrecisionRecord::TPrecisionRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize)
    : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(2);
}

TBookBoolRecord::TBookBoolRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize) : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(2);
}

// ---------------------------------------------------------------------------------------------
// Sheet view

TWindow2Record::TWindow2Record(uint16_t aId, PArrayOfByte aData, int32_t aDataSize) : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(2);
}

void TWindow2Record::SetBit(int n, bool v)
{
    const int w = GetWord(Data, 0);
    SetWord(Data, 0, v ? w | (1 << n) : w & ~(1 << n));
}

void TWindow2Record::SetSelected(bool v)
{
    SetBit(9, v);
    SetBit(10, v);
}

int32_t TWindow2Record::SheetZoom() const { return DataSize >= 14 ? GetWord(Data, 12) : 100; }

void TWindow2Record::SetSheetZoom(int32_t Value)
{
    if (DataSize >= 14)
        SetWord(Data, 12, std::clamp(Value, 10, 400));
}

TBaseRecord *TWindow2Record::DoCopyTo() const
{
    auto *r = static_cast<TWindow2Record *>(TBaseRecord::DoCopyTo());
    r->SetSelected(false);
    return r;
}

TSCLRecord::TSCLRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize) : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(4);
}

TSCLRecord *TSCLRecord::CreateFromData(int32_t aZoom)
{
    auto *r = new TSCLRecord(0x00A0, new uint8_t[4](), 4);
    r->SetZoom(aZoom);
    return r;
}

int32_t TSCLRecord::Zoom() const
{
    const int den = GetWord(Data, 2);
    if (den == 0)
        return 100;
    return int32_t(Round(GetWord(Data, 0) * 100.0 / den));
}

void TSCLRecord::SetZoom(int32_t Value)
{
    SetWord(Data, 0, std::clamp(Value, 10, 400));
    SetWord(Data, 2, 100);
}

TPaneRecord::TPaneRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize) : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(10);
}

void TPaneRecord::EnsureSelectedVisible()
{
    const int32_t cols = ColSplit(), rows = RowSplit();
    switch (ActivePane()) {
    case 0:
        if (cols > 0 && rows <= 0)
            SetActivePane(1);
        else if (cols <= 0 && rows > 0)
            SetActivePane(2);
        else if (cols <= 0 && rows <= 0)
            SetActivePane(3);
        break;
    case 1:
        if (cols <= 0)
            SetActivePane(3);
        break;
    case 2:
        if (rows <= 0)
            SetActivePane(3);
        break;
    default:
        break;
    }
}

TGutsRecord::TGutsRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize) : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(8);
}

void TGutsRecord::SetLevel(int32_t SizePos, int32_t LevelPos, int32_t Value)
{
    if (Value <= 0) {
        SetWord(Data, SizePos, 0);
        SetWord(Data, LevelPos, 0);
    } else if (Value <= 7) {
        SetWord(Data, SizePos, 12 * Value + 29);
        SetWord(Data, LevelPos, Value + 1);
    } else {
        SetWord(Data, SizePos, 113);
        SetWord(Data, LevelPos, 8);
    }
}

TBaseRecord *TGutsRecord::DoCopyTo() const
{
    auto *r = static_cast<TGutsRecord *>(TBaseRecord::DoCopyTo());
    r->RecalcNeeded = RecalcNeeded;
    return r;
}

TDefColWidthRecord::TDefColWidthRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize)
    : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(2);
}

void TDefColWidthRecord::SaveToStream(TOle2File *Workbook)
{
    if (Width() >= 256)
        SetWidth(255);
    TBaseRecord::SaveToStream(Workbook);
}

TStandardWidthRecord::TStandardWidthRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize)
    : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(2);
}

TDefRowHeightRecord::TDefRowHeightRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize)
    : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(4);
}
