// The record factory: one object per record, of the class its id names.
#include "xlsAdapter/records/duzUXlsBaseRecords.h"

#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/compound/duzUOle2Impl.h"
#include "xlsAdapter/records/duzUXlsCellRecords.h"
#include "xlsAdapter/records/duzUXlsChart.h"
#include "xlsAdapter/records/duzUXlsColInfo.h"
#include "xlsAdapter/drawing/duzUXlsEscher.h"
#include "xlsAdapter/formulas/duzUXlsFormula.h"
#include "xlsAdapter/records/duzUXlsHyperLink.h"
#include "xlsAdapter/workbook/duzUXlsNotes.h"
#include "xlsAdapter/records/duzUXlsOtherRecords.h"
#include "xlsAdapter/records/duzUXlsPageBreaks.h"
#include "xlsAdapter/records/duzUXlsPalette.h"
#include "xlsAdapter/workbook/duzUXlsReferences.h"
#include "xlsAdapter/records/duzUXlsSST.h"
#include "xlsAdapter/records/duzUXlsXF.h"
#include "xlsAdapter/duzXlsMessages.h"

#include <memory>

namespace {

const char *const SFilePass = "File is password protected";
constexpr uint16_t xlr_FILEPASS = 0x002F;

using TRecordMaker = TBaseRecord *(*)(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);

template <class T> TBaseRecord *Make(uint16_t aId, PArrayOfByte aData, int32_t aDataSize)
{
    return new T(aId, aData, aDataSize);
}

struct TRecordClass
{
    uint16_t Id;
    TRecordMaker Maker;
};

// Ids missing here are kept as plain records and written back unchanged.
const TRecordClass RecordClasses[] = {
    {0x0006, Make<TFormulaRecord>},
    {0x000A, Make<TEOFRecord>},
    {0x000E, Make<TPrecisionRecord>},
    {0x000F, Make<TRefModeRecord>},
    {0x0014, Make<TPageHeaderRecord>},
    {0x0015, Make<TPageFooterRecord>},
    {0x0017, Make<TExternSheetRecord>},
    {0x0018, Make<TNameRecord>},
    {0x001A, Make<TVPageBreakRecord>},
    {0x001B, Make<THPageBreakRecord>},
    {0x001C, Make<TNoteRecord>},
    {0x0022, Make<T1904Record>},
    {0x0023, Make<TExternNameRecord>},
    {0x0026, Make<TMarginRecord>},
    {0x0027, Make<TMarginRecord>},
    {0x0028, Make<TMarginRecord>},
    {0x0029, Make<TMarginRecord>},
    {0x002B, Make<TPrintGridLinesRecord>},
    {0x0031, Make<TFontRecord>},
    {0x003C, Make<TContinueRecord>},
    {0x003D, Make<TWindow1Record>},
    {0x0041, Make<TPaneRecord>},
    {0x004D, Make<TPlsRecord>},
    {0x0055, Make<TDefColWidthRecord>},
    {0x0059, Make<TIgnoreRecord>}, // XCT
    {0x005A, Make<TIgnoreRecord>}, // CRN
    {0x005D, Make<TObjRecord>},
    {0x0060, Make<TTemplateRecord>},
    {0x007D, Make<TColInfoRecord>},
    {0x0080, Make<TGutsRecord>},
    {0x0081, Make<TWsBoolRecord>},
    {0x0083, Make<TPrintCenteredRecord>},
    {0x0084, Make<TPrintCenteredRecord>},
    {0x0085, Make<TBoundSheetRecord>},
    {0x0092, Make<TPaletteRecord>},
    {0x0099, Make<TStandardWidthRecord>},
    {0x009D, Make<TAutoFilterInfoRecord>},
    {0x00A0, Make<TSCLRecord>},
    {0x00A1, Make<TSetupRecord>},
    {0x00BD, Make<TMulRKRecord>},
    {0x00BE, Make<TMulBlankRecord>},
    {0x00D3, Make<TObProjRecord>},
    {0x00D6, Make<TRStringRecord>},
    {0x00D7, Make<TIgnoreRecord>}, // DBCELL
    {0x00DA, Make<TBookBoolRecord>},
    {0x00E0, Make<TXFRecord>},
    {0x00E5, Make<TCellMergingRecord>},
    {0x00EB, Make<TDrawingGroupRecord>},
    {0x00EC, Make<TDrawingRecord>},
    {0x00ED, Make<TIgnoreRecord>}, // MSODRAWINGSELECTION
    {0x00FC, Make<TSSTRecord>},
    {0x00FD, Make<TLabelSSTRecord>},
    {0x00FF, Make<TIgnoreRecord>}, // EXTSST
    {0x013D, Make<TIgnoreRecord>}, // TABID
    {0x01AE, Make<TSupBookRecord>},
    {0x01B2, Make<TDValRecord>},
    {0x01B6, Make<TTXORecord>},
    {0x01B8, Make<THLinkRecord>},
    {0x01BA, Make<TCodeNameRecord>},
    {0x01C1, Make<TIgnoreRecord>}, // RECALCID
    {0x0200, Make<TDimensionsRecord>},
    {0x0201, Make<TBlankRecord>},
    {0x0203, Make<TNumberRecord>},
    {0x0204, Make<TLabelRecord>},
    {0x0205, Make<TBoolErrRecord>},
    {0x0207, Make<TStringRecord>},
    {0x0208, Make<TRowRecord>},
    {0x020B, Make<TIgnoreRecord>}, // INDEX
    {0x0221, Make<TArrayRecord>},
    {0x0225, Make<TDefRowHeightRecord>},
    {0x0236, Make<TTableRecord>},
    {0x023E, Make<TWindow2Record>},
    {0x027E, Make<TRKRecord>},
    {0x0293, Make<TStyleRecord>},
    {0x041E, Make<TFormatRecord>},
    {0x04BC, Make<TShrFmlaRecord>},
    {0x0800, Make<TScreenTipRecord>},
    {0x0809, Make<TBOFRecord>},
    {0x1033, Make<TBeginRecord>},
    {0x1034, Make<TEndRecord>},
    {0x1060, Make<TIgnoreRecord>}, // FBI
};

TBaseRecord *CreateRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize)
{
    for (const TRecordClass &c : RecordClasses)
        if (c.Id == aId)
            return c.Maker(aId, aData, aDataSize);
    return new TBaseRecord(aId, aData, aDataSize);
}

// The data of the record in RecordHeader, read from the stream.
std::unique_ptr<uint8_t[]> ReadData(TOle2File *DataStream, const TRecordHeader &RecordHeader)
{
    std::unique_ptr<uint8_t[]> data;
    if (RecordHeader.Size > 0) {
        data.reset(new uint8_t[RecordHeader.Size]);
        DataStream->ReadMem(data.get(), RecordHeader.Size);
    }
    return data;
}

// The end of the stream reads as an EOF record, marked as past the end.
void ReadHeader(TOle2File *DataStream, TRecordHeader &RecordHeader)
{
    RecordHeader.PastEnd = DataStream->NextEof(3);
    if (RecordHeader.PastEnd) {
        RecordHeader.Id = xlr_EOF;
        RecordHeader.Size = 0;
        return;
    }
    uint8_t h[4];
    DataStream->ReadMem(h, 4);
    RecordHeader.Id = GetWord(h, 0);
    RecordHeader.Size = GetWord(h, 2);
}

} // namespace

TBaseRecord *LoadRecord(TOle2File *DataStream, TRecordHeader &RecordHeader)
{
    std::unique_ptr<uint8_t[]> data = ReadData(DataStream, RecordHeader);
    if (RecordHeader.Id == xlr_FILEPASS)
        throw Exception(QString::fromLatin1(SFilePass));
    std::unique_ptr<TBaseRecord> r(CreateRecord(RecordHeader.Id, data.release(), RecordHeader.Size));
    ReadHeader(DataStream, RecordHeader);
    if (RecordHeader.Id == xlr_CONTINUE) {
        ReadContinues(DataStream, r.get(), RecordHeader);
    } else if (RecordHeader.Id == xlr_HLINKTOOLTIP) {
        // A screen tip belongs to the HLINK right before it.
        auto *link = dynamic_cast<THLinkRecord *>(r.get());
        if (!link)
            ErrExcelInvalid();
        link->AddHint(static_cast<TScreenTipRecord *>(LoadRecord(DataStream, RecordHeader)));
    } else if (RecordHeader.Id == xlr_TABLE || RecordHeader.Id == xlr_ARRAY) {
        // TABLE and ARRAY records belong to the formula right before them.
        auto *formula = dynamic_cast<TFormulaRecord *>(r.get());
        if (!formula)
            ErrExcelInvalid();
        const bool table = RecordHeader.Id == xlr_TABLE;
        TBaseRecord *sub = LoadRecord(DataStream, RecordHeader);
        if (table)
            formula->SetTableRecord(static_cast<TTableRecord *>(sub));
        else
            formula->SetArrayRecord(static_cast<TArrayRecord *>(sub));
    } else if (RecordHeader.Id == xlr_STRING) {
        // The text result of a formula; the next call reads it.
        if (!dynamic_cast<TFormulaRecord *>(r.get()) && !dynamic_cast<TShrFmlaRecord *>(r.get())
            && !dynamic_cast<TArrayRecord *>(r.get()) && !dynamic_cast<TTableRecord *>(r.get()))
            ErrExcelInvalid();
    }
    return r.release();
}

TBaseRecord *LoadSectionRecord(TOle2File *DataStream, TRecordHeader &RecordHeader)
{
    if (RecordHeader.PastEnd)
        ErrExcelInvalid();
    return LoadRecord(DataStream, RecordHeader);
}

uint16_t ReadContinues(TOle2File *DataStream, TBaseRecord *aRecord, TRecordHeader &RecordHeader)
{
    Assert(RecordHeader.Id == xlr_CONTINUE, QStringLiteral("Not a CONTINUE record"));
    TBaseRecord *last = aRecord;
    while (RecordHeader.Id == xlr_CONTINUE) {
        std::unique_ptr<uint8_t[]> data = ReadData(DataStream, RecordHeader);
        std::unique_ptr<TContinueRecord> c(new TContinueRecord(xlr_CONTINUE, data.release(), RecordHeader.Size));
        last->AddContinue(c.get());
        last = c.release();
        ReadHeader(DataStream, RecordHeader);
    }
    return RecordHeader.Id;
}
