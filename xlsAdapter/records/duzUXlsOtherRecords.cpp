#include "xlsAdapter/records/duzUXlsOtherRecords.h"

#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/compound/duzUOle2Impl.h"
#include "xlsAdapter/records/duzUXlsStrings.h"

#include <bit>
#include <cstring>

namespace {

const char *const SInvalidVersion = "Template file is saved with an invalid Excel version";

// New data: Prefix bytes of Old (or zeros) followed by the string.
PArrayOfByte WithString(const uint8_t *Old, int32_t Prefix, const TExcelString &s, int32_t &NewSize)
{
    // A record announces at most 65535 data bytes; a longer text would be cut off unseen.
    if (Prefix + s.TotalSize() > 65535)
        ErrInvalidString();
    NewSize = Prefix + int32_t(s.TotalSize());
    auto *d = new uint8_t[size_t(NewSize)]();
    if (Old && Prefix > 0)
        std::memcpy(d, Old, size_t(Prefix));
    s.CopyToPtr(d, Prefix);
    return d;
}

// The string at Pos, checked against the data when the record was made.
QString TextAt(const uint8_t *Data, int32_t DataSize, bool Len16, int32_t Pos)
{
    int64_t size = 0;
    QString text;
    ReadStrData(Len16, Data, Pos, DataSize, size, text);
    return text;
}

double GetDouble(const uint8_t *Data, int32_t Pos)
{
    return std::bit_cast<double>(GetLongWord(Data, Pos) | (uint64_t(GetLongWord(Data, Pos + 4)) << 32));
}

void SetDouble(uint8_t *Data, int32_t Pos, double v)
{
    const uint64_t bits = std::bit_cast<uint64_t>(v);
    SetLongWord(Data, Pos, uint32_t(bits));
    SetLongWord(Data, Pos + 4, uint32_t(bits >> 32));
}

} // namespace

// The string of a record is checked when the record is made, so its readers cannot fail later.
#define CHECK_STRING(Len16, Pos)                                                                         \
    try {                                                                                                \
        StrDataSize(Len16, Data, Pos, DataSize);                                                         \
    } catch (const Exception &) {                                                                        \
        Invalid();                                                                                       \
    }

TBOFRecord::TBOFRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize) : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(4);
    if (GetWord(Data, 0) != 0x0600)
        throw Exception(QString::fromLatin1(SInvalidVersion));
}

void TTemplateRecord::SaveNewRecord(TOle2File *Workbook) { Workbook->WriteHeader(xlr_TEMPLATE, 0); }

TObjRecord::TObjRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize) : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(2);
    ObjId = GetWord(Data, 0);
    if (ObjId == 0x0015) {
        CheckSize(6);
        CmoId = GetWord(Data, 4);
    }
}

TBaseRecord *TObjRecord::DoCopyTo() const
{
    auto *r = static_cast<TObjRecord *>(TBaseRecord::DoCopyTo());
    r->ObjId = ObjId;
    r->CmoId = CmoId;
    return r;
}

TTXORecord *TTXORecord::CreateFromData()
{
    auto *d = new uint8_t[18]();
    SetWord(d, 0, 0x0212);
    return new TTXORecord(xlr_TXO, d, 18);
}

TSSTRecord::TSSTRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize) : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(8);
    Count = GetLongWord(Data, 4);
}

TBaseRecord *TSSTRecord::DoCopyTo() const
{
    auto *r = static_cast<TSSTRecord *>(TBaseRecord::DoCopyTo());
    r->Count = Count;
    return r;
}

TBoundSheetRecord::TBoundSheetRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize)
    : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(8);
    CHECK_STRING(false, 6)
}

TBoundSheetRecord *TBoundSheetRecord::CreateNew(uint16_t aOptionFlags, const QString &aName)
{
    const TExcelString s(1, aName, false);
    int32_t size = 0;
    PArrayOfByte d = WithString(nullptr, 6, s, size);
    SetWord(d, 4, aOptionFlags);
    return new TBoundSheetRecord(xlr_BOUNDSHEET, d, size);
}

QString TBoundSheetRecord::SheetName() const
{
    return TextAt(Data, DataSize, false, 6);
}

void TBoundSheetRecord::SetSheetName(const QString &Value)
{
    const TExcelString s(1, Value, false);
    int32_t size = 0;
    PArrayOfByte d = WithString(Data, 6, s, size);
    ReplaceData(d, size);
}

TCodeNameRecord::TCodeNameRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize)
    : TBaseRecord(aId, aData, aDataSize)
{
    CHECK_STRING(true, 0)
}

TCodeNameRecord *TCodeNameRecord::CreateNew(const QString &aName)
{
    const TExcelString s(2, aName, false);
    int32_t size = 0;
    PArrayOfByte d = WithString(nullptr, 0, s, size);
    return new TCodeNameRecord(xlr_CODENAME, d, size);
}

QString TCodeNameRecord::SheetName() const
{
    return TextAt(Data, DataSize, true, 0);
}

void TCodeNameRecord::SetSheetName(const QString &Value)
{
    const TExcelString s(2, Value, false);
    int32_t size = 0;
    PArrayOfByte d = WithString(nullptr, 0, s, size);
    ReplaceData(d, size);
}

// ---------------------------------------------------------------------------------------------
// Page setup

TPageHeaderFooterRecord::TPageHeaderFooterRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize)
    : TBaseRecord(aId, aData, aDataSize)
{
    if (DataSize > 0)
        CHECK_STRING(true, 0)
}

QString TPageHeaderFooterRecord::Text() const
{
    return DataSize == 0 ? QString() : TextAt(Data, DataSize, true, 0);
}

void TPageHeaderFooterRecord::SetText(const QString &Value)
{
    const TExcelString s(2, Value, false);
    int32_t size = 0;
    PArrayOfByte d = WithString(nullptr, 0, s, size);
    ReplaceData(d, size);
}

TMarginRecord::TMarginRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize) : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(8);
}

double TMarginRecord::Value() const { return GetDouble(Data, 0); }

void TMarginRecord::SetValue(double v)
{
    Assert(DataSize == 8, QStringLiteral("Error in Margin Record"));
    SetDouble(Data, 0, v);
}

TSetupRecord::TSetupRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize) : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(34);
}

TSetupRec TSetupRecord::Value() const
{
    TSetupRec r;
    r.PaperSize = GetWord(Data, 0);
    r.Scale = GetWord(Data, 2);
    r.PageStart = GetWord(Data, 4);
    r.FitWidth = GetWord(Data, 6);
    r.FitHeight = GetWord(Data, 8);
    r.GrBit = GetWord(Data, 10);
    r.Resolution = GetWord(Data, 12);
    r.VResolution = GetWord(Data, 14);
    r.HeaderMargin = GetDouble(Data, 16);
    r.FooterMargin = GetDouble(Data, 24);
    r.Copies = GetWord(Data, 32);
    return r;
}

void TSetupRecord::SetValue(const TSetupRec &v)
{
    Assert(DataSize == 34, QStringLiteral("Error in Setup Record"));
    SetWord(Data, 0, v.PaperSize);
    SetWord(Data, 2, v.Scale);
    SetWord(Data, 4, v.PageStart);
    SetWord(Data, 6, v.FitWidth);
    SetWord(Data, 8, v.FitHeight);
    SetWord(Data, 10, v.GrBit);
    SetWord(Data, 12, v.Resolution);
    SetWord(Data, 14, v.VResolution);
    SetDouble(Data, 16, v.HeaderMargin);
    SetDouble(Data, 24, v.FooterMargin);
    SetWord(Data, 32, v.Copies);
}

void TSetupRecord::SetPrintPaperSize(int32_t v)
{
    SetPrintOptions(PrintOptions() & ~4);
    SetWord(Data, 0, v);
}

void TSetupRecord::SetScale(int32_t v)
{
    SetWord(Data, 10, GetWord(Data, 10) & ~4);
    SetWord(Data, 2, v);
}

void TSetupRecord::SetPrintCopies(int32_t v)
{
    SetPrintOptions(PrintOptions() & ~4);
    SetWord(Data, 32, v);
}

void TSetupRecord::SetPrintXResolution(int32_t v)
{
    SetPrintOptions(PrintOptions() & ~4);
    SetWord(Data, 12, v);
}

void TSetupRecord::SetPrintYResolution(int32_t v)
{
    SetPrintOptions(PrintOptions() & ~4);
    SetWord(Data, 14, v);
}

double TSetupRecord::HeaderMargin() const { return GetDouble(Data, 16); }

void TSetupRecord::SetHeaderMargin(double v) { SetDouble(Data, 16, v); }

double TSetupRecord::FooterMargin() const { return GetDouble(Data, 24); }

void TSetupRecord::SetFooterMargin(double v) { SetDouble(Data, 24, v); }

TPlsRecord::TPlsRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize) : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(2);
}

TPlsRecord *TPlsRecord::CreateFromData(const TPrinterDriverSettings &aPrinterData)
{
    const int32_t size = 2 + int32_t(aPrinterData.Data.size());
    auto *r = new TPlsRecord(0x004D, new uint8_t[size_t(size)](), size);
    r->SetPrinterData(aPrinterData);
    return r;
}

TPrinterDriverSettings TPlsRecord::PrinterData() const
{
    TPrinterDriverSettings s;
    s.OperatingEnviroment = GetWord(Data, 0);
    s.Data.assign(Data + 2, Data + DataSize);
    return s;
}

void TPlsRecord::SetPrinterData(const TPrinterDriverSettings &Value)
{
    // A size the record cannot announce would be cut short unseen.
    if (Value.Data.size() > 65533)
        Invalid();
    const int32_t size = 2 + int32_t(Value.Data.size());
    if (DataSize != size)
        ReplaceData(new uint8_t[size_t(size)](), size);
    SetWord(Data, 0, Value.OperatingEnviroment);
    if (!Value.Data.empty())
        std::memcpy(Data + 2, Value.Data.data(), Value.Data.size());
}
