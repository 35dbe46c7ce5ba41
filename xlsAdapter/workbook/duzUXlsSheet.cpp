#include "xlsAdapter/workbook/duzUXlsSheet.h"

#include "framework/rtl/Streams.h"
#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/compound/duzUOle2Impl.h"
#include "xlsAdapter/records/duzUXlsCellRecords.h"
#include "xlsAdapter/records/duzUXlsColInfo.h"
#include "xlsAdapter/workbook/duzUXlsEmptyWorkbook.h"
#include "xlsAdapter/drawing/duzUXlsEscher.h"
#include "xlsAdapter/formulas/duzUXlsFormula.h"
#include "xlsAdapter/records/duzUXlsHyperLink.h"
#include "xlsAdapter/workbook/duzUXlsNotes.h"
#include "xlsAdapter/records/duzUXlsOtherRecords.h"
#include "xlsAdapter/records/duzUXlsPageBreaks.h"
#include "xlsAdapter/workbook/duzUXlsRowColEntries.h"
#include "xlsAdapter/records/duzUXlsSST.h"
#include "xlsAdapter/workbook/duzUXlsWorkbookGlobals.h"

#include <memory>

namespace {


constexpr uint16_t xlr_WINDOW2 = 0x023E;
constexpr uint16_t xlr_SCL = 0x00A0;
constexpr uint16_t xlr_HEADER = 0x0014;
constexpr uint16_t xlr_FOOTER = 0x0015;
constexpr uint16_t xlr_PRINTGRIDLINES = 0x002B;
constexpr uint16_t xlr_LEFTMARGIN = 0x0026;
constexpr uint16_t xlr_RIGHTMARGIN = 0x0027;
constexpr uint16_t xlr_TOPMARGIN = 0x0028;
constexpr uint16_t xlr_BOTTOMMARGIN = 0x0029;
constexpr uint16_t xlr_SETUP = 0x00A1;
constexpr uint16_t xlr_PLS = 0x004D;
constexpr uint16_t xlr_WSBOOL = 0x0081;
constexpr uint16_t xlr_HCENTER = 0x0083;
constexpr uint16_t xlr_VCENTER = 0x0084;
constexpr uint16_t xlr_PANE = 0x0041;
constexpr uint16_t xlr_GUTS = 0x0080;
constexpr uint16_t xlr_REFMODE = 0x000F;
constexpr uint16_t xlr_AUTOFILTERINFO = 0x009D;

// A factor of 293 turns a width in characters into 1/256 of a character of the default font.
constexpr int32_t CharWidth = 293;


// Ref takes R when it is of class T; a record of another class leaves it as it was.
template <class T> void Cache(T *&Ref, TBaseRecord *R)
{
    if (auto *t = dynamic_cast<T *>(R))
        Ref = t;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TSheet

TSheet::TSheet(TWorkbookGlobals *aWorkbookGlobals) : FWorkbookGlobals(aWorkbookGlobals) {}

TSheet::~TSheet() { delete FCodeName; }

void TSheet::Clear()
{
    TBaseSection::Clear();
    ClearCache();
}

void TSheet::ClearCache()
{
    FWindow2 = nullptr;
    FPageHeader = nullptr;
    FPageFooter = nullptr;
    FPrintGridLines = nullptr;
    FLeftMargin = nullptr;
    FRightMargin = nullptr;
    FTopMargin = nullptr;
    FBottomMargin = nullptr;
    FSetup = nullptr;
    FPrinterDriverSettings = nullptr;
    FWSBool = nullptr;
    FHCenter = nullptr;
    FVCenter = nullptr;
    FZoom = nullptr;
    FGuts = nullptr;
    FPane = nullptr;
    FAutoFilterInfo = nullptr;
    FRefMode = nullptr;
}

void TSheet::CacheRecords(const TBaseRecordList *List)
{
    for (int i = 0; i < List->Count(); ++i)
        if (TBaseRecord *r = List->Items(i))
            CacheRecord(r);
}

void TSheet::CacheRecord(TBaseRecord *R)
{
    switch (R->Id) {
    case xlr_WINDOW2:
        Cache(FWindow2, R);
        break;
    case xlr_SCL:
        Cache(FZoom, R);
        break;
    case xlr_HEADER:
        Cache(FPageHeader, R);
        break;
    case xlr_FOOTER:
        Cache(FPageFooter, R);
        break;
    case xlr_PRINTGRIDLINES:
        Cache(FPrintGridLines, R);
        break;
    case xlr_LEFTMARGIN:
        Cache(FLeftMargin, R);
        break;
    case xlr_RIGHTMARGIN:
        Cache(FRightMargin, R);
        break;
    case xlr_TOPMARGIN:
        Cache(FTopMargin, R);
        break;
    case xlr_BOTTOMMARGIN:
        Cache(FBottomMargin, R);
        break;
    case xlr_SETUP:
        Cache(FSetup, R);
        break;
    case xlr_PLS:
        Cache(FPrinterDriverSettings, R);
        break;
    case xlr_WSBOOL:
        Cache(FWSBool, R);
        break;
    case xlr_HCENTER:
        Cache(FHCenter, R);
        break;
    case xlr_VCENTER:
        Cache(FVCenter, R);
        break;
    case xlr_PANE:
        Cache(FPane, R);
        break;
    case xlr_GUTS:
        Cache(FGuts, R);
        break;
    case xlr_REFMODE:
        Cache(FRefMode, R);
        break;
    case xlr_AUTOFILTERINFO:
        Cache(FAutoFilterInfo, R);
        break;
    default:
        break;
    }
}

int64_t TSheet::TotalSize() { return TBaseSection::TotalSize() + (FCodeName ? FCodeName->TotalSize() : 0); }

int64_t TSheet::TotalRangeSize(int32_t SheetIndex, const TXlsCellRange &CellRange)
{
    return TBaseSection::TotalRangeSize(SheetIndex, CellRange) + (FCodeName ? FCodeName->TotalSize() : 0);
}

int64_t TSheet::FixTotalSize(bool) { return TotalSize(); }

QString TSheet::CodeName() const { return FCodeName ? FCodeName->SheetName() : QString(); }

void TSheet::SetCodeName(const QString &Value)
{
    delete FCodeName;
    FCodeName = nullptr;
    FCodeName = TCodeNameRecord::CreateNew(Value);
}

// ---------------------------------------------------------------------------------------------
// TWorkSheet

TWorkSheet::TWorkSheet(TWorkbookGlobals *aWorkbookGlobals)
    : TSheet(aWorkbookGlobals), FMiscRecords1(new TBaseRecordList()), FMiscRecords2(new TBaseRecordList()),
      FHPageBreaks(new THPageBreakList()), FVPageBreaks(new TVPageBreakList()),
      FDrawing(new TDrawing(aWorkbookGlobals ? &aWorkbookGlobals->DrawingGroup() : nullptr)),
      FCells(nullptr), FRanges(new TRangeList()), FNotes(new TNoteList()), FColumns(new TColInfoList()),
      FHLinks(new THLinkList())
{
    FCells = new TCells(aWorkbookGlobals, FColumns);
    FPrintRecords = FMiscRecords1;
}

TWorkSheet *TWorkSheet::CreateFromData(TWorkbookGlobals *aWorkbookGlobals, TSST *SST)
{
    std::unique_ptr<TWorkSheet> r(new TWorkSheet(aWorkbookGlobals));
    r->DoCreateFromData(SST);
    return r.release();
}

TWorkSheet::~TWorkSheet()
{
    TWorkSheet::Clear();
    // The cells refer to the columns; the notes point into the drawing.
    delete FHLinks;
    delete FNotes;
    delete FRanges;
    delete FCells;
    delete FColumns;
    delete FDrawing;
    delete FVPageBreaks;
    delete FHPageBreaks;
    delete FMiscRecords2;
    delete FMiscRecords1;
}

void TWorkSheet::Clear()
{
    TSheet::Clear();
    FRanges->Clear();
    FCells->Clear();
    FNotes->Clear();
    FColumns->Clear();
    FHLinks->Clear();
    FDrawing->Clear();
    FHPageBreaks->Clear();
    FVPageBreaks->Clear();
    FMiscRecords1->Clear();
    FMiscRecords2->Clear();
}

void TWorkSheet::ClearValues()
{
    Clear();
    DoCreateFromData(FWorkbookGlobals ? &FWorkbookGlobals->SST() : nullptr);
}

void TWorkSheet::DoCreateFromData(TSST *SST)
{
    const ByteArray &Template = EmptyWorkbookTemplate();
    TMemoryStream Mem;
    Mem.WriteBuffer(Template.data(), int64_t(Template.size()));
    Mem.SetPosition(0);
    TOle2File DataStream(&Mem);
    DataStream.SelectStream(QStringLiteral("Workbook"));

    TRecordHeader RecordHeader;
    uint8_t h[4];
    DataStream.ReadMem(h, 4);
    RecordHeader.Id = GetWord(h, 0);
    RecordHeader.Size = GetWord(h, 2);
    // The template's globals go; the end of the stream would read as EOF.
    for (bool Eof = false; !Eof;) {
        std::unique_ptr<TBaseRecord> R(LoadRecord(&DataStream, RecordHeader));
        Eof = R->Id == xlr_EOF;
    }
    std::unique_ptr<TBaseRecord> First(LoadRecord(&DataStream, RecordHeader));
    auto *Bof = dynamic_cast<TBOFRecord *>(First.get());
    if (!Bof)
        ErrExcelInvalid();
    First.release();
    LoadFromStream(&DataStream, RecordHeader, Bof, SST);
}

void TWorkSheet::LoadFromStream(TOle2File *DataStream, TRecordHeader &RecordHeader, TBOFRecord *First, TSST *SST)
{
    std::unique_ptr<TBOFRecord> Bof(First);
    Clear();
    // A sheet loaded again must not keep the defaults of what it held before.
    FDefRowHeight = 255;
    FDefColWidth = 10 * CharWidth;
    TBaseRecordList *Target = FMiscRecords1;
    TShrFmlaRecordList ShrFmlas;
    TFormulaRecord *LastFormula = nullptr;
    bool StandardWidthSeen = false;
    int32_t LastDefColWidth = 8;

    uint16_t LastId = 0;
    do {
        LastId = RecordHeader.Id;
        std::unique_ptr<TBaseRecord> Owned(LoadSectionRecord(DataStream, RecordHeader));
        TBaseRecord *R = Owned.get();

        if (LastId == xlr_WINDOW2)
            Target = FMiscRecords2;
        CacheRecord(R);
        if (auto *f = dynamic_cast<TFormulaRecord *>(R))
            LastFormula = f;
        if (auto *d = dynamic_cast<TDefColWidthRecord *>(R)) {
            if (!StandardWidthSeen || d->Width() != 8) {
                LastDefColWidth = d->Width();
                FDefColWidth = d->Width() * CharWidth;
            }
        }
        if (auto *s = dynamic_cast<TStandardWidthRecord *>(R)) {
            if (LastDefColWidth == 8) {
                StandardWidthSeen = true;
                FDefColWidth = s->Width();
            }
        }
        if (auto *h = dynamic_cast<TDefRowHeightRecord *>(R))
            FDefRowHeight = h->Height();
        if (auto *l = dynamic_cast<TLabelSSTRecord *>(R)) {
            if (!SST)
                ErrExcelInvalid();
            l->AttachToSST(SST);
        }
        if (dynamic_cast<TBOFRecord *>(R))
            ErrExcelInvalid();

        // The parts that take a record take it also when they fail.
        if (auto *dwg = dynamic_cast<TDrawingRecord *>(R)) {
            Owned.release();
            FDrawing->LoadFromStream(DataStream, RecordHeader, SST, dwg);
        } else if (dynamic_cast<TIgnoreRecord *>(R)) {
        } else if (auto *dim = dynamic_cast<TDimensionsRecord *>(R)) {
            OriginalDimensions = dim->Dim();
        } else if (auto *note = dynamic_cast<TNoteRecord *>(R)) {
            Owned.release();
            FNotes->AddRecord(note, note->Row());
        } else if (auto *col = dynamic_cast<TColInfoRecord *>(R)) {
            Owned.release();
            FColumns->AddRecord(col);
        } else if (auto *cell = dynamic_cast<TCellRecord *>(R)) {
            Owned.release();
            FCells->AddCell(cell, cell->Row());
        } else if (auto *mul = dynamic_cast<TMultipleValueRecord *>(R)) {
            FCells->AddMultipleCells(mul);
        } else if (auto *row = dynamic_cast<TRowRecord *>(R)) {
            Owned.release();
            FCells->AddRow(row);
        } else if (auto *merged = dynamic_cast<TCellMergingRecord *>(R)) {
            auto *entry = new TMergedCells();
            FRanges->Add(entry);
            Owned.release();
            entry->LoadFromStream(DataStream, RecordHeader, merged);
        } else if (auto *link = dynamic_cast<THLinkRecord *>(R)) {
            Owned.release();
            FHLinks->Add(link);
        } else if (auto *shr = dynamic_cast<TShrFmlaRecord *>(R)) {
            if (!LastFormula)
                ErrExcelInvalid();
            shr->Key = (uint32_t(LastFormula->Column()) << 16) | LastFormula->Row();
            Owned.release();
            ShrFmlas.Add(shr);
        } else if (auto *hb = dynamic_cast<THPageBreakRecord *>(R)) {
            Owned.release();
            FHPageBreaks->AddRecord(hb);
        } else if (auto *vb = dynamic_cast<TVPageBreakRecord *>(R)) {
            Owned.release();
            FVPageBreaks->AddRecord(vb);
        } else if (auto *str = dynamic_cast<TStringRecord *>(R)) {
            if (!LastFormula)
                ErrExcelInvalid();
            LastFormula->SetFormulaValue(Variant(str->Value()));
        } else if (auto *arr = dynamic_cast<TArrayRecord *>(R)) {
            if (!LastFormula)
                ErrExcelInvalid();
            Owned.release();
            LastFormula->SetArrayRecord(arr);
        } else if (auto *eof = dynamic_cast<TEOFRecord *>(R)) {
            Owned.release();
            FEOF = eof;
        } else if (auto *cn = dynamic_cast<TCodeNameRecord *>(R)) {
            Owned.release();
            delete FCodeName;
            FCodeName = cn;
        } else {
            Owned.release();
            Target->Add(R);
        }
    } while (LastId != xlr_EOF);

    FNotes->FixDwgIds(FDrawing);
    FCells->CellList()->FixFormulas(&ShrFmlas);
    FDrawing->SaveObjectCoords(this);
    FCells->FixRows();
    FBOF = Bof.release();
}

void TWorkSheet::SaveToStream(TOle2File *DataStream)
{
    CheckLoaded();
    FBOF->SaveToStream(DataStream);
    if (FGuts && FGuts->RecalcNeeded) {
        FCells->RowList()->CalcGuts(FGuts);
        FColumns->CalcGuts(FGuts);
        FGuts->RecalcNeeded = false;
    }
    FMiscRecords1->SaveToStream(DataStream);
    FHPageBreaks->SaveToStream(DataStream);
    FVPageBreaks->SaveToStream(DataStream);
    FColumns->SaveToStream(DataStream);
    FCells->SaveToStream(DataStream);
    FDrawing->SaveToStream(DataStream);
    FNotes->SaveToStream(DataStream);
    FMiscRecords2->SaveToStream(DataStream);
    FRanges->SaveToStream(DataStream);
    FHLinks->SaveToStream(DataStream);
    if (FCodeName)
        FCodeName->SaveToStream(DataStream);
    FEOF->SaveToStream(DataStream);
}

void TWorkSheet::SaveRangeToStream(TOle2File *DataStream, int32_t, const TXlsCellRange &CellRange)
{
    CheckLoaded();
    FBOF->SaveToStream(DataStream);
    FMiscRecords1->SaveToStream(DataStream);
    FHPageBreaks->SaveRangeToStream(DataStream, CellRange);
    FVPageBreaks->SaveRangeToStream(DataStream, CellRange);
    FColumns->SaveRangeToStream(DataStream, CellRange);
    FCells->SaveRangeToStream(DataStream, CellRange);
    FNotes->SaveRangeToStream(DataStream, CellRange);
    FMiscRecords2->SaveToStream(DataStream);
    FRanges->SaveRangeToStream(DataStream, CellRange);
    FHLinks->SaveRangeToStream(DataStream, CellRange);
    if (FCodeName)
        FCodeName->SaveToStream(DataStream);
    FEOF->SaveToStream(DataStream);
}

int64_t TWorkSheet::FixTotalSize(bool NeedsRecalc)
{
    return TSheet::TotalSize() + FMiscRecords1->GetTotalSize() + FHPageBreaks->TotalSize()
           + FVPageBreaks->TotalSize() + FCells->FixTotalSize(NeedsRecalc) + FRanges->TotalSize()
           + FDrawing->TotalSize() + FMiscRecords2->GetTotalSize() + FNotes->TotalSize() + FColumns->TotalSize()
           + FHLinks->TotalSize();
}

int64_t TWorkSheet::TotalSize() { return FixTotalSize(false); }

int64_t TWorkSheet::TotalRangeSize(int32_t SheetIndex, const TXlsCellRange &CellRange)
{
    return TSheet::TotalRangeSize(SheetIndex, CellRange) + FMiscRecords1->GetTotalSize()
           + FHPageBreaks->TotalRangeSize(CellRange) + FVPageBreaks->TotalRangeSize(CellRange)
           + FCells->TotalRangeSize(CellRange) + FRanges->TotalRangeSize(CellRange) + FDrawing->TotalSize()
           + FMiscRecords2->GetTotalSize() + FNotes->TotalRangeSize(CellRange) + FColumns->TotalRangeSize(CellRange) + FHLinks->TotalRangeSize(CellRange);
}

void TWorkSheet::FixCachePointers()
{
    ClearCache();
    CacheRecords(FMiscRecords1);
    CacheRecords(FMiscRecords2);
}

TBaseRecordList *TWorkSheet::ListOf(const TBaseRecord *R) const
{
    if (FMiscRecords1->IndexOf(const_cast<TBaseRecord *>(R)) >= 0)
        return FMiscRecords1;
    if (FMiscRecords2->IndexOf(const_cast<TBaseRecord *>(R)) >= 0)
        return FMiscRecords2;
    return nullptr;
}

void TWorkSheet::SetPageHeaderFooter(TPageHeaderFooterRecord *Record, const QString &Text)
{
    if (!Record)
        return;
    const int32_t Before = Record->DataSize;
    Record->SetText(Text);
    // A HEADER found after WINDOW2 lives in the second list; its size must follow it there.
    TBaseRecordList *List = ListOf(Record);
    (List ? List : FMiscRecords1)->AdaptSize(int64_t(Record->DataSize) - Before);
}

void TWorkSheet::AddZoomRecord()
{
    if (FMiscRecords2->Count() < 2)
        return;
    TSCLRecord *r = TSCLRecord::CreateFromData(100);
    FMiscRecords2->Insert(1, r);
    FZoom = r;
}

void TWorkSheet::EnsurePane(bool Needed)
{
    if (Needed) {
        if (FPane || FMiscRecords2->Count() < 2)
            return;
        auto *r = new TPaneRecord(xlr_PANE, new uint8_t[10](), 10);
        FMiscRecords2->Insert(1, r);
        FPane = r;
    } else if (FPane) {
        // A PANE read before WINDOW2 sits in the first list.
        if (TBaseRecordList *List = ListOf(FPane))
            List->Remove(FPane);
        FPane = nullptr;
    }
}

void TWorkSheet::DeleteHPageBreak(uint16_t aRow) { FHPageBreaks->DeleteBreak(aRow); }
void TWorkSheet::DeleteVPageBreak(uint16_t aCol) { FVPageBreaks->DeleteBreak(aCol); }
void TWorkSheet::InsertHPageBreak(uint16_t aRow) { FHPageBreaks->AddBreak(aRow); }
void TWorkSheet::InsertVPageBreak(uint16_t aCol) { FVPageBreaks->AddBreak(aCol); }
bool TWorkSheet::HasHPageBreak(int32_t Row) { return FHPageBreaks->HasPageBreak(Row); }
bool TWorkSheet::HasVPageBreak(int32_t Col) { return FVPageBreaks->HasPageBreak(Col); }

void TWorkSheet::FixRows() { FCells->FixRows(); }

void TWorkSheet::RestoreObjectCoords() { FDrawing->RestoreObjectCoords(this); }

int32_t TWorkSheet::GetColWidth(int32_t aCol, bool HiddenIsZero) const
{
    int32_t Index = 0;
    if (!FColumns->Find(aCol, Index))
        return FDefColWidth;
    const TColInfo *c = FColumns->Items(Index);
    if (HiddenIsZero && (c->Options & 1))
        return 0;
    return c->Width;
}

int32_t TWorkSheet::GetRowHeight(int32_t aRow, bool HiddenIsZero) const
{
    TRowRecordList *Rows = FCells->RowList();
    if (!Rows->HasRow(aRow))
        return FDefRowHeight;
    const TRowRecord *r = Rows->Items(aRow);
    if (HiddenIsZero && r->IsHidden())
        return 0;
    return r->Height();
}
