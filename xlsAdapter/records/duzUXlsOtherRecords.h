#pragma once
// Records that frame sections and small workbook-level records (BOF, EOF, TEMPLATE, OBJ, TXO, SST,
// BOUNDSHEET, CODENAME, OBPROJ, range records), and the page-setup records of a sheet.
#include "xlsAdapter/records/duzUXlsBaseRecords.h"

constexpr uint16_t xlr_BOF = 0x0809;
constexpr uint16_t xlr_TEMPLATE = 0x0060;
constexpr uint16_t xlr_BOUNDSHEET = 0x0085;
constexpr uint16_t xlr_CODENAME = 0x01BA;
constexpr uint16_t xlr_TXO = 0x01B6;

class TBOFRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TBOFRecord)
    // "Template file is saved with an invalid Excel version" unless the version is BIFF8.
    TBOFRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    uint16_t BOFType() const { return GetWord(Data, 2); }
};

class TEOFRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TEOFRecord)
    using TBaseRecord::TBaseRecord;
};

class TTemplateRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TTemplateRecord)
    using TBaseRecord::TBaseRecord;
    static int32_t GetSize(bool HasTemplate) { return HasTemplate ? 4 : 0; }
    static void SaveNewRecord(TOle2File *Workbook);
};

class TObjRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TObjRecord)
    TObjRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    uint16_t ObjId = 0;
    uint16_t CmoId = 0;

protected:
    TBaseRecord *DoCopyTo() const override;
};

class TTXORecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TTXORecord)
    using TBaseRecord::TBaseRecord;
    // Left-aligned, top-aligned, text locked.
    static TTXORecord *CreateFromData();
};

class TSSTRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TSSTRecord)
    TSSTRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    uint32_t Count = 0; // unique strings

protected:
    TBaseRecord *DoCopyTo() const override;
};

class TBoundSheetRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TBoundSheetRecord)
    TBoundSheetRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    static TBoundSheetRecord *CreateNew(uint16_t aOptionFlags, const QString &aName);

    QString SheetName() const;
    void SetSheetName(const QString &Value);
    uint16_t OptionFlags() const { return GetWord(Data, 4); }
    void SetOptionFlags(int32_t v) { SetWord(Data, 4, v); }
    void SetOffset(uint32_t aOffset) { SetLongWord(Data, 0, aOffset); }
};

class TCodeNameRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TCodeNameRecord)
    TCodeNameRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    static TCodeNameRecord *CreateNew(const QString &aName);

    QString SheetName() const;
    void SetSheetName(const QString &Value);
};

class TObProjRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TObProjRecord)
    using TBaseRecord::TBaseRecord;
};

// Base of the records that hold lists of cell ranges.
class TRangeRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TRangeRecord)
    using TBaseRecord::TBaseRecord;
};

class TCellMergingRecord : public TRangeRecord
{
    TARVIX_XLS_RECORD(TCellMergingRecord)
    using TRangeRecord::TRangeRecord;
};

class TDValRecord : public TRangeRecord
{
    TARVIX_XLS_RECORD(TDValRecord)
    using TRangeRecord::TRangeRecord;
};

// HEADER and FOOTER: no data means no text.
class TPageHeaderFooterRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TPageHeaderFooterRecord)
    TPageHeaderFooterRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    QString Text() const;
    void SetText(const QString &Value);
};

class TPageHeaderRecord : public TPageHeaderFooterRecord
{
    TARVIX_XLS_RECORD(TPageHeaderRecord)
    using TPageHeaderFooterRecord::TPageHeaderFooterRecord;
};

class TPageFooterRecord : public TPageHeaderFooterRecord
{
    TARVIX_XLS_RECORD(TPageFooterRecord)
    using TPageHeaderFooterRecord::TPageHeaderFooterRecord;
};

class TPrintGridLinesRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TPrintGridLinesRecord)
    TPrintGridLinesRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize) : TBaseRecord(aId, aData, aDataSize) { CheckSize(2); }
    bool Value() const { return GetWord(Data, 0) == 1; }
    void SetValue(bool v) { SetWord(Data, 0, v ? 1 : 0); }
};

// HCENTER and VCENTER.
class TPrintCenteredRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TPrintCenteredRecord)
    TPrintCenteredRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize) : TBaseRecord(aId, aData, aDataSize) { CheckSize(2); }
    bool Centered() const { return GetWord(Data, 0) == 1; }
    void SetCentered(bool v) { SetWord(Data, 0, v ? 1 : 0); }
};

class TWsBoolRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TWsBoolRecord)
    TWsBoolRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize) : TBaseRecord(aId, aData, aDataSize) { CheckSize(2); }
    uint16_t Value() const { return GetWord(Data, 0); }
    void SetValue(int32_t v) { SetWord(Data, 0, v); }
    bool FitToPage() const { return Bit(8); }
    void SetFitToPage(bool v) { SetBit(8, v); }
    bool OutlineSummaryColsRightOfDetail() const { return Bit(7); }
    void SetOutlineSummaryColsRightOfDetail(bool v) { SetBit(7, v); }
    bool OutlineSummaryRowsBelowDetail() const { return Bit(6); }
    void SetOutlineSummaryRowsBelowDetail(bool v) { SetBit(6, v); }
    bool OutlineAutomaticStyles() const { return Bit(5); }
    void SetOutlineAutomaticStyles(bool v) { SetBit(5, v); }

private:
    bool Bit(int n) const { return Value() & (1 << n); }
    void SetBit(int n, bool v) { SetValue(v ? Value() | (1 << n) : Value() & ~(1 << n)); }
};

class TRefModeRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TRefModeRecord)
    TRefModeRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize) : TBaseRecord(aId, aData, aDataSize) { CheckSize(2); }
    bool IsR1C1() const { return GetWord(Data, 0) != 1; }
    void SetIsR1C1(bool v) { SetWord(Data, 0, v ? 0 : 1); }
};

class TAutoFilterInfoRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TAutoFilterInfoRecord)
    TAutoFilterInfoRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize) : TBaseRecord(aId, aData, aDataSize) { CheckSize(2); }
    int32_t DropDownCount() const { return GetWord(Data, 0); }
    void SetDropDownCount(int32_t v) { SetWord(Data, 0, v); }
};

// LEFTMARGIN, RIGHTMARGIN, TOPMARGIN, BOTTOMMARGIN: inches.
class TMarginRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TMarginRecord)
    TMarginRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    double Value() const;
    void SetValue(double v);
};

struct TSetupRec
{
    uint16_t PaperSize = 0;
    uint16_t Scale = 0;
    uint16_t PageStart = 0;
    uint16_t FitWidth = 0;
    uint16_t FitHeight = 0;
    uint16_t GrBit = 0;
    uint16_t Resolution = 0;
    uint16_t VResolution = 0;
    double HeaderMargin = 0;
    double FooterMargin = 0;
    uint16_t Copies = 0;
};

// GrBit bit 2 marks paper size, scale, resolutions and copies as not valid.
class TSetupRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TSetupRecord)
    TSetupRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);

    TSetupRec Value() const;
    void SetValue(const TSetupRec &v);
    uint16_t PrintOptions() const { return GetWord(Data, 10); }
    void SetPrintOptions(int32_t v) { SetWord(Data, 10, v & 0xFF); }
    int32_t PrintPaperSize() const { return NotValid() ? 0 : GetWord(Data, 0); }
    void SetPrintPaperSize(int32_t v);
    uint16_t Scale() const { return NotValid() ? 100 : GetWord(Data, 2); }
    void SetScale(int32_t v);
    int32_t PrintCopies() const { return NotValid() ? 1 : GetWord(Data, 32); }
    void SetPrintCopies(int32_t v);
    int32_t PrintXResolution() const { return NotValid() ? 100 : GetWord(Data, 12); }
    void SetPrintXResolution(int32_t v);
    int32_t PrintYResolution() const { return NotValid() ? 100 : GetWord(Data, 14); }
    void SetPrintYResolution(int32_t v);
    uint16_t FitWidth() const { return GetWord(Data, 6); }
    void SetFitWidth(int32_t v) { SetWord(Data, 6, v); }
    uint16_t FitHeight() const { return GetWord(Data, 8); }
    void SetFitHeight(int32_t v) { SetWord(Data, 8, v); }
    double HeaderMargin() const;
    void SetHeaderMargin(double v);
    double FooterMargin() const;
    void SetFooterMargin(double v);

private:
    bool NotValid() const { return GetWord(Data, 10) & 4; }
};

class TPlsRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TPlsRecord)
    TPlsRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    static TPlsRecord *CreateFromData(const TPrinterDriverSettings &aPrinterData);
    TPrinterDriverSettings PrinterData() const;
    void SetPrinterData(const TPrinterDriverSettings &Value);
};
